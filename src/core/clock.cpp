#include "core/clock.h"

#include <atomic>
#include <thread>

namespace {
SystemClock g_systemClock;
std::atomic<IClock *> g_clock{&g_systemClock};

// Milliseconds from 1601-01-01 to 1970-01-01.
constexpr qint64 kFileTimeEpochOffsetMs = 11644473600000LL;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

QDateTime SystemClock::nowUtc() const
{
    return QDateTime::currentDateTimeUtc();
}

void SystemClock::sleepFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

bool SystemClock::waitFor(std::condition_variable &condition, std::unique_lock<std::mutex> &lock,
                          std::chrono::milliseconds duration, const std::function<bool()> &ready)
{
    return condition.wait_for(lock, duration, ready);
}

bool IClock::waitFor(std::condition_variable &, std::unique_lock<std::mutex> &lock, std::chrono::milliseconds duration,
                     const std::function<bool()> &ready)
{
    if (ready())
        return true;
    lock.unlock();
    sleepFor(duration);
    lock.lock();
    return ready();
}

IClock &Clock()
{
    return *g_clock.load();
}

void SetClock(IClock *clock)
{
    g_clock.store(clock ? clock : &g_systemClock);
}

SystemTime ToSystemTime(const QDateTime &dateTime)
{
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    SystemTime st;
    st.year = quint16(d.year());
    st.month = quint16(d.month());
    st.dayOfWeek = quint16(d.dayOfWeek() % 7);
    st.day = quint16(d.day());
    st.hour = quint16(t.hour());
    st.minute = quint16(t.minute());
    st.second = quint16(t.second());
    st.milliseconds = quint16(t.msec());
    return st;
}

QDateTime FromSystemTime(const SystemTime &time, Qt::TimeSpec spec)
{
    return QDateTime(QDate(time.year, time.month, time.day),
                     QTime(time.hour, time.minute, time.second, time.milliseconds), spec);
}

SystemTime GetLocalTime()
{
    return ToSystemTime(Clock().now());
}

SystemTime GetSystemTimeUtc()
{
    return ToSystemTime(Clock().nowUtc());
}

FileTime ToFileTime(const QDateTime &dateTime)
{
    // The wall-clock fields are counted as they stand, so a local time stays a
    // local file time, as the stored lists compare them.
    const QDateTime asUtc(dateTime.date(), dateTime.time(), Qt::UTC);
    return FileTime(asUtc.toMSecsSinceEpoch() + kFileTimeEpochOffsetMs) * 10000ULL;
}

QDateTime FromFileTime(FileTime fileTime, Qt::TimeSpec spec)
{
    const QDateTime asUtc = QDateTime::fromMSecsSinceEpoch(qint64(fileTime / 10000ULL) - kFileTimeEpochOffsetMs, Qt::UTC);
    return QDateTime(asUtc.date(), asUtc.time(), spec);
}
