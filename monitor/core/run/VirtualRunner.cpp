#include "VirtualRunner.h"

#include "ApplicationControl.h"
#include "Clock.h"
#include "MonitorCore.h"
#include "SimRasApi.h"

void VirtualChime::setChimeEnabled(bool enabled) {
    m_enabled = enabled;
    if (enabled)
        m_since = m_clock.now();
}

bool VirtualChime::takeTick() {
    if (!m_enabled || m_since.secsTo(m_clock.now()) < kPeriodSeconds)
        return false;
    m_since = m_clock.now();
    return true;
}

VirtualRunner::VirtualRunner(MonitorCore& core, SimRasApi& ras, ManualClock& clock,
                             VirtualChime& chime, ApplicationControl& control,
                             QList<TimedDirective> directives, RunHooks hooks)
    : m_core(core), m_ras(ras), m_clock(clock), m_chime(chime), m_control(control),
      m_directives(std::move(directives)), m_hooks(std::move(hooks)) {}

int VirtualRunner::run() {
    const QDateTime start = m_clock.now();
    m_end = (m_directives.isEmpty() ? start : m_directives.last().at).addSecs(1);
    m_last = start;
    m_core.FormCreate();
    while (!m_control.terminateRequested() && !finished(m_last))
        second(nextSecond(m_last));
    m_core.FormDestroy();
    return m_core.exitStatus();
}

void VirtualRunner::waitInsideBox(int seconds) {
    for (int i = 0; i < seconds && !m_control.terminateRequested(); ++i)
        second(nextSecond(m_last));
}

void VirtualRunner::second(const QDateTime& t) {
    m_last = t;
    if (m_clock.now() < t)
        m_clock.set(t);
    m_hooks.processEvents();
    while (m_next < m_directives.size() && m_directives.at(m_next).at <= t)
        apply(m_directives.at(m_next++));
    m_ras.deliverDialProgress(t);
    m_core.MinTimer();
    if (m_chime.takeTick())
        m_core.ChimeTick();
    // A status request at this second sees what its tick left; each line
    // waits for one.
    for (; m_awaitStatus > 0; --m_awaitStatus)
        if (m_hooks.awaitStatus)
            m_hooks.awaitStatus();
}

void VirtualRunner::apply(const TimedDirective& d) {
    using Kind = TimedDirective::Kind;
    if (d.concernsConnectionSource()) {
        m_ras.apply(d);
        return;
    }
    if (d.kind == Kind::Crash) {
        m_hooks.crash();
        return;
    }
    if (d.kind == Kind::Exit) {
        m_core.Exit1Click();
        return;
    }
    if (d.kind == Kind::AwaitStatus) {
        ++m_awaitStatus;
        return;
    }
    if (d.kind == Kind::Click && !m_core.click(d.command))
        m_hooks.info(QStringLiteral("unknown command ") + d.command);
}

bool VirtualRunner::finished(const QDateTime& t) const {
    return m_next >= m_directives.size() && t >= m_end;
}

QDateTime VirtualRunner::nextSecond(const QDateTime& t) const {
    // A wait inside a handler moved the clock on: the timer ticks again when
    // the handler returns, at the next whole second.
    QDateTime next = t.addSecs(1);
    const QDateTime now = m_clock.now();
    if (now > next) {
        next = now;
        if (next.time().msec() != 0)
            next = next.addMSecs(1000 - next.time().msec());
    }
    return next;
}
