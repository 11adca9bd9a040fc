#pragma once
// The log housekeeping worker: deletes the daily log files of one prefix that
// are older than the days to keep, once at start and then every hour, on a
// thread of its own until Stop.

#include <QDate>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

class CLogCleaner {
public:
    CLogCleaner() = default;
    ~CLogCleaner();
    CLogCleaner(const CLogCleaner &) = delete;
    CLogCleaner &operator=(const CLogCleaner &) = delete;

    // Starts the thread; false when it already runs.
    bool Start(const QString &folder, const QString &prefix, int keepDays);
    // Ends the thread and waits for it. Safe to call when not started.
    void Stop();
    bool IsRunning() const;

    // Deletes prefix + "YYYYMMDD.log" files in folder dated before today minus
    // keepDays; keepDays of 0 or less keeps everything. Returns the number deleted.
    static int DeleteOldLogs(const QString &folder, const QString &prefix, int keepDays, const QDate &today);

private:
    void run();

    QString m_folder;
    QString m_prefix;
    int m_keepDays = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
};
