#pragma once
// A fake clock that also tells the test each time someone sleeps, so a test
// can look at (or act on) the state of a wait while it lasts. Installed for
// the lifetime of the object.

#include "core/clock.h"
#include "support/fake_clock.h"

#include <functional>

class ProbeClock final : public IClock {
public:
    explicit ProbeClock(const QDateTime &start)
        : m_clock(start)
    {
        SetClock(this);
    }
    ~ProbeClock() override { SetClock(nullptr); }

    QDateTime now() const override { return m_clock.now(); }
    QDateTime nowUtc() const override { return m_clock.nowUtc(); }
    void sleepFor(std::chrono::milliseconds duration) override
    {
        m_clock.advance(duration);
        if (m_onSleep)
            m_onSleep();
    }
    void set(const QDateTime &time) { m_clock.set(time); }
    // Set before any thread sleeps; runs on the sleeping thread.
    void onSleep(std::function<void()> hook) { m_onSleep = std::move(hook); }

private:
    FakeClock m_clock;
    std::function<void()> m_onSleep;
};
