#include "app/main_frame.h"

#include "app/child_frame.h"
#include "widgets/delete_dlg.h"
#include "app/frame_message_ids.h"
#include "app/frame_worker.h"
#include "app/guidance_bar.h"
#include "app/guide_bar.h"
#include "app/pane_roles.h"
#include "widgets/preview_set_dlg.h"
#include "widgets/reg_cont_dlg.h"
#include "app/r40_send_callback.h"
#include "app/telv_pane_dlg.h"
#include "app/version_dlg.h"
#include "app/window_placement.h"
#include "core/app_ini.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/shell_open.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "core/time_utils.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/playlist_property.h"
#include "ops/content_registration.h"
#include "ops/playlist_storage.h"
#include "player/r40_http.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/transfer_codes.h"
#include "transfer/transfer_status_xml.h"
#include "widgets/help_page_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMenuBar>
#include <QSessionManager>
#include <QVBoxLayout>

namespace {

CMainFrame *g_mainFrame = nullptr;

constexpr quint32 kTitleString = 57344;

// Messages of this part.
constexpr quint32 kMsgDiscardSchedule = 5005;
constexpr quint32 kMsgQuitDiscardEdits = 5011;
constexpr quint32 kMsgQuitCommunicating = 5013;
constexpr quint32 kMsgContentInTransfer = 5332;
constexpr quint32 kMsgNoSendPeriod = 5350;
constexpr quint32 kMsgTimedDeliveryWaits = 5393;
constexpr quint32 kMsgHelpDocumentMissing = 5430;

// One row of the pane table: the kind, its set-up values and its frame.
struct PaneRow {
    PaneKind kind;
    int type;
    int mode;
    quint32 titleId; // 0: an empty title
    quint32 style;   // 0: a window of its own, not in a child frame
};

constexpr quint32 kFramed = CChildFrame::kFramedStyle;
constexpr quint32 kFixed = CChildFrame::kFixedStyle;

constexpr PaneRow kPaneRows[CMainFrame::PANE_COUNT] = {
    {PANE_KIND_CONTENTS, 0, 10, 5501, kFramed},
    {PANE_KIND_CONTENTS, 0, 17, 5501, kFramed},
    {PANE_KIND_PLAYLIST_EDIT, 52, 1, 5502, kFramed},
    {PANE_KIND_LAYOUT_DISP, 0, 0, 5506, kFramed},
    {PANE_KIND_PLAYLIST_EDIT, 53, 1, 5503, kFramed},
    {PANE_KIND_SCHEDULE_EDIT, 0, 1, 5504, kFramed},
    {PANE_KIND_CALENDAR, 50, 0, 5509, kFixed},
    {PANE_KIND_CALENDAR, 51, 0, 5510, kFixed},
    {PANE_KIND_LAYOUT, 0, 0, 5507, 0},
    {PANE_KIND_LAYOUT_PROP, 0, 0, 0, 0},
    {PANE_KIND_STATUS, 0, 0, 1523, kFramed},
    {PANE_KIND_SET_SYSTEM, 0, 0, 5513, kFixed},
    {PANE_KIND_SET_R40_LIST, 0, 0, 5514, kFramed},
    {PANE_KIND_SET_GROUP, 0, 0, 5515, kFramed},
    {PANE_KIND_SET_CONT, 0, 0, 5516, kFixed},
    {PANE_KIND_SET_OPT, 0, 0, 5517, kFixed},
    {PANE_KIND_SCHEDULE_VIEW, 0, 0, 6200, kFixed},
    {PANE_KIND_SCHEDULE_EDIT, 0, 0, 6201, kFramed},
    {PANE_KIND_PLAYLIST_EDIT, 52, 0, 6202, kFramed},
    {PANE_KIND_PLAYLIST_EDIT, 53, 0, 6203, kFramed},
    {PANE_KIND_CALENDAR, 52, 0, 5509, kFixed},
};

// The help documents: command, document name string, message when no program opens it.
struct HelpDocument {
    int command;
    quint32 nameId;
    quint32 missingProgramId;
};
constexpr HelpDocument kHelpDocuments[] = {
    {CMainFrame::ID_HELP_SETUP_MANUAL, 6001, 5320},
    {CMainFrame::ID_HELP_MANUAL, 6003, 5321},
    {CMainFrame::ID_HELP_SPEC_SHEET, 6002, 5322},
};

// The error-code table, shown in a window of the program's own.
constexpr quint32 kErrorListPageId = 6000;
const char *const kErrorListTitle = "エラーコード表";

// The texts of the frame's menu.
const char *const kMenuFile = "ファイル(&F)";
const char *const kMenuExit = "アプリケーションの終了(&X)";
const char *const kMenuExportSettings = "設定ファイルの書き出し(&E)...";
const char *const kMenuWindow = "ウィンドウ(&W)";
const char *const kMenuArrange = "整列(&A)";
const char *const kMenuHelp = "ヘルプ(&H)";
struct MenuItem {
    int command;
    const char *text;
};
constexpr MenuItem kHelpMenu[] = {
    {CMainFrame::ID_HELP_ERROR_LIST, "エラーコード表(&E)"},
    {CMainFrame::ID_HELP_SETUP_MANUAL, "設定説明書(&M)"},
    {CMainFrame::ID_HELP_MANUAL, "取扱説明書(&U)"},
    {CMainFrame::ID_HELP_SPEC_SHEET, "スペックシート(&S)"},
    {CMainFrame::ID_APP_ABOUT, "バージョン情報(&A)"},
};

// The discard question and load failure texts of a list type.
const char *DiscardQuestion(int type)
{
    switch (type) {
    case CONTENT_PLAYLIST:
        return "編集中のプレイリストを破棄します。\nよろしいですか？";
    case CONTENT_BGMLIST:
        return "編集中のBGMリストを破棄します。\nよろしいですか？";
    default:
        return "編集中のスケジュールを破棄します。\nよろしいですか？";
    }
}

bool AskDiscard(QObject *owner, int type)
{
    return MessageBoxWithCaptionId(owner, QString::fromUtf8(DiscardQuestion(type)), kTitleCaption,
                                   MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool IsListModified(int type)
{
    const CPlaylistEditModel *model = GetContentFolders().GetPlaylistModel(type);
    return model && model->IsModified();
}

// A background-music list travels in the registration requests as a playlist.
int TransferType(int type)
{
    return type == CONTENT_BGMLIST ? CONTENT_PLAYLIST : type;
}

// An emptied list takes the resolution and orientation last chosen.
void ClearPlaylistModel(CPlaylistEditModel &model)
{
    model.Clear();
    model.SetResolution(GetAppIni().GetLastResolution());
    model.SetOrientation(GetAppIni().GetLastOrientation());
}

// The manager's callback: the frame's callback, whose posting result the
// manager does not use.
} // namespace

Q_STATIC_ASSERT(sizeof(kPaneRows) / sizeof(kPaneRows[0]) == CMainFrame::PANE_COUNT);

CMainFrame *GetMainFrame()
{
    return g_mainFrame;
}

CMainFrame::CMainFrame()
{
    g_mainFrame = this;
    SetPaneFrame(this);
    const QString title = QGuiApplication::applicationDisplayName();
    setWindowTitle(title.isEmpty() ? LoadString(kTitleString) : title);
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { OnQueryEndSession(); });
    }
    setAcceptDrops(true);
}

CMainFrame::~CMainFrame()
{
    // The manager must not post to a frame that is going; a transfer still
    // running is ended and joined first.
    disableTransferCallback();
    // Workers still kept are joined before their frame goes; an import
    // waiting for its question's answer is stopped first.
    StopExImport();
    m_exImportWorker.reset();
    m_printWorker.reset();
    m_logWorker.reset();
    m_commandWorker.reset();
    m_deleteWorker.reset();
    stopRegistWorker();
    // The panes leave the pane list while the frame is whole.
    delete m_mdiClient;
    m_mdiClient = nullptr;
    for (int index : {PANE_LAYOUT, PANE_LAYOUT_PROP})
        delete m_slots[size_t(index)].pane;
    m_slots = {};
    m_childFrames.clear();
    setProperty(kInstanceMarker, QVariant());
    if (GetPaneFrame() == this)
        SetPaneFrame(nullptr);
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
}

void CMainFrame::disableTransferCallback()
{
    CDlkTransferManager &manager = GetTransferManager();
    manager.EnableCallback(false, nullptr, nullptr);
    if (manager.IsRunning()) {
        manager.Stop();
        manager.FinishTransfer();
    }
}

// ---- Window, panes and bars --------------------------------------------------

bool CMainFrame::LoadFrame()
{
    return OnCreateClient();
}

void CMainFrame::createClient()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    column->addLayout(row, 1);
    m_mdiClient = new QMdiArea(central);
    m_mdiClient->setObjectName(QStringLiteral("MDIClient"));
    m_mdiClient->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiClient->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(m_mdiClient, 1);
    setCentralWidget(central);
}

void CMainFrame::createMenu()
{
    QMenu *file = menuBar()->addMenu(QString::fromUtf8(kMenuFile));
    QAction *exportSettings =
        file->addAction(QString::fromUtf8(kMenuExportSettings), this, [this] { OnCommand(ID_EXPORT_SETTINGS); });
    exportSettings->setObjectName(QString::number(ID_EXPORT_SETTINGS));
    file->addAction(QString::fromUtf8(kMenuExit), this, [this] { OnCommand(ID_APP_EXIT); });
    QMenu *window = menuBar()->addMenu(QString::fromUtf8(kMenuWindow));
    window->addAction(QString::fromUtf8(kMenuArrange), this, [this] { OnCommand(ID_WINDOW_ARRANGE); });
    QMenu *help = menuBar()->addMenu(QString::fromUtf8(kMenuHelp));
    for (const MenuItem &item : kHelpMenu) {
        QAction *action = help->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::number(item.command));
        const int command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    }
    // A command that nobody handles is shown disabled.
    connect(help, &QMenu::aboutToShow, this, [this, help] {
        for (QAction *action : help->actions()) {
            CCmdUI cmdUi(action->objectName().toInt());
            OnUpdateCommand(cmdUi);
            action->setEnabled(cmdUi.handled && cmdUi.enabled);
        }
    });
}

bool CMainFrame::OnCreateClient()
{
    createClient();
    if (!m_mdiClient)
        return false;
    createMenu();
    RestoreWindowPlacement(this, GetAppIni());
    RegisterClipboardFormats();
    CreateViews();
    ResetViews();
    chooseStartView();
    GetTransferManager().EnableCallback(true, &R40SendNotify, this);
    setProperty(kInstanceMarker, 1);
    return true;
}

bool CMainFrame::createBars()
{
    auto *column = qobject_cast<QVBoxLayout *>(centralWidget()->layout());
    auto *row = column ? qobject_cast<QHBoxLayout *>(column->itemAt(0)->layout()) : nullptr;
    if (!row)
        return false;
    m_guidanceBar = new CGuidanceBar;
    m_guidanceBar->Create(centralWidget());
    m_guidanceBar->setFixedHeight(m_guidanceBar->CalcFixedLayout(true, true).height());
    column->insertWidget(0, m_guidanceBar);
    m_guideBar = new CGuideBar;
    m_guideBar->Create(centralWidget());
    m_guideBar->setFixedWidth(m_guideBar->CalcFixedLayout(true, false).width());
    row->insertWidget(0, m_guideBar);
    return true;
}

bool CMainFrame::CreateChildView(PaneKind kind, int type, int mode, quint32 titleId, quint32 style,
                                 CChildFrame *&frame, CTelvPaneDlg *&pane)
{
    frame = nullptr;
    pane = MakePane(kind, type, mode);
    if (!pane)
        return false;
    auto *child = new CChildFrame(pane);
    const QString title = titleId ? LoadString(titleId) : QString();
    if (!child->Create(m_mdiClient, title, style)) {
        delete child; // deletes the pane with it
        pane = nullptr;
        return false;
    }
    child->hide();
    frame = child;
    return true;
}

bool CMainFrame::createLayoutPane(int index, PaneKind kind, quint32 titleId)
{
    CTelvPaneDlg *pane = MakePane(kind, 0, 0);
    if (!pane)
        return false;
    if (!pane->Create(this)) {
        delete pane;
        return false;
    }
    if (titleId)
        pane->setWindowTitle(LoadString(titleId));
    pane->hide();
    m_slots[size_t(index)].pane = pane;
    return true;
}

bool CMainFrame::CreateViews()
{
    if (!createBars())
        return false;
    for (int index = 0; index < PANE_COUNT; ++index) {
        const PaneRow &row = kPaneRows[index];
        if (row.style == 0) {
            if (!createLayoutPane(index, row.kind, row.titleId))
                return false;
            continue;
        }
        PaneSlot &slot = m_slots[size_t(index)];
        if (!CreateChildView(row.kind, row.type, row.mode, row.titleId, row.style, slot.frame, slot.pane))
            return false;
        m_childFrames.append(slot.frame);
    }
    if (auto *view = paneRole<IScheduleView>(PANE_SCHEDULE_VIEW))
        view->FillGroupList();
    return true;
}

void CMainFrame::HideAllViews()
{
    for (int index : {PANE_LAYOUT, PANE_LAYOUT_PROP}) {
        if (CTelvPaneDlg *pane = m_slots[size_t(index)].pane)
            pane->hide();
    }
    for (CChildFrame *frame : std::as_const(m_childFrames))
        frame->hide();
}

CTelvPaneDlg *CMainFrame::GetViewPane(int index) const
{
    return index >= 0 && index < PANE_COUNT ? m_slots[size_t(index)].pane : nullptr;
}

CChildFrame *CMainFrame::GetViewFrame(int index) const
{
    return index >= 0 && index < PANE_COUNT ? m_slots[size_t(index)].frame : nullptr;
}

void CMainFrame::chooseStartView()
{
    if (!m_guideBar)
        return;
    static constexpr int kMainViewItems[] = {1532, 1504, 1505, 1506, 1507, 1508, 1510, 1509, 1533, 1511, 1522, 1523};
    const SystemOptions options = GetSettingIni().Options();
    int start = VIEW_CONTENTS;
    if (options.InitSeq >= CSettingIni::kSetupComplete) {
        if (GetAppIni().GetSettingsOpen() && !options.SetupPassUse) {
            m_guideBar->Select(CGuideBar::kSettingsGroup);
            m_guideBar->Relayout();
        }
        const int last = GetAppIni().GetLastGuideSelect();
        if (last >= 0 && m_guideBar->IsItemAvailable(last))
            start = last;
    } else {
        for (int id : kMainViewItems)
            m_guideBar->SetItemState(id, CGuideBar::STATE_HIDDEN);
        m_guideBar->Relayout();
        // The page of each unfinished set-up step; steps 2 to 6 are the
        // pages that the guided set-up goes through after the players.
        static constexpr int kStepPages[] = {VIEW_SET_SYSTEM,    VIEW_SET_PLAYERS, VIEW_SET_GROUPS, VIEW_SET_MATERIALS,
                                             VIEW_SET_OPTIONS,   VIEW_SET_LAYOUT,  VIEW_SET_SYSTEM};
        start = kStepPages[std::clamp(options.InitSeq, 0, 6)];
    }
    ShowControlBar(CGuideBar::kBarId, true);
    SwitchView(start, true);
}

// ---- What panes and bars ask of the frame ----------------------------------

void CMainFrame::AddView(CTelvPaneDlg *pane)
{
    m_panes.AddView(pane);
}

void CMainFrame::RemoveView(CTelvPaneDlg *pane)
{
    m_panes.RemoveView(pane);
}

void CMainFrame::OnUpdateCommand(CCmdUI &cmdUi)
{
    switch (cmdUi.id) {
    case ID_HELP_ERROR_LIST:
    case ID_HELP_SETUP_MANUAL:
    case ID_HELP_MANUAL:
    case ID_HELP_SPEC_SHEET:
    case ID_WINDOW_ARRANGE:
    case ID_APP_ABOUT:
    case ID_APP_EXIT:
    case ID_EXPORT_SETTINGS:
        cmdUi.Enable(true);
        break;
    default:
        if (m_guideBar && cmdUi.id >= CGuideBar::kFirstCommand && cmdUi.id <= CGuideBar::kLastCommand)
            cmdUi.Enable(m_guideBar->IsCommandEnabled(cmdUi.id));
        break;
    }
}

bool CMainFrame::OnCommand(int commandId)
{
    switch (commandId) {
    case ID_HELP_ERROR_LIST:
        OnHelpErrorList();
        return true;
    case ID_HELP_SETUP_MANUAL:
    case ID_HELP_MANUAL:
    case ID_HELP_SPEC_SHEET:
        OnHelpCommand(commandId);
        return true;
    case ID_WINDOW_ARRANGE:
        OnWindowArrange();
        return true;
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    case ID_APP_EXIT:
        close();
        return true;
    case ID_EXPORT_SETTINGS:
        OnExportSettings();
        return true;
    default:
        return false;
    }
}

void CMainFrame::ShowControlBar(int barId, bool show)
{
    if (barId == CGuidanceBar::kBarId && m_guidanceBar)
        m_guidanceBar->setVisible(show);
    else if (barId == CGuideBar::kBarId && m_guideBar)
        m_guideBar->setVisible(show);
}

bool CMainFrame::IsViewUsed(int)
{
    // No setting switches a navigation view off in this program.
    return true;
}

// ---- Notifications --------------------------------------------------------------

void CMainFrame::NotifyContentsChanged(QWidget *sender)
{
    m_panes.NotifyContentsChanged(sender);
}

void CMainFrame::NotifyColorChanged()
{
    m_panes.NotifyColorChanged();
}

void CMainFrame::NotifyContentPicked(int viewKind, int index)
{
    m_panes.NotifyContentPicked(viewKind, index);
}

void CMainFrame::NotifyLayoutChanged(QWidget *sender, int flag)
{
    m_panes.NotifyLayoutChanged(sender, flag);
}

void CMainFrame::SelectCheckPlaylist(int index)
{
    // The layout check shows the checked list only in the overview.
    if (GetCurrentView() == VIEW_OVERVIEW)
        UpdateLayoutPreview(index, false);
    m_panes.NotifyCheckPlaylistSelected(index);
    m_checkPlaylist = index;
}

void CMainFrame::SelectEditPlaylist(int index, int flag)
{
    if (GetCurrentView() != VIEW_OVERVIEW)
        UpdateLayoutPreview(index, true);
    m_panes.NotifyEditPlaylistSelected(index, flag);
    m_editPlaylist = index;
}

void CMainFrame::NotifyPlayerChanged()
{
    m_panes.NotifyPlayerChanged();
}

void CMainFrame::NotifyGroupChanged()
{
    m_panes.NotifyGroupChanged();
}

void CMainFrame::NotifyContentsListChanged(int contentType, int index, int flag)
{
    m_panes.NotifyContentsListChanged(contentType, index, flag);
}

void CMainFrame::NotifyRefreshLists()
{
    m_panes.NotifyRefreshLists();
}

void CMainFrame::NotifyCheckListChanged(int contentType, int flag)
{
    m_panes.NotifyCheckListChanged(contentType, flag);
}

void CMainFrame::NotifyEditListChanged(int contentType, int flag)
{
    m_panes.NotifyEditListChanged(contentType, flag);
}

void CMainFrame::NotifyCheckScheduleChanged()
{
    m_panes.NotifyCheckScheduleChanged();
}

void CMainFrame::NotifyEditScheduleChanged(int flag)
{
    m_panes.NotifyEditScheduleChanged(flag);
}

// ---- Selection -----------------------------------------------------------------

void CMainFrame::SelectPlayer(qint32 number)
{
    m_currentPlayer = number;
    const std::optional<PlayerRecord> found = GetAppData().GetPlayerXml().CopyPlayer(number);
    const PlayerRecord record = found.value_or(PlayerRecord());
    m_currentPlayerName = record.Name;
    GetContentFolders().SetCurrentPlayer(record);
    if (found)
        GetContentFolders().LoadRemoteLists(record, 1);
    NotifyPlayerChanged();
}

bool CMainFrame::SelectGroup(const QString &name, int flag)
{
    if (GetContentFolders().GetScheduleModel()->IsModified()) {
        if (ShowMessage(this, kMsgDiscardSchedule, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        ScheduleNew(true);
    }
    ScheduleCheckClear(CheckPanes::Show, flag != 0 ? CalendarDay::Clear : CalendarDay::Keep);
    m_currentGroup = name;
    // Without a group the store keeps no group's lists to switch to.
    if (!name.isEmpty())
        GetContentFolders().SetCurrentGroup(name);
    NotifyGroupChanged();
    return true;
}

int CMainFrame::GetGroupNo(const QString &name) const
{
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    const int position = groups.FindGroupByName(name.isEmpty() ? m_currentGroup : name);
    CGroupRecord group;
    if (position < 0 || !groups.GetGroup(position, group))
        return -1;
    return group.Number;
}

// ---- Busy checks and the running transfer ----------------------------------------

bool CMainFrame::IsBusy() const
{
    // A player command counts from its start to its end message, not only
    // while its request is open.
    return GetTransferManager().IsRunning() || GetHttpClient().IsBusy() || m_busyMode != 0 || m_commandWorker;
}

bool CMainFrame::CanStartOperation(bool skipTimeCheck, bool checkTimedWait)
{
    if (!skipTimeCheck) {
        const SystemSettings settings = GetSystemIni().Settings();
        if (IsInTimeRange(settings.NotSendStartTime, settings.NotSendEndTime)) {
            ShowMessage(this, kMsgNoSendPeriod, kTitleCaption, MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    if (!IsBusy())
        return true;
    const CTransferStatusXml *status = GetPlayerStatusStore();
    if (checkTimedWait && status && status->GetTransferState() == TRANSFER_STATE_START_WAIT) {
        ShowMessage(this, kMsgTimedDeliveryWaits, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    ShowMessage(this, kMsgCommunicating, kTitleCaption, MB_OK | MB_ICONWARNING);
    return false;
}

bool CMainFrame::IsContentInTransfer(const QList<qint32> &numbers, int type, bool silent)
{
    if (!GetTransferManager().IsRunning())
        return false;
    const int wanted = TransferType(type);
    for (int i = 0; i < m_requestList.GetCount(); ++i) {
        const auto *send = dynamic_cast<const CDlkRequestSend *>(m_requestList.GetAt(i));
        if (!send)
            continue;
        for (int position = 0; position < send->GetCount(); ++position) {
            const CPropertyBase *item = send->GetAt(position);
            if (!item || TransferType(item->GetContentType()) != wanted || !numbers.contains(item->GetIndex()))
                continue;
            if (!silent)
                ShowMessage(this, kMsgContentInTransfer, kTitleCaption, MB_OK | MB_ICONWARNING);
            return true;
        }
    }
    return false;
}

void CMainFrame::StopTransfer()
{
    CDlkTransferManager &manager = GetTransferManager();
    if (manager.IsRunning())
        manager.Stop();
    // A player command not yet connected sees the flag; one under way the abort.
    m_commandStop = true;
    GetHttpClient().Abort();
}

bool CMainFrame::CanStopTransfer() const
{
    return GetTransferManager().IsRunning() || m_commandWorker;
}

// ---- Help -------------------------------------------------------------------------

QString CMainFrame::FindHelpDocument(const QString &name)
{
    if (name.isEmpty())
        return QString();
    for (const QString &folder : {QCoreApplication::applicationDirPath(), QDir::currentPath()}) {
        const QFileInfo file(QDir(folder).filePath(name));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return QString();
}

void CMainFrame::OnHelpCommand(int commandId)
{
    for (const HelpDocument &document : kHelpDocuments) {
        if (document.command != commandId)
            continue;
        const QString name = LoadString(document.nameId);
        const QString path = FindHelpDocument(name);
        if (path.isEmpty()) {
            // Said, so the operator knows which file to put where.
            ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONINFORMATION, kMsgHelpDocumentMissing, name,
                              QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
            return;
        }
        if (!ShellOpenFile(path))
            ShowMessage(this, document.missingProgramId, kTitleCaption, MB_OK | MB_ICONINFORMATION);
        return;
    }
}

void CMainFrame::OnHelpErrorList()
{
    if (!m_errorList) {
        // The page the build put beside the program, else the same table
        // written from the program's own codes.
        QString html;
        QFile page(FindHelpDocument(LoadString(kErrorListPageId)));
        if (page.fileName().isEmpty() || !page.open(QIODevice::ReadOnly))
            html = ErrorCodeTableHtml();
        else
            html = QString::fromUtf8(page.readAll());
        m_errorList = new CHelpPageDlg(QString::fromUtf8(kErrorListTitle), html, this);
    }
    m_errorList->show();
    m_errorList->raise();
    m_errorList->activateWindow();
}

void CMainFrame::OnAppAbout()
{
    CVersionDlg dialog(this);
    dialog.exec();
}

void CMainFrame::ShowPreviewSetDlg()
{
    CPreviewSetDlg dialog(this);
    dialog.exec();
}

// ---- Close and exit ----------------------------------------------------------------

bool CMainFrame::ExitApplication(bool forced)
{
    if (!forced
        && (IsListModified(CONTENT_PLAYLIST) || IsListModified(CONTENT_BGMLIST)
            || GetContentFolders().GetScheduleModel()->IsModified())) {
        if (ShowMessage(this, kMsgQuitDiscardEdits, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
    }
    if (forced)
        WriteSyslog(LOG_NOTICE, "Windows shutdown request.");
    if (IsBusy()) {
        if (!forced && ShowMessage(this, kMsgQuitCommunicating, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        if (IsBusy()) {
            if (auto *status = paneRole<IStatusView>(PANE_STATUS))
                status->StopRefresh();
            StopTransfer();
            waitForCommunicationEnd();
        }
    }
    if (const int current = GetCurrentView(); current >= 0)
        SaveViewState(current);
    saveFramePlacement();
    return true;
}

void CMainFrame::saveFramePlacement()
{
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    GetAppIni().SetWindowRect(kMainFrameWindowNumber, ToWinRect(normal));
    GetAppIni().SetSettingsOpen(m_guideBar && m_guideBar->IsItemAvailable(CGuideBar::kSettingsClose));
}

void CMainFrame::OnQueryEndSession()
{
    if (m_sessionEnded)
        return;
    ExitApplication(true);
    m_sessionEnded = true;
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // A registration keeps the frame disabled until it ends; the window's
    // close box is no way around that.
    if (m_registWorker && !m_sessionEnded) {
        event->ignore();
        return;
    }
    if (m_sessionEnded || ExitApplication(false)) {
        event->accept();
        return;
    }
    event->ignore();
}

// ---- Emptying and loading the edit and check models ------------------------------

bool CMainFrame::PlaylistNew(int type, bool force)
{
    CPlaylistEditModel *model = GetContentFolders().GetPlaylistModel(type);
    if (!model)
        return false;
    if (!force && model->IsModified() && !AskDiscard(this, type))
        return false;
    ClearPlaylistModel(*model);
    ApplyPlaylistLayout();
    NotifyEditListChanged(type, 1);
    SelectEditPlaylist(-1, 1);
    return true;
}

bool CMainFrame::ScheduleNew(bool force)
{
    CScheduleEditModel *model = GetContentFolders().GetScheduleModel();
    if (!force && model->IsModified() && !AskDiscard(this, CONTENT_SCHEDULE))
        return false;
    model->Clear();
    NotifyEditScheduleChanged(1);
    return true;
}

void CMainFrame::PlaylistCheckClear(int type, bool keepPanes)
{
    CPlaylistEditModel *model = GetContentFolders().GetSecondPlaylistModel(type);
    if (!model)
        return;
    ClearPlaylistModel(*model);
    ApplyPlaylistLayout();
    NotifyCheckListChanged(type, 1);
    SelectCheckPlaylist(-1);
    if (type != CONTENT_PLAYLIST)
        return;
    m_checkListWindow = kCheckPlaylistWindow;
    if (!keepPanes && GetCurrentView() == VIEW_OVERVIEW) {
        showPane(PANE_PLAYLIST_CHECK);
        if (CChildFrame *frame = GetViewFrame(PANE_BGM_CHECK))
            frame->hide();
    }
}

void CMainFrame::ScheduleCheckClear(CheckPanes panes, CalendarDay day)
{
    GetContentFolders().GetSecondScheduleModel()->Clear();
    NotifyCheckScheduleChanged();
    PlaylistCheckClear(CONTENT_PLAYLIST, panes == CheckPanes::Keep);
    PlaylistCheckClear(CONTENT_BGMLIST, true);
    if (day == CalendarDay::Clear) {
        if (auto *calendar = paneRole<ICalendarView>(PANE_CALENDAR_GROUP))
            calendar->SelectDate(-1, -1, -1);
    }
}

bool CMainFrame::PlaylistLoad(qint32 index, int type)
{
    CContentsStore &store = GetContentFolders();
    CPlaylistEditModel *model = store.GetPlaylistModel(type);
    CContentsList *list = store.GetList(type);
    if (!model || !list) {
        WriteSyslog(LOG_ERR_APP, "PlaylistLoad : Invalid content type : type = %d", type);
        return false;
    }
    if (model->IsModified() && !AskDiscard(this, type))
        return false;
    const int position = list->FindCode(index);
    const auto *record = position >= 0 ? dynamic_cast<const CPlaylistProperty *>(list->GetAt(position)) : nullptr;
    if (!record)
        return false;
    model->SetIdPrefix(ContentIdPrefix(index));
    if (!model->Load(index, type)) {
        ShowLoadFailed(type);
        PlaylistNew(type, true);
        return false;
    }
    model->SetResolution(record->GetResolution());
    model->SetOrientation(record->GetOrientation());
    ApplyPlaylistLayout();
    NotifyEditListChanged(type, 1);
    SelectEditPlaylist(-1, 1);
    return true;
}

bool CMainFrame::ScheduleLoad(qint32 index)
{
    CContentsStore &store = GetContentFolders();
    CScheduleEditModel *model = store.GetScheduleModel();
    CContentsList *list = store.GetList(CONTENT_SCHEDULE);
    if (!list) {
        WriteSyslog(LOG_ERR_APP, "ScheduleLoad : Invalid content type : type = %d", CONTENT_SCHEDULE);
        return false;
    }
    if (model->IsModified() && !AskDiscard(this, CONTENT_SCHEDULE))
        return false;
    if (list->FindCode(index) < 0)
        return false;
    QString scheduleFolder;
    QString sequenceFolder;
    if (!store.GetGroupScheduleFolders(m_currentGroup, scheduleFolder, sequenceFolder))
        return false;
    model->SetIdPrefix(ContentIdPrefix(index));
    model->SetFolders(scheduleFolder, sequenceFolder);
    if (!model->Load(index)) {
        ShowLoadFailed(CONTENT_SCHEDULE);
        ScheduleNew(true);
        return false;
    }
    NotifyEditScheduleChanged(1);
    return true;
}
