// The session end: minutes + 1, the four totals with the pending values in
// one transaction, the texts and events of both modes, the log line and the
// new transfer baselines.

#include "EndSession.h"
#include "AccountingFixture.h"
#include "Converters.h"
#include "DayTime.h"
#include "LogFile.h"
#include "MachineValues.h"
#include "TotalsWriter.h"

namespace {

class EndSessionTest : public AccountingTest {
protected:
    void SetUp() override {
        PlainTariff();
        fmt.shortDateFormat = QStringLiteral("yyyy-MM-dd");
        fmt.longTimeFormat = QStringLiteral("HH:mm:ss");
        store.writeValue(RegRoot::LocalMachine, QStringLiteral("Network\\Logon"),
                         QStringLiteral("Username"), RegValue::fromString(QStringLiteral("anna")));
        SetMachine(kPendingTime, QStringLiteral("4"));
        SetMachine(kPendingCost, QStringLiteral("4.00"));
    }
    SessionTotals End(double start, int h, int m, int s, int dayOffset = 0) {
        SetClock(h, m, s, dayOffset);
        EndSession end(
            Context(), logLine, [this](const QString& line) { logLines.append(line); }, kept);
        return end.run(start, DayTime::FromTime(clock.now().time()), QStringLiteral("My provider"));
    }
    ConnectionLogLine logLine{store, fmt, [] {
                                  return QString();
                              }};
    QStringList logLines;
};

TEST_F(EndSessionTest, EveryConnectionCountsItsWholeMinutesPlusOne) {
    EXPECT_EQ(End(At(10, 0), 10, 0, 5).minutes, 1);
    EXPECT_EQ(End(At(10, 0), 10, 4, 59).minutes, 5);
    EXPECT_EQ(End(At(10, 0), 10, 5, 0).minutes, 6);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("12"));
}

TEST_F(EndSessionTest, ConnectionAcrossMidnightLastsOneSecondShort) {
    const SessionTotals t = End(At(23, 50), 0, 10, 0, 1);
    EXPECT_EQ(t.minutes, 20);
    EXPECT_EQ(t.seconds, 19 * 60 + 59);
}

TEST_F(EndSessionTest, StartIsCutToWholeSeconds) {
    const SessionTotals t = End(At(10, 0, 59) + 0.9 * DayTime::kSecond, 10, 1, 0);
    EXPECT_EQ(t.seconds, 1);
    EXPECT_EQ(t.minutes, 1);
}

TEST_F(EndSessionTest, CostModeAddsToAllFourTotalsAndRemovesThePendingValues) {
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("30"));
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("1,5"));
    SetMachine(kPcTotalTime, QStringLiteral("1000.9"));
    SetMachine(kPcTotalCost, QStringLiteral("20.00"));
    const SessionTotals t = End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(t.minutes, 3);
    EXPECT_DOUBLE_EQ(t.cost, 3.0);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("33"));
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("4.5"));
    EXPECT_EQ(Machine(kPcTotalTime), QStringLiteral("1003"));
    EXPECT_EQ(Machine(kPcTotalCost), QStringLiteral("23.00"));
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("<missing>"));
    EXPECT_EQ(Machine(kPendingCost), QStringLiteral("<missing>"));
}

TEST_F(EndSessionTest, MissingOrUnreadableComputerTotalsStartFromZero) {
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    SetMachine(kPcTotalTime, QStringLiteral("garbage"));
    End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(Machine(kPcTotalTime), QStringLiteral("3"));
    EXPECT_EQ(Machine(kPcTotalCost), QStringLiteral("3.00"));
}

TEST_F(EndSessionTest, ComputerMinutesTooLargeToCountStartFromZero) {
    SetMachine(kPcTotalTime, QStringLiteral("1e30"));
    End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(Machine(kPcTotalTime), QStringLiteral("3"));
}

TEST_F(EndSessionTest, TimeModeLeavesTheComputersCostAlone) {
    SetMachine(kPcTotalCost, QStringLiteral("20.00"));
    End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(Machine(kPcTotalCost), QStringLiteral("20.00"));
    EXPECT_EQ(Machine(kPcTotalTime), QStringLiteral("3"));
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("3"));
}

TEST_F(EndSessionTest, CostModeTextsAndEvents) {
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("60"));
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("10"));
    counters = {1024 * 150, 1024 * 300};
    End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(
        events.texts(),
        QStringList({QStringLiteral("Average transfer rate: send 1.00 kB/s, receive 2.00 kB/s"),
                     QStringLiteral("Disconnected, this connection: $3.00 (0:03)"),
                     QStringLiteral("Total connection cost: $13.00 (1:03)")}));
    EXPECT_EQ(view.title, QStringLiteral("Tollwatch"));
    EXPECT_EQ(view.lines[1], QStringLiteral("Disconnected, this connection: $3.00"));
    EXPECT_EQ(view.trayHint, QStringLiteral("Disconnected, this connection: $3.00 (0:03)"));
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection cost: $13.00"));
    EXPECT_EQ(view.lines[3], QStringLiteral("Total connection time: 1:03"));
    EXPECT_TRUE(view.lineVisible[3]);
}

TEST_F(EndSessionTest, TimeModeTextsAndEvents) {
    SetUser(QStringLiteral("Connected"), QStringLiteral("60"));
    SetUser(QStringLiteral("Monitor xfer"), QStringLiteral("false"));
    End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(events.texts(),
              QStringList({QStringLiteral("Disconnected, this connection: 0:03 (total: 1:03)")}));
    EXPECT_EQ(view.lines[2], QStringLiteral("Total connection time: 1:03"));
    EXPECT_FALSE(view.lineVisible[3]);
}

TEST_F(EndSessionTest, LogLineCarriesTheRatesEvenWithoutTheRateEvent) {
    SetUser(QStringLiteral("Monitor xfer"), QStringLiteral("false"));
    counters = {1024 * 150, 1024 * 300};
    End(At(21, 3, 44), 21, 6, 14);
    ASSERT_EQ(logLines.size(), 1);
    const QString date = QDate(2026, 3, 11).toString(QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(logLines[0],
              QStringLiteral("anna;%1;21:03:44;3;0.30;1.00;2.00;My provider").arg(date));
}

TEST_F(EndSessionTest, BaselinesMoveToTheCountersAfterTheLogLine) {
    counters = {4096, 8192};
    End(At(10, 0), 10, 0, 4);
    EXPECT_EQ(xfer.SentBaseline(), 4096u);
    EXPECT_EQ(xfer.ReceivedBaseline(), 8192u);
    EXPECT_TRUE(logLines[0].contains(QStringLiteral(";1.00;2.00;")));
}

TEST_F(EndSessionTest, LinkAlreadyGoneStillGivesItsRates) {
    // The counters keep the bytes of a link that has ended.
    xfer.TakeBaselines();
    counters = {1024 * 60, 1024 * 120};
    End(At(10, 0), 10, 1, 0);
    EXPECT_TRUE(logLines[0].contains(QStringLiteral(";1.00;2.00;")));
}

TEST_F(EndSessionTest, ConnectionMovingMoreThanFourGibibytes) {
    counters = {0xFFFFF000ull, 0};
    xfer.TakeBaselines();
    counters.sent += 6ull << 30;
    counters.received += 6ull << 30;
    End(At(10, 0), 11, 0, 0);
    // 6 GiB over 3600 s is 1747.63 kB/s.
    EXPECT_TRUE(logLines[0].contains(QStringLiteral(";1,747.63;1,747.63;")))
        << logLines[0].toStdString();
}

// A total that cannot be added to starts again from this connection, once
// and said so; the other totals, the log line and the removal of the pending
// values go through with it.
TEST_F(EndSessionTest, UnreadableTotalsStartAgainFromThisConnection) {
    SetUser(QStringLiteral("Show cost"), QStringLiteral("true"));
    SetUser(QStringLiteral("Connected"), QStringLiteral("30"));
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("not money"));
    SetMachine(kPcTotalCost, QStringLiteral("abc"));
    const SessionTotals t = End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("33"));
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("3"));
    EXPECT_EQ(Machine(kPcTotalCost), QStringLiteral("3.00"));
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("<missing>"));
    EXPECT_EQ(logLines.size(), 1);
    EXPECT_TRUE(t.stored);
    const QStringList texts = events.texts();
    EXPECT_TRUE(texts.contains(QStringLiteral(
        "Unreadable total, started again from this connection: Connection Cost = not money")));
    EXPECT_TRUE(texts.contains(QStringLiteral(
        "Unreadable total, started again from this connection: PC Total cost = abc")));

    for (const char* unreadable : {"1.5", "99999999999999999999", "9223372036854775807"}) {
        SetUser(QStringLiteral("Connected"), QString::fromLatin1(unreadable));
        End(At(10, 0), 10, 2, 30);
        EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("3")) << unreadable;
    }
    // A huge total that stays a number is kept, and written back short.
    SetUser(QStringLiteral("Connection Cost"), QStringLiteral("1e308"));
    End(At(10, 0), 10, 2, 30);
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("1e+308"));
}

// The connection is reported and logged at once; its totals wait in memory
// and go in first when the store takes writes again.
TEST_F(EndSessionTest, StoreThatCannotWriteKeepsTheTotalsUntilItCan) {
    SetUser(QStringLiteral("Connected"), QStringLiteral("30"));
    store.setFailWrites(true);
    const SessionTotals t = End(At(10, 0), 10, 2, 30);
    EXPECT_FALSE(t.stored);
    EXPECT_EQ(t.connected, 33);
    EXPECT_EQ(logLines.size(), 1);
    EXPECT_EQ(kept.minutes, 3);
    End(At(10, 5), 10, 5, 30);
    EXPECT_EQ(kept.connections, 2);
    const QStringList failures =
        events.texts().filter(QStringLiteral("The settings file cannot be written"));
    EXPECT_EQ(failures.size(), 1) << events.texts().join('\n').toStdString();
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("4"));
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("30"));

    store.setFailWrites(false);
    PendingAmounts running;
    running.minutes = 1;
    running.cost = 1.0;
    EXPECT_TRUE(TotalsWriter(Context(), kept).saveKept(running));
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("34"));
    EXPECT_EQ(Machine(kPcTotalTime), QStringLiteral("4"));
    // The pending values now guard only the connection being timed.
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("1"));
    EXPECT_TRUE(
        events.texts().last().startsWith(QStringLiteral("The settings file can be written again")));
}

// The line goes into the store with the totals, in the same transaction: a
// crash before it reaches the log leaves it for the next start.
TEST_F(EndSessionTest, LogLineIsStoredAsPendingWithTheTotals) {
    End(At(10, 0), 10, 2, 30);
    ASSERT_EQ(logLines.size(), 1);
    EXPECT_EQ(Machine(kPendingLogLines), logLines[0]);
    End(At(10, 5), 10, 6, 0);
    EXPECT_EQ(Machine(kPendingLogLines), logLines.join(QStringLiteral("\r\n")));
}

TEST_F(EndSessionTest, FailedLogWriteComesAfterTheTotals) {
    SetUser(QStringLiteral("Connected"), QStringLiteral("30"));
    EndSession end(
        Context(), logLine,
        [](const QString&) { throw LogFileError(QStringLiteral("disk full"), 28); }, kept);
    SetClock(10, 2, 30);
    EXPECT_THROW(end.run(At(10, 0), At(10, 2, 30), QString()), LogFileError);
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("33"));
    EXPECT_EQ(Machine(kPendingTime), QStringLiteral("<missing>"));
}

} // namespace
