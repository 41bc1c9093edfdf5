// The shifted form of the stored passwords: codes below the offset wrap
// modulo 256 and still come back, characters beyond Latin-1 survive, and the
// comparison of two stored forms stays case-sensitive.

#include "ShiftedText.h"

#include <gtest/gtest.h>

TEST(ShiftedTextTest, FormsWrapModulo256KeepTheirLengthAndComeBack) {
    const QString clear = QString::fromUtf8("\x01\x02"
                                            "Ab ÿ€") +
                          QChar(0xFF);
    const QString stored = ShiftedText::shift(clear);
    ASSERT_EQ(stored.size(), clear.size());
    EXPECT_EQ(stored.at(0).unicode(), 256 + 1 - ShiftedText::kOffset);
    EXPECT_EQ(stored.at(2).unicode(), 'A' - ShiftedText::kOffset);
    EXPECT_EQ(stored.at(6), QChar(0x20AC));
    EXPECT_EQ(ShiftedText::unshift(stored), clear);
    EXPECT_NE(ShiftedText::shift(QStringLiteral("secret")),
              ShiftedText::shift(QStringLiteral("Secret")));
    EXPECT_EQ(ShiftedText::shift(QString()), QString());
}
