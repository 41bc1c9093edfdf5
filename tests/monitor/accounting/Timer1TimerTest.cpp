// The per-second accounting: elapsed time, the texts of both display modes,
// the rate line and the pending values.

#include "Timer1Timer.h"
#include "AccountingFixture.h"
#include "Converters.h"
#include "MachineValues.h"

namespace {

class Timer1TimerTest : public AccountingTest {
protected:
    void SetUp() override {
        PlainTariff();
        SetUser(QStringLiteral("Connection Fee"), QStringLiteral("0.35"));
        SetUser(QStringLiteral("Connected"), QStringLiteral("100"));
        SetUser(QStringLiteral("Connection Cost"), QStringLiteral("10.00"));
    }
    AccountingUpdate RunAt(double start, int h, int m, int s, int dayOffset = 0) {
        SetClock(h, m, s, dayOffset);
        return Timer1Timer(Context()).run(start);
    }
};

TEST_F(Timer1TimerTest, HalfAMinuteShowsZeroMinutesAndWritesPendingZero) {
    const AccountingUpdate u = RunAt(At(10, 0), 10, 0, 30);
    EXPECT_EQ(u.elapsedMinutes, 0);
    EXPECT_EQ(u.elapsed.seconds, 30);
    EXPECT_DOUBLE_EQ(u.cost, 1.35);
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("0"));
    EXPECT_EQ(Machine(kPendingCost), QStringLiteral("1.35"));
}

TEST_F(Timer1TimerTest, StartJustBeforeMidnightCountsOneSecondShort) {
    const AccountingUpdate u = RunAt(At(23, 59, 40), 0, 0, 11, 1);
    EXPECT_EQ(DayTime::TotalSeconds(u.elapsed), 30);
}

TEST_F(Timer1TimerTest, StartWithMillisecondsIsTimedFromTheWholeSecondNow) {
    const AccountingUpdate u = RunAt(At(10, 0) + 0.7 * DayTime::kSecond, 10, 2, 0);
    EXPECT_EQ(u.elapsed.minutes, 1);
    EXPECT_EQ(u.elapsed.seconds, 59);
}

TEST_F(Timer1TimerTest, ConnectionLongerThanADayIsTimedModuloOneDay) {
    const AccountingUpdate u = RunAt(At(10, 0), 10, 5, 0, 1);
    EXPECT_EQ(u.elapsedMinutes, 5);
}

TEST_F(Timer1TimerTest, TimeModeShowsMinutesEverywhere) {
    RunAt(At(10, 0), 10, 5, 7);
    EXPECT_EQ(view.title, QStringLiteral("Tollwatch (0:05)"));
    EXPECT_EQ(view.lines[1], QStringLiteral("This connection: 00:05:07"));
    EXPECT_EQ(view.trayHint, QStringLiteral("This connection: 0:05 (1:45)"));
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection time: 1:45"));
    EXPECT_FALSE(view.lineVisible[3]);
}

TEST_F(Timer1TimerTest, CostModeShowsCostBeforeMinutes) {
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    RunAt(At(10, 0), 10, 5, 0);
    EXPECT_EQ(view.title, QStringLiteral("Tollwatch ($5.35 / 0:05)"));
    EXPECT_EQ(view.lines[1], QStringLiteral("This connection: $5.35"));
    EXPECT_EQ(view.trayHint, QStringLiteral("This connection: $5.35 (0:05)"));
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection cost: $15.35"));
    EXPECT_EQ(view.lines[3], QStringLiteral("Total connection time: 1:45"));
    EXPECT_TRUE(view.lineVisible[3]);
}

TEST_F(Timer1TimerTest, DisplayModeIsReadAtEveryTick) {
    RunAt(At(10, 0), 10, 1, 0);
    EXPECT_EQ(view.title, QStringLiteral("Tollwatch (0:01)"));
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    RunAt(At(10, 0), 10, 2, 0);
    EXPECT_EQ(view.title, QStringLiteral("Tollwatch ($2.35 / 0:02)"));
}

TEST_F(Timer1TimerTest, CommaLocaleSeparatorsInTextsAndPendingCost) {
    fmt = TestFormats::svSE();
    fmt.timeSeparator = QLatin1Char('.');
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    const AccountingUpdate u = RunAt(At(10, 0), 10, 5, 0);
    EXPECT_EQ(Machine(kPendingCost), QStringLiteral("5,35"));
    EXPECT_NEAR(ParseDecimal(Machine(kPendingCost), fmt), u.cost, 0.01);
    EXPECT_TRUE(view.title.endsWith(QStringLiteral(" / 0.05)")));
}

TEST_F(Timer1TimerTest, RateLineIsGreyedUntilDataIsSent) {
    RunAt(At(10, 0), 10, 0, 2);
    EXPECT_FALSE(view.xferEnabled);
    EXPECT_EQ(view.xferText,
              QStringLiteral("Average transfer rate: send 0.00 kB/s, receive 0.00 kB/s"));
    counters = {2048 * 4, 1024 * 8};
    RunAt(At(10, 0), 10, 0, 4);
    EXPECT_TRUE(view.xferEnabled);
    EXPECT_EQ(view.xferText,
              QStringLiteral("Average transfer rate: send 2.00 kB/s, receive 2.00 kB/s"));
}

TEST_F(Timer1TimerTest, UnwritableStoreStillUpdatesTheDisplayAndIsReportedOnce) {
    store.setFailWrites(true);
    RunAt(At(10, 0), 10, 3, 0);
    RunAt(At(10, 0), 10, 3, 1);
    EXPECT_EQ(view.title, QStringLiteral("Tollwatch (0:03)"));
    ASSERT_EQ(events.texts().size(), 1);
    EXPECT_TRUE(
        events.texts()[0].startsWith(QStringLiteral("The settings file cannot be written")));
    store.setFailWrites(false);
    RunAt(At(10, 0), 10, 3, 2);
    EXPECT_EQ(events.texts().size(), 2);
    EXPECT_TRUE(
        events.texts()[1].startsWith(QStringLiteral("The settings file can be written again")));
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("3"));
}

// The session end reports such a total and starts it again; meanwhile it
// counts as nothing, and the connection is timed and guarded all the same.
TEST_F(Timer1TimerTest, TotalsThatAreNoNumbersCountAsZeroOnScreen) {
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("99999999999999999999"));
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("abc"));
    RunAt(At(10, 0), 10, 3, 0);
    EXPECT_EQ(view.lines[3], QStringLiteral("Total connection time: 0:03"));
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection cost: $3.35"));
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("3"));
}

// Connections the store could not take yet count in what is shown and in
// the pending values, which guard them against a crash as well.
TEST_F(Timer1TimerTest, KeptConnectionsCountOnScreenAndInThePendingValues) {
    kept.add(6, 2.5, true);
    SetClock(10, 3, 0);
    Timer1Timer(Context()).run(At(10, 0), kept);
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection time: 1:49"));
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("9"));
    EXPECT_EQ(Machine(kPendingCost), QStringLiteral("5.85"));
}

} // namespace
