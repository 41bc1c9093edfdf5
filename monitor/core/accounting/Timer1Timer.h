#pragma once
// One accounting update of the connection being timed: elapsed time and cost
// so far, the status lines, tray hint, title and rate line of the display
// mode, and the pending minutes and cost that guard against a crash.

#include "AccountingContext.h"
#include "DayTime.h"
#include "KeptTotals.h"

struct AccountingUpdate {
    DayTime::Hms elapsed;
    qint64 elapsedMinutes = 0; // whole minutes, not rounded up
    double cost = 0;
};

class Timer1Timer {
public:
    explicit Timer1Timer(const AccountingContext& ctx) : m_ctx(ctx) {}

    // startTime: the time of day the connection was first seen connected.
    // kept: earlier connections not yet in the stored totals; they count in
    // the totals shown and in the pending values, which guard them as well.
    AccountingUpdate run(double startTime, const KeptTotals& kept = KeptTotals());

private:
    void ShowCostMode(const AccountingUpdate& u, qint64 totalMinutes, double keptCost);
    void ShowTimeMode(const AccountingUpdate& u, qint64 totalMinutes);
    void ShowTransferRate(const DayTime::Hms& elapsed);
    void WritePending(const AccountingUpdate& u, const KeptTotals& kept);

    AccountingContext m_ctx;
};
