// Starting the e-mail program from the new-mail commands: the program and
// switches of the stored command line, the confirmation, and the box when
// it cannot be started.

#include "ApplicationControl.h"
#include "CoreFixture.h"
#include "MailModule.h"
#include "MailPrograms.h"
#include "ModuleRunEnvironment.h"
#include "MonitorCore.h"
#include "RecordingMailView.h"
#include "RecordingShell.h"
#include "VirtualRunner.h"

#include <QDir>

namespace {

class MailClientStarterTest : public CoreFixture {
protected:
    MailClientStarterTest() {
        core = std::make_unique<MonitorCore>(
            moduleRunEnvironment(store, formats, clock, view, ras, chime, control, {&module}));
    }
    void storeClient(const QString& name, const QString& commandLine) {
        store.writeValue(RegRoot::LocalMachine,
                         MailPrograms::kClientsKey + '\\' + name + "\\shell\\open\\command",
                         QString(), RegValue::fromString(commandLine));
    }
    void choose(const QString& name, bool confirm) {
        settings.WriteText(kSettingsKey, QStringLiteral("Mail client"), name);
        settings.WriteFlag(kSettingsKey, QStringLiteral("Confirm e-mail client"), confirm);
    }

    RecordingMailView mailView;
    RecordingShell shell;
    MailModule module{shell, mailView};
    VirtualChime chime{clock};
    TerminateFlag control;
    std::unique_ptr<MonitorCore> core;
    const QString home = QDir::homePath();
};

TEST_F(MailClientStarterTest, AQuotedStoredPathStartsAloneInTheHomeFolder) {
    storeClient(QStringLiteral("Outlook Express"),
                QStringLiteral("\"C:\\Program Files\\Outlook Express\\msimn.exe\" /mail"));
    choose(QStringLiteral("Outlook Express"), false);
    core->click(QStringLiteral("Readmail"));
    ASSERT_EQ(shell.started.size(), 1);
    EXPECT_EQ(shell.started[0].program, home + "/Program Files/Outlook Express/msimn.exe");
    EXPECT_TRUE(shell.started[0].arguments.isEmpty());
    EXPECT_EQ(shell.started[0].workingDir, home);
    EXPECT_TRUE(mailView.confirmations.isEmpty());
}

TEST_F(MailClientStarterTest, SwitchesAfterAnUnquotedPathArePassedAsArguments) {
    // "Exchange" is the program when none is chosen.
    storeClient(QStringLiteral("Exchange"), QStringLiteral("c:\\mail\\mailer.exe /check /all"));
    settings.WriteFlag(kSettingsKey, QStringLiteral("Confirm e-mail client"), false);
    core->click(QStringLiteral("toolMailClient"));
    ASSERT_EQ(shell.started.size(), 1);
    EXPECT_EQ(shell.started[0].program, home + "/mail/mailer.exe");
    EXPECT_EQ(shell.started[0].arguments, (QStringList{"/check", "/all"}));
}

TEST_F(MailClientStarterTest, CancellingTheConfirmationStartsNothingAndKeepsIt) {
    storeClient(QStringLiteral("Mutt"), QStringLiteral("mutt"));
    settings.WriteText(kSettingsKey, QStringLiteral("Mail client"), QStringLiteral("Mutt"));
    mailView.answers = {{false, true}};
    core->click(QStringLiteral("mnuReadMail"));
    EXPECT_TRUE(shell.started.isEmpty());
    EXPECT_TRUE(userValue(QStringLiteral("Confirm e-mail client")).isEmpty());
    ASSERT_EQ(mailView.confirmations.size(), 1);
    const MailView::ConfirmTexts& t = mailView.confirmations[0];
    EXPECT_EQ(t.caption, QStringLiteral("Tollwatch"));
    EXPECT_EQ(t.text, intl.IntlStr(8330));
    EXPECT_EQ(t.skip, QStringLiteral("&Skip this message in the future"));
    EXPECT_EQ(t.ok, QStringLiteral("OK"));
    EXPECT_EQ(t.cancel, QStringLiteral("Cancel"));
}

TEST_F(MailClientStarterTest, SkippingTheConfirmationIsRememberedWhenConfirmed) {
    storeClient(QStringLiteral("Mutt"), QStringLiteral("mutt"));
    settings.WriteText(kSettingsKey, QStringLiteral("Mail client"), QStringLiteral("Mutt"));
    mailView.answers = {{true, true}};
    core->click(QStringLiteral("Readmail"));
    EXPECT_EQ(shell.started.size(), 1);
    EXPECT_EQ(userValue(QStringLiteral("Confirm e-mail client")), QStringLiteral("false"));
    core->click(QStringLiteral("Readmail"));
    EXPECT_EQ(shell.started.size(), 2);
    EXPECT_EQ(mailView.confirmations.size(), 1);
}

TEST_F(MailClientStarterTest, AProgramThatCannotBeStartedIsNamedInABox) {
    storeClient(QStringLiteral("Gone"), QStringLiteral("\"C:\\gone\\mail.exe\""));
    choose(QStringLiteral("Gone"), false);
    shell.failWith = QStringLiteral("mail.exe: No such file or directory");
    core->click(QStringLiteral("Readmail"));
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch"));
    EXPECT_EQ(view.boxes[0].text,
              QStringLiteral("Unable to run the e-mail client: \r\n") + home + "/gone/mail.exe");
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Warning);
}

TEST_F(MailClientStarterTest, AStoredKeyWithoutACommandStartsNothingAndSaysSo) {
    store.createKey(RegRoot::LocalMachine,
                    MailPrograms::kClientsKey + QStringLiteral("\\Empty\\shell\\open\\command"));
    choose(QStringLiteral("Empty"), false);
    core->click(QStringLiteral("Readmail"));
    EXPECT_TRUE(shell.started.isEmpty());
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].text, QStringLiteral("Unable to run the e-mail client: \r\n"));
}

} // namespace
