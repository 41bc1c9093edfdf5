#include "RealTimeRunner.h"

#include "Clock.h"
#include "MonitorCore.h"
#include "SimRasApi.h"

#include <QCoreApplication>

TimerChime::TimerChime(QObject* parent) : QObject(parent) {
    m_timer.setInterval(kPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &TimerChime::tick);
}

void TimerChime::setChimeEnabled(bool enabled) {
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

void EventLoopControl::requestTerminate() {
    m_requested = true;
    // exit, not quit: quit first asks every window to close, and the status
    // window's close box would hide it to the tray and store "Visible" false
    // before the orderly end, or refuse and keep the program running.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

RealTimeRunner::RealTimeRunner(MonitorCore& core, SimRasApi* ras, Clock& clock, TimerChime& chime,
                               ApplicationControl& control, QList<TimedDirective> directives,
                               RunHooks hooks)
    : m_core(core), m_ras(ras), m_clock(clock), m_control(control),
      m_directives(std::move(directives)), m_hooks(std::move(hooks)) {
    m_timer1.setInterval(kTimer1Ms);
    connect(&m_timer1, &QTimer::timeout, this, &RealTimeRunner::timer1);
    connect(&chime, &TimerChime::tick, this, [this] { m_core.ChimeTick(); });
}

void RealTimeRunner::start() {
    // Timer1 runs from the window's creation on, so its ticks come in the
    // modal loops of the start-up's message boxes too: a connection that
    // comes up while one is open is timed from its first second.
    m_timer1.start();
    m_core.FormCreate();
}

void RealTimeRunner::timer1() {
    if (m_control.terminateRequested()) {
        // An end asked for inside a start-up box left that box's loop, not
        // the main one that runs now.
        QCoreApplication::exit(0);
        return;
    }
    if (m_inTick)
        return;
    m_inTick = true;
    const QDateTime now = m_clock.now();
    while (m_next < m_directives.size() && m_directives.at(m_next).at <= now)
        apply(m_directives.at(m_next++));
    if (m_ras)
        m_ras->deliverDialProgress(now);
    m_core.MinTimer();
    // A scenario ends one second after its last directive.
    if (!m_directives.isEmpty() && m_next >= m_directives.size() &&
        m_directives.last().at.secsTo(now) >= 1)
        m_control.requestTerminate();
    m_inTick = false;
}

void RealTimeRunner::apply(const TimedDirective& d) {
    using Kind = TimedDirective::Kind;
    if (d.concernsConnectionSource()) {
        if (m_ras)
            m_ras->apply(d);
    } else if (d.kind == Kind::Crash) {
        m_hooks.crash();
    } else if (d.kind == Kind::Exit) {
        m_core.Exit1Click();
    } else if (d.kind == Kind::Click && !m_core.click(d.command)) {
        m_hooks.info(QStringLiteral("unknown command ") + d.command);
    }
}
