#pragma once
// The lightly shifted form in which the administrator password ("PW") and the
// mail password ("POP PW") are kept in the settings store. It keeps a casual
// reader from seeing them; it is not encryption.

#include <QString>

namespace ShiftedText {

// Every character code below 256 is lowered by this offset, modulo 256.
// Stored passwords are readable only with the same offset: never change it.
constexpr int kOffset = 5;

// The stored form of clear: same length, each Latin-1 code lowered by the
// offset modulo 256. Characters beyond Latin-1 had no code in the
// single-byte form and are kept as they are, so the form stays reversible.
QString shift(const QString& clear);
// The clear text of a stored form (the mail password, to show it again).
QString unshift(const QString& stored);

} // namespace ShiftedText
