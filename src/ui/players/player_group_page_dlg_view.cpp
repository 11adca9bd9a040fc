#include "ui/players/player_group_page_dlg_view.h"

#include "app/main_frame.h"
#include "core/message_box.h"
#include "model/app_data.h"
#include "transfer/transfer_status_xml.h"
#include "ui/players/player_fields.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>

CPlayerGroupPageDlgView::CPlayerGroupPageDlgView(int viewId, const QSize &initialSize, quint32 titleId)
    : CSettingsPageDlgView(viewId, initialSize, titleId)
{
}

void CPlayerGroupPageDlgView::LoadSettings()
{
    m_edit.Load(GetAppData());
    if (m_list) {
        refill();
        m_list->clearSelection();
        showSelected();
    }
    SetModified(false);
}

QTableWidget *CPlayerGroupPageDlgView::makeList(int id, const QList<quint32> &headerIds)
{
    m_list = MakeRecordTable(this, id, headerIds);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, [this] { showSelected(); });
    return m_list;
}

QLayout *CPlayerGroupPageDlgView::makeButtons(int addId, int changeId, int removeId)
{
    const EditButtons buttons = MakeEditButtons(this, addId, changeId, removeId);
    connect(buttons.add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(buttons.change, &QPushButton::clicked, this, [this] { OnChange(); });
    connect(buttons.remove, &QPushButton::clicked, this, [this] { OnRemove(); });
    return buttons.row;
}

int CPlayerGroupPageDlgView::selectedRow() const
{
    return SelectedTableRow(m_list);
}

void CPlayerGroupPageDlgView::OnRemove()
{
    const int row = selectedRow();
    if (row < 0) {
        AcceptEdit(this, PlayerEditResult::BadPosition, false);
        return;
    }
    if (RefuseWhileBusy(this) || !confirmRemove(row))
        return;
    removeAt(row);
    afterEdit(-1);
}

bool CPlayerGroupPageDlgView::confirmRemove(int)
{
    return true;
}

void CPlayerGroupPageDlgView::afterEdit(int selectRow)
{
    refill();
    SelectTableRow(m_list, selectRow);
    showSelected();
    SetModified(m_edit.IsModified());
}

bool CPlayerGroupPageDlgView::SaveSettings()
{
    if (!IsModified())
        return true;
    if (RefuseWhileBusy(this))
        return false;
    CMainFrame *frame = GetMainFrame();
    const int currentGroup = frame ? frame->GetGroupNo(QString()) : -1;
    CAppData &data = GetAppData();
    const bool saved = m_edit.Save(data);
    if (CTransferStatusXml *status = GetPlayerStatusStore())
        status->SetPlayers(data.GetPlayerNumbers(false));
    if (!saved) {
        ShowMessage(this, kMsgSaveFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    // The group shown stays shown under a new name.
    for (const CGroupRecord &group : m_edit.Groups()) {
        if (frame && group.Number == currentGroup && group.Name != frame->GetCurrentGroupName())
            frame->SelectGroup(group.Name, 0);
    }
    return true;
}
