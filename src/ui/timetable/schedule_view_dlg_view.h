#pragma once
// The group selector of the overview check: the names of the groups, the
// current group selected. Choosing another group makes it the frame's
// current group (CMainFrame::SelectGroup); when the frame keeps the old one
// (the operator keeps an edited schedule), the selection goes back to it.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

#include <QStringList>

class QListWidget;

class CScheduleViewDlgView : public CTitledPaneDlg, public IScheduleView {
    Q_OBJECT
public:
    CScheduleViewDlgView();

    // Fills the list with the groups of the application data.
    void FillGroupList() override;
    QStringList GetGroupNames() const;
    QListWidget *GetGroupList() const { return m_groups; }

    void OnGroupChanged() override;
    // The groups may have changed on their settings page.
    void OnSettingChanged(int settingId) override;

protected:
    bool OnInitDialog() override;

private:
    void onGroupChosen();
    // Selects the frame's current group without choosing it again.
    void showCurrentGroup();

    QListWidget *m_groups = nullptr;
    bool m_showing = false;
};
