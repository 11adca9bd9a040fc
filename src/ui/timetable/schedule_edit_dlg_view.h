#pragma once
// STAND-IN for the schedule pane, until the schedule editor is built: the
// least the main frame needs of it. A titled pane that knows whether it edits
// the schedule (mode 1) or only shows it (mode 0). It shows no timetable.

#include "app/titled_pane_dlg.h"

class CScheduleEditDlgView : public CTitledPaneDlg {
    Q_OBJECT
public:
    enum Mode : int { MODE_VIEWING = 0, MODE_EDITING = 1 };

    explicit CScheduleEditDlgView(int mode);

    int GetMode() const { return m_mode; }
    bool IsEditing() const { return m_mode == MODE_EDITING; }

private:
    int m_mode;
};
