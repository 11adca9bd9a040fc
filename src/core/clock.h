#pragma once
// The program's one view of time. Everything that reads the local time or
// waits goes through Clock(), so tests can install a fake clock and run
// no-send periods, delayed starts and retry waits in milliseconds.

#include "core/win_types.h"

#include <QDateTime>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;     // local time
    virtual QDateTime nowUtc() const = 0;
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
    // Waits on condition (lock held by the caller) until ready() or until the
    // duration has passed; ready()'s value at the end. The system clock sleeps
    // on the condition, so a notify ends the wait at once. This default, for
    // clocks of tests, lets the duration pass through sleepFor and looks once.
    virtual bool waitFor(std::condition_variable &condition, std::unique_lock<std::mutex> &lock,
                         std::chrono::milliseconds duration, const std::function<bool()> &ready);
};

class SystemClock final : public IClock {
public:
    QDateTime now() const override;
    QDateTime nowUtc() const override;
    void sleepFor(std::chrono::milliseconds duration) override;
    bool waitFor(std::condition_variable &condition, std::unique_lock<std::mutex> &lock,
                 std::chrono::milliseconds duration, const std::function<bool()> &ready) override;
};

// The installed clock (the system clock unless a test installed another).
IClock &Clock();
// Installs a clock; nullptr restores the system clock. The caller keeps ownership.
void SetClock(IClock *clock);

SystemTime ToSystemTime(const QDateTime &dateTime);
QDateTime FromSystemTime(const SystemTime &time, Qt::TimeSpec spec = Qt::LocalTime);
SystemTime GetLocalTime();
SystemTime GetSystemTimeUtc();

FileTime ToFileTime(const QDateTime &dateTime);
QDateTime FromFileTime(FileTime fileTime, Qt::TimeSpec spec = Qt::LocalTime);
