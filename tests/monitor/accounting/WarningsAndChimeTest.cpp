// The limit checks after a connection and during one, the chime with its
// reminder, and the mail check at the end of every chime tick.

#include "AccountingFixture.h"
#include "CheckTotalLimits.h"
#include "ChimeTimer.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

class LimitsTest : public AccountingTest {
protected:
    void Check() { CheckTotalLimits(Context()).run(); }
};

TEST_F(LimitsTest, TimeLimitReachedOrPassedPostsBothWarnings) {
    SetUser(QStringLiteral("Warning"), QStringLiteral("true"));
    SetUser(QStringLiteral("Warning time"), QStringLiteral("120"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("119"));
    Check();
    EXPECT_TRUE(events.events.isEmpty());
    SetUser(QStringLiteral("Connected"), QStringLiteral("120"));
    Check();
    ASSERT_EQ(events.events.size(), 2);
    EXPECT_EQ(events.events[0].first, QStringLiteral("Warning, total connection time exceeded"));
    EXPECT_EQ(events.events[0].second, EventKind::Warning);
    EXPECT_EQ(events.events[1].first,
              QStringLiteral("You have now used your defined connection time or cost"));
    // No memory: the next call warns again.
    Check();
    EXPECT_EQ(events.events.size(), 4);
}

TEST_F(LimitsTest, CostLimitMustBeExceededStrictly) {
    SetUser(QStringLiteral("Cost Warning"), QStringLiteral("yes"));
    SetUser(QStringLiteral("Warning cost"), QStringLiteral("50"));
    SetUser(QStringLiteral("Warning Message"), QStringLiteral("Stop surfing"));
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("50.00"));
    Check();
    EXPECT_TRUE(events.events.isEmpty());
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("50.01"));
    Check();
    EXPECT_EQ(events.texts(),
              QStringList({QStringLiteral("Warning, total connection cost exceeded"),
                           QStringLiteral("Stop surfing")}));
}

TEST_F(LimitsTest, LimitsSwitchedOffNeverWarn) {
    SetUser(QStringLiteral("Connected"), QStringLiteral("1000"));
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("1000"));
    Check();
    EXPECT_TRUE(events.events.isEmpty());
}

class ChimeTest : public AccountingTest {
protected:
    void SetUp() override {
        PlainTariff();
        soundFolder = TestEnvironment::folder() + QStringLiteral("/sounds");
        QDir().mkpath(soundFolder);
        QFile ding(soundFolder + QStringLiteral("/ding.wav"));
        ASSERT_TRUE(ding.open(QIODevice::WriteOnly));
        SetUser(QStringLiteral("Chime"), QStringLiteral("true"));
    }
    // Ticks every 61 seconds from a connection at 10:00:00 for the given
    // number of ticks; returns the elapsed (hours, minutes) of each chime.
    QList<QPair<int, int>> RunTicks(int ticks) {
        ChimeTimer chime(Context(), soundFolder, [this] { ++mailChecks; });
        QList<QPair<int, int>> chimes;
        for (int i = 1; i <= ticks; ++i) {
            clock.set(QDateTime(Weekday(), QTime(10, 0)).addSecs(61 * i));
            const int before = view.sounds.size() + view.beeps.size();
            const DayTime::Hms e = chime.run(At(10, 0));
            if (view.sounds.size() + view.beeps.size() > before)
                chimes.append({e.hours, e.minutes});
        }
        return chimes;
    }
    QString soundFolder;
    int mailChecks = 0;
};

TEST_F(ChimeTest, PeriodOfTenChimesOnTheMinutesPartAndSkipsTheFullHour) {
    const auto chimes = RunTicks(118); // two hours
    EXPECT_EQ(chimes, (QList<QPair<int, int>>{{0, 10},
                                              {0, 20},
                                              {0, 30},
                                              {0, 40},
                                              {0, 50},
                                              {1, 10},
                                              {1, 20},
                                              {1, 30},
                                              {1, 40},
                                              {1, 50}}));
    EXPECT_EQ(mailChecks, 118);
    EXPECT_EQ(view.sounds.first(), soundFolder + QStringLiteral("/ding.wav"));
}

TEST_F(ChimeTest, SixtyOneSecondTicksSeeEachMinuteOnceAndSkipOneAnHour) {
    ChimeTimer chime(Context(), soundFolder);
    QList<int> seen;
    for (int i = 1; i <= 120; ++i) {
        clock.set(QDateTime(Weekday(), QTime(10, 0)).addSecs(61 * i));
        const DayTime::Hms e = chime.run(At(10, 0));
        seen.append(e.hours * 60 + e.minutes);
    }
    EXPECT_EQ(QSet<int>(seen.begin(), seen.end()).size(), seen.size());
    EXPECT_FALSE(seen.contains(60));
    EXPECT_FALSE(seen.contains(121));
    EXPECT_TRUE(seen.contains(59));
    EXPECT_TRUE(seen.contains(122));
}

TEST_F(ChimeTest, TimeLimitOnASkippedMinuteNeverFires) {
    SetUser(QStringLiteral("Chime"), QString());
    SetUser(QStringLiteral("Warning"), QStringLiteral("true"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("15"));
    SetUser(QStringLiteral("Warning time"), QStringLiteral("75"));
    RunTicks(120);
    EXPECT_TRUE(view.boxes.isEmpty());
    EXPECT_FALSE(events.events.contains({QString(), EventKind::Warning}));
}

TEST_F(ChimeTest, ChimeIsOnOnlyForTheExactTextTrue) {
    SetUser(QStringLiteral("Chime period"), QStringLiteral("2"));
    SetUser(QStringLiteral("Chime"), QStringLiteral("True"));
    EXPECT_TRUE(RunTicks(5).isEmpty());
    SetUser(QStringLiteral("Chime"), QStringLiteral("yes"));
    EXPECT_TRUE(RunTicks(5).isEmpty());
}

TEST_F(ChimeTest, PeriodOfAnHourOrMoreNeverChimes) {
    SetUser(QStringLiteral("Chime period"), QStringLiteral("60"));
    EXPECT_TRUE(RunTicks(130).isEmpty());
}

TEST_F(ChimeTest, PeriodOfZeroIsATimerErrorAndMailIsStillChecked) {
    SetUser(QStringLiteral("Chime period"), QStringLiteral("0"));
    RunTicks(1);
    EXPECT_TRUE(events.events.isEmpty()) << "the period is read only from minute 2 on";
    RunTicks(3);
    ASSERT_FALSE(events.events.isEmpty());
    EXPECT_EQ(events.events.last().first, QStringLiteral("Error in the timer routines"));
    EXPECT_EQ(events.events.last().second, EventKind::Error);
    EXPECT_EQ(mailChecks, 4);
}

TEST_F(ChimeTest, ReminderBoxNamesTheConnectionTimeAndTheRunningTotal) {
    SetUser(QStringLiteral("RemindBox"), QStringLiteral("true"));
    SetUser(QStringLiteral("Chime period"), QStringLiteral("5"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("70"));
    RunTicks(5); // 0:05:05
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Chimes"));
    EXPECT_EQ(view.boxes[0].text,
              QStringLiteral("The specified chime time has been reached.\r\n\r\nThis connection: "
                             "0:05.\r\nTotal connection time: 1:15"));
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Information);
    SetUser(QStringLiteral("RemindBox"), QStringLiteral("TRUE"));
    view.boxes.clear();
    RunTicks(5);
    EXPECT_TRUE(view.boxes.isEmpty());
}

TEST_F(ChimeTest, SoundFileFromTheChimeEventOrABeep) {
    ChimeTimer chime(Context(), soundFolder);
    EXPECT_EQ(chime.ChimeSoundFile(), soundFolder + QStringLiteral("/ding.wav"));
    SetUser(QStringLiteral("Chime period"), QStringLiteral("2"));
    settings.WriteText(kChimeSoundKey, QString(), soundFolder + QStringLiteral("/bell.wav"));
    RunTicks(2);
    EXPECT_EQ(view.beeps.size(), 1) << "a file that is not there cannot be played";
    EXPECT_TRUE(view.sounds.isEmpty());
    QFile bell(soundFolder + QStringLiteral("/bell.wav"));
    ASSERT_TRUE(bell.open(QIODevice::WriteOnly));
    RunTicks(2);
    EXPECT_EQ(view.sounds, QStringList({soundFolder + QStringLiteral("/bell.wav")}));
}

TEST_F(ChimeTest, TimeLimitDuringTheConnectionWarnsOnEqualityOnce) {
    SetUser(QStringLiteral("Chime"), QString());
    SetUser(QStringLiteral("Warning"), QStringLiteral("true"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("100"));
    SetUser(QStringLiteral("Warning time"), QStringLiteral("103"));
    ChimeTimer chime(Context(), soundFolder);
    for (int i = 1; i <= 6; ++i) {
        clock.set(QDateTime(Weekday(), QTime(10, 0)).addSecs(61 * i));
        chime.run(At(10, 0));
    }
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch Warning"));
    EXPECT_EQ(view.boxes[0].text,
              QStringLiteral("You have now used your defined connection time or cost"));
    EXPECT_EQ(events.events, (QList<QPair<QString, EventKind>>{{QString(), EventKind::Warning}}));
    EXPECT_TRUE(chime.WarningShown());
}

TEST_F(ChimeTest, TimeLimitPassedBeforeTheConnectionGivesNoWarning) {
    SetUser(QStringLiteral("Chime"), QString());
    SetUser(QStringLiteral("Warning"), QStringLiteral("true"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("500"));
    SetUser(QStringLiteral("Warning time"), QStringLiteral("60"));
    RunTicks(10);
    EXPECT_TRUE(view.boxes.isEmpty());
    EXPECT_TRUE(events.events.isEmpty());
}

TEST_F(ChimeTest, OneWarningPerRunWhicheverLimitComesFirst) {
    SetUser(QStringLiteral("Chime"), QString());
    SetUser(QStringLiteral("Cost Warning"), QStringLiteral("true"));
    SetUser(QStringLiteral("Warning cost"), QStringLiteral("2"));
    SetUser(QStringLiteral("Warning"), QStringLiteral("true"));
    SetUser(QStringLiteral("Warning time"), QStringLiteral("4"));
    ChimeTimer chime(Context(), soundFolder);
    for (int i = 1; i <= 5; ++i) {
        clock.set(QDateTime(Weekday(), QTime(10, 0)).addSecs(61 * i));
        chime.run(At(10, 0));
    }
    // 0:02:02 costs 3.00 > 2: the cost event; the time limit at 0:04 stays quiet.
    EXPECT_EQ(events.texts(),
              QStringList({QStringLiteral("Warning, total connection cost exceeded")}));
    EXPECT_TRUE(view.boxes.isEmpty());
}

} // namespace
