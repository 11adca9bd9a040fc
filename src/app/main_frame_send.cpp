// The frame's transfers: the start of a transfer in a mode, the contents and
// schedule sends, and the end of every transfer with its result and the
// follow-up of its mode.
#include "app/main_frame.h"

#include "widgets/delete_dlg.h"
#include "app/frame_message_ids.h"
#include "app/pane_roles.h"
#include "widgets/progress_view.h"
#include "app/r40_send_callback.h"
#include "core/app_ini.h"
#include "core/clock.h"
#include "core/file_utils.h"
#include "core/message_box.h"
#include "core/staged_files.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/calendar_list.h"
#include "model/contents_store.h"
#include "ops/operation_texts.h"
#include "ops/frame_helpers.h"
#include "ops/log_collection.h"
#include "ops/send_info.h"
#include "ops/send_operations.h"
#include "ops/send_targets.h"
#include "player/dlk_request_remote_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer_worker.h"
#include "transfer/transfer_status_xml.h"

namespace {

// Calendar row status while its schedule is being sent.
constexpr int kCalendarSending = 2;
constexpr int kCalendarStopped = 1;
// The list bits of the player's schedule lists.
constexpr quint16 kScheduleListMask = 0x0C00;


} // namespace

// ---- Targets ---------------------------------------------------------------------

bool CMainFrame::SetPreviewTarget()
{
    return ::SetPreviewTarget(this, m_targetPlayers);
}

bool CMainFrame::SetTargetPlayers(bool wholeGroup)
{
    if (!wholeGroup && m_currentPlayer < 0) {
        ShowText(this, OpText::kSelectDevice, MB_OK | MB_ICONWARNING);
        return false;
    }
    return ::SetTargetPlayers(this, wholeGroup, m_currentGroup, m_currentPlayer, m_targetPlayers);
}

// ---- Start -------------------------------------------------------------------------

bool CMainFrame::R40TransferStart(int mode, int count)
{
    m_groupAtStart = m_currentGroup;
    m_transferMode = mode;
    CTransferStatusXml *status = GetPlayerStatusStore();
    if (status) {
        ResetTransferStatus(*status, GetAppData().GetPlayerNumbers(false), count);
        status->SetTransferState(TRANSFER_STATE_RUNNING);
    }
    auto *view = paneRole<IStatusView>(PANE_STATUS);
    if (view) {
        view->SetPlayers(m_targetPlayers);
        view->UpdateState();
    }
    if (!StartModeTransfer(GetTransferManager(), status, mode, m_targetPlayers, m_requestList,
                           GetSystemIni().Settings(), &R40SendNotify, this)) {
        // Nothing runs: the state must not stay at communicating.
        WriteSyslog(LOG_ERR_APP, "R40TransferStart : StartTransfer error : mode = %d", mode);
        if (status)
            status->SetTransferState(TRANSFER_STATE_ERROR);
        if (view)
            view->UpdateState();
        showErrorCode(DLK_DETAIL_INTERNAL);
        return false;
    }
    // The rows are marked only once the transfer runs, so a failed start
    // leaves them as they were.
    if (mode == TRANSFER_MODE_SCHEDULE_SEND)
        SetSentCalendarStatus(m_groupAtStart, false, kCalendarSending);
    if (view)
        view->StartRefresh();
    return true;
}

// ---- Contents and schedules ------------------------------------------------------

bool CMainFrame::prepareSend(CDlkRequestSend &request, const std::function<bool(CSendInfoBuilder &)> &queue)
{
    CContentsStore &store = GetContentFolders();
    const QString dataRoot = GetAppData().GetDataRoot();
    if (!SetGroupFolders(request, store, dataRoot)) {
        ShowMessage(this, kMsgSendFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    CSendInfoBuilder builder(store, request, GetLocalTime(), GetSystemIni().Settings().AutoDelOffsetDay, dataRoot,
                             this);
    if (queue(builder) && builder.Commit())
        return true;
    if (!builder.IsReported())
        ShowMessage(this, kMsgSendFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
    return false;
}

void CMainFrame::R40SendContents(int type, const QList<qint32> &indexes)
{
    const SystemSettings settings = GetSystemIni().Settings();
    if (!CanStartOperation(settings.AutoSend, false) || !SetTargetPlayers(true))
        return;
    CContentsStore &store = GetContentFolders();
    CDlkRequestSend request;
    const bool queued = prepareSend(request, [&](CSendInfoBuilder &builder) {
        return QueueContents(builder, store, type, indexes, builder.GetKeepLimit());
    });
    if (!queued)
        return;
    const bool saved = SaveListsForSend(store, "R40SendContents");
    NotifyContentsListChanged(0, 0, 0);
    if (!saved)
        return;
    if (putRequest(request))
        R40TransferStart(TRANSFER_MODE_CONTENTS_SEND, request.GetCount());
}

void CMainFrame::R40SendSchedule(const QList<qint32> &indexes)
{
    const SystemSettings settings = GetSystemIni().Settings();
    if (!CanStartOperation(settings.AutoSend, false) || !SetTargetPlayers(true))
        return;
    CContentsStore &store = GetContentFolders();
    CDlkRequestSend request;
    const bool queued = prepareSend(request, [&](CSendInfoBuilder &builder) {
        return QueueSchedules(builder, store, indexes, settings.AutoDelOffsetDay);
    });
    if (!queued)
        return;
    const bool saved = SaveListsForSend(store, "R40SendSchedule", m_currentGroup);
    NotifyContentsListChanged(0, 0, 0);
    if (!saved)
        return;
    if (putRequest(request))
        R40TransferStart(TRANSFER_MODE_SCHEDULE_SEND, request.GetCount());
}

void CMainFrame::SetSentCalendarStatus(const QString &group, bool save, int status)
{
    CContentsList *calendars = groupCalendars(group);
    if (!calendars)
        return;
    ApplyCalendarStatus(*calendars, m_requestList, status);
    if (save)
        saveGroupCalendars(group);
    NotifyContentsChanged(nullptr);
}

CContentsList *CMainFrame::groupCalendars(const QString &group)
{
    // The current group's lists are the library's; another group's are read
    // into the work set first.
    CContentsStore &store = GetContentFolders();
    if (group.compare(m_currentGroup, Qt::CaseInsensitive) == 0)
        return store.GetList(CONTENT_CALENDAR);
    return store.LoadGroupSchedules(group, 1) ? store.GetWorkGroupList(CONTENT_CALENDAR) : nullptr;
}

void CMainFrame::saveGroupCalendars(const QString &group)
{
    CContentsStore &store = GetContentFolders();
    const bool saved = group.compare(m_currentGroup, Qt::CaseInsensitive) == 0
        ? store.SaveGroupLists(group, CONTENT_CALENDAR, 1)
        : store.SaveWorkGroupLists(group, CONTENT_CALENDAR, 1);
    if (!saved)
        WriteSyslog(LOG_ERR_APP, "SetSentCalendarStatus : calendar list save error : group = %s",
                    qUtf8Printable(group));
}

// ---- End -----------------------------------------------------------------------------

void CMainFrame::OnMsgTransferNotice()
{
    if (m_transferMode == TRANSFER_MODE_SCHEDULE_SEND)
        SetSentCalendarStatus(m_groupAtStart, false, kCalendarSending);
}

void CMainFrame::OnMsgTransferEnd(quint32 result, quint32 detail)
{
    Q_UNUSED(detail);
    CDlkTransferManager &manager = GetTransferManager();
    manager.FinishTransfer();
    closeTransferDialog();
    if (auto *view = paneRole<IStatusView>(PANE_STATUS)) {
        view->StopRefresh();
        view->UpdateState();
    }
    const int mode = m_transferMode;
    if (mode == TRANSFER_MODE_SCHEDULE_SEND)
        SetSentCalendarStatus(m_groupAtStart, true, -1);
    RemoveStoredFiles(m_previewFiles);
    m_previewFiles.clear();
    const bool collectLogs = mode == TRANSFER_MODE_LOG_GET && collectsFetchedLogs(result, manager.GetResultState());
    // A collection of what was fetched names the players that failed in its own message.
    if (result == 0 && !m_exiting && !collectLogs)
        showTransferFailure(manager.GetResultState(), manager.GetResultDetail());
    if (ReloadsRemoteLists(mode))
        reloadSelectedPlayerLists();
    if (mode == TRANSFER_MODE_REMOTE_LIST) {
        const auto *list = m_requestList.GetCount() > 0
            ? dynamic_cast<const CDlkRequestRemoteList *>(m_requestList.GetAt(0))
            : nullptr;
        if (list && (list->GetMask() & kScheduleListMask) != 0) {
            GetContentFolders().SortRemoteList(CONTENT_SCHEDULE, kSortKeyAsReceived);
            NotifyRefreshLists();
        }
    }
    if (mode == TRANSFER_MODE_LOG_GET) {
        // The logs are fetched: their collection keeps the frame busy until
        // its own end message.
        if (collectLogs) {
            noteLogFetchFailures();
            if (StartLogCollect(0))
                return;
        }
        // Nothing is collected: what this run fetched is not kept for another.
        DeleteFolderTree(LogWorkFolder(GetAppData().GetDataRoot()), true);
        m_busyMode = 0;
    }
    if (result != 0)
        rememberTransferOutcome(mode);
    if (mode == TRANSFER_MODE_UPDATE && result != 0 && !m_exiting)
        ShowText(this, OpText::kUpdateSent, MB_OK | MB_ICONINFORMATION);
    raise();
    activateWindow();
}

void CMainFrame::closeTransferDialog()
{
    IProgressView *&dialog = m_transferMode == TRANSFER_MODE_CONTENTS_DELETE ? m_deleteProgress : m_processDialog;
    if (!dialog)
        return;
    setEnabled(true);
    dialog->CloseProgress();
    dialog = nullptr;
    // The deletion window of a player-side delete is made for each one.
    if (m_transferMode == TRANSFER_MODE_CONTENTS_DELETE)
        m_deleteDialog.reset();
}

void CMainFrame::showTransferFailure(qint32 state, qint32 detail)
{
    if (state == DLK_STATE_STOPPED)
        ShowText(this, OpText::kStopped, MB_OK | MB_ICONWARNING);
    else if (state == DLK_STATE_DISK_FULL || state == DLK_STATE_AV_DISK_FULL)
        ShowText(this, OpText::kDiskFull, MB_OK | MB_ICONWARNING);
    else
        showErrorCode(detail);
}

void CMainFrame::showErrorCode(qint32 detail)
{
    MessageBoxWithCaptionId(this, ErrorCodeText(detail), kTitleCaption, MB_OK | MB_ICONWARNING);
}

void CMainFrame::reloadSelectedPlayerLists()
{
    // Without a selected player there is nothing to read again.
    const std::optional<PlayerRecord> record = GetAppData().GetPlayerXml().CopyPlayer(m_currentPlayer);
    if (!record)
        return;
    GetContentFolders().LoadRemoteLists(*record, 1);
    NotifyContentsListChanged(0, 1, 1);
    NotifyContentsChanged(nullptr);
}

void CMainFrame::rememberTransferOutcome(int mode)
{
    if (mode == TRANSFER_MODE_SCHEDULE_STOP) {
        markScheduleStopped();
        return;
    }
    // The recovery still and the screen saver of the group: set to the sent
    // content, or cleared (-1) by a cancel.
    const bool recover = mode == TRANSFER_MODE_RECOVER_STILL || mode == TRANSFER_MODE_RECOVER_STILL_CANCEL;
    const bool saver = mode == TRANSFER_MODE_SCREEN_SAVER || mode == TRANSFER_MODE_SCREEN_SAVER_CANCEL;
    if (!recover && !saver)
        return;
    const bool cancel = mode == TRANSFER_MODE_RECOVER_STILL_CANCEL || mode == TRANSFER_MODE_SCREEN_SAVER_CANCEL;
    const qint32 index = cancel ? -1 : m_operationIndex;
    const int group = GetGroupNo(m_groupAtStart);
    if (recover)
        GetAppIni().SetRecoverContIndex(group, index);
    else
        GetAppIni().SetScSaverContIndex(group, index);
    NotifyContentsListChanged(recover ? CONTENT_IMAGE : CONTENT_PLAYLIST, 0, 0);
}

void CMainFrame::markScheduleStopped()
{
    auto *calendars = dynamic_cast<CCalendarList *>(groupCalendars(m_groupAtStart));
    const int row = calendars ? calendars->FindCode(m_operationIndex) : -1;
    if (row < 0 || !calendars->SetStatus(row, kCalendarStopped))
        return;
    saveGroupCalendars(m_groupAtStart);
    NotifyContentsChanged(nullptr);
}
