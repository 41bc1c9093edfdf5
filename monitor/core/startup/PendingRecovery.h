#pragma once
// At start-up, adds the time and cost of a connection that was never closed
// out (a crash, or an exit while on line) to the user's totals. The pending
// values the per-second accounting leaves in the machine key guard against
// exactly that.

class IntlStrings;
class MonitorView;
class RegistryStore;
struct FormatSettings;

class PendingRecovery {
public:
    PendingRecovery(RegistryStore& store, MonitorView& view, const IntlStrings& intl,
                    const FormatSettings& formats);

    // Shows the recovery message first, then updates the totals and empties
    // the pending values in one transaction: the connection is added exactly
    // once or, when a value cannot be read, not at all. Returns true when the
    // totals were updated.
    bool run();

private:
    void addPendingToTotals();

    RegistryStore& m_store;
    MonitorView& m_view;
    const IntlStrings& m_intl;
    const FormatSettings& m_formats;
};
