// The tariff: billed minutes, the three blocks with their bounds, cheap days
// and holidays, fee and minimum.

#include "CostModel.h"
#include "AccountingFixture.h"
#include "Converters.h"
#include "DayTime.h"

#include <cmath>

namespace {

class CostModelTest : public AccountingTest {
protected:
    void SetUp() override { PlainTariff(); }
    // end earlier than start crossed midnight: the caller's 23:59:59 is added.
    double Cost(double start, double end) {
        return model.ConnectionCost(start, DayTime::AcrossMidnight(start, end));
    }
    CostModel model{settings, fmt, clock};
};

TEST_F(CostModelTest, BilledMinutesCountStartedMinutesInWholeSeconds) {
    EXPECT_EQ(CostModel::BilledMinutes(At(0, 0, 30)), 1);
    EXPECT_EQ(CostModel::BilledMinutes(At(0, 1, 0)), 1);
    EXPECT_EQ(CostModel::BilledMinutes(At(0, 1, 1)), 2);
    EXPECT_EQ(CostModel::BilledMinutes(At(2, 0, 0)), 120);
    EXPECT_EQ(CostModel::BilledMinutes(0.999 * DayTime::kSecond), 0);
    EXPECT_EQ(CostModel::BilledMinutes(-At(0, 2, 10)), 3);
    EXPECT_EQ(CostModel::BilledMinutes(1.0 + At(0, 5, 0)), 5);
}

TEST_F(CostModelTest, InPeriodIncludesBothEndsAndDropsWholeDays) {
    EXPECT_TRUE(CostModel::InPeriod(At(8, 0), At(0, 0), At(8, 0)));
    EXPECT_TRUE(CostModel::InPeriod(At(8, 0), At(8, 0), At(18, 0)));
    EXPECT_FALSE(CostModel::InPeriod(At(8, 0, 1), At(0, 0), At(8, 0)));
    EXPECT_TRUE(CostModel::InPeriod(1.0 + At(7, 0), At(0, 0), At(8, 0)));
    EXPECT_TRUE(CostModel::InPeriod(At(8, 0) + 0.4 * DayTime::kSecond, At(0, 0), At(8, 0)));
}

TEST_F(CostModelTest, ShortCallInNormalHoursCostsOneMinuteAndTheFee) {
    SetUser(QStringLiteral("Connection Fee"), QStringLiteral("0.35"));
    EXPECT_DOUBLE_EQ(Cost(At(10, 0), At(10, 0, 30)), 1.35);
    SetUser(QStringLiteral("Minimum cost"), QStringLiteral("2.50"));
    EXPECT_DOUBLE_EQ(Cost(At(10, 0), At(10, 0, 30)), 2.50);
}

TEST_F(CostModelTest, CallAcrossTheMorningBoundBillsOneCheapAndOneNormalMinute) {
    EXPECT_DOUBLE_EQ(Cost(At(7, 59, 30), At(8, 0, 30)), 0.10 + 1.00);
}

TEST_F(CostModelTest, LateEveningCallAcrossMidnightBillsNinetyCheapMinutes) {
    EXPECT_NEAR(Cost(At(23, 0), At(0, 30)), 90 * 0.10, 1e-9);
}

TEST_F(CostModelTest, CallAcrossTheEveningBoundBillsBothPeriods) {
    EXPECT_NEAR(Cost(At(17, 0), At(19, 0)), 60 * 1.00 + 60 * 0.10, 1e-9);
}

TEST_F(CostModelTest, MorningStartEndingInTheEveningBillsAllThreePeriods) {
    EXPECT_NEAR(Cost(At(7, 0), At(19, 0)), 60 * 0.10 + 600 * 1.00 + 60 * 0.10, 1e-9);
}

TEST_F(CostModelTest, StartOnTheMorningBoundEndingAfterMidnightIsPricedAsNormalStart) {
    // Normal hours up to 18:00, then cheap to the end; not all cheap.
    EXPECT_NEAR(Cost(At(8, 0), At(1, 0)), 360 * 0.10 + 600 * 1.00 + 60 * 0.10, 1e-9);
}

TEST_F(CostModelTest, StartOnTheEveningBoundIsPricedAsEveningStart) {
    // Ending at 09:00 the next morning: cheap to 08:00, one normal hour.
    EXPECT_NEAR(Cost(At(18, 0), At(9, 0)), 360 * 0.10 + 480 * 0.10 + 60 * 1.00, 1e-9);
}

TEST_F(CostModelTest, EveningStartEndingInNormalHoursNextDay) {
    EXPECT_NEAR(Cost(At(23, 0), At(9, 0)), 60 * 0.10 + 480 * 0.10 + 60 * 1.00, 1e-9);
}

TEST_F(CostModelTest, ConnectionOfMoreThanADayDropsTheWholeDays) {
    EXPECT_NEAR(model.ConnectionCost(At(10, 0), 1.0 + At(10, 5)), 5 * 1.00, 1e-9);
}

TEST_F(CostModelTest, MovedBoundsAreUsedAndUnreadableBoundsFallBackToDefaults) {
    SetUser(QStringLiteral("Cheap Before"), QStringLiteral("09:30"));
    SetUser(QStringLiteral("Cheap after"), QStringLiteral("17-00"));
    EXPECT_DOUBLE_EQ(model.CheapBeforeTime(), At(9, 30));
    EXPECT_DOUBLE_EQ(model.CheapAfterTime(), At(17, 0));
    EXPECT_NEAR(Cost(At(9, 0), At(10, 0)), 30 * 0.10 + 30 * 1.00, 1e-9);

    SetUser(QStringLiteral("Cheap Before"), QStringLiteral("soon"));
    SetUser(QStringLiteral("Cheap after"), QStringLiteral("25.00"));
    EXPECT_DOUBLE_EQ(model.CheapBeforeTime(), At(8, 0));
    EXPECT_DOUBLE_EQ(model.CheapAfterTime(), At(18, 0));
}

TEST_F(CostModelTest, CheapDayBillsEveryMinuteAtTheCheapDayRate) {
    SetClock(12, 0, 0, 3); // Saturday
    SetUser(QStringLiteral("SatCheap"), QStringLiteral("true"));
    // One-rate mode: the cheap-day rate is "Standard Rate".
    EXPECT_NEAR(Cost(At(17, 0), At(19, 0)), 120 * 1.00, 1e-9);
    SetUser(QStringLiteral("One rate"), QStringLiteral("false"));
    SetUser(QStringLiteral("Weekend Rate"), QStringLiteral("0.05"));
    EXPECT_NEAR(Cost(At(17, 0), At(19, 0)), 120 * 0.05, 1e-9);
    // Without a weekend rate the cheap rate stands in.
    store.deleteValue(RegRoot::CurrentUser, kSettingsKey, QStringLiteral("Weekend Rate"));
    EXPECT_NEAR(Cost(At(17, 0), At(19, 0)), 120 * 0.10, 1e-9);
}

TEST_F(CostModelTest, CheapDayFlagsApplyOnlyOnTheirOwnDay) {
    SetUser(QStringLiteral("One rate"), QStringLiteral("false"));
    SetUser(QStringLiteral("Weekend Rate"), QStringLiteral("0.05"));
    SetUser(QStringLiteral("SatCheap"), QStringLiteral("true"));
    SetUser(QStringLiteral("SunCheap"), QStringLiteral("yes"));
    SetClock(12, 0, 0, 2); // Friday
    EXPECT_DOUBLE_EQ(model.NormalRate(), 1.00);
    SetClock(12, 0, 0, 4); // Sunday
    EXPECT_DOUBLE_EQ(model.NormalRate(), 0.05);
    EXPECT_DOUBLE_EQ(model.CheapRate(), 0.05);
    SetUser(QStringLiteral("FriCheap"), QStringLiteral("true"));
    SetClock(12, 0, 0, 2);
    EXPECT_DOUBLE_EQ(model.NormalRate(), 0.05);
}

TEST_F(CostModelTest, CheapDayIsJudgedByTodayNotByTheStartDay) {
    SetUser(QStringLiteral("One rate"), QStringLiteral("false"));
    SetUser(QStringLiteral("Weekend Rate"), QStringLiteral("0.05"));
    SetUser(QStringLiteral("SatCheap"), QStringLiteral("true"));
    SetClock(0, 30, 0, 3); // Saturday, a call that began on Friday at 17:00
    EXPECT_NEAR(Cost(At(17, 0), At(0, 30)), (420 + 30) * 0.05, 1e-9);
}

TEST_F(CostModelTest, HolidaysRecurEveryYearAndNeedANonEmptyText) {
    SetUser(QStringLiteral("One rate"), QStringLiteral("false"));
    SetUser(QStringLiteral("Weekend Rate"), QStringLiteral("0.05"));
    EXPECT_FALSE(model.IsHoliday());
    EXPECT_FALSE(store.keyExists(RegRoot::CurrentUser, kHolidaysKey));

    clock.set(QDateTime(QDate(2031, 12, 24), QTime(10, 0)));
    store.writeValue(RegRoot::CurrentUser, kHolidaysKey, QStringLiteral("1224"),
                     RegValue::fromString(QStringLiteral("Christmas Eve")));
    EXPECT_TRUE(model.IsHoliday());
    EXPECT_NEAR(Cost(At(10, 0), At(10, 10)), 10 * 0.05, 1e-9);

    store.writeValue(RegRoot::CurrentUser, kHolidaysKey, QStringLiteral("0105"),
                     RegValue::fromString(QString()));
    clock.set(QDateTime(QDate(2027, 1, 5), QTime(10, 0)));
    EXPECT_FALSE(model.IsHoliday());
    clock.set(QDateTime(QDate(2027, 2, 24), QTime(10, 0)));
    EXPECT_FALSE(model.IsHoliday());
}

TEST_F(CostModelTest, FeeIsAddedOnlyWhenPositive) {
    SetUser(QStringLiteral("Connection Fee"), QStringLiteral("0"));
    EXPECT_NEAR(Cost(At(10, 0), At(10, 3)), 3.0, 1e-9);
    SetUser(QStringLiteral("Connection Fee"), QStringLiteral("-1.50"));
    EXPECT_NEAR(Cost(At(10, 0), At(10, 3)), 3.0, 1e-9);
    SetUser(QStringLiteral("Connection Fee"), QStringLiteral("0.25"));
    EXPECT_NEAR(Cost(At(10, 0), At(10, 3)), 3.25, 1e-9);
}

TEST_F(CostModelTest, MinimumAboveThePriceIsReturnedEvenForZeroMinutes) {
    SetUser(QStringLiteral("Minimum cost"), QStringLiteral("0.75"));
    EXPECT_DOUBLE_EQ(Cost(At(10, 0), At(10, 0)), 0.75);
    EXPECT_NEAR(Cost(At(10, 0), At(10, 3)), 3.0, 1e-9);
}

TEST_F(CostModelTest, MissingTariffUsesTheModelsDefaults) {
    MemoryRegistryStore empty;
    Settings emptySettings(empty);
    CostModel defaults(emptySettings, fmt, clock);
    // 1.00 a minute in normal hours, the fee 0.35.
    EXPECT_NEAR(defaults.ConnectionCost(At(10, 0), At(10, 2)), 2.35, 1e-9);
    EXPECT_DOUBLE_EQ(defaults.CheapRate(), 0.10);
    EXPECT_DOUBLE_EQ(defaults.CheapDayRate(), 0.20);
}

TEST_F(CostModelTest, RatesAreReadAtEveryComputation) {
    EXPECT_NEAR(Cost(At(10, 0), At(10, 2)), 2.0, 1e-9);
    SetUser(QStringLiteral("Standard Rate"), QStringLiteral("3"));
    EXPECT_NEAR(Cost(At(10, 0), At(10, 2)), 6.0, 1e-9);
}

TEST_F(CostModelTest, RatesWithEitherSeparatorReadTheSameUnderACommaLocale) {
    fmt = TestFormats::svSE();
    SetUser(QStringLiteral("Standard Rate"), QStringLiteral("0,50"));
    SetUser(QStringLiteral("Cheap Rate"), QStringLiteral("0.05"));
    EXPECT_NEAR(Cost(At(17, 50), At(18, 10)), 10 * 0.50 + 10 * 0.05, 1e-9);
}

TEST_F(CostModelTest, RateThatIsNoNumberReachesTheCaller) {
    SetUser(QStringLiteral("Standard Rate"), QStringLiteral("cheap"));
    EXPECT_THROW(Cost(At(10, 0), At(10, 2)), ConversionError);
    SetUser(QStringLiteral("Standard Rate"), QStringLiteral("1"));
    SetUser(QStringLiteral("Minimum cost"), QStringLiteral("x"));
    EXPECT_THROW(Cost(At(10, 0), At(10, 2)), ConversionError);
}

// Hears which amounts were unusable, as the monitor's problem reports do.
class RecordingWatch : public AmountWatch {
public:
    QStringList unusable;
    QStringList usable;
    void unusableAmount(const QString& name, const QString& text) override {
        unusable << name + QStringLiteral(" = ") + text;
    }
    void amountUsable(const QString& name) override { usable << name; }
};

// With a watch, an amount that gives no finite price counts as 0 and the rest
// of the tariff prices the call.
TEST_F(CostModelTest, UnusableAmountsCountAsZeroAndTheWatchHearsOfThem) {
    RecordingWatch watch;
    const CostModel watched(settings, fmt, clock, &watch);
    SetUser(QStringLiteral("Connection Fee"), QStringLiteral("0.35"));
    SetUser(QStringLiteral("Standard Rate"), QStringLiteral("1e308"));
    // 17:00 to 19:00: 60 normal minutes at the huge rate, 60 cheap at 0.10.
    const double cost = watched.ConnectionCost(At(17, 0), At(19, 0));
    EXPECT_NEAR(cost, 60 * 0.10 + 0.35, 1e-9);
    EXPECT_TRUE(watch.unusable.contains(QStringLiteral("Standard Rate = 1e308")));
    EXPECT_TRUE(watch.usable.contains(QStringLiteral("Cheap Rate")));

    for (const char* text : {"abc", "1e400", "inf", "nan", "2e301"}) {
        watch.unusable.clear();
        SetUser(QStringLiteral("Minimum cost"), QString::fromLatin1(text));
        EXPECT_NEAR(watched.ConnectionCost(At(17, 0), At(19, 0)), 60 * 0.10 + 0.35, 1e-9) << text;
        EXPECT_TRUE(watch.unusable.contains(QStringLiteral("Minimum cost = ") + text)) << text;
    }
    // The largest usable rate still gives a finite price for a whole day.
    SetUser(QStringLiteral("Standard Rate"), QStringLiteral("1e300"));
    SetUser(QStringLiteral("Cheap Rate"), QStringLiteral("1e300"));
    SetUser(QStringLiteral("Connection Fee"), QStringLiteral("1e300"));
    EXPECT_TRUE(std::isfinite(watched.ConnectionCost(At(0, 0), At(23, 59, 59))));
    // On a cheap day without a weekend rate, a bad cheap rate is named as such.
    SetUser(QStringLiteral("One rate"), QStringLiteral("false"));
    SetUser(QStringLiteral("SatCheap"), QStringLiteral("true"));
    SetUser(QStringLiteral("Cheap Rate"), QStringLiteral("lots"));
    SetClock(10, 0, 0, 3);
    watch.unusable.clear();
    watched.ConnectionCost(At(10, 0), At(10, 2));
    EXPECT_TRUE(watch.unusable.contains(QStringLiteral("Cheap Rate = lots")))
        << watch.unusable.join(',').toStdString();
}

} // namespace
