// tollwatch --headless with the new-mail check on, against a real POP3
// server (dovecot, started by the test): the scenario's connection comes up
// on the virtual clock while the POP3 conversation is real network I/O, and
// the mail log and the new-mail state come out as lines.

#include "DovecotServer.h"
#include "HeadlessRun.h"
#include "Settings.h"
#include "ShiftedText.h"
#include "SqliteRegistryStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class MailHeadlessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_skip = DovecotServer::unavailableReason();
        if (!s_skip.isEmpty())
            return;
        s_server = std::make_unique<DovecotServer>();
        if (!s_server->start(&s_failure))
            s_server.reset();
    }
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override {
        if (!s_skip.isEmpty())
            GTEST_SKIP() << s_skip.toStdString();
        ASSERT_TRUE(s_server) << s_failure.toStdString();
        set(QStringLiteral("Monitor e-mail"), QStringLiteral("true"));
        set(QStringLiteral("POP Host"), QStringLiteral("localhost"));
        set(QStringLiteral("POP Port"), QString::number(s_server->pop3Port()));
        set(QStringLiteral("POP Username"), QStringLiteral("full"));
        set(QStringLiteral("POP PW"), ShiftedText::shift(QStringLiteral("secret")));
        set(QStringLiteral("Log Filename"), m_dir.path() + QStringLiteral("/access.txt"));
    }
    void set(const QString& name, const QString& text) {
        SqliteRegistryStore store(storeFile());
        Settings(store).WriteText(kSettingsKey, name, text);
    }
    QString storeFile() const { return m_dir.path() + QStringLiteral("/registry.sqlite"); }
    HeadlessResult run(bool trustServer) {
        QProcessEnvironment env = HeadlessRun::environment();
        env.remove(QStringLiteral("SSL_CERT_DIR"));
        env.remove(QStringLiteral("SSL_CERT_FILE"));
        if (trustServer)
            env.insert(QStringLiteral("SSL_CERT_FILE"), s_server->certificateFile());
        return HeadlessRun::run({QStringLiteral("--registry"), storeFile(), QStringLiteral("--ras"),
                                 QStringLiteral("sim:") + HeadlessRun::scenario("mail.scn")},
                                env);
    }

    static inline std::unique_ptr<DovecotServer> s_server;
    static inline QString s_skip;
    static inline QString s_failure;
    QTemporaryDir m_dir;
};

TEST_F(MailHeadlessTest, TheConversationAndThreeNewMessagesShowAfterTheConnectionStarts) {
    const HeadlessResult r = run(false);
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QStringList mail = r.lines.filter(QStringLiteral("\tmail\t"));
    ASSERT_GE(mail.size(), 10) << r.lines.join('\n').toStdString();
    // Two seconds after the connection came up, on the virtual clock.
    EXPECT_EQ(mail.first(),
              QStringLiteral("2024-03-15 21:00:07\tmail\tConnected with POP3 server"));
    const QStringList lines = r.of(QStringLiteral("mail"));
    EXPECT_EQ(lines.mid(2, 5),
              (QStringList{"> USER full", "< +OK", "> PASS ******", "< +OK Logged in.", "> STAT"}));
    EXPECT_TRUE(lines.at(7).startsWith(QStringLiteral("< +OK 3 "))) << lines.at(7).toStdString();
    EXPECT_EQ(r.lines.filter(QStringLiteral("\tnewmail\t")),
              QStringList{"2024-03-15 21:00:07\tnewmail\t3\tRead 3 new e-mail message(s)"});
    // The chime timer's tick checks again; the state does not change.
    EXPECT_EQ(r.lines.filter(QStringLiteral("2024-03-15 21:01:08\tmail\t> STAT")).size(), 1);
    EXPECT_FALSE(r.lines.join('\n').contains(QStringLiteral("secret")));
    // Read new mail asks first; the run's default answer is OK.
    EXPECT_EQ(r.of(QStringLiteral("box")).filter(QStringLiteral("Your e-mail client")).size(), 1);
}

TEST_F(MailHeadlessTest, TheSameWithStlsAndACertificateThatIsTrusted) {
    set(QStringLiteral("POP Security"), QStringLiteral("STLS"));
    const HeadlessResult r = run(true);
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QStringList mail = r.of(QStringLiteral("mail"));
    ASSERT_GE(mail.size(), 6);
    EXPECT_EQ(mail.mid(2, 3), (QStringList{"> STLS", mail.at(3), "> USER full"}));
    EXPECT_TRUE(mail.at(3).startsWith(QStringLiteral("< +OK")));
    EXPECT_EQ(r.lines.filter(QStringLiteral("\tnewmail\t")).size(), 1);
}

TEST_F(MailHeadlessTest, ACertificateThatIsNotTrustedFailsTheCheckVisibly) {
    set(QStringLiteral("POP Security"), QStringLiteral("POP3S"));
    set(QStringLiteral("POP Port"), QString::number(s_server->pop3sPort()));
    const HeadlessResult r = run(false);
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QStringList mail = r.of(QStringLiteral("mail"));
    ASSERT_GE(mail.size(), 2);
    EXPECT_TRUE(mail.at(0).startsWith(QStringLiteral("-ERR TLS with host 'localhost' failed: ")));
    EXPECT_EQ(mail.at(1), QStringLiteral("! Mail server timed out after 3 seconds"));
    EXPECT_TRUE(r.lines.filter(QStringLiteral("\tnewmail\t")).isEmpty());
}

} // namespace
