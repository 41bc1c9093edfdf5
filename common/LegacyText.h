#pragma once
// Text of files that older programs wrote in the Windows code page 1252
// rather than in UTF-8 (connection logs, registry files): a line or a file
// that is valid UTF-8 is read as UTF-8, anything else as Windows-1252, so
// "J\xF6rg" reads as "Jörg" and never as a replacement character.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace LegacyText {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF); pure ASCII is checked eight bytes at a time.
bool isUtf8(QByteArrayView bytes);
// True when bytes are all below 0x80 (the same text in both encodings).
bool isAscii(QByteArrayView bytes);

// Windows-1252 to Unicode; the five bytes the code page leaves undefined
// become the control characters of the same value, as Windows maps them.
QString fromWindows1252(QByteArrayView bytes);
// Unicode to Windows-1252; a character the code page lacks becomes "?".
QByteArray toWindows1252(const QString& text);

// UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString decode(QByteArrayView bytes);
// The same text as UTF-8 bytes: bytes themselves when already valid UTF-8.
QByteArray toUtf8(QByteArrayView bytes);

} // namespace LegacyText
