#pragma once
// The session accounting of a monitor run on the accounting classes: one
// update a tick, the close-out of a finished connection, the limit checks and
// the chime tick, keeping the session record in step with them.

#include "AccountingContext.h"
#include "ChimeTimer.h"
#include "ConnectionLogLine.h"
#include "KeptTotals.h"
#include "MonitorParts.h"
#include "SessionAccounting.h"
#include "TotalsWriter.h"

#include <QString>

class MonitorAccounting : public SessionAccounting {
public:
    // soundFolder: where a chime file stored without a folder is looked for.
    MonitorAccounting(const MonitorParts& parts, const QString& soundFolder);

    void Timer1Timer() override;
    void EndSession(double startTime, double endTime) override;
    void CheckTotalLimits() override;
    void ChimeTimer() override;
    void SaveKept() override;
    bool SaveAtExit() override;

    bool WarningShown() const { return m_chimeTimer.WarningShown(); }
    const KeptTotals& kept() const { return m_kept; }

private:
    std::optional<PendingAmounts> runningConnection() const;

    MonitorParts m_parts;
    AccountingContext m_ctx;
    ConnectionLogLine m_logLine;
    ::ChimeTimer m_chimeTimer;
    KeptTotals m_kept;
    // The running connection's amounts at its last update.
    PendingAmounts m_running;
};
