#pragma once
// The playlist and background-music list pane: the list loaded into its model
// (the edit pane's or the check pane's) with its number, title and rows,
// shown read-only. It knows its list type (52 playlist, 53 background-music
// list) and whether it edits the list or only shows it; editing the grid
// itself belongs to the timetable editor, which this pane does not have.

#include "ui/timetable/timetable_grid.h"

class CPlaylistEditModel;

class CPlaylistEditDlgView : public CTimetablePaneDlg {
    Q_OBJECT
public:
    enum Mode : int { MODE_VIEWING = 0, MODE_EDITING = 1 };

    CPlaylistEditDlgView(int listType, int mode);

    int GetListType() const { return m_listType; }
    bool IsEditing() const { return m_mode == MODE_EDITING; }
    void OnEditListChanged(int contentType, int flag) override;
    void OnCheckListChanged(int contentType, int flag) override;
    void OnContentsListChanged(int contentType, int index, int flag) override;
    void OnPrint() override;

protected:
    bool OnInitDialog() override;
    void refresh() override;

private:
    CPlaylistEditModel *model() const;

    int m_listType;
    int m_mode;
};
