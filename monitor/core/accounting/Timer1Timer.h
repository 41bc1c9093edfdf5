#pragma once
// One accounting update of the connection being timed: elapsed time and cost
// so far, the status lines, tray hint, title and rate line of the display
// mode, and the pending minutes and cost that guard against a crash.

#include "AccountingContext.h"
#include "DayTime.h"

struct AccountingUpdate {
    DayTime::Hms elapsed;
    qint64 elapsedMinutes = 0; // whole minutes, not rounded up
    double cost = 0;
};

class Timer1Timer {
public:
    explicit Timer1Timer(const AccountingContext& ctx) : m_ctx(ctx) {}

    // startTime: the time of day the connection was first seen connected.
    // A setting that is no number throws ConversionError to the poll tick.
    AccountingUpdate run(double startTime);

private:
    void ShowCostMode(const AccountingUpdate& u, qint64 totalMinutes);
    void ShowTimeMode(const AccountingUpdate& u, qint64 totalMinutes);
    void ShowTransferRate(const DayTime::Hms& elapsed);
    void WritePending(const AccountingUpdate& u);

    AccountingContext m_ctx;
};
