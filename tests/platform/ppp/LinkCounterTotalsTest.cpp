// Per-link counters turned into totals that never go down.

#include "LinkCounterTotals.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkCounterTotals, TotalsGrowByEachLinksIncreaseAndKeepEndedLinks) {
    LinkCounterTotals totals;
    totals.update(QStringLiteral("ppp0#7"), 100, 1000);
    totals.update(QStringLiteral("ppp1#8"), 1, 2);
    totals.update(QStringLiteral("ppp0#7"), 130, 1100);
    EXPECT_EQ(totals.totals().sent, 131u);
    EXPECT_EQ(totals.totals().received, 1102u);
    // ppp0#7 is gone: not reading it again changes nothing.
    totals.update(QStringLiteral("ppp1#8"), 1, 2);
    EXPECT_EQ(totals.totals().sent, 131u);
    EXPECT_EQ(totals.totals().received, 1102u);
}

TEST(LinkCounterTotals, ACounterThatGoesDownStartedOver) {
    LinkCounterTotals totals;
    totals.update(QStringLiteral("l"), 500, 500);
    totals.update(QStringLiteral("l"), 20, 700); // one direction down is enough
    EXPECT_EQ(totals.totals().sent, 520u);
    EXPECT_EQ(totals.totals().received, 1200u);
    totals.update(QStringLiteral("l"), 25, 705);
    EXPECT_EQ(totals.totals().sent, 525u);
    EXPECT_EQ(totals.totals().received, 1205u);
    const std::uint64_t big = std::uint64_t(1) << 40; // beyond 32 bits
    totals.update(QStringLiteral("l"), big, big);
    EXPECT_EQ(totals.totals().sent, big + 500u);
}

} // namespace
