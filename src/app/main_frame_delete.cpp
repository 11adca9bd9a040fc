// Deleting contents from the library: the files of each content go on a
// worker thread with a counter window that can stop the run, then the
// records whose files went leave the lists on the user-interface thread.
#include "app/main_frame.h"

#include "app/app_message.h"
#include "widgets/delete_dlg.h"
#include "app/frame_worker.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "core/printf_format.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "ops/content_file_remover.h"
#include "ops/list_usage.h"
#include "ops/operation_texts.h"
#include "ops/send_info.h"

namespace {

constexpr quint32 kMsgSaveFailed = 5419;
constexpr quint32 kMsgListsInUse = 5444;
constexpr quint32 kMsgContentsInUse = 5445;
constexpr std::chrono::milliseconds kStepPause{1};
constexpr std::chrono::milliseconds kEndPause{500};

enum DeleteOutcome : quint32 { DELETE_DONE = 0, DELETE_STOPPED = 1, DELETE_FAILED = 2 };

// The deletion question: for contents and lists that schedules or lists
// play, which of them lose what goes.
bool AskDelete(QObject *owner, int type, const QList<qint32> &indexes)
{
    const QList<ListUse> uses = FindListUses(GetContentFolders(), GetAppData().GetGroupXml(), type, indexes);
    if (uses.isEmpty())
        return MessageBoxWithCaptionId(owner, QString::fromUtf8(OpText::kDeleteQuestion), kTitleCaption,
                                       MB_YESNO | MB_ICONQUESTION)
            == IDYES;
    QStringList lines;
    for (const ListUse &use : uses) {
        QString line = QStringLiteral("%1：%2 %3")
                           .arg(ContentLabel(use.used, type), LoadString(TypeNameId(use.userType)).trimmed(),
                                FormatContentIdFixed(use.user));
        if (!use.group.isEmpty())
            line += QStringLiteral("（%1）").arg(use.group);
        lines << line;
    }
    const bool lists = type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST;
    return ShowMessageFormat(owner, kTitleCaption, MB_YESNO | MB_ICONQUESTION,
                             lists ? kMsgListsInUse : kMsgContentsInUse, lines.join(QLatin1Char('\n')))
        == IDYES;
}

} // namespace

void CMainFrame::StartDeleteContents(const QList<qint32> &indexes, int type)
{
    if (!AskDelete(this, type, indexes))
        return;
    setEnabled(false);
    m_deleteIndexes = indexes;
    m_deleteDone = 0;
    m_deleteDialog = std::make_unique<CDeleteDlg>(this);
    m_deleteDialog->SetTransferMode(false);
    m_deleteDialog->SetTotal(int(indexes.size()));
    m_deleteDialog->show();
    m_deleteProgress = m_deleteDialog.get();
    m_deleteType = type;
    // The worker reads the list while the frame keeps the operator out.
    const CContentFileRemover remover(CContentFileRemover::FoldersOfStore());
    CContentsList *list = GetContentFolders().GetList(type);
    const CDeleteDlg *dialog = m_deleteDialog.get();
    const bool started = StartWorker(m_deleteWorker, [this, remover, list, type, indexes, dialog] {
        DeleteContentsWorker(remover, list, type, indexes, *dialog);
    }, false);
    if (!started) {
        WriteSyslog(LOG_ERR_APP, "StartDeleteContents : worker start error");
        m_deleteProgress = nullptr;
        m_deleteDialog.reset();
        setEnabled(true);
    }
}

void CMainFrame::DeleteContentsWorker(const CContentFileRemover &remover, CContentsList *list, int type,
                                      const QList<qint32> &indexes, const CDeleteDlg &dialog)
{
    quint32 outcome = DELETE_DONE;
    quint32 error = 0;
    int done = 0;
    for (; done < indexes.size(); ++done) {
        if (dialog.IsStopRequested()) {
            outcome = DELETE_STOPPED;
            break;
        }
        int state = 0;
        if (!remover.DelContRealFileCommon(list, type, indexes[done], state, error)) {
            outcome = DELETE_FAILED;
            break;
        }
        PostAppMessage(this, APPMSG_DELETE_STEP, quint32(done), 0);
        Clock().sleepFor(kStepPause);
    }
    m_deleteDone = done;
    Clock().sleepFor(kEndPause);
    PostAppMessage(this, APPMSG_DELETE_END, outcome, error);
}

void CMainFrame::OnMsgDelContEnd(quint32 outcome, quint32 error)
{
    CContentsStore &store = GetContentFolders();
    const int type = m_deleteType;
    const qint32 checked = type == CONTENT_SCHEDULE ? store.GetSecondScheduleModel()->GetIndex()
        : store.GetSecondPlaylistModel(type)                 ? store.GetSecondPlaylistModel(type)->GetIndex()
                                                             : -1;
    EndWorker(m_deleteWorker);
    // Only the contents whose files went leave the lists.
    const QList<qint32> removed = m_deleteIndexes.mid(0, m_deleteDone);
    CContentsList *list = store.GetList(type);
    if (!list)
        WriteSyslog(LOG_ERR_APP, "OnMsgDelContEnd : Invalid content type : type = %d", type);
    for (qint32 index : list ? removed : QList<qint32>()) {
        const int position = list->FindCode(index);
        if (position >= 0)
            list->Delete(position);
        // Every calendar row of the schedule goes, a left-over second one too.
        CContentsList *calendars = type == CONTENT_SCHEDULE ? store.GetList(CONTENT_CALENDAR) : nullptr;
        for (int row = calendars ? calendars->FindCode(index) : -1; row >= 0; row = calendars->FindCode(index))
            calendars->Delete(row);
        if (index == checked && type == CONTENT_SCHEDULE)
            ScheduleCheckClear(CheckPanes::Keep, CalendarDay::Clear);
        else if (index == checked)
            PlaylistCheckClear(type, false);
    }
    const bool saved = type == CONTENT_SCHEDULE ? store.SaveGroupLists(m_currentGroup, 0, 1) : store.SaveLists(type, 1);
    NotifyContentsListChanged(type, 0, 1);
    if (type == CONTENT_SCHEDULE)
        NotifyContentsChanged(nullptr);
    m_deleteProgress = nullptr;
    m_deleteDialog.reset();
    if (!saved) {
        WriteSyslog(LOG_ERR_APP, "OnMsgDelContEnd : list save error : type = %d", type);
        ShowMessage(this, kMsgSaveFailed, kTitleCaption, MB_OK | MB_ICONWARNING);
    }
    if (outcome == DELETE_FAILED)
        MessageBoxWithCaptionId(this, FormatPrintf(QString::fromUtf8(OpText::kDeleteFailed), {PrintfArg(int(error))}),
                                kTitleCaption, MB_OK | MB_ICONWARNING);
    raise();
    activateWindow();
}
