#pragma once
// A monitor run on the real clock: Timer1 every second and the chime timer
// every 61 seconds as QTimers, with a scenario's timed directives (if any)
// taking effect as their moments pass. The event loop belongs to the caller.

#include "ApplicationControl.h"
#include "Scenario.h"
#include "SessionAccounting.h"
#include "VirtualRunner.h"

#include <QObject>
#include <QTimer>

class Clock;
class MonitorCore;
class SimRasApi;

// The chime timer as a QTimer; enabling restarts its period.
class TimerChime : public QObject, public ChimeSwitch {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 61000;

    explicit TimerChime(QObject* parent = nullptr);
    void setChimeEnabled(bool enabled) override;
    bool chimeEnabled() const override { return m_timer.isActive(); }

signals:
    void tick();

private:
    QTimer m_timer;
};

// Ends the event loop when termination is asked for (queued, so a request
// made before the loop runs still ends it).
class EventLoopControl : public ApplicationControl {
public:
    void requestTerminate() override;
    bool terminateRequested() const override { return m_requested; }

private:
    bool m_requested = false;
};

class RealTimeRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimer1Ms = 1000;

    // ras may be null when the connection source is not simulated.
    RealTimeRunner(MonitorCore& core, SimRasApi* ras, Clock& clock, TimerChime& chime,
                   ApplicationControl& control, QList<TimedDirective> directives, RunHooks hooks);

    // Start-up, then the timers run; the orderly end follows the event loop.
    void start();

private:
    void timer1();
    void apply(const TimedDirective& directive);

    MonitorCore& m_core;
    SimRasApi* m_ras;
    Clock& m_clock;
    ApplicationControl& m_control;
    QList<TimedDirective> m_directives;
    RunHooks m_hooks;
    QTimer m_timer1;
    int m_next = 0;
    // A tick does not begin while a box opened by an earlier tick is open.
    bool m_inTick = false;
};
