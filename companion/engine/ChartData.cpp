#include "ChartData.h"

#include "ReportNumbers.h"

namespace ChartLines {

std::optional<ChartKind> kindFromNumber(int number) {
    if (number < 0 || number > 5)
        return std::nullopt;
    return ChartKind(number);
}

int captionId(ChartKind kind) {
    return StringId::ChartKindFirst + 10 * int(kind);
}

namespace {

const QList<UsageEntry>& tableOf(ChartKind kind, const UsageTables& tables) {
    switch (int(kind) % 3) {
    case 0:
        return tables.users();
    case 1:
        return tables.providers();
    default:
        return tables.months();
    }
}

// Months are labelled "1999/03".
QString label(ChartKind kind, const QString& key) {
    if (int(kind) % 3 != 2)
        return key;
    return key.left(4) + QLatin1Char('/') + key.mid(4, 2);
}

} // namespace

std::optional<ChartData> build(ChartKind kind, const UsageTables& tables,
                               const CompanionStrings& strings) {
    const bool cost = int(kind) >= 3;
    static const int subtitles[] = {StringId::Users, StringId::Providers, StringId::Monthly};
    ChartData chart;
    chart.kind = kind;
    chart.title = strings.IntlStr(cost ? StringId::ConnectionCost : StringId::ConnectionTime);
    chart.subtitle = strings.IntlStr(subtitles[int(kind) % 3]);
    const double total = cost ? tables.totals().cost : double(tables.totals().minutes);
    try {
        for (const UsageEntry& entry : tableOf(kind, tables)) {
            const qint64 value = ReportNumbers::truncated(cost ? entry.cost : entry.minutes);
            chart.lines.append(QString::number(value) + QLatin1Char(' ') + label(kind, entry.key) +
                               QLatin1Char(' ') +
                               QString::number(ReportNumbers::share(double(value), total)) +
                               QLatin1Char('%'));
        }
    } catch (const ReportNumbers::Undefined&) {
        return std::nullopt;
    }
    return chart;
}

} // namespace ChartLines
