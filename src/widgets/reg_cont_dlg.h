#pragma once
// The progress window of content registration and material replacement
// (dialog 2040, "素材登録中"): the file being worked on, a bar of the bytes
// copied, the count of files done and a cancel button. It is shown modeless
// above the disabled main frame. The worker writes the byte counts and reads
// the cancel flag through the shared progress object; a timer redraws the bar
// every 500 ms.

#include "widgets/progress_view.h"
#include "ops/regist_progress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CRegContDlg : public QDialog, public IProgressView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2040;
    static constexpr int IDC_FILE = 1245;
    static constexpr int IDC_PROGRESS = 1333;
    static constexpr int IDC_COUNT = 1334;
    static constexpr int IDC_CANCEL = 1335;
    static constexpr int kTimerMs = 500;
    // The texts of the file line while a file is copied and while its
    // thumbnail is made (the file name).
    static constexpr quint32 kTextCopying = 5634;
    static constexpr quint32 kTextMakingThumbnail = 5637;

    explicit CRegContDlg(QWidget *parent);
    ~CRegContDlg() override;

    // The shared counts and cancel flag the worker uses.
    CRegContProgress &Progress() { return m_progress; }

    void SetTotal(int total);
    void SetCopyingFile(const QString &name);
    void SetThumbnailFile(const QString &name);
    void SetCount(int done);
    // The two 64-bit counts as their 32-bit halves.
    void SetProgress(quint32 totalLow, quint32 totalHigh, quint32 doneLow, quint32 doneHigh);
    // Sets the bar from the shared counts; counts beyond a 32-bit range are
    // scaled down by powers of 1024 first.
    void UpdateProgressBar();
    bool IsCancelled() const { return m_progress.IsCancelled(); }

    // IProgressView
    void SetProgressText(const QString &text) override;
    void SetProgressCount(int done) override { SetCount(done); }
    void RefreshByteCount() override { UpdateProgressBar(); }
    void CloseProgress() override { close(); }

protected:
    void timerEvent(QTimerEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void onCancel();

    CRegContProgress m_progress;
    QLabel *m_file;
    QProgressBar *m_bar;
    QLabel *m_count;
    QPushButton *m_cancel;
    int m_total = 0;
    int m_timerId = 0;
    bool m_closing = false;
};
