// The countdown wait on the clocks: a wait of N seconds times out after
// exactly N seconds of its clock, a wait ended by an event takes no virtual
// time, and a virtual clock gives real I/O its patience before it jumps.

#include "TWait.h"
#include "Clock.h"
#include "WaitDisplay.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

class RecordingDisplay : public WaitDisplay {
public:
    void setCountdownVisible(bool visible) override { shown << visible; }
    void showCountdown(const QString& caption, int, int) override { captions << caption; }
    void modalWaitStarted() override { ++depth; }
    void modalWaitEnded() override { --depth; }

    QList<bool> shown;
    QStringList captions;
    int depth = 0;
};

const QDateTime kStart(QDate(2024, 3, 15), QTime(21, 0, 0));

TEST(TWaitTest, ATimeOutOfNSecondsExpiresOnTheNthTickExactlyNSecondsLater) {
    ManualClock clock(kStart);
    RecordingDisplay display;
    TWait wait(clock, &display);
    QList<QPair<int, qint64>> ticks;
    int timeouts = 0;
    wait.OnWait = [&](int remaining) {
        ticks << qMakePair(remaining, kStart.secsTo(clock.now()));
    };
    wait.OnTimeout = [&] {
        ++timeouts;
    };
    wait.setCaption(QStringLiteral("3"));
    EXPECT_EQ(wait.StartModal(), TWait::TimedOut);
    EXPECT_EQ(clock.now(), kStart.addSecs(3));
    EXPECT_EQ(ticks, (QList<QPair<int, qint64>>{{2, 1}, {1, 2}, {0, 3}}));
    EXPECT_EQ(timeouts, 1);
    EXPECT_FALSE(wait.Running());
    // The caption counts down, shows the time-out, then the starting number.
    EXPECT_EQ(display.captions, (QStringList{"3", "3", "2", "1", "Timeout", "3"}));
    EXPECT_EQ(wait.Caption(), QStringLiteral("3"));
    EXPECT_EQ(display.depth, 0);
}

TEST(TWaitTest, StopFromAnEventEndsTheWaitWithoutVirtualTimePassing) {
    ManualClock clock(kStart);
    TWait wait(clock);
    int stops = 0;
    wait.OnWaitStop = [&] {
        ++stops;
    };
    QTimer::singleShot(0, [&] { wait.Stop(); });
    wait.setCaption(QStringLiteral("10"));
    EXPECT_EQ(wait.StartModal(), TWait::Stopped);
    EXPECT_EQ(clock.now(), kStart);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(wait.Caption(), QStringLiteral("10"));
}

TEST(TWaitTest, ACaptionWithoutSecondsWaitsFifteen) {
    for (const char* caption : {"0", "soon", ""}) {
        ManualClock clock(kStart);
        TWait wait(clock);
        wait.setCaption(QString::fromLatin1(caption));
        EXPECT_EQ(wait.StartModal(), TWait::TimedOut) << caption;
        EXPECT_EQ(clock.now(), kStart.addSecs(TWait::kDefaultSeconds)) << caption;
        EXPECT_EQ(wait.Caption(), QStringLiteral("15"));
    }
}

TEST(TWaitTest, AWaitStartedDuringAnotherReturnsAtOnce) {
    ManualClock clock(kStart);
    TWait wait(clock);
    TWait::ModalResult inner = TWait::Stopped;
    QTimer::singleShot(0, [&] {
        inner = wait.StartModal();
        wait.Stop();
    });
    wait.setCaption(QStringLiteral("5"));
    EXPECT_EQ(wait.StartModal(), TWait::Stopped);
    EXPECT_EQ(inner, TWait::NoResult);
}

TEST(ClockWaitTest, AVirtualWaitGivesEventsFromOutsideItsPatienceThenJumps) {
    ManualClock clock(kStart);
    clock.setWaitPatience(10000);
    ClockWait wait;
    // Stands for a reply that takes a few real milliseconds to arrive.
    QTimer::singleShot(20, [&] { wait.end(); });
    EXPECT_TRUE(clock.runUntil(wait, kStart.addSecs(1)));
    EXPECT_EQ(clock.now(), kStart);

    ClockWait nothing;
    clock.setWaitPatience(0);
    EXPECT_FALSE(clock.runUntil(nothing, kStart.addSecs(1)));
    EXPECT_EQ(clock.now(), kStart.addSecs(1));
}

TEST(ClockWaitTest, TheSystemClockRunsTheEventLoopUntilTheWaitEnds) {
    SystemClock clock;
    ClockWait wait;
    bool timerRan = false;
    QTimer::singleShot(0, [&] {
        timerRan = true;
        wait.end();
    });
    EXPECT_TRUE(clock.runUntil(wait, clock.now().addSecs(30)));
    EXPECT_TRUE(timerRan);
    ClockWait ended;
    ended.end();
    EXPECT_TRUE(clock.runUntil(ended, clock.now().addSecs(30)));
}

} // namespace
