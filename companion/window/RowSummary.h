#pragma once
// The status-bar line for a clicked connection row: "anna connected to
// 'Office' for 12 minutes / 3,40 kr".

#include "CompanionStrings.h"
#include "FormatSettings.h"

#include <QString>

#include <optional>

namespace RowSummary {

// nullopt when the cost is no number as the report reads it (the status bar
// then stays as it was).
std::optional<QString> text(const QString& user, const QString& connectedTo, const QString& length,
                            const QString& cost, const CompanionStrings& strings,
                            const FormatSettings& fmt);

} // namespace RowSummary
