#pragma once
// STAND-IN for the group selector of the overview check, until it is built:
// the least the main frame needs of it. It lists the names of the groups; a
// group chosen in the list does not change the checked group yet.

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

protected:
    bool OnInitDialog() override;

private:
    QListWidget *m_groups = nullptr;
};
