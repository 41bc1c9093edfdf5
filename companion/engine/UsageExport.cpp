#include "UsageExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

#include <iterator>

namespace UsageExport {

const char* const kCsvHeader =
    "table,name,minutes,time_share,cost,cost_share,value,user,start,send,receive";

namespace {

constexpr int kTotalDecimals = 2;
// Rows are flushed to the sink in pieces of about this size.
constexpr int kChunkBytes = 64 * 1024;

QByteArray number(double value) {
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray money(double value, int decimals) {
    return QByteArray::number(value, 'f', decimals);
}

template <typename T> QByteArray optionalNumber(const std::optional<T>& value) {
    return value ? number(double(*value)) : QByteArray();
}

QJsonValue jsonValue(const std::optional<qint64>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue jsonValue(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue jsonText(const QString& text) {
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

// The eleven columns of kCsvHeader.
struct CsvLine {
    QByteArray table, name, minutes, timeShare, cost, costShare, value, user, start, send, receive;

    // Joined with one allocation: a million rows go through here.
    QByteArray text() const {
        const QByteArray* const fields[] = {&table, &name,      &minutes, &timeShare,
                                            &cost,  &costShare, &value,   &user,
                                            &start, &send,      &receive};
        qsizetype size = 2 + qsizetype(std::size(fields));
        for (const QByteArray* field : fields)
            size += field->size();
        QByteArray out;
        out.reserve(size);
        for (const QByteArray* field : fields) {
            if (field != fields[0])
                out += ',';
            out += *field;
        }
        return out += "\r\n";
    }
};

QByteArray csvEntries(const char* table, const QList<EntryFigures>& entries, int decimals) {
    QByteArray out;
    for (const EntryFigures& e : entries) {
        CsvLine line;
        line.table = table;
        line.name = csvField(e.name);
        line.minutes = optionalNumber(e.minutes);
        line.timeShare = optionalNumber(e.timeShare);
        line.cost = money(e.cost, decimals);
        line.costShare = optionalNumber(e.costShare);
        out += line.text();
    }
    return out;
}

QByteArray csvValue(const char* table, const char* name, const QByteArray& value) {
    CsvLine line;
    line.table = table;
    line.name = name;
    line.value = value;
    return line.text();
}

QByteArray csvSummary(const UsageFigures& f) {
    CsvLine total;
    total.table = "total";
    total.minutes = QByteArray::number(f.totalMinutes);
    total.cost = money(f.totalCost, kTotalDecimals);
    CsvLine average;
    average.table = "average";
    average.minutes = optionalNumber(f.averageMinutes);
    average.cost = f.averageCost ? money(*f.averageCost, kTotalDecimals) : QByteArray();
    return total.text() + average.text() +
           csvValue("counter", "connections", QByteArray::number(f.connections)) +
           csvValue("counter", "invalid_entries", QByteArray::number(f.counters.invalidEntries)) +
           csvValue("counter", "abnormal_terminations",
                    QByteArray::number(f.counters.abnormalTerminations)) +
           csvValue("transfer", "average_send", optionalNumber(f.averageSend)) +
           csvValue("transfer", "average_receive", optionalNumber(f.averageReceive)) +
           csvValue("transfer", "highest_receive", optionalNumber(f.highestReceive)) +
           csvValue("transfer", "lowest_receive", optionalNumber(f.lowestReceive));
}

QByteArray csvRow(const RowFigures& r) {
    CsvLine line;
    line.table = "connection";
    line.name = csvField(r.connection);
    line.minutes = optionalNumber(r.minutes);
    line.cost = optionalNumber(r.cost);
    line.user = csvField(r.user);
    line.start = r.start.toLatin1();
    line.send = optionalNumber(r.send);
    line.receive = optionalNumber(r.receive);
    return line.text();
}

// Rows as the sink takes them, in pieces.
bool writeRows(const RowFigureReader& rows, const Sink& sink,
               const std::function<QByteArray(int)>& rowText) {
    QByteArray chunk;
    for (int i = 0; i < rows.rowCount(); ++i) {
        chunk += rowText(i);
        if (chunk.size() >= kChunkBytes) {
            if (!sink(chunk))
                return false;
            chunk.clear();
        }
    }
    return chunk.isEmpty() || sink(chunk);
}

QJsonArray jsonEntries(const QList<EntryFigures>& entries) {
    QJsonArray out;
    for (const EntryFigures& e : entries)
        out.append(QJsonObject{{QStringLiteral("name"), jsonText(e.name)},
                               {QStringLiteral("minutes"), jsonValue(e.minutes)},
                               {QStringLiteral("time_share"), jsonValue(e.timeShare)},
                               {QStringLiteral("cost"), e.cost},
                               {QStringLiteral("cost_share"), jsonValue(e.costShare)}});
    return out;
}

QJsonObject jsonFigures(const UsageFigures& f, const QDateTime& compiled) {
    return QJsonObject{
        {QStringLiteral("compiled"), compiled.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))},
        {QStringLiteral("connections"), f.connections},
        {QStringLiteral("invalid_entries"), f.counters.invalidEntries},
        {QStringLiteral("abnormal_terminations"), f.counters.abnormalTerminations},
        {QStringLiteral("total"), QJsonObject{{QStringLiteral("minutes"), f.totalMinutes},
                                              {QStringLiteral("cost"), f.totalCost}}},
        {QStringLiteral("average"),
         QJsonObject{{QStringLiteral("minutes"), jsonValue(f.averageMinutes)},
                     {QStringLiteral("cost"), jsonValue(f.averageCost)}}},
        {QStringLiteral("transfer"),
         QJsonObject{{QStringLiteral("average_send"), jsonValue(f.averageSend)},
                     {QStringLiteral("average_receive"), jsonValue(f.averageReceive)},
                     {QStringLiteral("highest_receive"), jsonValue(f.highestReceive)},
                     {QStringLiteral("lowest_receive"), jsonValue(f.lowestReceive)}}},
        {QStringLiteral("users"), jsonEntries(f.users)},
        {QStringLiteral("providers"), jsonEntries(f.providers)},
        {QStringLiteral("months"), jsonEntries(f.months)}};
}

// A JSON string, written by hand for the rows: a QJsonObject a row would
// take most of the time of a large export.
QByteArray jsonString(const QString& text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (uchar(c) < 0x20)
                out += "\\u00" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out += '"';
}

QByteArray jsonNumber(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? number(*value) : QByteArray("null");
}

// The members in the order QJsonDocument writes them, alphabetical.
QByteArray jsonRow(const RowFigures& r) {
    return "{\"connection\":" + jsonString(r.connection) + ",\"cost\":" + jsonNumber(r.cost) +
           ",\"minutes\":" + jsonNumber(r.minutes) + ",\"receive\":" + jsonNumber(r.receive) +
           ",\"send\":" + jsonNumber(r.send) +
           ",\"start\":" + (r.start.isNull() ? QByteArray("null") : jsonString(r.start)) +
           ",\"user\":" + jsonString(r.user) + '}';
}

} // namespace

QByteArray csvField(const QString& text) {
    static const QString special = QStringLiteral(",;\"\r\n");
    bool quote = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    for (qsizetype i = 0; !quote && i < text.size(); ++i)
        quote = special.contains(text.at(i));
    if (!quote)
        return text.toUtf8();
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return '"' + doubled.toUtf8() + '"';
}

bool writeCsv(const UsageFigures& f, const RowFigureReader* rows, const Sink& sink) {
    const QByteArray tables = QByteArray(kCsvHeader) + "\r\n" +
                              csvEntries("user", f.users, f.entryDecimals) +
                              csvEntries("provider", f.providers, f.entryDecimals) +
                              csvEntries("month", f.months, f.entryDecimals) + csvSummary(f);
    if (!sink(tables))
        return false;
    return !rows || writeRows(*rows, sink, [rows](int i) { return csvRow(rows->row(i)); });
}

bool writeJson(const UsageFigures& f, const QDateTime& compiled, const RowFigureReader* rows,
               const Sink& sink) {
    QByteArray head = QJsonDocument(jsonFigures(f, compiled)).toJson(QJsonDocument::Indented);
    if (!rows)
        return sink(head);
    // The rows follow as the last member, one object a line.
    head.truncate(head.lastIndexOf('}'));
    if (!sink(head.trimmed() + ",\n    \"rows\": [\n"))
        return false;
    const bool written = writeRows(*rows, sink, [rows](int i) {
        return (i == 0 ? QByteArray("        ") : QByteArray(",\n        ")) +
               jsonRow(rows->row(i));
    });
    return written && sink("\n    ]\n}\n");
}

} // namespace UsageExport
