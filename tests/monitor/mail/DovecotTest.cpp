// The POP3 client against a real server: dovecot on loopback, started and
// stopped by the test. Counting, a refused password, STLS and POP3S with a
// certificate the test trusts, and the same certificate rejected while it
// is not trusted. The waits run on a virtual clock that gives the server
// real time to answer, as scenario runs do.

#include "Clock.h"
#include "DovecotServer.h"
#include "TPop3Client.h"
#include "TWait.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QDateTime kStart(QDate(2024, 3, 15), QTime(21, 0, 0));

class DovecotTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_skip = DovecotServer::unavailableReason();
        if (!s_skip.isEmpty())
            return;
        s_server = std::make_unique<DovecotServer>();
        QString error;
        if (!s_server->start(&error)) {
            s_failure = error;
            s_server.reset();
        }
    }
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override {
        if (!s_skip.isEmpty())
            GTEST_SKIP() << s_skip.toStdString();
        ASSERT_TRUE(s_server) << s_failure.toStdString();
        m_savedCertFile = qgetenv("SSL_CERT_FILE");
        m_savedCertDir = qgetenv("SSL_CERT_DIR");
        qunsetenv("SSL_CERT_DIR");
        clock.setWaitPatience(1000);
        client.setWait(&wait);
        client.setTimeOut(10);
        client.setHost(QStringLiteral("localhost"));
        client.setPort(QString::number(s_server->pop3Port()));
        client.setPassWord(QStringLiteral("secret"));
        client.OnDisplay = [this](const QString& msg) {
            shown << msg;
        };
    }
    void TearDown() override {
        qputenv("SSL_CERT_FILE", m_savedCertFile);
        qputenv("SSL_CERT_DIR", m_savedCertDir);
    }
    void trustTheServer(bool trust) {
        if (trust)
            qputenv("SSL_CERT_FILE", s_server->certificateFile().toLocal8Bit());
        else
            qunsetenv("SSL_CERT_FILE");
    }
    void checkCount(const char* user, int count) {
        client.setUserName(QString::fromLatin1(user));
        ASSERT_TRUE(client.Stat()) << shown.join('\n').toStdString();
        EXPECT_EQ(client.MsgCount(), count);
        EXPECT_TRUE(client.Quit());
        EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
    }

    static inline std::unique_ptr<DovecotServer> s_server;
    static inline QString s_skip;
    static inline QString s_failure;
    ManualClock clock{kStart};
    TWait wait{clock};
    TPop3Client client;
    QStringList shown;
    QByteArray m_savedCertFile;
    QByteArray m_savedCertDir;
};

TEST_F(DovecotTest, StatCountsNoMessagesAndThree) {
    checkCount("empty", 0);
    shown.clear();
    checkCount("full", DovecotServer::kMessagesOfFull);
    EXPECT_TRUE(shown.last().startsWith(QStringLiteral("< +OK")));
    // The server answered at once: no time of the wait's clock passed.
    EXPECT_EQ(clock.now(), kStart);
}

TEST_F(DovecotTest, AWrongPasswordIsRefusedAndTheCheckCanQuit) {
    client.setUserName(QStringLiteral("full"));
    client.setPassWord(QStringLiteral("wrong"));
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3WaitingPass);
    EXPECT_TRUE(shown.last().startsWith(QStringLiteral("< -ERR")));
    EXPECT_TRUE(client.Quit());
}

TEST_F(DovecotTest, StlsAndPop3sWithATrustedCertificate) {
    trustTheServer(true);
    client.setSecurity(PopSecurity::Stls);
    checkCount("full", DovecotServer::kMessagesOfFull);
    EXPECT_TRUE(shown.contains(QStringLiteral("> STLS")));
    shown.clear();
    client.setSecurity(PopSecurity::Pop3s);
    client.setPort(QString::number(s_server->pop3sPort()));
    checkCount("empty", 0);
    EXPECT_EQ(shown.first(), QStringLiteral("Connected with POP3 server"));
}

TEST_F(DovecotTest, AnUntrustedCertificateIsRejectedBeforeTheAccountIsSent) {
    trustTheServer(false);
    client.setUserName(QStringLiteral("full"));
    client.setSecurity(PopSecurity::Stls);
    EXPECT_FALSE(client.Stat());
    EXPECT_TRUE(
        client.ErrorMessage().startsWith(QStringLiteral("-ERR TLS with host 'localhost' failed: ")))
        << client.ErrorMessage().toStdString();
    EXPECT_FALSE(shown.join('\n').contains(QStringLiteral("USER")));
    EXPECT_EQ(client.ProtocolState(), TPop3Client::pop3Disconnected);
    EXPECT_TRUE(client.Quit());

    client.setSecurity(PopSecurity::Pop3s);
    client.setPort(QString::number(s_server->pop3sPort()));
    shown.clear();
    EXPECT_FALSE(client.Stat());
    EXPECT_EQ(shown.size(), 1);
    EXPECT_TRUE(
        shown.first().startsWith(QStringLiteral("-ERR TLS with host 'localhost' failed: ")));
}

} // namespace
