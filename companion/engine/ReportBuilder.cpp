#include "ReportBuilder.h"

#include "Converters.h"
#include "ReportNumbers.h"

using ReportNumbers::share;

namespace {
const QString kBreak = QStringLiteral("\r\n");
const QString kSeparator(60, QLatin1Char('-'));
// Totals of money: 7 significant digits and 2 decimals.
constexpr int kTotalPrecision = 7;
constexpr int kEntryPrecision = 4;
constexpr int kRatePrecision = 7;

QString num(qint64 n) {
    return QString::number(n);
}
} // namespace

ReportBuilder::ReportBuilder(const CompanionStrings& strings, const FormatSettings& fmt)
    : m_strings(strings), m_fmt(fmt) {}

const QString& ReportBuilder::text(int id) {
    auto it = m_texts.find(id);
    if (it == m_texts.end())
        it = m_texts.insert(id, m_strings.IntlStr(id));
    return *it;
}

void ReportBuilder::add(const QString& piece) {
    m_report.lines += piece.split(kBreak);
}

void ReportBuilder::separator() {
    m_report.lines += kSeparator;
}

void ReportBuilder::begin(const QDateTime& now) {
    m_report = ReportText();
    m_report.outline.root = QStringLiteral("Companion");
    add(text(StringId::ReportCompiled) + m_fmt.formatDate(now.date()) + QLatin1Char(' ') +
        m_fmt.formatTime(now.time()));
    separator();
}

ReportOutcome ReportBuilder::finish(int rowCount, const UsageTables& tables,
                                    const RunCounters& counters) {
    try {
        add(text(StringId::TotalConnections) + num(rowCount));
        writeTotals(rowCount, tables.totals());
        writeTable(StringId::UserEntries, StringId::UserEntriesNode, tables.users(),
                   tables.totals());
        writeTable(StringId::ProviderEntries, StringId::ProvidersNode, tables.providers(),
                   tables.totals());
        writeMonths(tables.months(), tables.totals());
        writeCounters(counters);
        add(kBreak + text(StringId::Comments));
        separator();
        return ReportOutcome::Complete;
    } catch (const std::exception&) {
        // Undefined shares, a month key that names no month, lack of memory.
        return rowCount == 0 ? ReportOutcome::EmptyList : ReportOutcome::InvalidEntries;
    }
}

QString ReportBuilder::hoursAndMinutes(qint64 minutes, int minutesId) {
    return num(minutes / 60) + text(StringId::Hours) + num(minutes % 60) + text(minutesId);
}

void ReportBuilder::writeTotals(int rowCount, const UsageTotals& totals) {
    if (rowCount == 0)
        throw ReportNumbers::Undefined("no rows to average");
    const qint64 average = totals.minutes / rowCount;
    add(text(StringId::Total) + hoursAndMinutes(totals.minutes, StringId::MinutesAvg) +
        hoursAndMinutes(average, StringId::MinutesAvgEnd) +
        ReportNumbers::money(totals.cost, kTotalPrecision, 2, m_fmt) + text(StringId::Average) +
        ReportNumbers::money(totals.cost / rowCount, kTotalPrecision, 2, m_fmt) + QLatin1Char(')'));
    const auto rate = [this](double value) {
        return ReportNumbers::fixed(value, kRatePrecision, 2, m_fmt);
    };
    const QString kbs = QStringLiteral(" kB/s");
    add(text(StringId::TransfersSend) + rate(totals.sendSum / rowCount) + kbs +
        text(StringId::Receive) + rate(totals.receiveSum / rowCount) + text(StringId::Highest) +
        rate(totals.highestReceive) + kbs + text(StringId::Lowest) + rate(totals.lowestReceive) +
        QStringLiteral(" kB/s)"));
}

QString ReportBuilder::entryFigures(const UsageEntry& entry, const UsageTotals& totals) {
    const qint64 minutes = ReportNumbers::truncated(entry.minutes);
    return hoursAndMinutes(minutes, StringId::MinutesShare) +
           num(share(double(minutes), double(totals.minutes))) + QStringLiteral("%); ") +
           ReportNumbers::money(entry.cost, kEntryPrecision, m_fmt.currencyDecimals, m_fmt) +
           QStringLiteral(" (") + num(share(entry.cost, totals.cost)) + QStringLiteral("%)");
}

void ReportBuilder::writeTable(int listId, int nodeId, const QList<UsageEntry>& entries,
                               const UsageTotals& totals) {
    QString list = kBreak + num(entries.size()) + text(listId);
    for (const UsageEntry& entry : entries)
        list += entry.key + QStringLiteral("; ");
    add(list);
    separator();
    m_report.outline.sections.append({text(nodeId), {}});
    for (const UsageEntry& entry : entries) {
        const QString line = entry.key + QStringLiteral(": ") + entryFigures(entry, totals);
        add(line);
        m_report.outline.sections.last().entries.append(line);
    }
}

// "March 1999" for the key 199903; a key that names no month raises.
QString ReportBuilder::monthText(const QString& key) {
    const qint64 month = StrToInt(key.mid(4, 2));
    return text(int(month) * StringId::MonthBase) + QLatin1Char(' ') + key.left(4);
}

void ReportBuilder::writeMonths(const QList<UsageEntry>& months, const UsageTotals& totals) {
    if (months.isEmpty())
        throw ReportNumbers::Undefined("no month entries");
    add(kBreak + text(StringId::MonthlyFrom) + monthText(months.first().key) +
        text(StringId::MonthlyTo) + monthText(months.last().key));
    m_report.outline.sections.append({text(StringId::MonthlyNode), {}});
    separator();
    for (const UsageEntry& entry : months) {
        const QString line =
            monthText(entry.key) + QStringLiteral(": ") + entryFigures(entry, totals);
        add(line);
        m_report.outline.sections.last().entries.append(line);
    }
}

void ReportBuilder::writeCounters(const RunCounters& counters) {
    if (counters.invalidEntries > 0)
        add(kBreak + num(counters.invalidEntries) + text(StringId::InvalidEntries));
    if (counters.abnormalTerminations > 0)
        add(kBreak + num(counters.abnormalTerminations) + QLatin1Char(' ') +
            text(StringId::AbnormalTerminations));
}
