#include "app/pane_list.h"

#include "app/telv_pane_dlg.h"

void CPaneList::AddView(CTelvPaneDlg *pane)
{
    if (!pane)
        return;
    RemoveView(pane);
    m_panes.append(pane);
}

void CPaneList::RemoveView(CTelvPaneDlg *pane)
{
    m_panes.removeIf([pane](const QPointer<CTelvPaneDlg> &p) { return p.isNull() || p.data() == pane; });
}

CTelvPaneDlg *CPaneList::GetAt(int index) const
{
    return index >= 0 && index < m_panes.size() ? m_panes[index].data() : nullptr;
}

int CPaneList::IndexOf(const CTelvPaneDlg *pane) const
{
    for (int i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].data() == pane)
            return i;
    }
    return -1;
}

void CPaneList::ForEach(const std::function<void(CTelvPaneDlg &)> &visit) const
{
    const QList<QPointer<CTelvPaneDlg>> snapshot = m_panes;
    for (const QPointer<CTelvPaneDlg> &pane : snapshot) {
        // A pane destroyed or removed by an earlier visit is not reached.
        if (pane && IndexOf(pane.data()) >= 0)
            visit(*pane);
    }
}

void CPaneList::NotifyContentsChanged(QWidget *sender) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnContentsChanged(sender); });
}

void CPaneList::NotifyColorChanged() const
{
    ForEach([](CTelvPaneDlg &p) { p.OnColorChanged(); });
}

void CPaneList::NotifySettingChanged(int settingId) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnSettingChanged(settingId); });
}

void CPaneList::NotifyContentPicked(int viewKind, int index) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnContentPicked(viewKind, index); });
}

void CPaneList::NotifyLayoutChanged(QWidget *sender, int flag) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnLayoutChanged(sender, flag); });
}

void CPaneList::NotifyCheckPlaylistSelected(int listIndex) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnCheckPlaylistSelected(listIndex); });
}

void CPaneList::NotifyEditPlaylistSelected(int listIndex, int flag) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnEditPlaylistSelected(listIndex, flag); });
}

void CPaneList::NotifyPlayerChanged() const
{
    ForEach([](CTelvPaneDlg &p) { p.OnPlayerChanged(); });
}

void CPaneList::NotifyGroupChanged() const
{
    ForEach([](CTelvPaneDlg &p) { p.OnGroupChanged(); });
}

void CPaneList::NotifyContentsListChanged(int contentType, int index, int flag) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnContentsListChanged(contentType, index, flag); });
}

void CPaneList::NotifyRefreshLists() const
{
    ForEach([](CTelvPaneDlg &p) { p.OnRefreshLists(); });
}

void CPaneList::NotifyCheckListChanged(int contentType, int flag) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnCheckListChanged(contentType, flag); });
}

void CPaneList::NotifyEditListChanged(int contentType, int flag) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnEditListChanged(contentType, flag); });
}

void CPaneList::NotifyCheckScheduleChanged() const
{
    ForEach([](CTelvPaneDlg &p) { p.OnCheckScheduleChanged(); });
}

void CPaneList::NotifyEditScheduleChanged(int flag) const
{
    ForEach([&](CTelvPaneDlg &p) { p.OnEditScheduleChanged(flag); });
}
