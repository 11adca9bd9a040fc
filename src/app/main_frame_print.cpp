// Printing of playlists, background-music lists, schedules and calendars:
// the frame's entry points and its print worker.

#include "app/app_message.h"
#include "app/frame_worker.h"
#include "app/main_frame.h"
#include "widgets/process_dlg.h"
#include "core/file_utils.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "ops/spreadsheet_runner.h"

namespace {

constexpr quint32 kMsgNoScheduleShown = 5398;
constexpr quint32 kMsgNoPlaylistShown = 5399;
constexpr quint32 kMsgNoBgmListShown = 5440;
constexpr quint32 kTextWorkbook = 5928;

} // namespace

bool CMainFrame::PrintPlaylist(int type, bool edit)
{
    CContentsStore &store = GetContentFolders();
    if (edit) {
        if (!CheckPlaylist(type))
            return false;
    } else {
        const CPlaylistEditModel *shown = store.GetSecondPlaylistModel(type);
        if (!shown || shown->GetIndex() < 0) {
            ShowMessage(this, type == CONTENT_BGMLIST ? kMsgNoBgmListShown : kMsgNoPlaylistShown, kTitleCaption,
                        MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    WriteSyslog(LOG_NOTICE, "%s print start.", type == CONTENT_BGMLIST ? "BGM List" : "Playlist");
    PrintRequest request;
    request.kind = type == CONTENT_BGMLIST ? PRINT_BGM_LIST : PRINT_PLAYLIST;
    request.edit = edit;
    return StartPrint(request);
}

bool CMainFrame::PrintSchedule(bool scheduleOnly, bool edit)
{
    if (edit) {
        if (!CheckSchedule())
            return false;
    } else if (GetContentFolders().GetSecondScheduleModel()->GetIndex() < 0) {
        ShowMessage(this, kMsgNoScheduleShown, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    WriteSyslog(LOG_NOTICE, "Schedule print start.");
    PrintRequest request;
    request.kind = PRINT_SCHEDULE;
    request.scheduleOnly = scheduleOnly;
    request.edit = edit;
    return StartPrint(request);
}

bool CMainFrame::PrintCalendar(int year, int month)
{
    WriteSyslog(LOG_NOTICE, "Calendar print start.");
    PrintRequest request;
    request.kind = PRINT_CALENDAR;
    request.year = year;
    request.month = month;
    return StartPrint(request);
}

bool CMainFrame::StartPrint(const PrintRequest &request)
{
    QString programFolder;
    GetModuleFolder(programFolder);
    const QString macro = PrintMacroPath(programFolder, LoadString(kTextWorkbook));
    if (!m_process)
        m_process = new CProcessDlg(this);
    m_process->Create(this);
    m_process->StartBusy();
    m_process->show();
    SetProcessDialog(m_process);
    m_printPdfPath.clear();
    const QString dataRoot = GetAppData().GetDataRoot();
    auto body = [this, request, macro, dataRoot] {
        auto post = [this](quint32 code, quint32 detail) { PostAppMessage(this, APPMSG_PRINT_END, code, detail); };
        CPrintFiles files(GetContentFolders(), dataRoot, post);
        PrintFileSet written;
        if (!files.WritePrintFiles(request, written))
            return;
        // Read by the end handler only after it joined this worker.
        const quint32 code = RunPrintMacro(macro, written, m_printPdfPath);
        post(code, 0);
    };
    if (!StartWorker(m_printWorker, body, true)) {
        m_process->CloseProgress();
        return false;
    }
    // The frame is disabled; its wait window stays a window of its own.
    m_process->setEnabled(true);
    return true;
}
