#include "LegacyText.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace LegacyText {

namespace {

// 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed sequence at p (lead byte >= 0x80), 0 if none.
int sequenceLength(const unsigned char* p, const unsigned char* end) {
    const unsigned char c = p[0];
    const qsizetype left = end - p;
    if (c >= 0xC2 && c <= 0xDF)
        return left >= 2 && isContinuation(p[1]) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !isContinuation(p[1]) || !isContinuation(p[2]))
            return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0))
            return 0; // overlong, or a surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !isContinuation(p[1]) || !isContinuation(p[2]) || !isContinuation(p[3]))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] >= 0x90))
            return 0; // overlong, or beyond U+10FFFF
        return 4;
    }
    return 0;
}

// The length of the ASCII run at the start of bytes, sixteen bytes a step.
qsizetype asciiPrefix(const char* p, qsizetype size) {
    qsizetype i = 0;
#ifdef __SSE2__
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (_mm_movemask_epi8(block) != 0)
            break;
    }
#endif
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < size && static_cast<unsigned char>(p[i]) < 0x80)
        ++i;
    return i;
}

} // namespace

bool isUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    p += asciiPrefix(bytes.data(), bytes.size());
    while (p < end) {
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int length = sequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

bool isAscii(QByteArrayView bytes) {
    return asciiPrefix(bytes.data(), bytes.size()) == bytes.size();
}

QString fromWindows1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* q = out.data();
    for (char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        *q++ = QChar(c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : char16_t(c));
    }
    return out;
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kHighControls[i] == u)
                mapped = char(0x80 + i);
        out += mapped;
    }
    return out;
}

QString decode(QByteArrayView bytes) {
    return isUtf8(bytes) ? QString::fromUtf8(bytes) : fromWindows1252(bytes);
}

QByteArray toUtf8(QByteArrayView bytes) {
    return isUtf8(bytes) ? bytes.toByteArray() : fromWindows1252(bytes).toUtf8();
}

} // namespace LegacyText
