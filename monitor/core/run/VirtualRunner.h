#pragma once
// A monitor run on a virtual clock, as fast as the machine allows: start-up
// at the clock's start, then second by second the scenario's timed
// directives, the dial progress, Timer1 and the chime timer (61 seconds after
// it was enabled or last ticked), and a wait for a status request when the
// second has an "await-status" line. Waits inside handlers advance the clock.

#include "Scenario.h"
#include "SessionAccounting.h"

#include <QDateTime>

#include <functional>

class ApplicationControl;
class ManualClock;
class MonitorCore;
class SimRasApi;

// The chime timer on a virtual clock.
class VirtualChime : public ChimeSwitch {
public:
    static constexpr int kPeriodSeconds = 61;

    explicit VirtualChime(const ManualClock& clock) : m_clock(clock) {}

    void setChimeEnabled(bool enabled) override;
    bool chimeEnabled() const override { return m_enabled; }
    // Whether the timer is due now; a due timer starts its next period.
    bool takeTick();

private:
    const ManualClock& m_clock;
    bool m_enabled = false;
    QDateTime m_since;
};

// What the runner needs besides the monitor itself.
struct RunHooks {
    // Lets queued work in (a second start asking for the window, a signal).
    std::function<void()> processEvents;
    // A diagnostic line of our own.
    std::function<void(const QString&)> info;
    // Ends the process at once with the crash status; does not return.
    std::function<void()> crash;
    // Returns once another program asked for the monitor's status (an
    // "await-status" line); the clock stands still meanwhile.
    std::function<void()> awaitStatus = {};
};

class VirtualRunner {
public:
    VirtualRunner(MonitorCore& core, SimRasApi& ras, ManualClock& clock, VirtualChime& chime,
                  ApplicationControl& control, QList<TimedDirective> directives, RunHooks hooks);

    // Start-up, the seconds until exit, crash or one second after the last
    // directive, then the orderly end. Returns the exit status (the core's).
    int run();
    // The seconds that pass while a message box stays open: Timer1 ticks and
    // the scenario goes on, as in a modal box's own event loop.
    void waitInsideBox(int seconds);

private:
    void second(const QDateTime& t);
    void apply(const TimedDirective& directive);
    bool finished(const QDateTime& t) const;
    QDateTime nextSecond(const QDateTime& t) const;

    MonitorCore& m_core;
    SimRasApi& m_ras;
    ManualClock& m_clock;
    VirtualChime& m_chime;
    ApplicationControl& m_control;
    QList<TimedDirective> m_directives;
    RunHooks m_hooks;
    int m_next = 0;
    QDateTime m_end;
    // The "await-status" lines of this second, kept for after its tick.
    int m_awaitStatus = 0;
    // The last second that ran.
    QDateTime m_last;
};
