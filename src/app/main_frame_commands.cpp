// Single maintenance commands to one player: the start with its questions and
// guard, the worker, and the end with the outcome in the status document and
// the command's message.
#include "app/main_frame.h"

#include "app/app_message.h"
#include "app/frame_worker.h"
#include "app/pane_roles.h"
#include "core/clock.h"
#include "core/message_box.h"
#include "core/printf_format.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "ops/operation_texts.h"
#include "ops/player_protocol.h"
#include "ops/send_operations.h"
#include "player/r40_http.h"
#include "transfer/transfer_status_xml.h"

namespace {

// The player's send status while its command runs.
constexpr qint32 kCommandRunning = 2;

int ShowText(QObject *owner, const QString &text, quint32 style)
{
    return MessageBoxWithCaptionId(owner, text, kTitleCaption, style);
}

// The texts of a command; all null for one that asks nothing and shows a
// reply of its own.
OpText::CommandTexts CommandTextsOf(int mode)
{
    for (const OpText::CommandTexts &texts : OpText::kCommandTexts) {
        if (texts.mode == mode)
            return texts;
    }
    return {mode, nullptr, nullptr};
}

// The document-wide state after a command's result.
qint32 StateOfResult(quint32 result)
{
    switch (result) {
    case COMMAND_RESULT_DONE: return TRANSFER_STATE_COMPLETE;
    case COMMAND_RESULT_FAILED: return TRANSFER_STATE_ENDED_ERRORS;
    case COMMAND_RESULT_STOPPED: return TRANSFER_STATE_STOPPED;
    default: return TRANSFER_STATE_ERROR;
    }
}

} // namespace

void CMainFrame::R40CommandStart(int mode, qint32 player, const std::optional<PlayerAddress> &shown)
{
    if (player < 0) {
        ShowText(this, OpText::kSelectDevice, MB_OK | MB_ICONWARNING);
        return;
    }
    if (mode == COMMAND_MODE_POWER_ON && !hasMacAddress(player, shown)) {
        ShowText(this, OpText::kNoMacAddress, MB_OK | MB_ICONWARNING);
        return;
    }
    if (mode == COMMAND_MODE_QUERY_TIME) {
        m_pcTime = FormatCommandTime(GetLocalTime());
        m_pcTimeZone = FormatTimeZone();
    }
    if (const char *question = CommandTextsOf(mode).question) {
        if (ShowText(this, question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    if (!CanStartOperation(false, false))
        return;
    m_commandMode = mode;
    m_commandPlayer = player;
    m_commandAddress = shown;
    m_commandReply = PlayerCommandReply();
    m_commandStop = false;
    if (CTransferStatusXml *status = GetPlayerStatusStore()) {
        ResetTransferStatus(*status, {player}, 0);
        status->SetSendStatus(player, kCommandRunning);
        status->SetTransferState(TRANSFER_STATE_RUNNING);
    }
    auto *view = paneRole<IStatusView>(PANE_STATUS);
    if (view) {
        view->SetPlayers({player});
        view->UpdateState();
    }
    WriteSyslog(LOG_NOTICE, "%s", CommandModeLogText(mode));
    // Mode and player go to the worker by value: the frame's fields may be
    // read by the end handler only.
    if (!StartWorker(m_commandWorker, [this, mode, player, shown] { MaintainPlayer(mode, player, shown); }, false)) {
        OnMsgCommandEnd(COMMAND_RESULT_NOT_MADE, kCommandDetailOther);
        return;
    }
    if (view)
        view->StartRefresh();
}

bool CMainFrame::hasMacAddress(qint32 player, const std::optional<PlayerAddress> &shown) const
{
    if (shown)
        return !shown->macAddress.trimmed().isEmpty();
    const std::optional<PlayerRecord> record = GetAppData().GetPlayerXml().CopyPlayer(player);
    // An unknown player is left to the worker, which reports it as such.
    return !record || !record->MacAddress.trimmed().isEmpty();
}

void CMainFrame::MaintainPlayer(int mode, qint32 player, const std::optional<PlayerAddress> &shown)
{
    const CommandOutcome outcome = ::MaintainPlayer(GetHttpClient(), mode, player, m_commandReply, &m_commandStop,
                                                    shown ? &*shown : nullptr);
    PostAppMessage(this, APPMSG_COMMAND_END, quint32(outcome.result), quint32(outcome.detail));
}

void CMainFrame::OnMsgCommandEnd(quint32 result, quint32 detail)
{
    EndWorker(m_commandWorker);
    if (CTransferStatusXml *status = GetPlayerStatusStore()) {
        status->SetSendStatus(m_commandPlayer, qint32(result));
        status->SetErrorCode(m_commandPlayer, result == COMMAND_RESULT_DONE || result == COMMAND_RESULT_STOPPED
                                                  ? 0
                                                  : qint32(detail));
        status->SetTransferState(StateOfResult(result));
    }
    if (auto *view = paneRole<IStatusView>(PANE_STATUS)) {
        view->StopRefresh();
        view->UpdateState();
    }
    if (m_exiting)
        return;
    if (result == COMMAND_RESULT_DONE)
        showCommandSuccess(m_commandMode, m_commandPlayer);
    else if (result == COMMAND_RESULT_STOPPED)
        ShowText(this, OpText::kStopped, MB_OK | MB_ICONWARNING);
    else
        showErrorCode(qint32(detail));
}

void CMainFrame::showCommandSuccess(int mode, qint32 player)
{
    const quint32 notice = MB_OK | MB_ICONINFORMATION;
    switch (mode) {
    case COMMAND_MODE_CHECK_CONNECT:
        // The display line is not part of the player's reply: it shows a
        // dash and code 00.
        ShowText(this,
                 FormatPrintf(QString::fromUtf8(OpText::kCheckConnectDone),
                              {PrintfArg(m_commandReply.version), PrintfArg(m_commandReply.serial),
                               PrintfArg(m_commandReply.macAddress), PrintfArg("-"), PrintfArg(0)}),
                 notice);
        break;
    case COMMAND_MODE_QUERY_TIME:
        if (ShowText(this,
                     FormatPrintf(QString::fromUtf8(OpText::kQueryTimeDone),
                                  {PrintfArg(m_commandReply.playerTime), PrintfArg(m_commandReply.playerTimeZone),
                                   PrintfArg(m_pcTime), PrintfArg(m_pcTimeZone)}),
                     MB_YESNO | MB_ICONINFORMATION)
            == IDYES)
            R40CommandStart(COMMAND_MODE_SET_TIME, player, m_commandAddress);
        break;
    default:
        if (const char *done = CommandTextsOf(mode).done)
            ShowText(this, done, notice);
        break;
    }
}
