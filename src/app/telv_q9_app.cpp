#include "app/telv_q9_app.h"

#include "app/app_globals.h"
#include "widgets/file_dialog_prompter.h"
#include "widgets/flash_runtime.h"
#include "widgets/local_page_scheme.h"
#include "app/main_frame.h"
#include "widgets/message_box_prompter.h"
#include "widgets/password_prompter.h"
#include "app/single_instance.h"
#include "core/atomic_file.h"
#include "core/app_ini.h"
#include "core/base_folder.h"
#include "core/data_folders.h"
#include "core/log_cleaner.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "player/setup_xml.h"
#include "player/sockets.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/property_xml.h"
#include "transfer/transfer_status_xml.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QResource>
#include <QTimer>

#include <unistd.h>

namespace {

// The data folder cannot be written: start without saving? (file path)
constexpr quint32 kMsgDataFolderReadOnly = 9751;
// A data or settings file did not read (file path).
constexpr quint32 kMsgFileDamaged = 9752;
// A save cut short could not be put back; its journal was set aside (path).
constexpr quint32 kMsgSaveNotPutBack = 9753;
// The content types whose files the transfer manager sends from their folders.
constexpr int kContentFolderTypes[] = {1, 2, 5, 6, 4};

// The embedded browser cannot start its sandbox under root, and it shares
// its drawing context with the windows; both, the URL schemes of local pages
// and of the Flash runtime, and the engine's switches are settled before the
// application object exists, so before the browser engine can start.
int &PrepareWebEngine(int &argc)
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PrepareLocalPageEngine();
    RegisterFlashRuntimeScheme();
    return argc;
}

} // namespace

CTelvQ9App *GetApp()
{
    return qobject_cast<CTelvQ9App *>(QCoreApplication::instance());
}

CTelvQ9App::CTelvQ9App(int &argc, char **argv) : QApplication(PrepareWebEngine(argc), argv), m_instanceName(CSingleInstance::DefaultName())
{
    setOrganizationName(QStringLiteral("Kavrin"));
    setApplicationName(QStringLiteral("TELV-Q9"));
    setApplicationVersion(QString::fromLatin1(kVersionText));
    // The toolkit's own texts (file dialogs, standard buttons) in the
    // program's language; without the translation they stay English.
    if (m_qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTranslator);
    // Dates, month names and weekdays read as the rest of the program does,
    // in Japanese, whatever language the desktop runs in.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

CTelvQ9App::~CTelvQ9App()
{
    m_mainFrame.reset();
    m_instance.reset();
    if (!m_resourcePath.isEmpty())
        QResource::unregisterResource(m_resourcePath);
}

int CTelvQ9App::Run()
{
    CMessageBoxPrompter prompter;
    CFileDialogPrompter fileDialogs;
    if (!InitInstance())
        return 1;
    const int code = exec();
    ExitInstance();
    return code;
}

bool CTelvQ9App::InitInstance()
{
    if (!StartUp())
        return false;
    m_mainFrame = std::make_unique<CMainFrame>();
    if (!m_mainFrame->LoadFrame()) {
        ExitInstance();
        return false;
    }
    m_mainFrame->show();
    scheduleQuitAfterStart();
    return true;
}

void CTelvQ9App::scheduleQuitAfterStart()
{
    bool ok = false;
    const int delay = qEnvironmentVariableIntValue(kQuitAfterEnv, &ok);
    if (ok && delay >= 0)
        QTimer::singleShot(delay, m_mainFrame.get(), &QWidget::close);
}

bool CTelvQ9App::StartUp()
{
    LoadResourceDll();

    m_instance = std::make_unique<CSingleInstance>(m_instanceName);
    if (!m_instance->Acquire()) {
        m_instance.reset();
        return false;
    }
    connect(m_instance.get(), &CSingleInstance::activateRequested, this, &CTelvQ9App::onActivateRequested);

    m_socketsStarted = StartSockets();

    QString baseFolder;
    GetBaseFolder(baseFolder);
    // Stored at once, so the setting always holds it after the first start.
    SaveBaseFolder(baseFolder);
    LoadAppData(baseFolder);
    if (!confirmDataFolderWritable(baseFolder)) {
        leaveStartUp();
        return false;
    }
    reportDamagedFiles();

    if (GetSettingIni().Options().RunPassUse && PromptPassword(nullptr, PASSWORD_STARTUP) != IDOK) {
        leaveStartUp();
        return false;
    }
    WriteSyslog(LOG_NOTICE, "TELV-Q9 Ver.%s Start", kVersionText);
    return true;
}

bool CTelvQ9App::confirmDataFolderWritable(const QString &baseFolder)
{
    if (CanWriteDataFolder(baseFolder))
        return true;
    const QString folder = DataFolderOf(baseFolder);
    WriteSyslog(LOG_ERR_APP, "CTelvQ9App::StartUp : Data Folder Not Writable : %s", qUtf8Printable(folder));
    return ShowMessageFormat(nullptr, kTitleCaption, MB_YESNO | MB_ICONEXCLAMATION, kMsgDataFolderReadOnly, folder)
        == IDYES;
}

void CTelvQ9App::reportDamagedFiles()
{
    QStringList damaged;
    if (GetSystemIni().IsFileDamaged())
        damaged << GetSystemIni().GetFileName();
    if (GetSettingIni().IsFileDamaged())
        damaged << GetSettingIni().GetFileName();
    if (GetAppIni().IsFileDamaged())
        damaged << GetAppIni().GetFileName();
    for (const QString &path : std::as_const(damaged))
        WriteSyslog(LOG_ERR_APP, "CTelvQ9App::StartUp : Settings File Damaged : %s", qUtf8Printable(path));
    // The data files' own loads logged theirs.
    damaged << GetAppData().GetDamagedFiles();
    for (const QString &path : std::as_const(damaged))
        ShowMessageFormat(nullptr, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgFileDamaged, path);
    // Set aside, each is told at this start only.
    for (const QString &journal : std::as_const(m_unfinishedSaves))
        ShowMessageFormat(nullptr, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgSaveNotPutBack, journal);
    m_unfinishedSaves.clear();
}

void CTelvQ9App::leaveStartUp()
{
    // Nothing of the start may outlive a start that is given up: the log
    // housekeeping thread is joined and the log closed, without an end line
    // for a start that never began.
    GetLogCleaner().Stop();
    CloseSyslog();
    if (m_socketsStarted) {
        StopSockets();
        m_socketsStarted = false;
    }
    m_instance.reset();
}

bool CTelvQ9App::LoadResourceDll()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kResourceFileName));
    if (!QFileInfo(path).isFile() || !QResource::registerResource(path))
        return false;
    if (!m_resourcePath.isEmpty() && m_resourcePath != path)
        QResource::unregisterResource(m_resourcePath);
    m_resourcePath = path;
    LoadStringOverrides(QString::fromLatin1(kResourceStrings));
    setApplicationDisplayName(LoadString(kTitleStringId));
    return true;
}

void CTelvQ9App::LoadAppData(const QString &baseFolder)
{
    CAppData &appData = GetAppData();
    appData.SetDataRoot(baseFolder);
    CContentsStore &store = GetContentFolders();
    store.SetFolders(baseFolder, QCoreApplication::applicationDirPath());
    store.CreateFolders();
    CDlkTransferManager &manager = GetTransferManager();
    manager.SetPcDlkFolder(baseFolder);
    for (int type : kContentFolderTypes)
        manager.SetContentFolder(type, store.GetContentFolder(type));
    if (CTransferStatusXml *status = GetPlayerStatusStore())
        status->SetFolder(baseFolder);

    CSystemIni &system = GetSystemIni();
    system.SetFileName(QDir(DataFolderOf(baseFolder)).filePath(QString::fromLatin1(kSystemIniFileName)));
    system.SetBaseFolder(baseFolder);
    system.LoadLogSettings();
    const SystemSettings logSettings = system.Settings();
    OpenSyslog(logSettings.LogFolder, QString::fromLatin1(kLogFilePrefix), logSettings.LogLevel);
    // A save of several files cut short by a kill while it put them in place
    // is put back as it was from its journal, while the second names that
    // hold the old contents are still there. Then the work of an import and
    // the temporary files left by a kill go; nothing else ever removes them.
    m_unfinishedSaves = RecoverDataTree(baseFolder);
    // Files that hold passwords are written private; one written readable by
    // others before that (a send's registration file left in a player folder,
    // a damaged copy set aside) is narrowed now rather than at its next save.
    NarrowFilesToOwner(DataFolderOf(baseFolder),
                       {QLatin1String(kSettingIniFileName), QFileInfo(appData.GetPlayerFilePath()).fileName(),
                        CContentsStore::ListFileName(CONTENT_WEB), CContentsStore::ListFileName(CONTENT_STREAMING),
                        QLatin1String(kSetupFileName), QLatin1String(kSetupSendFileName),
                        QLatin1String(kSetupNetFileName), QLatin1String(kSetupNetSendFileName),
                        QLatin1String(kPropertyFilePattern)});

    appData.LoadAll();

    manager.SetSystemSettings(&GetSystemIni());
    manager.SetSystemOptions(&GetSettingIni());
    manager.SetPcDlkFolder(appData);
    manager.SetPlayerList(&appData.GetPlayerXml(), appData.GetPlayerFilePath());
    manager.SetDisplayList(&appData.GetDisplayXml());
    if (CTransferStatusXml *status = GetPlayerStatusStore())
        status->SetPlayers(appData.GetPlayerNumbers(false));

    GetLogCleaner().Start(logSettings.LogFolder, QString::fromLatin1(kLogFilePrefix), logSettings.LogKeepDay);
}

int CTelvQ9App::ExitInstance()
{
    // The frame saved its state while closing; it goes before the services.
    m_mainFrame.reset();
    if (m_socketsStarted) {
        StopSockets();
        m_socketsStarted = false;
    }
    GetLogCleaner().Stop();
    WriteSyslog(LOG_NOTICE, "TELV-Q9 Ver.%s End", kVersionText);
    CloseSyslog();
    m_instance.reset();
    return 0;
}

int CTelvQ9App::FindRunningInstance(QWidget *window)
{
    if (!window || !window->property(CMainFrame::kInstanceMarker).isValid())
        return 1;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
    return 0;
}

void CTelvQ9App::onActivateRequested()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (FindRunningInstance(window) == 0)
            return;
    }
}
