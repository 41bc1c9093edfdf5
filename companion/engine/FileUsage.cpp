#include "FileUsage.h"

#include "KeyMap.h"
#include "LegacyText.h"
#include "UsageTables.h"

#include <cstring>
#include <limits>
#include <unordered_map>

namespace {

using Field = ConnectionTable::Field;

// A key as stored: cut to the key length, never halfway through a character.
QByteArray storedKey(QByteArrayView key) {
    if (key.size() <= UsageTables::kKeyLength) // no more characters than bytes
        return key.toByteArray();
    const QString text = QString::fromUtf8(key);
    if (text.size() <= UsageTables::kKeyLength)
        return key.toByteArray();
    int length = UsageTables::kKeyLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length).toUtf8();
}

std::vector<QByteArray> storedKeys(const KeyMap& keys) {
    std::vector<QByteArray> out;
    out.reserve(size_t(keys.size()));
    for (int id = 0; id < keys.size(); ++id)
        out.push_back(storedKey(keys.key(id)));
    return out;
}

// The month of each row. A log is written in time order, so a date is read
// once for the run of lines that share it.
class MonthReader {
public:
    explicit MonthReader(const DateTimeReader& dates) : m_dates(dates) {}

    int monthOf(QByteArrayView date, QByteArrayView time) {
        if (m_lastSize < 0 || date != QByteArrayView(m_lastDate, m_lastSize)) {
            m_lastAlone = m_dates.monthOfDateAlone(date);
            // A date longer than any real one is read every time.
            m_lastSize = date.size() <= qsizetype(sizeof m_lastDate) ? date.size() : -1;
            if (m_lastSize > 0)
                std::memcpy(m_lastDate, date.data(), size_t(m_lastSize));
        }
        if (m_lastAlone)
            return m_dates.isTimeAfterDate(time) ? *m_lastAlone : -1;
        QByteArray joined = date.toByteArray();
        joined += ' ';
        joined += time;
        return m_dates.monthOf(joined).value_or(-1);
    }

private:
    const DateTimeReader& m_dates;
    char m_lastDate[32] = {};
    qsizetype m_lastSize = -1;
    std::optional<int> m_lastAlone;
};

// Month keys to ids in order of first appearance; rows of one day or month
// tend to follow each other, so the last one is tried first.
class MonthIds {
public:
    int idOf(int month, std::vector<int>& order) {
        if (month == m_lastMonth)
            return m_lastId;
        const auto [it, added] = m_ids.try_emplace(month, int(order.size()));
        if (added)
            order.push_back(month);
        m_lastMonth = month;
        m_lastId = it->second;
        return m_lastId;
    }

private:
    std::unordered_map<int, int> m_ids;
    int m_lastMonth = std::numeric_limits<int>::min();
    int m_lastId = 0;
};

} // namespace

struct FileUsageReader::Keys {
    explicit Keys(const DateTimeReader& dates) : monthReader(dates) {}
    KeyMap users;
    KeyMap providers;
    MonthReader monthReader;
    MonthIds months;
    QByteArray scratch[8];
};

FileUsageReader::FileUsageReader(const NumberReader& numbers, const DateTimeReader& dates)
    : m_numbers(numbers), m_dates(dates), m_keys(std::make_unique<Keys>(dates)) {}

FileUsageReader::~FileUsageReader() = default;

FileUsage FileUsageReader::read(const ConnectionTable::Chunk& chunk, const NumberReader& numbers,
                                const DateTimeReader& dates) {
    FileUsageReader reader(numbers, dates);
    reader.m_usage.values.reserve(chunk.rows.size());
    for (const ConnectionTable::Row& row : chunk.rows)
        reader.add(chunk.content.constData(), row);
    return reader.take();
}

// The eight fields of a row as UTF-8: their own bytes, or converted into the
// scratch buffers when the line is in Windows-1252 and a field goes beyond
// ASCII.
void FileUsageReader::fieldsOf(const char* base, const ConnectionTable::Row& row,
                               QByteArrayView (&fields)[8]) {
    const char* line = base + row.start;
    std::uint32_t from = 0;
    for (int i = 0; i < 7; ++i) {
        fields[i] = QByteArrayView(line + from, row.semis[i] - from);
        from = row.semis[i] + 1;
    }
    fields[7] = QByteArrayView(line + from, row.length - from);
    if (!row.legacy)
        return;
    for (int i = 0; i < 8; ++i) {
        if (LegacyText::isAscii(fields[i]))
            continue;
        m_keys->scratch[i] = LegacyText::fromWindows1252(fields[i]).toUtf8();
        fields[i] = m_keys->scratch[i];
    }
}

void FileUsageReader::add(const char* base, const ConnectionTable::Row& row) {
    QByteArrayView f[8];
    fieldsOf(base, row, f);
    Keys& k = *m_keys;
    RowValues& v = m_usage.values.emplace_back();
    const QByteArrayView length = f[Field::FLength];
    if (const auto n = m_numbers.toInt(length)) {
        v.lengthInt = *n;
        v.has |= RowValues::LengthInt;
    }
    // An integer in ASCII reads as the same decimal.
    const auto decimal = (v.has & RowValues::LengthInt) && LegacyText::isAscii(length)
                             ? std::optional<double>(v.lengthInt)
                             : m_numbers.toFloat(length);
    const auto store = [&v](const std::optional<double>& value, double& to, std::uint8_t bit) {
        if (value) {
            to = *value;
            v.has |= bit;
        }
    };
    store(decimal, v.lengthDecimal, RowValues::LengthDecimal);
    store(m_numbers.toFloat(f[Field::FCost]), v.cost, RowValues::Cost);
    store(m_numbers.toFloat(f[Field::FSend]), v.send, RowValues::Send);
    store(m_numbers.toFloat(f[Field::FRecvd]), v.receive, RowValues::Receive);
    v.user = k.users.idOf(f[Field::FUser]);
    v.provider = k.providers.idOf(f[Field::FName]);
    v.month =
        k.months.idOf(k.monthReader.monthOf(f[Field::FDate], f[Field::FTime]), m_usage.months);
}

FileUsage FileUsageReader::take() {
    m_usage.users = storedKeys(m_keys->users);
    m_usage.providers = storedKeys(m_keys->providers);
    return std::move(m_usage);
}
