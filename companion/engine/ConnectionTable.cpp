#include "ConnectionTable.h"

#include "LegacyText.h"
#include "LogLines.h"

#include <algorithm>
#include <cstring>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// The longest line a row can hold: its offsets are 32 bits.
constexpr qsizetype kMaxLine = std::numeric_limits<std::uint32_t>::max();

struct AbnormalExit {
    QByteArrayView utf8;
    QByteArray windows1252;
};

// Counts a line with fewer than seven ";".
void countShortLine(QByteArrayView line, bool legacy, const AbnormalExit& abnormal,
                    RunCounters& counters) {
    const QByteArrayView text = legacy ? QByteArrayView(abnormal.windows1252) : abnormal.utf8;
    if (!text.isEmpty() && line.startsWith(text))
        ++counters.abnormalTerminations;
    else
        ++counters.invalidEntries;
}

} // namespace

namespace {

// The lines of a content, each with its first seven ";", handed to a
// callback. The bytes that matter (";", LF, CR) are found sixteen at a time.
class LineCutter {
public:
    LineCutter(const char* begin, const char* end) : m_begin(begin), m_end(end) {}

    template <typename Visit> void run(Visit&& visit) {
        const char* p = m_begin;
#ifdef __SSE2__
        const __m128i semi = _mm_set1_epi8(';');
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i cr = _mm_set1_epi8('\r');
        while (m_end - p >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i hits =
                _mm_or_si128(_mm_cmpeq_epi8(block, semi),
                             _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr)));
            unsigned mask = unsigned(_mm_movemask_epi8(hits));
            const char* base = p;
            p += 16;
            while (mask != 0) {
                const char* at = base + __builtin_ctz(mask);
                mask &= mask - 1;
                if (at < m_skipUntil)
                    continue; // the LF of a CR LF already taken
                special(at, visit);
            }
        }
#endif
        for (; p < m_end; ++p)
            if ((*p == ';' || *p == '\n' || *p == '\r') && p >= m_skipUntil)
                special(p, visit);
        if (m_line < m_end)
            visit(m_line, m_end, m_semis, m_found);
    }

private:
    template <typename Visit> void special(const char* at, Visit& visit) {
        if (*at == ';') {
            if (m_found < 7)
                m_semis[m_found++] = std::uint32_t(at - m_line);
            return;
        }
        visit(m_line, at, m_semis, m_found);
        m_found = 0;
        m_line = at + 1;
        if (*at == '\r' && at + 1 < m_end && at[1] == '\n') {
            m_line = at + 2;
            m_skipUntil = at + 2;
        }
    }

    const char* m_begin;
    const char* m_end;
    const char* m_line = m_begin;
    const char* m_skipUntil = m_begin;
    std::uint32_t m_semis[7] = {};
    int m_found = 0;
};

} // namespace

ConnectionTable::Chunk ConnectionTable::scan(QByteArray content, QByteArrayView abnormalExit,
                                             RunCounters& counters, const RowVisitor& visitRow) {
    Chunk chunk;
    chunk.content = std::move(content);
    const AbnormalExit abnormal{abnormalExit,
                                LegacyText::toWindows1252(QString::fromUtf8(abnormalExit))};
    // A content that is UTF-8 as a whole is so in every line.
    const bool allUtf8 = LegacyText::isUtf8(chunk.content);
    const char* const base = chunk.content.constData();
    const char* const end = base + chunk.content.size();
    const char* begin = base + (LogLines::hasByteOrderMark(chunk.content) ? 3 : 0);
    chunk.rows.reserve(size_t(chunk.content.size() / 56 + 16));
    LineCutter(begin, end)
        .run([&](const char* line, const char* stop, const std::uint32_t* semis, int found) {
            const QByteArrayView text(line, stop - line);
            const bool legacy = !allUtf8 && !LegacyText::isUtf8(text);
            if (found < 7 || line - base > kMaxLine || text.size() > kMaxLine) {
                countShortLine(text, legacy, abnormal, counters);
                return;
            }
            Row row{std::uint32_t(line - base), std::uint32_t(text.size()), {}, legacy};
            std::copy(semis, semis + 7, row.semis);
            chunk.rows.push_back(row);
            if (visitRow)
                visitRow(base, row);
        });
    return chunk;
}

void ConnectionTable::clear() {
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_firstRows.clear();
    m_rowCount = 0;
}

void ConnectionTable::append(Chunk chunk) {
    m_firstRows.push_back(m_rowCount);
    m_rowCount += int(chunk.rows.size());
    m_chunks.push_back(std::move(chunk));
}

ConnectionTable::Place ConnectionTable::locate(int row) const {
    const auto after = std::upper_bound(m_firstRows.begin(), m_firstRows.end(), row);
    const size_t index = size_t(after - m_firstRows.begin()) - 1;
    const Chunk& chunk = m_chunks[index];
    return {&chunk, &chunk.rows[size_t(row - m_firstRows[index])]};
}

QByteArrayView ConnectionTable::field(int row, int logField) const {
    const Place place = locate(row);
    return place.chunk->field(*place.row, logField);
}

bool ConnectionTable::isLegacy(int row) const {
    return locate(row).row->legacy;
}

QString ConnectionTable::decoded(const Place& place, int logField) const {
    const QByteArrayView raw = place.chunk->field(*place.row, logField);
    return place.row->legacy ? LegacyText::fromWindows1252(raw) : QString::fromUtf8(raw);
}

QString ConnectionTable::text(int row, int column) const {
    const Place place = locate(row);
    switch (column) {
    case User:
        return decoded(place, FUser);
    case Connection:
        return decoded(place, FDate) + QLatin1Char(' ') + decoded(place, FTime);
    case ConnectedTo:
        return decoded(place, FName);
    default:
        // Length, Cost, Send and Recvd are log fields 4 to 7.
        return decoded(place, column + 1);
    }
}

void ConnectionTable::appendUtf8(const Place& place, int logField, QByteArray& out) const {
    const QByteArrayView raw = place.chunk->field(*place.row, logField);
    if (!place.row->legacy || LegacyText::isAscii(raw))
        out.append(raw);
    else
        out.append(LegacyText::fromWindows1252(raw).toUtf8());
}

void ConnectionTable::utf8(int row, int column, QByteArray& out) const {
    const Place place = locate(row);
    if (!place.row->legacy) {
        // The bytes of the line as they are, copied without growing out.
        if (column == Connection) {
            const QByteArrayView date = place.chunk->field(*place.row, FDate);
            const QByteArrayView time = place.chunk->field(*place.row, FTime);
            out.resize(date.size() + 1 + time.size());
            char* to = out.data();
            std::memcpy(to, date.data(), size_t(date.size()));
            to[date.size()] = ' ';
            std::memcpy(to + date.size() + 1, time.data(), size_t(time.size()));
            return;
        }
        const int field = column == User ? FUser : column == ConnectedTo ? FName : column + 1;
        const QByteArrayView bytes = place.chunk->field(*place.row, field);
        out.resize(bytes.size());
        std::memcpy(out.data(), bytes.data(), size_t(bytes.size()));
        return;
    }
    out.clear();
    switch (column) {
    case User:
        appendUtf8(place, FUser, out);
        return;
    case Connection:
        appendUtf8(place, FDate, out);
        out.append(' ');
        appendUtf8(place, FTime, out);
        return;
    case ConnectedTo:
        appendUtf8(place, FName, out);
        return;
    default:
        appendUtf8(place, column + 1, out);
        return;
    }
}
