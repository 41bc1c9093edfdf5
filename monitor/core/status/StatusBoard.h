#pragma once
// The monitor's state as `--status` reports it, taken after every tick of
// Timer1 from the session record, what the poller saw and the stored totals,
// so that a question is answered at once without touching the connection
// source. While a listener is set the totals are read at every tick and the
// listener hears of each change; without one they are read only when the
// state is asked for, so a monitor nobody watches leaves the store alone.

#include "MonitorStatus.h"

#include <functional>
#include <optional>

class Settings;
struct FormatSettings;
struct LinkInProgress;
struct SessionState;

class StatusBoard {
public:
    using Listener = std::function<void(const MonitorStatus&)>;

    StatusBoard(const SessionState& session, const Settings& settings,
                const FormatSettings& formats);

    // Takes the state of the run now; the listener hears of a change.
    void refresh(const LinkInProgress& inProgress);

    // The state of the last tick, with the stored totals as they are now.
    const MonitorStatus& current();
    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    struct StoredTotals {
        qint64 minutes = 0;
        double cost = 0;
        bool showCost = false;
    };
    void readTotals(MonitorStatus& status);
    void take(MonitorStatus next);

    const SessionState& m_session;
    const Settings& m_settings;
    const FormatSettings& m_formats;
    StoredTotals m_stored;
    MonitorStatus m_current;
    // The last tick's state while its totals are still to be read.
    std::optional<MonitorStatus> m_unread;
    Listener m_listener;
};
