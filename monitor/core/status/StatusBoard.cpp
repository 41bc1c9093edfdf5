#include "StatusBoard.h"

#include "ConnectionPoller.h"
#include "Converters.h"
#include "MonitorParts.h"
#include "SessionState.h"
#include "Settings.h"

#include <utility>

StatusBoard::StatusBoard(const SessionState& session, const Settings& settings,
                         const FormatSettings& formats)
    : m_session(session), m_settings(settings), m_formats(formats) {}

void StatusBoard::refresh(const LinkInProgress& inProgress) {
    MonitorStatus next;
    if (m_session.Online) {
        next.state = MonitorStatus::State::Connected;
        next.connection = m_session.ConnectionName;
        const ElapsedTime& e = m_session.Elapsed;
        next.seconds = qint64(e.hours) * 3600 + e.minutes * 60 + e.seconds;
        next.cost = m_session.Cost;
    } else if (!inProgress.entryName.isEmpty()) {
        next.state = MonitorStatus::State::Dialling;
        next.connection = inProgress.entryName;
        next.step = inProgress.stepText;
    }
    if (!m_listener) {
        m_unread = std::move(next);
        return;
    }
    take(std::move(next));
}

const MonitorStatus& StatusBoard::current() {
    if (m_unread)
        take(*std::exchange(m_unread, std::nullopt));
    return m_current;
}

void StatusBoard::take(MonitorStatus next) {
    m_unread.reset();
    readTotals(next);
    if (next == m_current)
        return;
    m_current = std::move(next);
    // A copy: the listener may let go of itself.
    if (const Listener listener = m_listener)
        listener(m_current);
}

// The totals as the status window shows them: the stored ones plus the
// connection that is up. A stored value that cannot be read keeps the last
// one read, so that one bad read does not show a false zero. The values come
// in one look at the store: this runs every second, connected or not.
void StatusBoard::readTotals(MonitorStatus& status) {
    try {
        const Settings::Snapshot snapshot(m_settings);
        const bool showCost = m_settings.ReadFlag(kSettingsKey, QStringLiteral("Show cost"), false);
        const qint64 minutes = ConnectedMinutes(m_settings);
        const double cost =
            ParseDecimal(m_settings.ReadText(kSettingsKey, QStringLiteral("Connection Cost"),
                                             QStringLiteral("0.0")),
                         m_formats);
        m_stored = {minutes, cost, showCost};
    } catch (const std::exception&) {
        // The last values read stand.
    }
    status.showCost = m_stored.showCost;
    status.totalMinutes = m_stored.minutes + status.seconds / 60;
    status.totalCost = m_stored.cost + status.cost;
}
