#pragma once
// The export and import window (dialog 2059): the operator chooses the
// package file or the drive, starts and stops the run and follows its
// progress. The frame creates it once and shows it for each use; while it is
// shown the rest of the program waits (the window is modal), and it keeps
// its last texts between runs.

#include "widgets/progress_view.h"

#include <QDialog>
#include <QList>
#include <QStringList>

struct ImportReplacement;
struct ImportedItem;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// What the window asks of its owner, which runs the export and the import on
// its worker and hears their progress first (the main frame).
class IExImportHost {
public:
    virtual ~IExImportHost() = default;
    // Start the worker of a run; false when it cannot start.
    virtual bool StartExport(const QList<quint32> &playlists, const QString &targetPath, bool toFile,
                             bool keepPackage) = 0;
    virtual bool StartImport(const QString &packagePath) = 0;
    virtual void StopExImport() = 0;
    virtual bool IsExImportStopped() const = 0;
    // What the running (or last) export or import reported.
    virtual quint32 GetExImportTotalCount() const = 0;
    virtual quint64 GetExImportTotalBytes() const = 0;
    virtual quint32 GetExImportMissingNumber() const = 0;
    virtual QStringList GetExportLeftOutFiles() const = 0;
    // The import's question: the library items it would replace, and the
    // operator's answer; then how many it replaced, and the items it put in.
    virtual QList<ImportReplacement> GetImportReplacements() const = 0;
    virtual void AnswerImportReplace(bool replace) = 0;
    virtual quint32 GetImportReplacedCount() const = 0;
    virtual QList<ImportedItem> GetImportedItems() const = 0;
};

class CPlaylistExImportDlg : public QDialog, public IExImportView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2059;

    // A host that is a window (the frame) also owns the window.
    explicit CPlaylistExImportDlg(IExImportHost *host);

    // 0 export, 1 import.
    void SetMode(int mode);
    bool IsImport() const { return m_import; }
    bool IsRunning() const { return m_running; }
    // The playlists to export; another selection than the last one cannot
    // reuse the package that the last run built.
    void SetPlaylistIndexes(const QList<quint32> &numbers);
    // Obtains the target and writes it into the file name box; false when
    // the operator chose none or a folder that cannot be written.
    bool GetTargetPath();
    // The package file chosen in a file dialog starting at start; empty when cancelled.
    QString BrowsePackageFile(const QString &start);
    // Fills the drive box with the mounted drives (never the system's root)
    // and the folders chosen before; the selected one, or empty.
    QString FillDriveCombo();
    // Places the window over the frame's centre.
    void RestoreWindowPos();

    // What the frame's message handlers tell it.
    void BeginCopy(quint32 totalFiles, quint64 totalBytes);
    void SetCurrentFile(quint32 number, int type);
    void SetPercent(int percent);
    void ShowExportProgress(quint64 bytes);
    void ShowImportProgress(quint64 bytes);
    void EndFile(quint32 sizeLow, quint32 sizeHigh);
    void BeginCompress();
    void EndExport(quint32 result) override;
    void EndImport(quint32 result) override;
    void OnExImportProgress(int number, quint32 wParam, quint32 lParam) override;

    // The buttons.
    void OnStart();
    void OnStop();
    void OnBrowse();
    void OnClose();

    QString GetStatusText() const;
    QString GetPercentText() const;
    QString GetCurrentFileText() const;
    bool IsKeepPackage() const { return m_keepPackage; }

protected:
    void accept() override {}
    void reject() override { OnClose(); }
    void timerEvent(QTimerEvent *event) override;

private:
    void buildControls();
    void showRunState();
    void clearRun();
    // Widens the file name box to the path it holds.
    void fitFileName();
    void endRun(quint32 result, bool done, quint32 nothingText);
    void askReplace();
    void stopCompressTimer();

    IExImportHost *m_host;
    bool m_import = false;
    bool m_drive = false;
    bool m_running = false;
    bool m_keepPackage = false;
    QList<quint32> m_playlists;
    quint32 m_filesDone = 0;
    quint32 m_totalFiles = 0;
    quint64 m_bytesDone = 0;
    quint64 m_totalBytes = 0;
    int m_compressTimer = 0;
    int m_compressDots = 0;

    QComboBox *m_driveCombo = nullptr;
    QLineEdit *m_fileName = nullptr;
    QPushButton *m_browse = nullptr;
    QPushButton *m_searchDrives = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_percent = nullptr;
    QLabel *m_currentFile = nullptr;
    QLabel *m_status = nullptr;
    QCheckBox *m_toDrive = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};
