#pragma once
// The main frame's list of the panes that exist, in the order they were
// created, and the notifications that go to every pane of it in that order.
//
// A notification visits a snapshot of the list: a pane that a notification
// destroys or removes is skipped when its turn comes, and a pane added during
// a notification is not visited by it.

#include <QList>
#include <QPointer>

#include <functional>

class CTelvPaneDlg;
class QWidget;

class CPaneList {
public:
    // Appends the pane, moving it to the end when it is in the list already.
    void AddView(CTelvPaneDlg *pane);
    void RemoveView(CTelvPaneDlg *pane);
    int GetCount() const { return int(m_panes.size()); }
    CTelvPaneDlg *GetAt(int index) const;
    int IndexOf(const CTelvPaneDlg *pane) const;

    // Calls visit for each pane of a snapshot that is still in the list.
    void ForEach(const std::function<void(CTelvPaneDlg &)> &visit) const;

    void NotifyContentsChanged(QWidget *sender) const;
    void NotifyColorChanged() const;
    void NotifySettingChanged(int settingId) const;
    void NotifyContentPicked(int viewKind, int index) const;
    void NotifyLayoutChanged(QWidget *sender, int flag) const;
    void NotifyCheckPlaylistSelected(int listIndex) const;
    void NotifyEditPlaylistSelected(int listIndex, int flag) const;
    void NotifyPlayerChanged() const;
    void NotifyGroupChanged() const;
    void NotifyContentsListChanged(int contentType, int index, int flag) const;
    void NotifyRefreshLists() const;
    void NotifyCheckListChanged(int contentType, int flag) const;
    void NotifyEditListChanged(int contentType, int flag) const;
    void NotifyCheckScheduleChanged() const;
    void NotifyEditScheduleChanged(int flag) const;

private:
    QList<QPointer<CTelvPaneDlg>> m_panes;
};
