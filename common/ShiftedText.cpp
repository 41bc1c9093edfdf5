#include "ShiftedText.h"

namespace {

QString moved(const QString& text, int by) {
    QString out = text;
    for (QChar& c : out) {
        const int code = c.unicode();
        if (code < 256)
            c = QChar(ushort((code + by + 256) % 256));
    }
    return out;
}

} // namespace

QString ShiftedText::shift(const QString& clear) {
    return moved(clear, -kOffset);
}

QString ShiftedText::unshift(const QString& stored) {
    return moved(stored, kOffset);
}
