#include "MonitorAccounting.h"

#include "CheckTotalLimits.h"
#include "ConnectionLogAppender.h"
#include "EndSession.h"
#include "SessionState.h"
#include "TariffTexts.h"
#include "Timer1Timer.h"

namespace {

ElapsedTime toElapsed(const DayTime::Hms& hms) {
    return {hms.hours, hms.minutes, hms.seconds};
}

} // namespace

MonitorAccounting::MonitorAccounting(const MonitorParts& parts, const QString& soundFolder)
    : m_parts(parts), m_ctx{parts.settings, parts.formats, parts.clock, parts.intl,
                            parts.view,     parts.events,  parts.xfer,  parts.problems},
      m_logLine(parts.store, parts.formats),
      m_chimeTimer(m_ctx, soundFolder, [mail = parts.features.mail] { mail->Button1Click(); }) {}

void MonitorAccounting::Timer1Timer() {
    const AccountingUpdate update = ::Timer1Timer(m_ctx).run(m_parts.session.StartTime, m_kept);
    m_parts.session.Elapsed = toElapsed(update.elapsed);
    m_parts.session.Cost = update.cost;
    m_running = {update.elapsedMinutes, update.cost};
}

void MonitorAccounting::EndSession(double startTime, double endTime) {
    m_parts.chime.setChimeEnabled(false);
    m_parts.session.Online = false;
    m_running = PendingAmounts();
    LogAppender& log = m_parts.log;
    ::EndSession(
        m_ctx, m_logLine, [&log](const QString& line) { log.AppendLogLine(line); }, m_kept)
        .run(startTime, endTime, m_parts.session.ConnectionName);
}

std::optional<PendingAmounts> MonitorAccounting::runningConnection() const {
    if (!m_parts.session.Online)
        return std::nullopt;
    return m_running;
}

void MonitorAccounting::SaveKept() {
    m_parts.log.RetryUnwritten();
    if (!m_kept.empty())
        TotalsWriter(m_ctx, m_kept).saveKept(runningConnection());
}

bool MonitorAccounting::SaveAtExit() {
    const bool logged = m_parts.log.RetryUnwrittenAtExit();
    if (m_kept.empty() || TotalsWriter(m_ctx, m_kept).saveKept(runningConnection()))
        return logged;
    const FormatSettings& fmt = m_parts.formats;
    const QString text = m_parts.intl.IntlStr(9650) + MinutesText(m_kept.minutes, fmt) +
                         QStringLiteral(", ") + CurrencyText(m_kept.cost, fmt);
    m_parts.events.PostEvent(text, EventKind::Error);
    m_parts.view.messageBox(QStringLiteral("Tollwatch"), text, BoxButtons::Ok, BoxIcon::Error,
                            BoxAnswer::Ok);
    return false;
}

void MonitorAccounting::CheckTotalLimits() {
    ::CheckTotalLimits(m_ctx).run();
}

void MonitorAccounting::ChimeTimer() {
    m_parts.session.Elapsed = toElapsed(m_chimeTimer.run(m_parts.session.StartTime));
}
