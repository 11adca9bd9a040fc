#include "support/fake_clock.h"

FakeClock::FakeClock(const QDateTime &start) : m_now(start) {}

FakeClock::~FakeClock() = default;

QDateTime FakeClock::now() const
{
    std::lock_guard lock(m_mutex);
    return m_now;
}

QDateTime FakeClock::nowUtc() const
{
    std::lock_guard lock(m_mutex);
    return m_now.toUTC();
}

void FakeClock::sleepFor(std::chrono::milliseconds duration)
{
    advance(duration);
}

void FakeClock::set(const QDateTime &localTime)
{
    std::lock_guard lock(m_mutex);
    m_now = localTime;
}

void FakeClock::advance(std::chrono::milliseconds duration)
{
    std::lock_guard lock(m_mutex);
    m_now = m_now.addMSecs(duration.count());
}

ScopedFakeClock::ScopedFakeClock(const QDateTime &start) : m_clock(start)
{
    SetClock(&m_clock);
}

ScopedFakeClock::~ScopedFakeClock()
{
    SetClock(nullptr);
}
