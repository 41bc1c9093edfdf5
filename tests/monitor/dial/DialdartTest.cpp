// Dialdart: which credentials a dial uses, what the user is told at each
// step, how failures end a call, and when a second dial may start.

#include "DialFixture.h"

#include "RasConstants.h"
#include "SessionState.h"

#include <stdexcept>
#include <string>

namespace {

const QString kBook = QStringLiteral("entry \"Home\" user \"anna\" password \"secret\"\n"
                                     "entry \"Backup\" user \"bert\"\n"
                                     "dial \"Home\" 0 3 8192\n"
                                     "dial \"Backup\" 0 8192\n");

class DialdartTest : public DialFixture {
protected:
    void SetUp() override {
        phoneBook(kBook);
        setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Home"));
    }
};

TEST_F(DialdartTest, StoredPasswordDialsAtOnceAndEveryStepIsReported) {
    start();
    EXPECT_FALSE(core->session().DialStarted);
    click("Dialdart1");
    EXPECT_TRUE(view.prompts.isEmpty());
    ASSERT_EQ(ras->dials().size(), 1);
    EXPECT_EQ(ras->dials()[0].entryName, QStringLiteral("Home"));
    EXPECT_EQ(ras->dials()[0].userName, QStringLiteral("anna"));
    EXPECT_EQ(ras->dials()[0].password, QStringLiteral("secret"));
    EXPECT_TRUE(core->session().DialStarted);
    EXPECT_EQ(menus(), kDialling);
    EXPECT_NE(held(), 0u);

    run(3);
    // Each step is reported by the dial and then seen by the poller.
    EXPECT_EQ(events(),
              (QStringList{"3\tConnecting to \"Home\"", "3\tOpening port to modem",
                           "3\tOpening port to modem", "3\tModem connected", "3\tModem connected",
                           "3\tConnected", "2\tConnected to Home"}));
    EXPECT_TRUE(core->session().Online);
    EXPECT_EQ(menus(), kDialling) << "the call is held while connected";
    EXPECT_GT(view.windowShows, 0) << "state changes after a Dialdart dial show the window";
}

TEST_F(DialdartTest, PromptAsksForMissingPasswordAndTypedCredentialsServeThatDialOnly) {
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Backup"));
    start();
    view.promptValues << QStringList{QStringLiteral("bertil"), QStringLiteral("typed-pw")};
    click("Dialdart2");
    ASSERT_EQ(view.prompts.size(), 1);
    const RecordingView::Prompt& p = view.prompts[0];
    EXPECT_EQ(p.caption, QStringLiteral("Backup"));
    EXPECT_EQ(p.labels, (QStringList{"&User name:", "&Password:"}));
    EXPECT_EQ(p.initial, (QStringList{"bert", ""}));
    EXPECT_EQ(p.passwordFields, QList<int>{1});
    ASSERT_EQ(ras->dials().size(), 1);
    EXPECT_EQ(ras->dials()[0].userName, QStringLiteral("bertil"));
    EXPECT_EQ(ras->dials()[0].password, QStringLiteral("typed-pw"));
    for (const QString& name : store.valueNames(RegRoot::CurrentUser, kSettingsKey))
        EXPECT_NE(settings.ReadText(kSettingsKey, name, QString()), QStringLiteral("typed-pw"));

    // The call ends; the next dial of the entry asks again.
    run(2);
    gone(QStringLiteral("Backup"));
    run(1);
    view.answers << BoxAnswer::Cancel;
    click("Dialdart1");
    EXPECT_EQ(view.prompts.size(), 2);
    EXPECT_EQ(ras->dials().size(), 1) << "cancelled: nothing dialled";
    EXPECT_EQ(events().last(), QStringLiteral("1\tConnection aborted by user"));
    EXPECT_EQ(menus(), kIdle);
}

TEST_F(DialdartTest, SecondDialWhileACallIsHeldDoesNothingUntilTheSessionHasEnded) {
    start();
    click("Dialdart1");
    click("ToolbarButton973");
    click("Connect2:Backup");
    EXPECT_EQ(ras->dials().size(), 1);
    run(4);
    click("Dialdart2");
    EXPECT_EQ(ras->dials().size(), 1);

    // The other side hangs up: the menus and Dialdart are free again.
    gone(QStringLiteral("Home"));
    run(1);
    EXPECT_FALSE(core->session().Online);
    EXPECT_EQ(held(), 0u);
    EXPECT_EQ(menus(), kIdle);
    click("Connectusing1:Backup");
    EXPECT_EQ(ras->dials().size(), 2);
    EXPECT_EQ(ras->dials()[1].entryName, QStringLiteral("Backup"));
}

// How a failed dial ends, by its error code.
struct FailureCase {
    int error;
    bool reported;
    bool hungUp;
};

class DialFailureTest : public DialFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DialFailureTest, ErrorIsReportedAndEndsTheCallByItsCode) {
    const FailureCase c = GetParam();
    phoneBook(QStringLiteral("entry \"Home\" password \"pw\"\ndial \"Home\" 0 2 error %1\n")
                  .arg(c.error));
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Home"));
    start();
    click("Dialdart1");
    run(3);
    const QString text = ras->errorString(c.error);
    EXPECT_EQ(events().contains(QStringLiteral("5\t") + text), c.reported) << text.toStdString();
    EXPECT_EQ(held() == 0, c.hungUp);
    EXPECT_EQ(menus(), c.hungUp ? kIdle : kDialling);
    EXPECT_FALSE(events().contains(QStringLiteral("1\tConnection aborted by user")));
}

INSTANTIATE_TEST_SUITE_P(Codes, DialFailureTest,
                         ::testing::Values(FailureCase{RasError::LineBusy, true, true},
                                           FailureCase{RasError::PortAlreadyOpen, true, true},
                                           FailureCase{RasError::UserDisconnection, false, true},
                                           FailureCase{RasError::Pending, true, false},
                                           FailureCase{RasError::InvalidPortHandle, true, false}),
                         [](const ::testing::TestParamInfo<FailureCase>& param) {
                             return "Error" + std::to_string(param.param.error);
                         });

TEST_F(DialdartTest, EntryThatCannotBeFoundIsReportedAndDialdartStaysUsable) {
    setUser(QStringLiteral("Dialdart Using name"), QString());
    start();
    click("Dialdart1");
    // The connection source refuses the dial at once: no step will follow.
    EXPECT_EQ(events(),
              (QStringList{"3\tConnecting to \"\"", "4\tUnable to collect the dialing parameters",
                           "5\t" + ras->errorString(RasError::CannotFindPhonebookEntry)}));
    EXPECT_EQ(menus(), kIdle);
    EXPECT_EQ(held(), 0u);
    EXPECT_TRUE(core->session().DialStarted);
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Home"));
    click("Dialdart1");
    EXPECT_EQ(ras->dials().size(), 1);
}

class ThrowingPrompt : public CredentialsPrompt {
public:
    std::optional<DialCredentials> ask(const CredentialsPromptTexts&, const QString&) override {
        throw std::runtime_error("no display");
    }
};

TEST_F(DialdartTest, FailureWhilePreparingTheDialIsReportedOnce) {
    ThrowingPrompt prompt;
    start(CommandLine(), &prompt);
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Backup"));
    click("Dialdart1");
    EXPECT_EQ(events().last(), QStringLiteral("4\tUnable to Dialdart. Check the modem."));
    EXPECT_TRUE(ras->dials().isEmpty());
    EXPECT_TRUE(core->session().DialStarted);
    // Nothing is held, so a second attempt goes ahead.
    click("Dialdart1");
    EXPECT_EQ(events().filter(QStringLiteral("Unable to Dialdart")).size(), 2);
}

TEST_F(DialdartTest, TrayClickDialsOnlyWithOneClickSet) {
    start();
    click("TrayConn");
    EXPECT_TRUE(ras->dials().isEmpty());
    setUser(QStringLiteral("Dialdart oneclick"), QStringLiteral("true"));
    click("TrayConn");
    EXPECT_EQ(ras->dials().size(), 1);
}

TEST_F(DialdartTest, DialSwitchDialsAtStartAndEndsTheProgramAfterThatCall) {
    CommandLine cl;
    cl.dialAndExit = true;
    start(cl);
    EXPECT_TRUE(core->session().DialStarted);
    ASSERT_EQ(ras->dials().size(), 1);
    run(5);
    EXPECT_TRUE(core->session().Online);
    EXPECT_FALSE(control.terminateRequested());
    gone(QStringLiteral("Home"));
    run(1);
    EXPECT_TRUE(control.terminateRequested());
    EXPECT_EQ(settings.ReadText(kSettingsKey, QStringLiteral("Bad termination"), QString()),
              QStringLiteral("false"));
}

} // namespace
