// The frame's transfers other than contents and schedule sends: preview and
// interrupt play, play and stop of what the players hold, the substitute
// still and the user screen saver, stopping a schedule, deleting on a player,
// fetching lists, logs and status, the player update, and the log collection
// that follows a log transfer.
#include "app/main_frame.h"

#include "app/app_message.h"
#include "widgets/delete_dlg.h"
#include "widgets/file_dialog_prompter.h"
#include "app/frame_message_ids.h"
#include "app/frame_worker.h"
#include "app/pane_roles.h"
#include "widgets/play_position_prompter.h"
#include "widgets/process_dlg.h"
#include "cab/dlkx_cab.h"
#include "core/app_ini.h"
#include "core/file_utils.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/playlist_property.h"
#include "model/timetable_item.h"
#include "ops/frame_checks.h"
#include "ops/frame_helpers.h"
#include "ops/log_collection.h"
#include "ops/operation_texts.h"
#include "ops/player_protocol.h"
#include "ops/player_transfers.h"
#include "ops/send_info.h"
#include "ops/send_operations.h"
#include "player/delete_command.h"
#include "player/dlk_request_command.h"
#include "player/dlk_request_log.h"
#include "player/dlk_request_remote_list.h"
#include "player/dlk_request_status.h"
#include "player/dlk_request_update.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer_worker.h"
#include "transfer/transfer_codes.h"
#include "transfer/transfer_status_xml.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr quint32 kMsgNotUpdateFile = 5479;
constexpr quint32 kTextUpdateFilter = 5886;
constexpr quint32 kTextLogFetchFailure = 5498;
// The program's version as the players' status check reads it ("1.23").
constexpr int kAppVersionNumber = 123;

std::optional<PlayerRecord> FirstTargetPlayer(const QList<qint32> &targets)
{
    return targets.isEmpty() ? std::nullopt : GetAppData().GetPlayerXml().CopyPlayer(targets.first());
}

// The content's own play time, in the whole seconds an event of it lasts,
// so that a play of that length is not cut short.
int OwnLengthSeconds(const CPropertyBase &record)
{
    return EventSecondsOfPlayTime(OwnPlayLength(&record));
}

// The content's own length for the interrupt-playback choice.
void TakeOwnLength(const CPropertyBase &record, InterruptPlayChoice &choice)
{
    const PlayLength played = PlayedLength(OwnPlayLength(&record));
    choice.hours = played.hour;
    choice.minutes = played.minute;
    choice.seconds = played.second;
}

} // namespace

// ---- Shared steps --------------------------------------------------------------------

bool CMainFrame::startTransferWithDialog(int mode, int count, ProcessStart start)
{
    if (!m_process)
        m_process = new CProcessDlg(this);
    setEnabled(false);
    m_process->Create(this);
    CDlkTransferManager *manager = &GetTransferManager();
    switch (start) {
    case ProcessStart::Delivery: m_process->StartDelivery(manager); break;
    case ProcessStart::Command: m_process->StartCommand(manager); break;
    case ProcessStart::ListUpdate: m_process->StartListUpdate(manager); break;
    }
    m_process->setEnabled(true);
    m_process->show();
    m_processDialog = m_process;
    if (R40TransferStart(mode, count))
        return true;
    m_process->Destroy();
    m_processDialog = nullptr;
    setEnabled(true);
    return false;
}

bool CMainFrame::putRequest(const CDlkRequest &request)
{
    m_requestList.RemoveAll();
    if (m_requestList.Add(&request))
        return true;
    WriteSyslog(LOG_ERR_APP, "CDlkRequestList::Add error : error code = %d", int(m_requestList.GetLastError()));
    ShowMessage(this, kMsgSendFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
    return false;
}

bool CMainFrame::playlistFits(const CPropertyBase &record, bool preview)
{
    const auto *playlist = dynamic_cast<const CPlaylistProperty *>(&record);
    if (!playlist || record.GetContentType() != CONTENT_PLAYLIST)
        return true;
    qint32 resolution = -1;
    qint32 orientation = -1;
    if (preview) {
        if (const std::optional<PlayerRecord> player = FirstTargetPlayer(m_targetPlayers)) {
            resolution = player->ResolutionId;
            orientation = player->Orientation;
        }
    } else {
        const CQ9GroupXml &groups = GetAppData().GetGroupXml();
        CGroupRecord group;
        const int position = groups.FindGroupByName(m_currentGroup);
        if (position >= 0 && groups.GetGroup(position, group)) {
            resolution = group.ResolutionId;
            orientation = group.Orientation;
        }
    }
    if (playlist->GetResolution() == resolution && playlist->GetOrientation() == orientation)
        return true;
    ShowText(this, preview ? OpText::kPreviewResolution : OpText::kGroupResolution, MB_OK | MB_ICONWARNING);
    return false;
}

bool CMainFrame::askPlayChoice(const CPropertyBase &record, PlayChoice &choice)
{
    const int type = record.GetContentType();
    if (type == CONTENT_AUDIO)
        choice.repeat = 1;
    if (type == CONTENT_CONTROL || type == CONTENT_PINP)
        return true;
    InterruptPlayChoice asked;
    asked.contentType = type;
    TakeOwnLength(record, asked);
    const std::optional<PlayerRecord> player =
        type == CONTENT_TELOP ? FirstTargetPlayer(m_targetPlayers) : std::nullopt;
    if (player) {
        qint32 width = 0;
        CAppData::GetResolutionSize(player->ResolutionId, player->Orientation, width, asked.maxPosition);
    }
    if (!PromptPlayPosition(this, asked))
        return false;
    choice.playSeconds = asked.playSeconds > 0 ? asked.playSeconds : -1;
    if (type == CONTENT_TELOP)
        choice.telopPosition = asked.telopPosition;
    choice.longPlay = asked.longPlay;
    return true;
}

// ---- Play and preview ------------------------------------------------------------------

void CMainFrame::R40Play(int type, qint32 index, bool preview, bool com2)
{
    if (!(preview ? SetPreviewTarget() : SetTargetPlayers(true)))
        return;
    if (!CheckTouchPanelPreview(type, index))
        return;
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(type);
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "R40Play : Invalid content type : type = %d", type);
        return;
    }
    int position = -1;
    std::unique_ptr<CPropertyBase> record = CopyOut("R40Play", *list, type, index, position);
    if (!record || !playlistFits(*record, preview))
        return;
    PlayChoice choice;
    if (!preview && !askPlayChoice(*record, choice))
        return;
    if (!CanStartOperation(false, !preview))
        return;
    const int playType = ContentPlayType(*record, com2);
    if (playType == 0) {
        WriteSyslog(LOG_ERR_APP, "R40Play : Control type invalid. : cont index = %d : type = %d", index, type);
        return;
    }
    CDlkRequestSend request;
    const bool queued = prepareSend(request, [&](CSendInfoBuilder &builder) {
        const DateValue deleteDate = builder.GetKeepLimit();
        return builder.AddR40SendInfo(list, position, *record, &deleteDate, false)
            && SetPlayParameters(request, playType, index, type, choice);
    });
    if (!queued)
        return;
    const bool saved = SaveListsForSend(store, "R40Play");
    NotifyContentsListChanged(0, 0, 0);
    if (!saved || !putRequest(request))
        return;
    if (preview)
        startTransferWithDialog(TRANSFER_MODE_PREVIEW, request.GetCount(), ProcessStart::Delivery);
    else
        R40TransferStart(TRANSFER_MODE_PLAY, request.GetCount());
}

bool CMainFrame::R40PreviewPlaylist(int type, const CPropertyBase &record)
{
    if (!CanStartOperation(false, false) || !SetPreviewTarget())
        return false;
    if (!CheckTouchPanelPreview(type, record.GetIndex()))
        return false;
    if (!playlistFits(record, true))
        return false;
    std::unique_ptr<CPropertyBase> copy = CreateProperty(type);
    if (!copy || !copy->Copy(&record))
        return false;
    PlayChoice choice;
    choice.playSeconds = OwnLengthSeconds(*copy);
    CDlkRequestSend request;
    const bool queued = prepareSend(request, [&](CSendInfoBuilder &builder) {
        const DateValue deleteDate = builder.GetKeepLimit();
        return builder.AddR40SendInfo(nullptr, -1, *copy, &deleteDate, true)
            && SetPlayParameters(request, type == CONTENT_PLAYLIST ? 10 : 11, copy->GetIndex(), type, choice);
    });
    return queued && putRequest(request)
        && startTransferWithDialog(TRANSFER_MODE_PREVIEW, request.GetCount(), ProcessStart::Delivery);
}

void CMainFrame::R40PlayRemote(int type, qint32 index, bool com2)
{
    if (!SetTargetPlayers(false))
        return;
    if (!CheckTouchPanelPreview(type, index))
        return;
    // The player plays what its own list names, whether the library has it or not.
    CContentsList *list = GetContentFolders().GetRemoteList(type);
    int position = -1;
    std::unique_ptr<CPropertyBase> record = list ? CopyOut("R40PlayRemote", *list, type, index, position) : nullptr;
    if (!record) {
        ShowText(this, OpText::kNotOnPlayer, MB_OK | MB_ICONWARNING);
        return;
    }
    PlayChoice choice;
    if (!askPlayChoice(*record, choice) || !CanStartOperation(false, false))
        return;
    CDlkRequestCommand commands;
    if (!AddRemotePlayCommand(commands, *record, com2, choice) || !putRequest(commands))
        return;
    startTransferWithDialog(TRANSFER_MODE_REMOTE_PLAY, 0, ProcessStart::Command);
}

void CMainFrame::R40PlayStop(int type, bool preview, bool remote)
{
    if (!CanStartOperation(false, false))
        return;
    const bool targeted = preview ? SetPreviewTarget() : SetTargetPlayers(!remote);
    if (!targeted)
        return;
    CDlkRequestCommand commands;
    if (!AddStopCommand(commands, type) || !putRequest(commands))
        return;
    if (remote)
        startTransferWithDialog(TRANSFER_MODE_REMOTE_PLAY_STOP, 1, ProcessStart::Command);
    else
        R40TransferStart(preview ? TRANSFER_MODE_PREVIEW_STOP : TRANSFER_MODE_PLAY_STOP, 1);
}

// ---- Substitute still, screen saver, schedule stop -------------------------------------

void CMainFrame::R40SendRecoverStill(qint32 index)
{
    if (!CanStartOperation(false, false) || !SetTargetPlayers(true))
        return;
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(CONTENT_IMAGE);
    int position = -1;
    std::unique_ptr<CPropertyBase> record =
        list ? CopyOut("R40SendRecoverStill", *list, CONTENT_IMAGE, index, position) : nullptr;
    auto *still = dynamic_cast<CMediaProperty *>(record.get());
    if (!still)
        return;
    QString extension;
    if (!SplitPath(still->GetLink(), nullptr, nullptr, nullptr, &extension)) {
        WriteSyslog(LOG_ERR_APP, "R40SendRecoverStill : SplitPath error : file name = %s",
                    qUtf8Printable(still->GetLink()));
        return;
    }
    if (extension.compare(QLatin1String(".jpg"), Qt::CaseInsensitive) != 0) {
        ShowText(this, OpText::kRecoverStillJpeg, MB_OK | MB_ICONWARNING);
        return;
    }
    // The player keeps its substitute still as still number 0.
    still->SetIndex(0);
    CDlkRequestSend request;
    const bool queued = prepareSend(request, [&](CSendInfoBuilder &builder) {
        return builder.AddR40SendInfo(list, position, *still, &kNeverDeleteDate, true);
    });
    if (!queued)
        return;
    // The still is remembered for the group once the transfer has succeeded.
    m_operationIndex = index;
    if (putRequest(request))
        R40TransferStart(TRANSFER_MODE_RECOVER_STILL, request.GetCount());
}

void CMainFrame::R40CancelRecoverStill()
{
    if (!CanStartOperation(false, false) || !SetTargetPlayers(true))
        return;
    CDlkRequestCommand commands;
    CDeleteCommand remove;
    if (!remove.MakeRequest(DELETE_TABLE_STILL, 0) || !commands.Add(&remove, 0) || !putRequest(commands))
        return;
    R40TransferStart(TRANSFER_MODE_RECOVER_STILL_CANCEL, commands.GetCount());
}

void CMainFrame::R40StopSchedule(qint32 index)
{
    if (!CanStartOperation(false, false) || !SetTargetPlayers(true))
        return;
    m_operationIndex = index;
    CDlkRequestCommand commands;
    if (!AddContentSendItems(commands, index, index) || !putRequest(commands))
        return;
    R40TransferStart(TRANSFER_MODE_SCHEDULE_STOP, 1);
}

// ---- Player-side contents, lists, logs, status, update ----------------------------------

void CMainFrame::R40DeleteContents(int type, const QList<qint32> &indexes)
{
    if (ShowText(this, OpText::kDeleteQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!CanStartOperation(false, false) || !SetTargetPlayers(false))
        return;
    CContentsList *remote = GetContentFolders().GetRemoteList(type);
    CDlkRequestCommand commands;
    const int count = remote ? AddRemoteDeleteCommands(commands, *remote, type, indexes) : -1;
    if (count < 0 || !putRequest(commands))
        return;
    setEnabled(false);
    m_deleteDialog = std::make_unique<CDeleteDlg>(this);
    m_deleteDialog->SetTransferMode(true);
    m_deleteDialog->SetStopTransfer([this] { StopTransfer(); });
    m_deleteDialog->SetTotal(count);
    m_deleteDialog->show();
    m_deleteProgress = m_deleteDialog.get();
    if (R40TransferStart(TRANSFER_MODE_CONTENTS_DELETE, count))
        return;
    m_deleteProgress = nullptr;
    m_deleteDialog.reset();
    setEnabled(true);
}

bool CMainFrame::R40GetRemoteList(int type)
{
    if (!CanStartOperation(false, false) || !SetTargetPlayers(false))
        return false;
    const CDlkRequestRemoteList request(RemoteListMask(type), GetSettingIni().Options().VODUse ? 1 : 0);
    return putRequest(request) && startTransferWithDialog(TRANSFER_MODE_REMOTE_LIST, 0, ProcessStart::ListUpdate);
}

void CMainFrame::R40GetLog(int kind, const QList<qint32> &players)
{
    if (!CanStartOperation(false, false))
        return;
    // The logs go into the log work folder, one folder per player, where the
    // log collection looks for them; logs a run cut short left there belong
    // to no player of this one.
    const QString workFolder = LogWorkFolder(GetAppData().GetDataRoot());
    DeleteFolderTree(workFolder, true);
    const CDlkRequestLog request(workFolder);
    if (!putRequest(request))
        return;
    m_targetPlayers = players;
    m_busyMode = kind;
    if (!R40TransferStart(TRANSFER_MODE_LOG_GET, 0))
        m_busyMode = 0;
}

void CMainFrame::R40GetStatus(const QList<qint32> &players)
{
    if (!CanStartOperation(false, false))
        return;
    for (qint32 number : players) {
        GetAppData().GetPlayerXml().UpdatePlayer(number, [](PlayerRecord &record) {
            qint32 width = 0;
            qint32 height = 0;
            CAppData::GetResolutionSize(record.ResolutionId, record.Orientation, width, height);
            record.Resolution = QStringLiteral("%1x%2").arg(width).arg(height);
            return true;
        });
    }
    const CDlkRequestStatus request(kAppVersionNumber);
    if (!putRequest(request))
        return;
    m_targetPlayers = players;
    R40TransferStart(TRANSFER_MODE_STATUS_GET, 0);
}

void CMainFrame::R40Update(const QList<qint32> &players, bool all)
{
    if (!CanStartOperation(false, false))
        return;
    FileDialogRequest dialog;
    dialog.title = QString::fromUtf8(OpText::kUpdateDialogTitle);
    dialog.filter = LoadString(kTextUpdateFilter);
    dialog.folder = GetAppIni().GetLastUpdateFolder();
    const QString path = PromptOpenFileName(this, dialog);
    if (path.isEmpty())
        return;
    // Whatever the player is sent as its update it installs and restarts with.
    if (!IsCabinetFile(path)) {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgNotUpdateFile, path);
        return;
    }
    if (ShowText(this, all ? OpText::kUpdateAllQuestion : OpText::kUpdateSelectedQuestion,
                 MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    GetAppIni().SetLastUpdateFolder(QFileInfo(path).absolutePath());
    const CDlkRequestUpdate request(path);
    if (!putRequest(request))
        return;
    m_targetPlayers = players;
    R40TransferStart(TRANSFER_MODE_UPDATE, 0);
}

// ---- Log collection ----------------------------------------------------------------------

bool CMainFrame::StartLogCollect(int kind)
{
    // A collection started for itself follows no log transfer.
    if (kind != 0) {
        m_busyMode = kind;
        m_logFetchFailures.clear();
    }
    if (CTransferStatusXml *status = GetPlayerStatusStore())
        status->SetTransferState(TRANSFER_STATE_LOG_COMPRESSING);
    if (auto *view = paneRole<IStatusView>(PANE_STATUS)) {
        // This program's own files concern no player.
        if (kind == LOG_COLLECT_APPLICATION)
            view->SetPlayers({});
        view->UpdateState();
        view->StartRefresh();
    }
    const std::optional<PlayerRecord> player = FirstTargetPlayer(m_targetPlayers);
    const QString playerName = player ? player->Name : QStringLiteral("Unknown");
    const int collectKind = m_busyMode;
    bool onDesktop = false;
    const QString target = GetLogTargetFolder(&onDesktop);
    SetLogArchivePath(LogCabName(collectKind, playerName), onDesktop ? QString() : target);
    const QString dataRoot = GetAppData().GetDataRoot();
    const bool started = StartWorker(m_logWorker, [this, collectKind, dataRoot, playerName, target] {
        QString path;
        const LogCollectResult result = CollectLogCab(collectKind, dataRoot, playerName, target, path);
        PostAppMessage(this, APPMSG_LOG_END, result == LogCollectResult::Saved ? 1 : 0, quint32(result));
    }, false);
    if (!started)
        PostAppMessage(this, APPMSG_LOG_END, 0, quint32(LogCollectResult::Failed));
    return true;
}

bool CMainFrame::collectsFetchedLogs(quint32 result, qint32 state) const
{
    // Everything is collected from the players that sent their logs, unless
    // the operator stopped; one player's log is collected only when it came.
    return result != 0 || (m_busyMode == LOG_COLLECT_ALL && state != DLK_STATE_STOPPED);
}

void CMainFrame::noteLogFetchFailures()
{
    m_logFetchFailures.clear();
    const CTransferStatusXml *status = GetPlayerStatusStore();
    if (!status)
        return;
    for (const LogFetchFailure &failure : FailedLogFetches(*status, m_targetPlayers)) {
        // The code comes with what the error-code table says it means.
        const TransferCodeMeaning *meaning = FindTransferCode(failure.code);
        m_logFetchFailures.append(FormatString(kTextLogFetchFailure, failure.player, failure.code,
                                               QString::fromUtf8(meaning ? meaning->meaning : "")).trimmed());
    }
}

// ---- User screen saver -------------------------------------------------------------------

void CMainFrame::R40SendScreenSaver(qint32 index)
{
    if (!CanStartOperation(false, false) || !SetTargetPlayers(true))
        return;
    if (index >= kTouchPanelIndexBase) {
        ShowText(this, OpText::kTouchPanelScreenSaver, MB_OK | MB_ICONWARNING);
        return;
    }
    CContentsStore &store = GetContentFolders();
    CContentsList *list = store.GetList(CONTENT_PLAYLIST);
    int position = -1;
    std::unique_ptr<CPropertyBase> record =
        list ? CopyOut("R40SendScreenSaver", *list, CONTENT_PLAYLIST, index, position) : nullptr;
    if (!record)
        return;
    if (!IsBackgroundOnly(store.m_playlistFolder, index)) {
        ShowText(this, OpText::kScreenSaverLayers, MB_OK | MB_ICONWARNING);
        return;
    }
    CDlkRequestSend request;
    const bool queued = prepareSend(request, [&](CSendInfoBuilder &builder) {
        return builder.AddR40SendInfo(list, position, *record, &kNeverDeleteDate, false)
            && AddScreenSaverSchedule(builder, request.GetGroupScheduleFolder(), index);
    });
    if (!queued)
        return;
    // The playlist is remembered for the group once the transfer has succeeded.
    m_operationIndex = index;
    NotifyContentsListChanged(CONTENT_PLAYLIST, 0, 0);
    if (putRequest(request))
        R40TransferStart(TRANSFER_MODE_SCREEN_SAVER, request.GetCount());
}

void CMainFrame::R40CancelScreenSaver()
{
    if (!CanStartOperation(false, false) || !SetTargetPlayers(true))
        return;
    CDlkRequestCommand commands;
    if (!AddScreenSaverRemoval(commands) || !putRequest(commands))
        return;
    R40TransferStart(TRANSFER_MODE_SCREEN_SAVER_CANCEL, commands.GetCount());
}
