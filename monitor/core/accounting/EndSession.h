#pragma once
// Closes a finished connection out: prices it once more, adds it to the
// user's and the computer's totals, removes the pending values, reports it,
// writes its log line and takes new transfer baselines.

#include "AccountingContext.h"
#include "ConnectionLogLine.h"
#include "KeptTotals.h"

#include <functional>

struct SessionTotals {
    qint64 minutes = 0; // whole minutes + 1
    int seconds = 1;    // the length in seconds, at least 1
    double cost = 0;
    qint64 connected = 0;      // the user's new "Connected"
    double connectionCost = 0; // the user's new "Connection Cost"
    bool stored = false;       // false: kept until the settings file takes writes
};

class EndSession {
public:
    // AppendLogLine: appends one line to the connection log.
    using LogAppend = std::function<void(const QString& line)>;

    // kept: connections not yet in the totals; this one joins them when the
    // settings file cannot be written.
    EndSession(const AccountingContext& ctx, const ConnectionLogLine& logLine, LogAppend append,
               KeptTotals& kept)
        : m_ctx(ctx), m_logLine(logLine), m_append(std::move(append)), m_kept(kept) {}

    // Times of day; the caller has already stopped the chime timer and left
    // the connection offline. The connection is always reported and logged;
    // its totals are stored with the pending values removed, or kept. A
    // failed log write throws after all that.
    SessionTotals run(double startTime, double endTime, const QString& connectionName);

private:
    void ShowCostMode(const SessionTotals& t);
    void ShowTimeMode(const SessionTotals& t);
    QString LogLine(double startTime, const SessionTotals& t, const TransferRates::Rates& rates,
                    const QString& connectionName, bool showCost) const;

    AccountingContext m_ctx;
    const ConnectionLogLine& m_logLine;
    LogAppend m_append;
    KeptTotals& m_kept;
};
