#pragma once
// The one modeless wait dialog of the program. A long job shows it through a
// starter of its own, which sets the caption and the text, decides whether
// the cancel button can be used and names the one object the cancel button
// stops: the shared player HTTP client, the transfer manager, a job with a
// stop flag, or a display connection check. The owner disables its own
// window while the dialog is up and destroys it when the job's end message
// arrives; the same dialog then serves the next job.
//
// Neither Escape, Enter nor the close box closes it: only the owner does.

#include "widgets/progress_view.h"

#include <QDialog>
#include <QTimer>

class CDlkTransferManager;
class CR40Http;
class QLabel;
class QProgressBar;
class QPushButton;

// A job that its cancel button stops by raising the job's stop flag.
class IFlaggedJob {
public:
    virtual ~IFlaggedJob() = default;
    virtual void SetStopFlag() = 0;
};

// The display connection check, stopped through its own stop operation.
class IDisplayCheckJob {
public:
    virtual ~IDisplayCheckJob() = default;
    virtual void Stop() = 0;
};

class CProcessDlg : public QDialog, public IProgressView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2002;
    static constexpr int kCancelId = 1000;
    static constexpr int kTextId = 1245;
    static constexpr int kProgressId = 6436;
    static constexpr int kUdpTimerMs = 500;
    static constexpr int kBusyTimerMs = 1000;

    explicit CProcessDlg(QWidget *parent = nullptr);
    ~CProcessDlg() override;

    // Makes the dialog a modeless window of the owner; the owner shows it.
    void Create(QWidget *owner);
    // Ends the dialog for this job: stops the busy bar and hides it.
    void Destroy();

    // Remote play and stop: cancel stops the transfer manager.
    void StartCommand(CDlkTransferManager *manager);
    // Control-event test send to a player: cancel aborts the HTTP client.
    void StartSend(CR40Http *http, const QString &playerName, const QString &address);
    // Player connection check: cancel aborts the HTTP client once the owner
    // enables it (EnableCancel).
    void StartConnectCheck(CR40Http *http, const QString &playerName, const QString &address);
    // Preview and player-side deliveries: cancel stops the transfer manager.
    void StartDelivery(CDlkTransferManager *manager);
    // Display connection check: cancel, once enabled, stops the check.
    void StartDisplayCheck(IDisplayCheckJob *job, const QString &playerName, const QString &address);
    // Remote list get: cancel stops the transfer manager; the text counts the
    // lists received (SetListCount).
    void StartListUpdate(CDlkTransferManager *manager);
    // Player detection (mode 0, with an endless busy bar) and network setting
    // (mode 1) over UDP: cancel raises the job's stop flag.
    void StartUdpJob(IFlaggedJob *job, int mode);
    // Spreadsheet printing: no cancel, an endless busy bar.
    void StartBusy();

    void SetListCount(int count);
    void EnableCancel();

    // What the frame's message handlers tell the dialog.
    void SetProgressText(const QString &text) override;
    void SetProgressCount(int done) override;
    void RefreshByteCount() override {}
    void CloseProgress() override { Destroy(); }

    // The cancel button: stops the first job reference that is set.
    void OnCancel();

    QPushButton *GetCancelButton() const { return m_cancel; }
    QLabel *GetTextLabel() const { return m_text; }
    QProgressBar *GetProgressBar() const { return m_progress; }
    bool IsTimerRunning() const { return m_timer.isActive(); }

    // Escape and the close box do nothing.
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Every starter begins here, so a dialog used before carries nothing of
    // the last job: no job reference, no timer, a shown and enabled cancel
    // button and a hidden bar.
    void resetForJob(const QString &caption, const QString &text);
    void startBusyBar(int upper, int intervalMs);
    void onTimer();

    QLabel *m_text = nullptr;
    QPushButton *m_cancel = nullptr;
    QProgressBar *m_progress = nullptr;
    QTimer m_timer;
    int m_position = 0;

    CR40Http *m_http = nullptr;
    CDlkTransferManager *m_manager = nullptr;
    IFlaggedJob *m_flaggedJob = nullptr;
    IDisplayCheckJob *m_displayCheck = nullptr;
};
