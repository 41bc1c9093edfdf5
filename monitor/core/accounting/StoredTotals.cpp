#include "StoredTotals.h"

#include "Converters.h"

#include <cmath>

namespace StoredTotals {

std::optional<qint64> Minutes(const QString& text) {
    try {
        const qint64 minutes = StrToInt(text);
        if (minutes >= -kLargestMinutes && minutes <= kLargestMinutes)
            return minutes;
    } catch (const ConversionError&) {
    }
    return std::nullopt;
}

std::optional<double> Amount(const QString& text, const FormatSettings& fmt) {
    try {
        return ParseDecimal(text, fmt);
    } catch (const ConversionError&) {
        // ParseDecimal takes finite numbers only.
        return std::nullopt;
    }
}

std::optional<double> Sum(std::optional<double> total, double amount) {
    if (!total || !std::isfinite(*total + amount))
        return std::nullopt;
    return *total + amount;
}

} // namespace StoredTotals
