#pragma once
// What the registration progress window shares with the registration worker:
// the byte counts of the file being copied (written by the worker's copy,
// read by the window's timer, always under one lock) and the operator's
// cancel request (set by the window, read by the worker between blocks).

#include <QtGlobal>

#include <atomic>
#include <mutex>

class CRegContProgress {
public:
    // Stores the counts of the running copy (or 1, 0 for an empty bar and
    // 1, 1 for a full one).
    void SetProgress(quint64 total, quint64 transferred);
    void GetProgress(quint64 &total, quint64 &transferred) const;

    void Cancel() { m_cancelled.store(true); }
    bool IsCancelled() const { return m_cancelled.load(); }
    // A fresh start for the next batch.
    void Reset();

private:
    mutable std::mutex m_mutex;
    quint64 m_total = 0;
    quint64 m_transferred = 0;
    std::atomic<bool> m_cancelled{false};
};
