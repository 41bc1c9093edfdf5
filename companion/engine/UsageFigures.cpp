#include "UsageFigures.h"

#include "Converters.h"
#include "ReportNumbers.h"

#include <cmath>
#include <functional>

namespace {

// Money of a total, an average and a rate: 7 significant digits, 2 decimals.
constexpr int kTotalPrecision = 7;
constexpr int kTotalDecimals = 2;
constexpr int kEntryPrecision = 4;

// What the report could not form stays empty.
template <typename T> std::optional<T> defined(const std::function<T()>& form) {
    try {
        return form();
    } catch (const ReportNumbers::Undefined&) {
        return std::nullopt;
    }
}

double totalMoney(double value) {
    return ReportNumbers::rounded(value, kTotalPrecision, kTotalDecimals);
}

// "199903" as "1999-03"; "err" as a null name.
QString isoMonth(const QString& key) {
    if (key.size() != 6)
        return QString();
    return key.left(4) + QLatin1Char('-') + key.mid(4, 2);
}

QList<EntryFigures> entries(const QList<UsageEntry>& table, const UsageTotals& totals, int decimals,
                            bool months) {
    QList<EntryFigures> out;
    out.reserve(table.size());
    for (const UsageEntry& entry : table) {
        EntryFigures f;
        f.name = months ? isoMonth(entry.key) : entry.key;
        // As in the report: the share of time is that of the whole minutes.
        f.minutes = defined<qint64>([&] { return ReportNumbers::truncated(entry.minutes); });
        if (f.minutes)
            f.timeShare = defined<qint64>(
                [&] { return ReportNumbers::share(double(*f.minutes), double(totals.minutes)); });
        f.cost = ReportNumbers::rounded(entry.cost, kEntryPrecision, decimals);
        f.costShare =
            defined<qint64>([&] { return ReportNumbers::share(entry.cost, totals.cost); });
        out.append(f);
    }
    return out;
}

} // namespace

UsageFigures UsageFigures::of(const UsageTables& tables, const RunCounters& counters, int rowCount,
                              const FormatSettings& fmt) {
    const UsageTotals& t = tables.totals();
    UsageFigures f;
    f.connections = rowCount;
    f.counters = counters;
    f.totalMinutes = t.minutes;
    f.totalCost = totalMoney(t.cost);
    f.entryDecimals = fmt.currencyDecimals;
    if (rowCount > 0) {
        f.averageMinutes = t.minutes / rowCount;
        f.averageCost = totalMoney(t.cost / rowCount);
        f.averageSend = totalMoney(t.sendSum / rowCount);
        f.averageReceive = totalMoney(t.receiveSum / rowCount);
        f.highestReceive = totalMoney(t.highestReceive);
        f.lowestReceive = totalMoney(t.lowestReceive);
    }
    f.users = entries(tables.users(), t, f.entryDecimals, false);
    f.providers = entries(tables.providers(), t, f.entryDecimals, false);
    f.months = entries(tables.months(), t, f.entryDecimals, true);
    return f;
}

RowFigureReader::RowFigureReader(const ConnectionTable& rows, const FormatSettings& fmt,
                                 int pivotYear)
    : m_rows(rows), m_fmt(fmt), m_numbers(fmt), m_dates(fmt, pivotYear) {}

RowFigures RowFigureReader::row(int index) const {
    using Field = ConnectionTable::Field;
    RowFigures r;
    r.user = m_rows.text(index, ConnectionTable::User);
    r.start = startOf(index);
    r.minutes = m_numbers.toFloat(m_rows.field(index, Field::FLength));
    r.cost = m_numbers.toFloat(m_rows.field(index, Field::FCost));
    r.send = m_numbers.toFloat(m_rows.field(index, Field::FSend));
    r.receive = m_numbers.toFloat(m_rows.field(index, Field::FRecvd));
    r.connection = m_rows.text(index, ConnectionTable::ConnectedTo);
    return r;
}

// Written from the date and the time of day as they stand: a local time needs
// no time zone, and one in a daylight-saving gap is still the one logged.
QString RowFigureReader::startOf(int index) const {
    const auto date = m_dates.dateOf(m_rows.field(index, ConnectionTable::FDate));
    if (!date)
        return QString();
    try {
        const QString time = QString::fromUtf8(m_rows.field(index, ConnectionTable::FTime));
        const int seconds = int(std::lround(ParseTimeOfDay(time, m_fmt) * 86400));
        return date->toString(Qt::ISODate) + QLatin1Char('T') +
               QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss"));
    } catch (const ConversionError&) {
        return QString();
    }
}
