#pragma once
// The monitor's state as `--status` reports it, taken after every tick of
// Timer1 from the session record, what the poller saw and the stored totals,
// so that a question is answered at once from what is there, without
// touching the store or the connection source. Tells a listener when the
// state changed.

#include "MonitorStatus.h"

#include <functional>

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

    const MonitorStatus& current() const { return m_current; }
    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    struct StoredTotals {
        qint64 minutes = 0;
        double cost = 0;
        bool showCost = false;
    };
    void readTotals(MonitorStatus& status);

    const SessionState& m_session;
    const Settings& m_settings;
    const FormatSettings& m_formats;
    StoredTotals m_stored;
    MonitorStatus m_current;
    Listener m_listener;
};
