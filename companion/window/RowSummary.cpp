#include "RowSummary.h"

#include "Converters.h"
#include "ReportNumbers.h"

namespace RowSummary {

std::optional<QString> text(const QString& user, const QString& connectedTo, const QString& length,
                            const QString& cost, const CompanionStrings& strings,
                            const FormatSettings& fmt) {
    double value = 0;
    try {
        // A log written under another locale may use the other separator.
        value = ParseDecimal(cost, fmt);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
    return user + strings.IntlStr(1200) + connectedTo + strings.IntlStr(1210) + length +
           strings.IntlStr(1220) + ReportNumbers::money(value, 7, 2, fmt);
}

} // namespace RowSummary
