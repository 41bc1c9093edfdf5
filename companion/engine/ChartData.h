#pragma once
// The data lines of the six pie charts ("125 anna 34%", "42 1999/03 12%"):
// connection time or cost per user, per connection name or per month.

#include "CompanionStrings.h"
#include "UsageTables.h"

#include <QStringList>

#include <optional>

enum class ChartKind {
    TimeUsers = 0,
    TimeProviders = 1,
    TimeMonthly = 2,
    CostUsers = 3,
    CostProviders = 4,
    CostMonthly = 5,
};

struct ChartData {
    ChartKind kind = ChartKind::CostMonthly;
    QString title;    // "Connection time" or "Connection cost"
    QString subtitle; // "Users", "Internet service providers" or "Monthly"
    QStringList lines;
};

namespace ChartLines {

// A kind from its number (0 to 5); nullopt for any other number.
std::optional<ChartKind> kindFromNumber(int number);
// The caption of a kind in the chart button's menu (3050 to 3100).
int captionId(ChartKind kind);

// The lines of one kind in table order; nullopt when they cannot be formed
// (a zero total leaves the shares undefined).
std::optional<ChartData> build(ChartKind kind, const UsageTables& tables,
                               const CompanionStrings& strings);

} // namespace ChartLines
