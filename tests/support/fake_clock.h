#pragma once
// A clock that stands still until a test moves it; sleeping advances it at once.

#include "core/clock.h"

#include <mutex>

class FakeClock final : public IClock {
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2026, 4, 1), QTime(12, 0, 0)));
    ~FakeClock() override;

    QDateTime now() const override;
    QDateTime nowUtc() const override;
    void sleepFor(std::chrono::milliseconds duration) override;

    void set(const QDateTime &localTime);
    void advance(std::chrono::milliseconds duration);

private:
    mutable std::mutex m_mutex;
    QDateTime m_now;
};

// Installs a FakeClock for the lifetime of the object.
class ScopedFakeClock {
public:
    explicit ScopedFakeClock(const QDateTime &start = QDateTime(QDate(2026, 4, 1), QTime(12, 0, 0)));
    ~ScopedFakeClock();
    FakeClock &clock() { return m_clock; }

private:
    FakeClock m_clock;
};
