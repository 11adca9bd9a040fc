#include "ui/timetable/schedule_view_dlg_view.h"

#include "app/main_frame.h"
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
    m_groups->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_groups, &QListWidget::itemSelectionChanged, this, &CScheduleViewDlgView::onGroupChosen);
    layout()->addWidget(m_groups);
    return true;
}

void CScheduleViewDlgView::FillGroupList()
{
    if (!m_groups)
        return;
    m_showing = true;
    m_groups->clear();
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    CGroupRecord group;
    for (int i = 0; groups.GetGroup(i, group); ++i)
        m_groups->addItem(group.Name);
    m_showing = false;
    showCurrentGroup();
}

QStringList CScheduleViewDlgView::GetGroupNames() const
{
    QStringList names;
    for (int i = 0; m_groups && i < m_groups->count(); ++i)
        names.append(m_groups->item(i)->text());
    return names;
}

void CScheduleViewDlgView::OnGroupChanged()
{
    showCurrentGroup();
}

void CScheduleViewDlgView::OnSettingChanged(int)
{
    FillGroupList();
}

void CScheduleViewDlgView::showCurrentGroup()
{
    CMainFrame *frame = GetMainFrame();
    if (!m_groups || !frame)
        return;
    m_showing = true;
    const QList<QListWidgetItem *> found = m_groups->findItems(frame->GetCurrentGroupName(), Qt::MatchFixedString);
    if (found.isEmpty())
        m_groups->clearSelection();
    else
        m_groups->setCurrentItem(found.front());
    m_showing = false;
}

void CScheduleViewDlgView::onGroupChosen()
{
    CMainFrame *frame = GetMainFrame();
    const QList<QListWidgetItem *> chosen = m_groups->selectedItems();
    if (m_showing || !frame || chosen.isEmpty())
        return;
    const QString name = chosen.front()->text();
    if (name.compare(frame->GetCurrentGroupName(), Qt::CaseInsensitive) == 0)
        return;
    if (!frame->SelectGroup(name, 1))
        showCurrentGroup();
}
