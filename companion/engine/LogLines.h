#pragma once
// Walks the lines of a log file's content without copying them: a line ends
// at CR LF, at a lone LF or at a lone CR; a leading UTF-8 byte-order mark is
// not part of the first line.

#include <QByteArrayView>

namespace LogLines {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF", 3);

inline bool hasByteOrderMark(QByteArrayView content) {
    return content.startsWith(kByteOrderMark);
}

// Calls visit(line) for every line in order; the empty piece after a final
// line end is no line.
template <typename Visit> void forEach(QByteArrayView content, Visit&& visit) {
    const char* p = content.data();
    const char* end = p + content.size();
    if (hasByteOrderMark(content))
        p += kByteOrderMark.size();
    while (p < end) {
        const char* q = p;
        while (q < end && *q != '\n' && *q != '\r')
            ++q;
        visit(QByteArrayView(p, q - p));
        if (q < end && *q == '\r' && q + 1 < end && q[1] == '\n')
            ++q;
        p = q + 1;
    }
}

} // namespace LogLines
