#include "RowSummary.h"

#include "NumberReader.h"
#include "ReportNumbers.h"

namespace RowSummary {

std::optional<QString> text(const QString& user, const QString& connectedTo, const QString& length,
                            const QString& cost, const CompanionStrings& strings,
                            const FormatSettings& fmt) {
    // The report's own reading: a cost it counts as invalid is no cost here
    // either, rather than one read with the other separator.
    const std::optional<double> value = NumberReader(fmt).toFloat(cost.toUtf8());
    if (!value)
        return std::nullopt;
    return user + strings.IntlStr(1200) + connectedTo + strings.IntlStr(1210) + length +
           strings.IntlStr(1220) + ReportNumbers::money(*value, 7, 2, fmt);
}

} // namespace RowSummary
