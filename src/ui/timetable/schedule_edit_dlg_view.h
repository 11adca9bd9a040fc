#pragma once
// The schedule pane: the schedule loaded into its model (the edit pane's or
// the check pane's) with its number, title and rows, shown read-only. It
// knows whether it edits the schedule (mode 1) or only shows it (mode 0);
// editing the grid belongs to the schedule editor, which this pane does not
// have.

#include "ui/timetable/timetable_grid.h"

class CScheduleEditModel;

class CScheduleEditDlgView : public CTimetablePaneDlg {
    Q_OBJECT
public:
    enum Mode : int { MODE_VIEWING = 0, MODE_EDITING = 1 };

    explicit CScheduleEditDlgView(int mode);

    int GetMode() const { return m_mode; }
    bool IsEditing() const { return m_mode == MODE_EDITING; }
    void OnEditScheduleChanged(int flag) override;
    void OnCheckScheduleChanged() override;
    void OnPrint() override;

protected:
    void refresh() override;

private:
    CScheduleEditModel *model() const;

    int m_mode;
};
