#include "ConnectionTable.h"

#include "LegacyText.h"
#include "LogLines.h"

#include <limits>

void ConnectionTable::clear() {
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_buffers.clear();
}

void ConnectionTable::appendFile(const QByteArray& content, QByteArrayView abnormalExit,
                                 RunCounters& counters) {
    // The rows point into the content, so the table keeps it (shared, not copied).
    const auto buffer = std::uint32_t(m_buffers.size());
    m_buffers.push_back(content);
    const QByteArray& kept = m_buffers.back();
    const AbnormalExit abnormal{abnormalExit,
                                LegacyText::toWindows1252(QString::fromUtf8(abnormalExit))};
    LogLines::forEach(kept, [&](QByteArrayView line) {
        addLine(buffer, line.data() - kept.constData(), line, abnormal, counters);
    });
}

void ConnectionTable::addLine(std::uint32_t buffer, qsizetype start, QByteArrayView line,
                              const AbnormalExit& abnormalExit, RunCounters& counters) {
    Row row{buffer, 0, {}, !LegacyText::isUtf8(line), start};
    int found = 0;
    const char* data = line.data();
    for (qsizetype i = 0; i < line.size() && found < 7; ++i) {
        if (data[i] == ';')
            row.semis[found++] = std::uint32_t(i);
    }
    // A line beyond 4 GB cannot be held as a row; it counts as unusable.
    if (found < 7 || line.size() > qsizetype(std::numeric_limits<std::uint32_t>::max())) {
        const QByteArrayView text =
            row.legacy ? QByteArrayView(abnormalExit.windows1252) : abnormalExit.utf8;
        if (!text.isEmpty() && line.startsWith(text))
            ++counters.abnormalTerminations;
        else
            ++counters.invalidEntries;
        return;
    }
    row.length = std::uint32_t(line.size());
    m_rows.push_back(row);
}

QByteArrayView ConnectionTable::field(int row, int logField) const {
    const Row& r = m_rows[size_t(row)];
    const char* line = m_buffers[r.buffer].constData() + r.start;
    const std::uint32_t from = logField == FUser ? 0 : r.semis[logField - 1] + 1;
    const std::uint32_t to = logField == FName ? r.length : r.semis[logField];
    return QByteArrayView(line + from, to - from);
}

QByteArrayView ConnectionTable::utf8Field(int row, int logField, QByteArray& scratch) const {
    const QByteArrayView raw = field(row, logField);
    if (!isLegacy(row) || LegacyText::isAscii(raw))
        return raw;
    scratch = LegacyText::fromWindows1252(raw).toUtf8();
    return scratch;
}

QString ConnectionTable::decoded(int row, int logField) const {
    const QByteArrayView raw = field(row, logField);
    return isLegacy(row) ? LegacyText::fromWindows1252(raw) : QString::fromUtf8(raw);
}

QString ConnectionTable::text(int row, int column) const {
    switch (column) {
    case User:
        return decoded(row, FUser);
    case Connection:
        return decoded(row, FDate) + QLatin1Char(' ') + decoded(row, FTime);
    case ConnectedTo:
        return decoded(row, FName);
    default:
        // Length, Cost, Send and Recvd are log fields 4 to 7.
        return decoded(row, column + 1);
    }
}
