// The totals and the three usage tables: conversion rules per pass, order of
// first appearance, key cutting, month keys and their order.

#include "CompanionTestSupport.h"

#include <gtest/gtest.h>

using CompanionTest::compile;

namespace {
QStringList keys(const QList<UsageEntry>& entries) {
    QStringList out;
    for (const UsageEntry& e : entries)
        out.append(e.key);
    return out;
}

QString row(const QString& user, const QString& date, const QString& length, const QString& cost,
            const QString& name = "P", const QString& send = "1,00",
            const QString& receive = "2,00") {
    return QStringList{user, date, "10:00:00", length, cost, send, receive, name}.join(';');
}
} // namespace

TEST(UsageTotals, StopAtTheFirstFieldThatDoesNotConvert) {
    const auto c = compile({row("a", "1999-03-01", "10", "1,00", "P", "2,00", "3,00"),
                            row("a", "1999-03-01", "x", "5,00"), row("a", "1999-03-01", "5", "y"),
                            row("a", "1999-03-01", "5", "1,00", "P", "z"),
                            row("a", "1999-03-01", "5", "1,00", "P", "1,00", "w"),
                            row("a", "1999-03-01", "5", "1,00", "P", "1,00", "700,00")});
    const UsageTotals& t = c.tables.totals();
    EXPECT_EQ(t.minutes, 30);
    EXPECT_DOUBLE_EQ(t.cost, 4.0);
    EXPECT_DOUBLE_EQ(t.sendSum, 4.0);
    EXPECT_DOUBLE_EQ(t.receiveSum, 703.0);
    EXPECT_DOUBLE_EQ(t.highestReceive, 700.0);
    EXPECT_DOUBLE_EQ(t.lowestReceive, 3.0);
    // The per-user pass counts the rows whose Length or Cost fail, and keeps
    // the minutes of the row whose Cost failed.
    EXPECT_EQ(c.counters.invalidEntries, 2);
    ASSERT_EQ(c.tables.users().size(), 1);
    EXPECT_DOUBLE_EQ(c.tables.users()[0].minutes, 30.0);
    EXPECT_DOUBLE_EQ(c.tables.users()[0].cost, 4.0);
}

TEST(UsageTotals, LowestReceiveRateStartsAt600) {
    const auto high = compile({row("a", "1999-03-01", "1", "1,00", "P", "1,00", "650,00"),
                               row("a", "1999-03-01", "1", "1,00", "P", "1,00", "600,00")});
    EXPECT_DOUBLE_EQ(high.tables.totals().lowestReceive, 600.0);
    EXPECT_DOUBLE_EQ(high.tables.totals().highestReceive, 650.0);
    const auto none = compile({row("a", "1999-03-01", "1", "1,00", "P", "1,00", "-")});
    EXPECT_DOUBLE_EQ(none.tables.totals().lowestReceive, 600.0);
    EXPECT_DOUBLE_EQ(none.tables.totals().highestReceive, 0.0);
}

TEST(UsageTables, KeepTheOrderOfFirstAppearanceAndCompareWithCase) {
    const auto c = compile({row("anna", "1999-03-01", "1", "1,00", "Office"),
                            row("Anna", "1999-03-01", "2", "1,00", "home"),
                            row("bob", "1999-03-01", "4", "1,00", "Office"),
                            row("anna", "1999-03-01", "8", "1,00", "Home")});
    EXPECT_EQ(keys(c.tables.users()), QStringList({"anna", "Anna", "bob"}));
    EXPECT_EQ(keys(c.tables.providers()), QStringList({"Office", "home", "Home"}));
    EXPECT_DOUBLE_EQ(c.tables.users()[0].minutes, 9.0);
    EXPECT_DOUBLE_EQ(c.tables.providers()[0].minutes, 5.0);
}

TEST(UsageTables, CutKeysToSeventyCharactersAndMatchThemCut) {
    const QString base = QString(68, 'x') + u8"åä";
    const auto c = compile({row("u", "1999-03-01", "1", "1,00", base + "one"),
                            row("u", "1999-03-01", "2", "1,00", base + u8"two är"),
                            row("u", "1999-03-01", "4", "1,00", base.left(69))});
    ASSERT_EQ(c.tables.providers().size(), 2);
    EXPECT_EQ(c.tables.providers()[0].key, base);
    EXPECT_DOUBLE_EQ(c.tables.providers()[0].minutes, 3.0);
    EXPECT_EQ(c.tables.providers()[1].key, base.left(69));
}

TEST(UsageTables, ReadLengthAsDecimalPerUserAndAsIntegerPerMonth) {
    const auto c =
        compile({row("a", "1999-03-01", "12,5", "1,00"), row("a", "1999-03-01", "10", "2,00")});
    EXPECT_DOUBLE_EQ(c.tables.users()[0].minutes, 22.5);
    EXPECT_DOUBLE_EQ(c.tables.providers()[0].minutes, 22.5);
    ASSERT_EQ(c.tables.months().size(), 1);
    EXPECT_DOUBLE_EQ(c.tables.months()[0].minutes, 10.0);
    EXPECT_DOUBLE_EQ(c.tables.months()[0].cost, 2.0); // the row is skipped silently
    EXPECT_EQ(c.tables.totals().minutes, 10);
    EXPECT_EQ(c.counters.invalidEntries, 0);
}

TEST(UsageTables, SortMonthsByKeyWithUnreadableDatesUnderErr) {
    const auto c =
        compile({row("a", "1999-02-03", "1", "1,00"), row("a", "1998-12-31", "2", "1,00"),
                 row("a", "31.12.1998", "4", "1,00"), row("a", "1999-01-15", "8", "1,00"),
                 row("a", "1999-02-28", "16", "1,00")});
    EXPECT_EQ(keys(c.tables.months()), QStringList({"199812", "199901", "199902", "err"}));
    EXPECT_DOUBLE_EQ(c.tables.months()[2].minutes, 17.0);
    EXPECT_DOUBLE_EQ(c.tables.months()[3].minutes, 4.0);
}
