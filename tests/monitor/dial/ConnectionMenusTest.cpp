// The Connect and Connect using submenus, hanging up from the menus, and the
// program started when a connection comes up after a Dialdart dial.

#include "DialFixture.h"

#include "ConnectionMenus.h"

#include "DosPath.h"
#include "RasConstants.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kThree = QStringLiteral("entry \"Zeta\" password \"z\"\n"
                                      "entry \"Alpha Net\" password \"a\"\n"
                                      "entry \"Mid:Way\" password \"m\"\n");

class ConnectionMenusTest : public DialFixture {};

TEST_F(ConnectionMenusTest, BothSubmenusListThePhoneBookInItsOrderAndAnItemDialsItsEntry) {
    phoneBook(kThree);
    start();
    const QStringList order{"Zeta", "Alpha Net", "Mid:Way"};
    EXPECT_EQ(view.items.value(QStringLiteral("Connect2")), order);
    EXPECT_EQ(view.items.value(QStringLiteral("Connectusing1")), order);
    EXPECT_TRUE(view.boxes.isEmpty());

    click("Connect2:Mid:Way");
    ASSERT_EQ(ras->dials().size(), 1);
    EXPECT_EQ(ras->dials()[0].entryName, QStringLiteral("Mid:Way"));
    EXPECT_EQ(events().first(), QStringLiteral("3\tConnecting to \"Mid:Way\""));
    EXPECT_TRUE(core->session().DialStarted);
    EXPECT_FALSE(core->click(QStringLiteral("Connect2:Omega")));
}

TEST_F(ConnectionMenusTest, MoreEntriesThanTheMenusTakeGiveTheWarningAndNoItems) {
    QString book;
    for (int i = 0; i <= ConnectionMenus::kMaxEntries; ++i)
        book += QStringLiteral("entry \"ISP %1\"\n").arg(i);
    phoneBook(book);
    start();
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch Warning"));
    EXPECT_TRUE(view.boxes[0].text.startsWith(
        QStringLiteral("Unable to find any valid dial-up Internet access entries")));
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Error);
    EXPECT_TRUE(view.items.isEmpty());
    EXPECT_FALSE(core->click(QStringLiteral("Connect2:ISP 1")));
}

// A phone book that cannot be read.
class UnreadablePhoneBook : public SimRasApi {
public:
    using SimRasApi::SimRasApi;
    int enumEntries(QList<RasEntry>&) override { return 711; }
};

class UnreadablePhoneBookTest : public DialFixture {
protected:
    std::unique_ptr<SimRasApi> makeSource() override {
        return std::make_unique<UnreadablePhoneBook>(scenario, clock);
    }
};

TEST_F(UnreadablePhoneBookTest, WarnsAtStartAndDialdartReportsItCannotCollectTheParameters) {
    phoneBook(kThree);
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Zeta"));
    start();
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch Warning"));
    EXPECT_TRUE(view.items.isEmpty());
    click("Dialdart1");
    EXPECT_TRUE(events().contains(QStringLiteral("4\tUnable to collect the dialing parameters")));
    ASSERT_EQ(ras->dials().size(), 1) << "the dial goes ahead with empty credentials";
    EXPECT_TRUE(ras->dials()[0].password.isEmpty());
}

TEST_F(ConnectionMenusTest, DisconnectHangsUpTheDialdartCallAndOnlyTheMainMenuSaysSo) {
    phoneBook(kThree);
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Zeta"));
    start();
    click("Dialdart1");
    run(10);
    ASSERT_TRUE(core->session().Online);
    click("Disconnect1");
    EXPECT_EQ(events().last(), QStringLiteral("1\tConnection aborted by user"));
    EXPECT_EQ(menus(), kIdle);
    run(1);
    EXPECT_FALSE(core->session().Online) << "the poller ends the session";
    EXPECT_TRUE(events().last().startsWith(QStringLiteral("1\tDisconnected, this connection")));

    // From the tray, while still dialling: hung up without a word.
    click("Connectusing1:Alpha Net");
    run(2);
    const QStringList before = events();
    click("Disconnect2");
    EXPECT_EQ(events(), before);
    EXPECT_EQ(menus(), kIdle);
    run(10);
    EXPECT_FALSE(core->session().Online) << "the dial does not go on";
}

TEST_F(ConnectionMenusTest, DisconnectLeavesAConnectionDialledByAnotherProgram) {
    phoneBook(kThree);
    start();
    list(QStringLiteral("Zeta"), RasState::Connected);
    run(1);
    ASSERT_TRUE(core->session().Online);
    click("Disconnect1");
    click("Disconnect2");
    run(1);
    EXPECT_TRUE(core->session().Online);
    EXPECT_FALSE(events().contains(QStringLiteral("1\tConnection aborted by user")));
}

class AfterConnectProgramTest : public DialFixture {
protected:
    void SetUp() override {
        phoneBook(kThree);
        setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Zeta"));
        // Drive C: is a folder of the test's own.
        store.writeValue(RegRoot::CurrentUser, kDrivesKey, QStringLiteral("C"),
                         RegValue::fromString(drive.path()));
    }
    QTemporaryDir drive;
};

TEST_F(AfterConnectProgramTest, RunsOnlyAfterADialdartDialAndThenForEveryConnection) {
    setUser(QStringLiteral("Dialdart Run"), QStringLiteral("\"c:\\Mail Tools\\fetch\" -q  inbox"));
    start();
    list(QStringLiteral("Alpha Net"), RasState::Connected);
    run(1);
    EXPECT_TRUE(shell.started.isEmpty()) << "no Dialdart dial in this run yet";
    gone(QStringLiteral("Alpha Net"));
    run(1);

    click("Dialdart1");
    run(10);
    ASSERT_EQ(shell.started.size(), 1);
    EXPECT_EQ(shell.started[0].program, drive.path() + QStringLiteral("/Mail Tools/fetch"));
    EXPECT_EQ(shell.started[0].arguments, (QStringList{"-q", "inbox"}));
    EXPECT_EQ(shell.started[0].workingDir, drive.path());
    gone(QStringLiteral("Zeta"));
    run(1);

    // Dialled elsewhere, later in the same run.
    list(QStringLiteral("Mid:Way"), RasState::OpenPort);
    run(1);
    list(QStringLiteral("Mid:Way"), RasState::Connected);
    run(1);
    EXPECT_EQ(shell.started.size(), 2);
    EXPECT_TRUE(view.boxes.isEmpty());
}

TEST_F(AfterConnectProgramTest, ProgramThatCannotStartIsShownInABoxAndTheSessionGoesOn) {
    setUser(QStringLiteral("Dialdart Run"), QStringLiteral("C:\\nowhere\\mail.exe"));
    shell.failWith = QStringLiteral("mail.exe: No such file or directory");
    start();
    click("Dialdart1");
    run(10);
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0].caption, QStringLiteral("Tollwatch"));
    EXPECT_EQ(view.boxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(view.boxes[0].text,
              QStringLiteral("Unable to launch the e-mail client. Please check that this path is "
                             "available: C:\\nowhere\\mail.exe"));
    EXPECT_TRUE(core->session().Online);
    run(60);
    EXPECT_EQ(view.boxes.size(), 1);

    // A value that names no program is not handed to the shell at all.
    setUser(QStringLiteral("Dialdart Run"), QStringLiteral(" \" "));
    shell.failWith.clear();
    gone(QStringLiteral("Zeta"));
    run(1);
    list(QStringLiteral("Alpha Net"), RasState::OpenPort);
    run(1);
    list(QStringLiteral("Alpha Net"), RasState::Connected);
    run(1);
    ASSERT_EQ(view.boxes.size(), 2);
    EXPECT_TRUE(view.boxes[1].text.endsWith(QStringLiteral("available:  \" ")));
    EXPECT_EQ(shell.started.size(), 1);
}

TEST_F(AfterConnectProgramTest, DocumentIsOpenedWithTheDesktopsProgramForIt) {
    QFile notes(drive.filePath(QStringLiteral("welcome notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    setUser(QStringLiteral("Dialdart Run"), QStringLiteral("C:\\welcome notes.txt"));
    start();
    click("Dialdart1");
    run(10);
    EXPECT_TRUE(shell.started.isEmpty());
    ASSERT_EQ(shell.opened.size(), 1);
    EXPECT_EQ(shell.opened[0].toLocalFile(), drive.filePath(QStringLiteral("welcome notes.txt")));
}

} // namespace
