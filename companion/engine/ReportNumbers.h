#pragma once
// The number forms of the report and the charts: money in the currency form
// rounded to a number of significant digits, rates in fixed-point, shares as
// whole percentages (a share of a zero total is undefined and raises).

#include "FormatSettings.h"

#include <QString>

#include <stdexcept>

namespace ReportNumbers {

// A number that cannot be formed (a share of a zero total, an integer too
// large); the report ends where it is.
class Undefined : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// value rounded once, to at most precision significant digits and at most
// decimals decimals.
double rounded(double value, int precision, int decimals);

// The locale's currency form with exactly `decimals` decimals.
QString money(double value, int precision, int decimals, const FormatSettings& fmt);

// Fixed-point with `decimals` decimals and no grouping; a number with more
// whole digits than precision is written in scientific form (1.5E10).
QString fixed(double value, int precision, int decimals, const FormatSettings& fmt);

// part ÷ total × 100, rounded half away from zero.
qint64 share(double part, double total);

// The whole part of a value (fraction dropped).
qint64 truncated(double value);

} // namespace ReportNumbers
