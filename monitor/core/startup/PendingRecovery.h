#pragma once
// At start-up, adds the time and cost of a connection that was never closed
// out (a crash, or an exit while on line) to the user's totals. The pending
// values the per-second accounting leaves in the machine key guard against
// exactly that.

#include <QList>
#include <QPair>
#include <QString>

class IntlStrings;
class MonitorView;
class ProblemReports;
class RegistryStore;
struct FormatSettings;

class PendingRecovery {
public:
    PendingRecovery(RegistryStore& store, MonitorView& view, const IntlStrings& intl,
                    const FormatSettings& formats, ProblemReports& problems);

    // Updates the totals and empties the pending values in one transaction,
    // then shows the recovery message: the poll timer runs while the message
    // is open, and finds the recovery done rather than half-way. A total
    // that cannot be added to starts again from the pending amount, a pending
    // value that cannot be read counts as 0; both are reported and the values
    // are emptied all the same, so the message does not come back at every
    // start. A settings file that cannot be written is reported instead of
    // the message, and the values stay for a later start. Returns true when
    // the totals were updated.
    bool run();

private:
    using Findings = QList<QPair<QString, QString>>;
    bool addPendingToTotals(Findings& restarted, Findings& unreadable);

    RegistryStore& m_store;
    MonitorView& m_view;
    const IntlStrings& m_intl;
    const FormatSettings& m_formats;
    ProblemReports& m_problems;
};
