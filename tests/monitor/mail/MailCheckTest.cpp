// The new-mail check in a monitor run: what the user sees for messages and
// for none, the mail log and its password filter, failures of every kind,
// and checks that would start while one runs. The server is the test's own.

#include "MailCheck.h"
#include "ApplicationControl.h"
#include "CoreFixture.h"
#include "MailModule.h"
#include "ModuleRunEnvironment.h"
#include "MonitorCore.h"
#include "RecordingMailView.h"
#include "RecordingShell.h"
#include "ScriptedPop3Server.h"
#include "ShiftedText.h"
#include "VirtualRunner.h"

#include <QTcpServer>

namespace {

class MailCheckTest : public CoreFixture {
protected:
    MailCheckTest() {
        set(QStringLiteral("Monitor e-mail"), QStringLiteral("true"));
        set(QStringLiteral("POP Host"), QStringLiteral("127.0.0.1"));
        set(QStringLiteral("POP Port"), server.portText());
        set(QStringLiteral("POP Username"), QStringLiteral("anna"));
        set(QStringLiteral("POP PW"), ShiftedText::shift(QStringLiteral("s3cret")));
        core = std::make_unique<MonitorCore>(
            moduleRunEnvironment(store, formats, clock, view, ras, chime, control, {&module}));
    }
    void set(const QString& name, const QString& text) {
        settings.WriteText(kSettingsKey, name, text);
    }
    void check() { core->click(QStringLiteral("Button1")); }
    bool shown(const char* command) { return view.visible.value(QString::fromLatin1(command)); }

    ScriptedPop3Server server;
    RecordingMailView mailView;
    RecordingShell shell;
    MailModule module{shell, mailView};
    VirtualChime chime{clock};
    TerminateFlag control;
    std::unique_ptr<MonitorCore> core;
};

TEST_F(MailCheckTest, WithTheCheckOffNothingIsAskedAndNothingChanges) {
    set(QStringLiteral("Monitor e-mail"), QStringLiteral("false"));
    const QDateTime before = clock.now();
    check();
    EXPECT_EQ(server.connections, 0);
    EXPECT_EQ(clock.now(), before);
    EXPECT_TRUE(mailView.log.isEmpty());
    EXPECT_FALSE(view.visible.contains(QStringLiteral("Readmail")));
}

TEST_F(MailCheckTest, WaitingMessagesShowTheReadCommandsAndNoneHidesThemAgain) {
    server.replies.insert("STAT", "+OK 3 1200");
    const QDateTime before = clock.now();
    check();
    const QString caption = QStringLiteral("Read 3 new e-mail message(s)");
    EXPECT_EQ(view.pictures.last(), EventKind::NewMail);
    EXPECT_EQ(view.captions.value(QStringLiteral("Readmail")), caption);
    EXPECT_EQ(view.captions.value(QStringLiteral("mnuReadMail")), caption);
    EXPECT_EQ(view.hints.value(QStringLiteral("toolMailClient")), caption);
    for (const char* c : {"toolMailClient", "Readmail", "mnuReadMail", "N6"})
        EXPECT_TRUE(shown(c)) << c;
    // The pause before the check is the only time that passes.
    EXPECT_EQ(before.secsTo(clock.now()), 2);
    EXPECT_EQ(server.received.last(), QByteArray("QUIT"));

    server.replies.insert("STAT", "+OK 0 0");
    check();
    EXPECT_EQ(view.pictures.last(), EventKind::Connected);
    for (const char* c : {"toolMailClient", "Readmail", "mnuReadMail", "N6"})
        EXPECT_FALSE(shown(c)) << c;
    EXPECT_EQ(mailView.changes, (QList<QPair<int, QString>>{{3, caption}, {0, QString()}}));
    EXPECT_TRUE(view.rows.isEmpty());
}

TEST_F(MailCheckTest, TheMailLogShowsTheConversationButNeverThePassword) {
    server.replies.insert("STAT", "+OK 1 10");
    check();
    EXPECT_EQ(mailView.log,
              (QStringList{"Connected with POP3 server",
                           "< +OK POP3 ready <1896.697170952@dbc.mil>", "> USER anna", "< +OK",
                           "> PASS ******", "< +OK", "> STAT", "< +OK 1 10", "> QUIT", "< +OK"}));
    EXPECT_EQ(server.received.at(1), QByteArray("PASS s3cret"));
    EXPECT_EQ(MailCheck::MailLogLine(QStringLiteral("-ERR PASS rejected")),
              QStringLiteral("> PASS ******"));
    EXPECT_EQ(MailCheck::MailLogLine(QStringLiteral("> USER pass")), QStringLiteral("> USER pass"));
}

TEST_F(MailCheckTest, AFailedCheckLogsTheTimeOutLineAndChangesNothingElse) {
    server.replies.insert("STAT", "+OK 2 20");
    check();
    server.replies.insert("PASS", "-ERR [AUTH] Authentication failed.");
    core->parts().features.mail->SetTimeout(7);
    mailView.log.clear();
    check();
    EXPECT_EQ(mailView.log.mid(mailView.log.size() - 4),
              (QStringList{"< -ERR [AUTH] Authentication failed.",
                           "! Mail server timed out after 7 seconds", "> QUIT", "< +OK"}));
    EXPECT_TRUE(shown("Readmail"));
    EXPECT_EQ(view.pictures.last(), EventKind::NewMail);
    EXPECT_TRUE(view.rows.isEmpty());
}

TEST_F(MailCheckTest, AnUnreachableServerGivesOnlyTheTimeOutLine) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    set(QStringLiteral("POP Port"), QString::number(probe.serverPort()));
    probe.close();
    check();
    EXPECT_EQ(mailView.log, (QStringList{"-ERR Can't connect to host '127.0.0.1'",
                                         "! Mail server timed out after 3 seconds"}));
    EXPECT_TRUE(view.rows.isEmpty());
}

TEST_F(MailCheckTest, AQuitThatFailsIsReportedAsAWarningWithTheHost) {
    server.replies.insert("QUIT", "-ERR not now");
    check();
    ASSERT_EQ(view.rows.size(), 1);
    EXPECT_EQ(view.rows.last().text,
              QStringLiteral("Unable to communicate with mail host 127.0.0.1"));
    EXPECT_EQ(view.rows.last().kind, EventKind::Warning);
    server.replies.insert("QUIT", kSilent);
    check();
    EXPECT_EQ(view.rows.size(), 2);
}

TEST_F(MailCheckTest, ACheckStartedWhileOneRunsDoesNothing) {
    int nested = 0;
    server.onCommand = [&](const QByteArray& line) {
        if (line.startsWith("USER") && nested++ == 0)
            check();
    };
    server.replies.insert("STAT", "+OK 1 5");
    check();
    EXPECT_EQ(server.connections, 1);
    EXPECT_EQ(server.received.count("STAT"), 1);
    EXPECT_TRUE(shown("Readmail"));
    // Once it has ended, the next check runs.
    check();
    EXPECT_EQ(server.connections, 2);
}

TEST_F(MailCheckTest, ARaisedFailureEndsTheCheckAndTheNextStartsAfresh) {
    server.closeOn = "USER";
    server.partialReply = "+OK hel";
    check();
    // Raised out of the check: the application's handler reports it.
    ASSERT_FALSE(view.rows.isEmpty());
    EXPECT_EQ(view.rows.last().text,
              QStringLiteral("Error 10057 in function Send\r\nSocket is not connected"));
    EXPECT_EQ(view.rows.last().kind, EventKind::Warning);
    EXPECT_FALSE(mailView.log.join('\n').contains(QStringLiteral("timed out")));
    server.closeOn.clear();
    server.replies.insert("STAT", "+OK 4 400");
    check();
    EXPECT_EQ(view.captions.value(QStringLiteral("Readmail")),
              QStringLiteral("Read 4 new e-mail message(s)"));
}

TEST_F(MailCheckTest, AtAConnectionStartAFailureRaisedByTheCheckIsThePollersToReport) {
    set(QStringLiteral("POP Host"), QString(70, QLatin1Char('x')) + QStringLiteral(".invalid"));
    list(QStringLiteral("Home"), 8192);
    core->MinTimer();
    EXPECT_EQ(view.rowTexts().last(), QStringLiteral("Unable to hook into the Remote Access API"));
    EXPECT_EQ(view.rows.last().kind, EventKind::Error);
}

TEST_F(MailCheckTest, TheConnectionStartAndTheChimeTimerRunTheCheck) {
    list(QStringLiteral("Home"), 8192);
    core->MinTimer();
    EXPECT_EQ(server.connections, 1);
    core->ChimeTick();
    EXPECT_EQ(server.connections, 2);
}

TEST_F(MailCheckTest, TheProtectionDecidesThePortUnlessOneIsStored) {
    set(QStringLiteral("POP Security"), QStringLiteral("pop3s"));
    check();
    EXPECT_EQ(module.client().Security(), PopSecurity::Pop3s);
    EXPECT_EQ(module.client().Port(), server.portText());
    set(QStringLiteral("POP Port"), QString());
    set(QStringLiteral("POP Host"), QString());
    check();
    EXPECT_EQ(module.client().Port(), QStringLiteral("995"));
    set(QStringLiteral("POP Security"), QStringLiteral("STLS"));
    check();
    EXPECT_EQ(module.client().Port(), QStringLiteral("110"));
}

TEST_F(MailCheckTest, AnUnknownProtectionSendsNothing) {
    set(QStringLiteral("POP Security"), QStringLiteral("tls1.3"));
    check();
    EXPECT_EQ(server.connections, 0);
    EXPECT_EQ(mailView.log, (QStringList{"-ERR Unknown POP Security 'tls1.3'",
                                         "! Mail server timed out after 3 seconds"}));
}

TEST_F(MailCheckTest, MailLogCommandShowsTheLogOverTheDetailedList) {
    view.history = false;
    view.geometry.setHeight(126);
    core->click(QStringLiteral("Maillog1"));
    EXPECT_TRUE(view.history);
    EXPECT_EQ(view.geometry.height(), 244);
    EXPECT_TRUE(view.checked.contains(QStringLiteral("Details1")));
    EXPECT_TRUE(view.checked.contains(QStringLiteral("Details2")));
    EXPECT_TRUE(mailView.logVisible);
    EXPECT_TRUE(view.checked.contains(QStringLiteral("Maillog1")));
    core->click(QStringLiteral("Maillog1"));
    EXPECT_FALSE(mailView.logVisible);
    EXPECT_FALSE(view.checked.contains(QStringLiteral("Maillog1")));
    EXPECT_EQ(view.geometry.height(), 244);
}

} // namespace
