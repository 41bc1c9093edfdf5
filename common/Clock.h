#pragma once
// The local date and time, injected everywhere so that tests and scenario
// runs can drive time themselves. Blocking sleeps and the modal waits that
// keep the event loop running go through it as well.

#include <QDateTime>

class QEventLoop;

// One modal wait run by a clock: the event loop keeps running (timers,
// sockets, painting) until whatever was waited for calls end().
class ClockWait {
public:
    // What was waited for happened; from an event handler during the wait,
    // or before it starts.
    void end();
    bool ended() const { return m_ended; }
    // The nested loop that end() quits; set by the clock while it runs one.
    void setLoop(QEventLoop* loop) { m_loop = loop; }

private:
    bool m_ended = false;
    QEventLoop* m_loop = nullptr;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Blocking waits go through the clock: a virtual clock advances instead.
    virtual void sleep(int milliseconds) = 0;
    // Keeps the event loop running until wait ends or this clock reaches
    // deadline; true when the wait ended first. Here: a nested event loop
    // for the real time left until deadline.
    virtual bool runUntil(ClockWait& wait, const QDateTime& deadline);
};

// The system's local clock.
class SystemClock : public Clock {
public:
    QDateTime now() const override;
    void sleep(int milliseconds) override;
};

// A clock that only moves when told to; for tests and simulated runs.
//
// A wait on it first lets every event that is ready run. What it waits for
// may still be on its way from another process (a real mail server in a
// scenario run), so the wait then keeps the event loop running for up to
// the wait patience in real time. When the wait has still not ended, the
// clock jumps to the deadline: a wait that times out always takes exactly
// its length of this clock's time, and one that ends early takes none.
class ManualClock : public Clock {
public:
    explicit ManualClock(const QDateTime& start) : m_now(start) {}
    QDateTime now() const override { return m_now; }
    void sleep(int milliseconds) override { m_now = m_now.addMSecs(milliseconds); }
    bool runUntil(ClockWait& wait, const QDateTime& deadline) override;
    void set(const QDateTime& t) { m_now = t; }
    void advance(int seconds) { m_now = m_now.addSecs(seconds); }
    // Real milliseconds a wait gives events from outside the process; 0 (the
    // default) when everything waited for happens inside it.
    void setWaitPatience(int milliseconds) { m_waitPatienceMs = milliseconds; }

private:
    QDateTime m_now;
    int m_waitPatienceMs = 0;
};
