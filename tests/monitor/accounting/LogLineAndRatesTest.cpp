// The connection line of the log, and the transfer rates from the 64-bit
// cumulative counters.

#include "AccountingFixture.h"
#include "ConnectionLogLine.h"

namespace {

class LogLineTest : public AccountingTest {
protected:
    ConnectionRecord Record() {
        ConnectionRecord r;
        r.endDate = QDate(1998, 7, 12);
        r.startTime = At(21, 3, 44) + 0.4 / 86400.0;
        r.minutes = 7;
        r.cost = 1.25;
        r.sendRate = 0.53;
        r.receiveRate = 2.714;
        r.connectionName = QStringLiteral("My provider");
        return r;
    }
    void SetLogonName(const QString& name) {
        store.writeValue(RegRoot::LocalMachine, QStringLiteral("Network\\Logon"),
                         QStringLiteral("Username"), RegValue::fromString(name));
    }
    QString login = QStringLiteral("osuser");
    ConnectionLogLine line{store, fmt, [this] {
                               return login;
                           }};
};

TEST_F(LogLineTest, EightFieldsInTheLocalesFormats) {
    fmt.shortDateFormat = QStringLiteral("yyyy-MM-dd");
    fmt.longTimeFormat = QStringLiteral("HH:mm:ss");
    SetLogonName(QStringLiteral("anna"));
    EXPECT_EQ(line.Build(Record(), true),
              QStringLiteral("anna;1998-07-12;21:03:44;7;1.25;0.53;2.71;My provider"));
}

TEST_F(LogLineTest, CommaLocaleAndGroupedRates) {
    fmt = TestFormats::svSE();
    SetLogonName(QStringLiteral("anna"));
    ConnectionRecord r = Record();
    r.cost = 1234.5;
    r.receiveRate = 1234.567;
    const QStringList fields = line.Build(r, true).split(QLatin1Char(';'));
    ASSERT_EQ(fields.size(), 8);
    EXPECT_EQ(fields[1], fmt.formatDate(QDate(1998, 7, 12)));
    EXPECT_EQ(fields[2], QStringLiteral("21:03:44"));
    EXPECT_EQ(fields[4], QStringLiteral("1234,50"));
    EXPECT_EQ(fields[5], QStringLiteral("0,53"));
    EXPECT_EQ(fields[6], QStringLiteral("1") + fmt.thousandSeparator + QStringLiteral("234,57"));
}

TEST_F(LogLineTest, UserNameFallsBackToTheLoginNameThenByMode) {
    EXPECT_TRUE(line.Build(Record(), true).startsWith(QStringLiteral("osuser;")));
    // A value that is not text counts as missing.
    store.writeValue(RegRoot::LocalMachine, QStringLiteral("Network\\Logon"),
                     QStringLiteral("Username"), RegValue::fromDWord(7));
    login.clear();
    EXPECT_TRUE(line.Build(Record(), true).startsWith(QStringLiteral("Default;")));
    EXPECT_TRUE(line.Build(Record(), false).startsWith(QStringLiteral(";")));
    SetLogonName(QStringLiteral("bo"));
    EXPECT_TRUE(line.Build(Record(), false).startsWith(QStringLiteral("bo;")));
}

TEST_F(LogLineTest, EmptyLogonNameIsWrittenEmptyInBothModes) {
    SetLogonName(QString());
    EXPECT_EQ(line.Build(Record(), true).section(QLatin1Char(';'), 0, 0), QString());
    EXPECT_EQ(line.Build(Record(), false).section(QLatin1Char(';'), 0, 0), QString());
}

TEST_F(LogLineTest, TimeModeCostIsStillPlainFixedPoint) {
    const QStringList fields = line.Build(Record(), false).split(QLatin1Char(';'));
    EXPECT_EQ(fields[4], QStringLiteral("1.25"));
}

TEST_F(LogLineTest, NameKeepsSemicolonsButNotLineBreaks) {
    ConnectionRecord r = Record();
    r.connectionName = QStringLiteral("A;B\r\nC\nD");
    const QString text = line.Build(r, true);
    EXPECT_TRUE(text.endsWith(QStringLiteral(";A;B  C D")));
    EXPECT_EQ(text.section(QLatin1Char(';'), 7), QStringLiteral("A;B  C D"));
}

class RatesTest : public AccountingTest {};

TEST_F(RatesTest, OneKilobyteInOneSecondIsOneKilobytePerSecond) {
    counters = {1024, 0};
    EXPECT_EQ(xfer.RateText(xfer.Averages(1)),
              QStringLiteral("Average transfer rate: send 1.00 kB/s, receive 0.00 kB/s"));
    // Under one second the bytes are divided by 1, not 0.
    EXPECT_DOUBLE_EQ(xfer.Averages(0).send, 1.0);
}

TEST_F(RatesTest, RatesCountFromTheBaselines) {
    counters = {5000, 9000};
    xfer.TakeBaselines();
    counters = {5000 + 2048 * 10, 9000 + 1024 * 1000 * 10};
    const TransferRates::Rates r = xfer.Averages(10);
    EXPECT_DOUBLE_EQ(r.send, 2.0);
    EXPECT_DOUBLE_EQ(r.receive, 1000.0);
    EXPECT_EQ(xfer.RateNumber(r.receive), QStringLiteral("1,000.00"));
}

TEST_F(RatesTest, MoreThanFourGibibytesGiveTheTruePositiveRate) {
    counters = {0xFFFFFF00ull, 0x7FFFFFF0ull};
    xfer.TakeBaselines();
    const std::uint64_t moved = 5ull * 1024 * 1024 * 1024;
    counters.sent += moved;
    counters.received += moved;
    const TransferRates::Rates r = xfer.Averages(1024);
    EXPECT_DOUBLE_EQ(r.send, 5.0 * 1024);
    EXPECT_DOUBLE_EQ(r.receive, 5.0 * 1024);
    EXPECT_EQ(xfer.ReadPerfCounter(TransferRates::PerfCounter::BytesXmit), 0xFFFFFF00ull + moved);
}

TEST_F(RatesTest, CountersBelowTheBaselineCountAsNothingMoved) {
    counters = {1 << 20, 1 << 20};
    xfer.TakeBaselines();
    counters = {10, 10};
    EXPECT_DOUBLE_EQ(xfer.Averages(1).send, 0.0);
    EXPECT_FALSE(xfer.SentSinceBaseline());
}

TEST_F(RatesTest, RateLineIsGreyedUntilSomethingIsSent) {
    xfer.TakeBaselines();
    counters.received = 4096;
    EXPECT_FALSE(xfer.SentSinceBaseline());
    counters.sent = 1;
    EXPECT_TRUE(xfer.SentSinceBaseline());
}

TEST_F(RatesTest, MonitorXferIsOnUnlessSwitchedOff) {
    EXPECT_TRUE(xfer.MonitorXfer());
    SetUser(QStringLiteral("Monitor xfer"), QStringLiteral("false"));
    EXPECT_FALSE(xfer.MonitorXfer());
}

} // namespace
