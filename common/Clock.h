#pragma once
// The local date and time, injected everywhere so that tests and scenario
// runs can drive time themselves.

#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Blocking waits go through the clock: a virtual clock advances instead.
    virtual void sleep(int milliseconds) = 0;
};

// The system's local clock.
class SystemClock : public Clock {
public:
    QDateTime now() const override;
    void sleep(int milliseconds) override;
};

// A clock that only moves when told to; for tests and simulated runs.
class ManualClock : public Clock {
public:
    explicit ManualClock(const QDateTime& start) : m_now(start) {}
    QDateTime now() const override { return m_now; }
    void sleep(int milliseconds) override { m_now = m_now.addMSecs(milliseconds); }
    void set(const QDateTime& t) { m_now = t; }
    void advance(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
