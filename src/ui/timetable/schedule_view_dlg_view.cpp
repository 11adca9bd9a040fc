#include "ui/timetable/schedule_view_dlg_view.h"

#include "model/app_data.h"

#include <QLabel>
#include <QLayout>
#include <QListWidget>

CScheduleViewDlgView::CScheduleViewDlgView() : CTitledPaneDlg(0, QSize(220, 160), 6200) {}

bool CScheduleViewDlgView::OnInitDialog()
{
    if (!CTitledPaneDlg::OnInitDialog())
        return false;
    GetTitleLabel()->hide();
    m_groups = new QListWidget(this);
    layout()->addWidget(m_groups);
    return true;
}

void CScheduleViewDlgView::FillGroupList()
{
    if (!m_groups)
        return;
    m_groups->clear();
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    CGroupRecord group;
    for (int i = 0; groups.GetGroup(i, group); ++i)
        m_groups->addItem(group.Name);
}

QStringList CScheduleViewDlgView::GetGroupNames() const
{
    QStringList names;
    for (int i = 0; m_groups && i < m_groups->count(); ++i)
        names.append(m_groups->item(i)->text());
    return names;
}
