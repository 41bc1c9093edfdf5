#pragma once
// TWait: the countdown that a POP3 operation waits in. The event loop keeps
// running (timers, sockets and painting go on) while the caption counts the
// remaining seconds down; Stop ends the wait early, and a wait of N seconds
// times out N seconds after its start, on the clock it was given (a virtual
// clock in scenario runs, see Clock.h).

#include <QString>

#include <functional>

class Clock;
class ClockWait;
class WaitDisplay;

class TWait {
public:
    enum ModalResult { NoResult = 0, Stopped = 1, TimedOut = 2 };
    // Seconds used when the caption holds no number of seconds.
    static constexpr int kDefaultSeconds = 15;

    // display may be null (headless runs, tests).
    explicit TWait(Clock& clock, WaitDisplay* display = nullptr);

    // The seconds a wait starts from, and then the remaining seconds.
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    bool Running() const { return m_running; }
    ModalResult modalResult() const { return m_modalResult; }
    WaitDisplay* display() const { return m_display; }

    // Start-and-wait: counts down from the caption's seconds, letting the
    // event loop run, until Stop or the time-out. Returns how it ended. A
    // call while a wait runs returns at once with NoResult.
    ModalResult StartModal();
    // Ends a running wait (from an event handler during it).
    void Stop();

    // remaining seconds after each tick.
    std::function<void(int remaining)> OnWait;
    std::function<void()> OnWaitStart;
    std::function<void()> OnWaitStop;
    std::function<void()> OnTimeout;

private:
    void start();
    void tick();
    void show(const QString& caption);

    Clock& m_clock;
    WaitDisplay* m_display;
    QString m_caption = QStringLiteral("3");
    int m_startSeconds = 0;
    int m_remaining = 0;
    bool m_running = false;
    ModalResult m_modalResult = NoResult;
    ClockWait* m_current = nullptr;
};
