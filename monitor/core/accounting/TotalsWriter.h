#pragma once
// Adds finished connections to the stored totals (the user's minutes and cost
// and the computer's) in one transaction with the pending values, so that a
// crash at any moment counts a connection exactly once. A total that cannot
// be added to starts again from the amount added, and says so. When the
// settings file refuses the write, the amounts are kept in memory, the
// failure is reported once, and they go in first at the next chance.

#include "AccountingContext.h"
#include "KeptTotals.h"

#include <QList>
#include <QPair>

#include <optional>

// The running connection's minutes and cost, as the pending values hold them.
struct PendingAmounts {
    qint64 minutes = 0;
    double cost = 0;
};

class TotalsWriter {
public:
    // The user's totals after an addition: stored, or not yet (kept).
    struct UserTotals {
        qint64 connected = 0;
        double connectionCost = 0;
        bool stored = false;
    };

    TotalsWriter(const AccountingContext& ctx, KeptTotals& kept) : m_ctx(ctx), m_kept(kept) {}

    // Adds one finished connection after whatever is kept, and removes the
    // pending values. Its logLine goes into the store with the totals (as a
    // pending log line), so that a crash before the line reaches the log
    // cannot leave the connection in the totals only.
    UserTotals add(qint64 minutes, double cost, bool costMode, const QString& logLine = QString());
    // Stores what is kept; the pending values then hold current (the
    // connection being timed) or are removed. True when nothing is kept.
    bool saveKept(const std::optional<PendingAmounts>& current);

private:
    using Restarts = QList<QPair<QString, QString>>;

    UserTotals write(const std::optional<PendingAmounts>& pendingAfter);
    void writePending(const std::optional<PendingAmounts>& pendingAfter);
    void notePendingLogLine();
    void addUserTotals(UserTotals& out, Restarts& restarted);
    void addMachineTotals(Restarts& restarted);
    UserTotals unstored() const;

    AccountingContext m_ctx;
    KeptTotals& m_kept;
    QString m_logLine;
};
