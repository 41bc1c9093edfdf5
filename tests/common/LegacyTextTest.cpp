// Text written by older programs in Windows-1252: told apart from UTF-8 and
// read as what it says.

#include "LegacyText.h"

#include <QList>

#include <gtest/gtest.h>

TEST(LegacyText, TellsWellFormedUtf8FromEverythingElse) {
    const QList<std::pair<QByteArray, bool>> cases = {
        {"", true},
        {"plain ascii, longer than eight bytes", true},
        {"J\xc3\xb6rg", true},
        {"\xe2\x82\xac 3", true},
        {"\xf0\x9f\x98\x80", true},
        {"J\xf6rg", false},
        {"caf\xe9 and more ascii after it", false},
        {"\xc0\xaf", false},         // overlong "/"
        {"\xe0\x80\xaf", false},     // overlong, three bytes
        {"\xed\xa0\x80", false},     // a surrogate
        {"\xf4\x90\x80\x80", false}, // beyond U+10FFFF
        {"\xc3", false},             // cut short
        {"abcdefg\xc3", false},
        {"\x80", false}};
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(LegacyText::isUtf8(bytes), valid) << bytes.toHex().toStdString();
}

TEST(LegacyText, ReadsWindows1252AndWritesItBack) {
    EXPECT_EQ(LegacyText::fromWindows1252("J\xf6rg \x80 \x9f\x81"),
              QString::fromUtf8("J\xc3\xb6rg \xe2\x82\xac \xc5\xb8\xc2\x81"));
    EXPECT_EQ(LegacyText::decode("J\xf6rg"), QString::fromUtf8("J\xc3\xb6rg"));
    EXPECT_EQ(LegacyText::decode("J\xc3\xb6rg"), QString::fromUtf8("J\xc3\xb6rg"));
    EXPECT_EQ(LegacyText::toUtf8("\xc5sa"), QByteArray("\xc3\x85sa"));
    EXPECT_EQ(
        LegacyText::toWindows1252(QString::fromUtf8("Otill\xc3\xa5tet \xe2\x82\xac \xe2\x98\x83")),
        QByteArray("Otill\xe5tet \x80 ?"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(LegacyText::toWindows1252(LegacyText::fromWindows1252(all)), all);
}
