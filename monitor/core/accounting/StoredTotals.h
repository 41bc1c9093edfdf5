#pragma once
// The stored totals and pending values as numbers they can be added to, or
// nothing when the stored text cannot serve: not a number, not a whole
// number where minutes are counted, not finite, or so large that adding to
// it would overflow.

#include "FormatSettings.h"

#include <QString>

#include <optional>

namespace StoredTotals {

// A larger count of minutes (two thousand million years) is no total.
constexpr qint64 kLargestMinutes = 1'000'000'000'000'000;

// A whole number of minutes, -kLargestMinutes to kLargestMinutes.
std::optional<qint64> Minutes(const QString& text);
// A finite amount, read with the separator-tolerant rule.
std::optional<double> Amount(const QString& text, const FormatSettings& fmt);
// total + amount when that is finite.
std::optional<double> Sum(std::optional<double> total, double amount);

} // namespace StoredTotals
