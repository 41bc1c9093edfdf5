#include "MonitorAccounting.h"

#include "CheckTotalLimits.h"
#include "ConnectionLogAppender.h"
#include "EndSession.h"
#include "SessionState.h"
#include "Timer1Timer.h"

namespace {

ElapsedTime toElapsed(const DayTime::Hms& hms) {
    return {hms.hours, hms.minutes, hms.seconds};
}

} // namespace

MonitorAccounting::MonitorAccounting(const MonitorParts& parts, const QString& soundFolder)
    : m_parts(parts), m_ctx{parts.settings, parts.formats, parts.clock, parts.intl,
                            parts.view,     parts.events,  parts.xfer},
      m_logLine(parts.store, parts.formats),
      m_chimeTimer(m_ctx, soundFolder, [mail = parts.features.mail] { mail->Button1Click(); }) {}

void MonitorAccounting::Timer1Timer() {
    const AccountingUpdate update = ::Timer1Timer(m_ctx).run(m_parts.session.StartTime);
    m_parts.session.Elapsed = toElapsed(update.elapsed);
    m_parts.session.Cost = update.cost;
}

void MonitorAccounting::EndSession(double startTime, double endTime) {
    m_parts.chime.setChimeEnabled(false);
    m_parts.session.Online = false;
    LogAppender& log = m_parts.log;
    ::EndSession(m_ctx, m_logLine, [&log](const QString& line) {
        log.AppendLogLine(line);
    }).run(startTime, endTime, m_parts.session.ConnectionName);
}

void MonitorAccounting::CheckTotalLimits() {
    ::CheckTotalLimits(m_ctx).run();
}

void MonitorAccounting::ChimeTimer() {
    m_parts.session.Elapsed = toElapsed(m_chimeTimer.run(m_parts.session.StartTime));
}
