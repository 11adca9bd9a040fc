#pragma once
// The application object: makes sure only one copy runs, takes the optional
// resource file beside the program, starts the network layer, loads the
// settings and data, asks for the start-up password when one is in use, and
// creates and shows the main frame. The toolkit's own texts are Japanese
// where their translation is installed. At the end it stops the global
// services and closes the log.

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>

class CMainFrame;
class CSingleInstance;
class QWidget;

class CTelvQ9App : public QApplication {
    Q_OBJECT
public:
    static constexpr const char *kVersionText = "1.23";
    // The optional resource file beside the program, and where its string
    // table lies inside it.
    static constexpr const char *kResourceFileName = "TelvQ9Res.rcc";
    static constexpr const char *kResourceStrings = ":/TelvQ9Res/strings.tsv";
    // The string of the application's title.
    static constexpr unsigned kTitleStringId = 57344;
    // Milliseconds after which a started program closes its frame by itself,
    // when this environment variable gives them (unattended start checks).
    static constexpr const char *kQuitAfterEnv = "TELV_Q9_QUIT_AFTER_MS";

    CTelvQ9App(int &argc, char **argv);
    ~CTelvQ9App() override;

    // StartUp, then the main frame, shown. False when the program must end.
    bool InitInstance();
    // Destroys the main frame, stops the global services and closes the log;
    // the exit code.
    int ExitInstance();
    // Everything before the main frame; false when it may not be created.
    bool StartUp();
    // Registers the resource file beside the program; its strings (and the
    // title) come first from then on. False when there is none.
    bool LoadResourceDll();
    // The data root, folders, log, settings and data, the transfer engine's
    // configuration and the log housekeeping.
    void LoadAppData(const QString &baseFolder);
    // InitInstance, the event loop, the frame's destruction and ExitInstance.
    int Run();

    CMainFrame *GetMainWnd() const { return m_mainFrame.get(); }
    CSingleInstance *GetSingleInstance() const { return m_instance.get(); }
    // The local server name of the single-instance guard (tests use their own).
    void SetInstanceName(const QString &name) { m_instanceName = name; }
    bool IsSocketsStarted() const { return m_socketsStarted; }

    // Brings the window marked as the program's main frame to the front;
    // 1 to go on looking (not the frame), 0 when it was found.
    static int FindRunningInstance(QWidget *window);

private:
    void leaveStartUp();
    // A data folder that cannot be written is shown; true when the operator
    // starts anyway (nothing will be saved), false to end the start.
    bool confirmDataFolderWritable(const QString &baseFolder);
    // Every settings, player or group file that did not read is logged and
    // shown by name, and so is every save cut short that could not be put
    // back; the program goes on without their contents.
    void reportDamagedFiles();
    void onActivateRequested();
    void scheduleQuitAfterStart();

    QString m_instanceName;
    std::unique_ptr<CSingleInstance> m_instance;
    std::unique_ptr<CMainFrame> m_mainFrame;
    QString m_resourcePath;
    // The journals of saves cut short that the start could not put back.
    QStringList m_unfinishedSaves;
    QTranslator m_qtTranslator;
    bool m_socketsStarted = false;
};

// The application object; null when the running application is another one.
CTelvQ9App *GetApp();
