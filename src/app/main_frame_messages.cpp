// The application messages of the main frame and the worker pattern of its
// long operations: a worker is kept by the frame and started while the frame
// is disabled; its end message's handler joins it and enables the frame.
#include "app/main_frame.h"

#include "app/app_message.h"
#include "app/frame_worker.h"
#include "app/pane_roles.h"
#include "widgets/progress_view.h"
#include "widgets/reg_cont_dlg.h"
#include "core/message_box.h"
#include "core/shell_open.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/player_group_edit.h"
#include "ops/log_collection.h"
#include "ops/print_files.h"
#include "player/r40_http.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/transfer_status_xml.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace {

constexpr quint32 kTextUpdatingInfo = 5638;
constexpr quint32 kMsgLogSaved = 5271;
constexpr quint32 kMsgLogSavedInFolder = 5480;
constexpr quint32 kMsgLogSaveFailed = 5272;
constexpr quint32 kMsgLogSaveNotWritten = 5483;
constexpr quint32 kMsgLogSaveNoPlayerLog = 5484;
constexpr quint32 kMsgLogSaveNameTooLong = 5485;
constexpr quint32 kMsgLogSavedWithFailures = 5496;
constexpr quint32 kMsgLogSavedInFolderWithFailures = 5497;
constexpr quint32 kMsgPrintNeedsSpreadsheet = 5400;
constexpr quint32 kMsgPrintStartFailed = 5404;
constexpr quint32 kMsgPrintPdfNotShown = 5431;
constexpr quint32 kMsgPrintFileNotWritten = 5432;

// Transfer modes whose progress the frame shows.
constexpr int kTransferModeDelete = 6;
constexpr int kTransferModeInfoUpdate = 7;

// The exit waits this long for the communication to end: longer than the
// transfer manager's own bound for joining its thread.
constexpr int kExitWaitMs = 70000;
constexpr unsigned long kExitPollMs = 5;

} // namespace

bool CMainFrame::event(QEvent *event)
{
    if (const CAppMessageEvent *message = AsAppMessage(event)) {
        OnAppMessage(message->Number(), message->WParam(), message->LParam());
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::OnAppMessage(int number, quint32 wParam, quint32 lParam)
{
    switch (number) {
    case APPMSG_REGIST_END:
        OnMsgAddContentsEnd(int(wParam), lParam);
        break;
    case APPMSG_REPLACE_END:
        OnMsgReplaceMaterialEnd(int(wParam), lParam);
        break;
    case APPMSG_REGIST_COPY:
        onRegistFileMessage(wParam, CRegContDlg::kTextCopying);
        break;
    case APPMSG_REGIST_STEP:
        onProgressCount(m_registProgress, wParam);
        break;
    case APPMSG_REGIST_THUMB:
        onRegistFileMessage(wParam, CRegContDlg::kTextMakingThumbnail);
        break;
    case APPMSG_DELETE_STEP:
        onProgressCount(m_deleteProgress, wParam);
        break;
    case APPMSG_TRANSFER_END:
        OnMsgTransferEnd(wParam, lParam);
        break;
    case APPMSG_TRANSFER_NOTICE:
        OnMsgTransferNotice();
        break;
    case APPMSG_DELETE_END:
        OnMsgDelContEnd(wParam, lParam);
        break;
    case APPMSG_COMMAND_END:
        OnMsgCommandEnd(wParam, lParam);
        break;
    case APPMSG_TRANSFER_PROGRESS:
        onTransferProgress();
        break;
    case APPMSG_LOG_END:
        onLogEnd(wParam, lParam);
        break;
    case APPMSG_PRINT_END:
        onPrintEnd(wParam, lParam);
        break;
    case APPMSG_EXPORT_END:
    case APPMSG_IMPORT_END:
        onExImportEnd(number, wParam);
        break;
    default:
        if (m_exImportView
            && ((number >= APPMSG_EXPORT_FIRST && number <= APPMSG_EXPORT_LAST_STEP)
                || (number >= APPMSG_IMPORT_FIRST && number <= APPMSG_IMPORT_LAST_STEP)))
            m_exImportView->OnExImportProgress(number, wParam, lParam);
        // The other numbers belong to operations that bring their own
        // handlers; none of them is running without one.
        break;
    }
}

// ---- Workers ---------------------------------------------------------------------

bool CMainFrame::StartWorker(std::unique_ptr<CFrameWorker> &slot, std::function<void()> body, bool disableFrame)
{
    if (slot)
        return false;
    if (disableFrame)
        setEnabled(false);
    slot = std::make_unique<CFrameWorker>(std::move(body));
    if (!slot->Resume()) {
        slot.reset();
        setEnabled(true);
        return false;
    }
    return true;
}

void CMainFrame::EndWorker(std::unique_ptr<CFrameWorker> &slot)
{
    if (slot) {
        slot->Join();
        slot.reset();
    }
    setEnabled(true);
}

// ---- Handlers ----------------------------------------------------------------------

void CMainFrame::SetRegistPaths(const QStringList &paths, const QString &singlePath)
{
    m_registPaths = paths;
    m_registPath = singlePath;
}

QString CMainFrame::registFileName(quint32 index) const
{
    const QString &path = index < quint32(m_registPaths.size()) ? m_registPaths[int(index)] : m_registPath;
    return QFileInfo(path).fileName();
}

void CMainFrame::onRegistFileMessage(quint32 index, quint32 textId)
{
    if (!m_registProgress)
        return;
    m_registProgress->SetProgressText(FormatString(textId, registFileName(index)));
    if (textId == CRegContDlg::kTextCopying)
        m_registProgress->RefreshByteCount();
}

void CMainFrame::onProgressCount(IProgressView *view, quint32 index)
{
    if (view)
        view->SetProgressCount(int(index) + 1);
}

void CMainFrame::onTransferProgress()
{
    const CTransferStatusXml *status = GetPlayerStatusStore();
    if (!status)
        return;
    const int done = status->GetSendFileCount(m_currentPlayer);
    if (m_transferMode == kTransferModeDelete && m_deleteProgress)
        m_deleteProgress->SetProgressCount(done);
    else if (m_transferMode == kTransferModeInfoUpdate && m_processDialog)
        m_processDialog->SetProgressText(FormatString(kTextUpdatingInfo, done));
}

void CMainFrame::onLogEnd(quint32 saved, quint32 result)
{
    if (m_logWorker) {
        m_logWorker->Join();
        m_logWorker.reset();
    }
    // A collection that failed must not read as complete.
    if (CTransferStatusXml *status = GetPlayerStatusStore())
        status->SetTransferState(saved != 0 ? TRANSFER_STATE_LOG_COMPRESSED : TRANSFER_STATE_ERROR);
    if (auto *view = paneRole<IStatusView>(PANE_STATUS)) {
        view->StopRefresh();
        view->UpdateState();
    }
    if (!m_exiting) {
        if (saved == 0)
            showLogFailure(LogCollectResult(result));
        else
            showLogSaved();
    }
    m_logFetchFailures.clear();
    m_busyMode = 0;
}

void CMainFrame::showLogSaved()
{
    const quint32 notice = MB_OK | MB_ICONINFORMATION;
    const QString failures = m_logFetchFailures.join(QLatin1Char('\n'));
    if (m_logArchiveFolder.isEmpty() && failures.isEmpty())
        ShowMessageFormat(this, kTitleCaption, notice, kMsgLogSaved, m_logArchivePath);
    else if (failures.isEmpty())
        ShowMessageFormat(this, kTitleCaption, notice, kMsgLogSavedInFolder, m_logArchivePath, m_logArchiveFolder);
    else if (m_logArchiveFolder.isEmpty())
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgLogSavedWithFailures, m_logArchivePath,
                          failures);
    else
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgLogSavedInFolderWithFailures,
                          m_logArchivePath, m_logArchiveFolder, failures);
}

void CMainFrame::showLogFailure(LogCollectResult result)
{
    switch (result) {
    case LogCollectResult::NoPlayerLog:
        ShowMessage(this, kMsgLogSaveNoPlayerLog, kTitleCaption, MB_OK | MB_ICONERROR);
        break;
    case LogCollectResult::NotWritten:
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONERROR, kMsgLogSaveNotWritten,
                          m_logArchiveFolder.isEmpty() ? GetLogTargetFolder() : m_logArchiveFolder);
        break;
    case LogCollectResult::NameTooLong:
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONERROR, kMsgLogSaveNameTooLong,
                          CPlayerGroupEdit::kMaxNameBytes);
        break;
    default:
        ShowMessage(this, kMsgLogSaveFailed, kTitleCaption, MB_OK | MB_ICONERROR);
        break;
    }
}

void CMainFrame::onPrintEnd(quint32 result, quint32 detail)
{
    EndWorker(m_printWorker);
    if (m_processDialog)
        m_processDialog->CloseProgress();
    if (!m_exiting && result == PRINT_END_NO_PROGRAM) {
        raise();
        activateWindow();
        ShowMessage(this, kMsgPrintNeedsSpreadsheet, kTitleCaption, MB_OK | MB_ICONWARNING);
    } else if (!m_exiting && result == PRINT_END_WRITE_FAILED) {
        // The spreadsheet program was never reached: say what did fail.
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgPrintFileNotWritten, int(detail),
                          PrintFolderOf(GetAppData().GetDataRoot()));
    } else if (!m_exiting && result != PRINT_END_DONE) {
        ShowMessage(this, kMsgPrintStartFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
    } else if (!m_exiting && !m_printPdfPath.isEmpty() && !ShellOpenFile(m_printPdfPath)) {
        // No printer is set up and the PDF written instead has no viewer:
        // the operator is told where it lies.
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONINFORMATION, kMsgPrintPdfNotShown, m_printPdfPath);
    }
    WriteSyslog(LOG_NOTICE, "Print end.");
}

void CMainFrame::onExImportEnd(int number, quint32 result)
{
    const bool import = number == APPMSG_IMPORT_END;
    // The end message is the run's last word: its worker is ending.
    if (m_exImportWorker) {
        m_exImportWorker->Join();
        m_exImportWorker.reset();
    }
    NotifyContentsListChanged(0, 0, import ? 1 : 0);
    if (!m_exImportView)
        return;
    if (import)
        m_exImportView->EndImport(result);
    else
        m_exImportView->EndExport(result);
}

// ---- Exit wait -------------------------------------------------------------------

void CMainFrame::waitForCommunicationEnd()
{
    // Only the application messages of the frame are handled meanwhile, so
    // the end handlers join their threads; they show no results while the
    // program exits. The wait is bounded: whatever still runs after it is
    // ended with the transfer manager's own bound.
    m_exiting = true;
    const QDeadlineTimer deadline(kExitWaitMs);
    while (IsBusy() && !deadline.hasExpired()) {
        QCoreApplication::sendPostedEvents(this, CAppMessageEvent::EventType());
        if (IsBusy())
            QThread::msleep(kExitPollMs);
    }
    disableTransferCallback();
    m_exiting = false;
}
