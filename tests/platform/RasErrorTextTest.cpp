// The standard English RAS error texts.

#include "RasConstants.h"

#include <gtest/gtest.h>

TEST(RasErrorTextTest, KnowsTheStandardTextsOfEveryCodeFrom600To799) {
    EXPECT_EQ(rasErrorText(631), QStringLiteral("The port was disconnected by the user."));
    EXPECT_EQ(rasErrorText(676), QStringLiteral("The line is busy."));
    EXPECT_EQ(rasErrorText(678), QStringLiteral("There is no answer."));
    EXPECT_EQ(rasErrorText(680), QStringLiteral("There is no dial tone."));
    EXPECT_EQ(rasErrorText(600), QStringLiteral("An operation is pending."));
    EXPECT_EQ(rasErrorText(691).left(13), QStringLiteral("Access denied"));
    for (int code = 600; code <= 799; ++code) {
        const QString text = rasErrorText(code);
        EXPECT_TRUE(text.endsWith(QLatin1Char('.'))) << code;
        EXPECT_NE(text, rasErrorText(code == 600 ? 601 : code - 1)) << code;
    }
    EXPECT_TRUE(rasErrorText(599).isEmpty());
    EXPECT_TRUE(rasErrorText(800).isEmpty());
    EXPECT_TRUE(rasErrorText(0).isEmpty());
}
