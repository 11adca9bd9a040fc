#pragma once
// STAND-IN for the playlist and background-music list pane, until the
// timetable editor is built: the least the main frame needs of it. A titled
// pane that knows its list type (52 playlist, 53 background-music list) and
// whether it edits the list or only shows it. It shows no timetable.

#include "app/titled_pane_dlg.h"

class CPlaylistEditDlgView : public CTitledPaneDlg {
    Q_OBJECT
public:
    enum Mode : int { MODE_VIEWING = 0, MODE_EDITING = 1 };

    CPlaylistEditDlgView(int listType, int mode);

    int GetListType() const { return m_listType; }
    bool IsEditing() const { return m_mode == MODE_EDITING; }

private:
    int m_listType;
    int m_mode;
};
