// The POP3 client against a scripted server of the test's own: the log-in
// chain and what it shows, greetings, long and missing replies, a server
// that closes in the middle of a reply, unparsable STAT replies, and the
// failures before any connection. Every wait runs on a virtual clock, so a
// time-out takes exactly its seconds of that clock and no real time.

#include "Clock.h"
#include "ScriptedPop3Server.h"
#include "SocketFailure.h"
#include "TPop3Client.h"
#include "TWait.h"

#include <QTcpServer>

#include <gtest/gtest.h>

namespace {

const QDateTime kStart(QDate(2024, 3, 15), QTime(21, 0, 0));

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class Pop3ClientTest : public ::testing::Test {
protected:
    Pop3ClientTest() {
        client.setWait(&wait);
        client.setHost(QStringLiteral("127.0.0.1"));
        client.setPort(server.portText());
        client.setTimeOut(3);
        client.setUserName(QStringLiteral(" anna "));
        client.setPassWord(QStringLiteral("secret "));
        client.OnDisplay = [this](const QString& msg) {
            shown << msg;
        };
    }
    qint64 secondsPassed() const { return kStart.secsTo(clock.now()); }

    ManualClock clock{kStart};
    TWait wait{clock};
    ScriptedPop3Server server;
    TPop3Client client;
    QStringList shown;
};

TEST_F(Pop3ClientTest, StatOnAFreshClientLogsInStepByStepAndShowsEveryLine) {
    server.replies.insert("STAT", "+OK 3 1200");
    ASSERT_TRUE(client.Stat());
    EXPECT_EQ(client.MsgCount(), 3);
    EXPECT_EQ(client.MsgSize(), 1200);
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Transaction);
    EXPECT_EQ(server.received, (QList<QByteArray>{"USER anna", "PASS secret", "STAT"}));
    EXPECT_EQ(shown, (QStringList{"Connected with POP3 server",
                                  "< +OK POP3 ready <1896.697170952@dbc.mil>", "> USER anna",
                                  "< +OK", "> PASS secret", "< +OK", "> STAT", "< +OK 3 1200"}));
    EXPECT_TRUE(client.Quit());
    EXPECT_EQ(server.received.last(), QByteArray("QUIT"));
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
    EXPECT_EQ(secondsPassed(), 0);
}

TEST_F(Pop3ClientTest, ANegativeReplyStopsTheChainAndKeepsTheState) {
    server.replies.insert("PASS", "-ERR [AUTH] Authentication failed.");
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3WaitingPass);
    EXPECT_EQ(shown.last(), QStringLiteral("< -ERR [AUTH] Authentication failed."));
    EXPECT_FALSE(server.received.contains("STAT"));
    EXPECT_FALSE(client.User());
    EXPECT_EQ(shown.last(), QStringLiteral("-ERR USER command invalid now"));
    server.replies.remove("PASS");
    EXPECT_TRUE(client.Pass());
    EXPECT_FALSE(client.Pass());
    EXPECT_EQ(client.ErrorMessage(), QStringLiteral("-ERR PASS command invalid now"));
}

TEST_F(Pop3ClientTest, TheGreetingsTimeStampIsKeptWhenItHasOne) {
    ASSERT_TRUE(client.Connect());
    EXPECT_EQ(client.TimeStamp(), QStringLiteral("<1896.697170952@dbc.mil>"));
    client.Quit();
    for (const QByteArray& greeting : {QByteArray("+OK ready"), QByteArray("+OK <unclosed")}) {
        server.greeting = greeting;
        ASSERT_TRUE(client.Connect());
        EXPECT_TRUE(client.TimeStamp().isEmpty()) << greeting.constData();
        client.Quit();
    }
}

TEST_F(Pop3ClientTest, AGreetingThatIsNotPositiveFailsTheConnection) {
    server.greeting = "-ERR too many connections";
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(client.ErrorMessage(), QStringLiteral("-ERR too many connections"));
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
    EXPECT_TRUE(client.Quit());
}

TEST_F(Pop3ClientTest, AReplyLongerThan254CharactersArrivesAsTwoLines) {
    const QByteArray reply = "+OK " + QByteArray(296, 'x');
    server.replies.insert("USER", reply);
    EXPECT_TRUE(client.User());
    EXPECT_TRUE(client.LineTooLong());
    EXPECT_EQ(client.LastResponse(), QString::fromLatin1(reply.left(254)));
    // The rest is the next line read: it answers PASS, and is no "+".
    EXPECT_FALSE(client.Pass());
    EXPECT_EQ(client.LastResponse(), QString::fromLatin1(reply.mid(254)));
}

TEST_F(Pop3ClientTest, AServerThatNeverAnswersTimesOutAfterExactlyTheTimeOut) {
    server.greeting.clear();
    QList<qint64> ticks;
    wait.OnWait = [&](int) {
        ticks << secondsPassed();
    };
    EXPECT_FALSE(client.Connect());
    EXPECT_EQ(shown, (QStringList{"Connected with POP3 server", "< "}));
    EXPECT_EQ(ticks, (QList<qint64>{1, 2, 3}));
    EXPECT_EQ(secondsPassed(), 3);
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
}

TEST_F(Pop3ClientTest, ACommandThatIsNeverAnsweredGivesAnEmptyReplyAfterTheTimeOut) {
    server.replies.insert("STAT", kSilent);
    client.setTimeOut(7);
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(shown.last(), QStringLiteral("< "));
    EXPECT_EQ(secondsPassed(), 7);
    EXPECT_EQ(client.MsgCount(), 0);
}

TEST_F(Pop3ClientTest, AServerClosingInTheMiddleOfAReplyEndsTheWaitAtOnce) {
    server.closeOn = "STAT";
    server.partialReply = "+OK 2 340";
    EXPECT_TRUE(client.Stat());
    EXPECT_EQ(client.MsgCount(), 2);
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
    EXPECT_EQ(secondsPassed(), 0);
    // Closed by the server: QUIT is not sent.
    EXPECT_TRUE(client.Quit());
    EXPECT_FALSE(server.received.contains("QUIT"));
}

TEST_F(Pop3ClientTest, AServerClosingAtOnceOrResettingEndsTheWaitWithoutAnswer) {
    server.closeAtOnce = true;
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(shown.last(), QStringLiteral("< "));
    server.closeAtOnce = false;
    server.closeOn = "STAT";
    server.partialReply.clear();
    server.resetOnClose = true;
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(shown.last(), QStringLiteral("< "));
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
    EXPECT_EQ(secondsPassed(), 0);
}

TEST_F(Pop3ClientTest, ACommandOnAConnectionTheServerClosedRaisesTheSocketFailure) {
    server.closeOn = "USER";
    server.partialReply = "+OK hel";
    EXPECT_TRUE(client.User());
    EXPECT_EQ(client.LastResponse(), QStringLiteral("+OK hel"));
    try {
        client.Pass();
        FAIL() << "no failure raised";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("Error 10057 in function Send\r\nSocket is not connected"));
    }
    client.Abort();
    server.closeOn.clear();
    server.replies.insert("STAT", "+OK 1 1");
    EXPECT_TRUE(client.Stat());
    EXPECT_EQ(server.connections, 2);
}

TEST_F(Pop3ClientTest, AStatReplyWithoutBothNumbersIsAFailureWithNoCounts) {
    for (const QByteArray& reply : {QByteArray("+OK"), QByteArray("+OK mailbox ready"),
                                    QByteArray("+OK 5"), QByteArray("+OK 5 \t ")}) {
        server.replies.insert("STAT", reply);
        EXPECT_FALSE(client.Stat()) << reply.constData();
        EXPECT_EQ(client.MsgCount(), 0);
        EXPECT_EQ(client.MsgSize(), 0);
    }
    server.replies.insert("STAT", "+OK 4 messages");
    EXPECT_TRUE(client.Stat());
    EXPECT_EQ(client.MsgCount(), 4);
    EXPECT_EQ(client.MsgSize(), 0);
}

TEST_F(Pop3ClientTest, FailuresBeforeAnyConnection) {
    EXPECT_TRUE(client.Quit());
    EXPECT_EQ(server.connections, 0);

    TPop3Client noWait;
    noWait.setHost(QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(noWait.Stat());
    EXPECT_EQ(noWait.ErrorMessage(), QStringLiteral("-ERR No wait object"));

    client.setHost(QStringLiteral("  "));
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(shown, QStringList{"-ERR No host specified"});

    client.setHost(QStringLiteral("127.0.0.1"));
    client.setPort(QString::number(closedPort()));
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(shown.last(), QStringLiteral("-ERR Can't connect to host '127.0.0.1'"));
    EXPECT_EQ(secondsPassed(), 0);
}

TEST_F(Pop3ClientTest, AnUnknownHostOrPortIsRaisedAsASocketFailure) {
    // A label longer than 63 characters is refused before any lookup.
    const QString host = QString(70, QLatin1Char('x')) + QStringLiteral(".invalid");
    client.setHost(host);
    try {
        client.Stat();
        FAIL() << "no failure raised";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.text(), QStringLiteral("SetAddr: Cannot convert host address '%1'").arg(host));
    }
    client.setPort(QStringLiteral("no-such-service"));
    EXPECT_THROW(client.Stat(), ESocketException);
    client.setPort(QStringLiteral("pop3"));
    client.setHost(QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(shown.last(), QStringLiteral("-ERR Can't connect to host '127.0.0.1'"));
}

TEST_F(Pop3ClientTest, AServerRefusingStlsNeverSeesTheAccount) {
    client.setSecurity(PopSecurity::Stls);
    server.replies.insert("STLS", "-ERR not offered");
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(server.received, QList<QByteArray>{"STLS"});
    EXPECT_EQ(client.ErrorMessage(), QStringLiteral("-ERR Host '127.0.0.1' refused STLS"));
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
}

TEST(SocketFailureTest, TextsNameTheCodeTheFunctionAndTheDescription) {
    EXPECT_EQ(SocketFailure::text(10061, QStringLiteral("Connect")),
              QStringLiteral("Error 10061 in function Connect\r\nConnection refused"));
    EXPECT_EQ(SocketFailure::describe(11004), QStringLiteral("No Data"));
    EXPECT_EQ(SocketFailure::describe(12345), QStringLiteral("Not a WinSock error"));
    EXPECT_EQ(SocketFailure::codeOf(QAbstractSocket::ConnectionRefusedError), 10061);
    EXPECT_EQ(SocketFailure::codeOf(QAbstractSocket::HostNotFoundError), 11001);
    EXPECT_EQ(
        SocketFailure::describe(SocketFailure::codeOf(QAbstractSocket::SslHandshakeFailedError)),
        QStringLiteral("Not a WinSock error"));
}

} // namespace
