#pragma once
// "削除中": the modeless counter window of a running deletion, "%d/%d" of
// done and total, with an abort button. Without the transfer-mode flag the
// button raises the stop flag the deleting worker polls; with it, it stops
// the frame's transfer. The close box does nothing.

#include "widgets/progress_view.h"

#include <QDialog>

#include <atomic>
#include <functional>

class QLabel;
class QPushButton;

class CDeleteDlg : public QDialog, public IProgressView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2050;
    static constexpr int kCounterId = 1334;
    static constexpr int kAbortId = 1;

    explicit CDeleteDlg(QWidget *parent = nullptr);

    void SetTotal(int total);
    void SetTransferMode(bool transfer) { m_transferMode = transfer; }
    // Shows "%d/%d" with count and the total.
    void SetCount(int count);
    // Polled by the deleting worker from its thread.
    bool IsStopRequested() const { return m_stop.load(); }
    // What the abort button does in transfer mode (the frame's StopTransfer).
    void SetStopTransfer(std::function<void()> stop) { m_stopTransfer = std::move(stop); }

    void SetProgressText(const QString &) override {}
    void SetProgressCount(int done) override { SetCount(done); }
    void RefreshByteCount() override {}
    void CloseProgress() override { hide(); }

    void OnAbort();
    QLabel *GetCounter() const { return m_counter; }
    QPushButton *GetAbortButton() const { return m_abort; }

    // Escape and the close box do nothing.
    void reject() override {}

private:
    QLabel *m_counter = nullptr;
    QPushButton *m_abort = nullptr;
    std::atomic<bool> m_stop{false};
    bool m_transferMode = false;
    int m_total = 0;
    std::function<void()> m_stopTransfer;
};
