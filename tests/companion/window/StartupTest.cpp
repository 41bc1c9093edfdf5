// Start-up and the settings kept between runs: the switches, the first
// start's message and "Log file 1", the program path, the status bar, the
// toolbar and the column widths, the window's place, one instance per store,
// the help pages.

#include "CompanionSettings.h"
#include "CompanionStartup.h"
#include "CompanionStatusBar.h"
#include "HelpService.h"
#include "MainActions.h"
#include "MainWindowSettings.h"
#include "SingleInstance.h"
#include "SqliteRegistryStore.h"
#include "TestEnvironment.h"
#include "WindowTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QProcess>
#include <QSignalSpy>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

class StartupTest : public ::testing::Test {
protected:
    QString slot1() const {
        return rig.read(RegRoot::CurrentUser, kLogFilesKey, QStringLiteral("Log file 1"));
    }
    void setText(RegRoot root, const QString& key, const QString& name, const QString& text) {
        rig.store.writeValue(root, key, name, RegValue::fromString(text));
    }
    WindowTest::Rig rig;
};

TEST(CommandLineSwitchesTest, RegistrationSwitchesEndAtOnceInAnyCase) {
    EXPECT_TRUE(CompanionStartup::endsAtOnce({"companion", "/unregserver"}));
    EXPECT_TRUE(CompanionStartup::endsAtOnce({"companion", "-REGSERVER"}));
    EXPECT_TRUE(CompanionStartup::endsAtOnce({"companion", "/Automation", "/RegServer"}));
    EXPECT_FALSE(CompanionStartup::endsAtOnce({"companion", "REGSERVER"}));
    EXPECT_FALSE(CompanionStartup::endsAtOnce({"companion", "/AUTOMATION", "-embedding"}));
    EXPECT_FALSE(CompanionStartup::endsAtOnce({"/regserver"})); // the program's own name
}

TEST_F(StartupTest, TheFirstStartSaysSoAndSeedsTheDefaultLogFile) {
    auto w = rig.window();
    w->FormCreate();
    ASSERT_GE(rig.dialogs.messages.size(), 1);
    const MessageBoxRequest& first = rig.dialogs.messages[0];
    EXPECT_EQ(first.caption, "Tollwatch Companion");
    EXPECT_EQ(first.icon, MessageIcon::Information);
    EXPECT_EQ(first.buttons, MessageButtons::Ok);
    EXPECT_EQ(first.text,
              "The Tollwatch Companion has added the current user's log file to the report "
              "list.\nTo add other log files to the report list, click the Options button.");
    EXPECT_EQ(slot1(), "c:\\access.txt");

    rig.dialogs.messages.clear();
    rig.window()->FormCreate();
    for (const MessageBoxRequest& m : rig.dialogs.messages)
        EXPECT_NE(m.icon, MessageIcon::Information) << m.text.toStdString();
}

TEST_F(StartupTest, TheSeedIsTheLogFileTheMonitorWritesTo) {
    setText(RegRoot::CurrentUser, kSettingsKey, "Log Filename", "/home/anna/monitor.txt");
    EXPECT_EQ(CompanionStartup::monitorLogFile(rig.store), "/home/anna/monitor.txt");
    setText(RegRoot::LocalMachine, kMachineKey, "Log filename", "d:\\logs\\All.txt");
    rig.window()->FormCreate();
    EXPECT_EQ(slot1(), "d:\\logs\\All.txt"); // the machine-wide value comes first
    setText(RegRoot::LocalMachine, kMachineKey, "LOG FILENAME", "");
    EXPECT_EQ(CompanionStartup::monitorLogFile(rig.store), "/home/anna/monitor.txt");
}

TEST_F(StartupTest, TheProgramPathIsRecordedOrAWarningShown) {
    rig.setSlot(1, rig.dir.filePath("none.txt"));
    rig.window()->FormCreate();
    EXPECT_EQ(rig.read(RegRoot::LocalMachine, kCompanionKey, "path"), "/opt/companion");

    rig.dialogs.messages.clear();
    rig.store.setFailWrites(true);
    rig.window()->FormCreate();
    rig.store.setFailWrites(false);
    QStringList texts;
    for (const MessageBoxRequest& m : rig.dialogs.messages)
        texts << m.text;
    EXPECT_TRUE(texts.contains("Unable to store the Companion path to the Windows registry. "
                               "Tollwatch may not be able to access the Companion, even though "
                               "the program will run correctly."))
        << texts.join(" | ").toStdString();
}

TEST_F(StartupTest, BarsAndColumnWidthsAreKeptFromOneRunToTheNext) {
    rig.setSlot(1, rig.dir.filePath("none.txt"));
    {
        auto w = rig.window();
        w->FormCreate();
        EXPECT_FALSE(w->StatusBar()->isHidden());
        EXPECT_EQ(w->List()->header()->sectionSize(0), 75);
        EXPECT_EQ(w->List()->header()->sectionSize(6), 100);
        w->actions()->statusBar->trigger(); // "&Status bar" off
        w->setToolbarVisible(false);
        w->List()->header()->resizeSection(1, 160);
        w->close();
    }
    EXPECT_EQ(rig.read(RegRoot::CurrentUser, kCompanionKey, "StatusbarVisible"), "false");
    EXPECT_EQ(rig.read(RegRoot::CurrentUser, kCompanionKey, "MainToolbarVisible"), "false");
    EXPECT_EQ(rig.read(RegRoot::CurrentUser, kCompanionKey, "Column 1"), "160");
    auto again = rig.window();
    again->FormCreate();
    EXPECT_TRUE(again->StatusBar()->isHidden());
    EXPECT_TRUE(again->actions()->toolbar()->isHidden());
    EXPECT_FALSE(again->actions()->statusBar->isChecked());
    EXPECT_EQ(again->List()->header()->sectionSize(1), 160);
}

TEST_F(StartupTest, UnreadableWidthsFallBackToTheDefaults) {
    Settings settings(rig.store);
    settings.WriteText(kCompanionKey, "Column 2", "wide");
    settings.WriteText(kCompanionKey, "Column 3", "-4");
    settings.WriteText(kCompanionKey, "Column 4", "80");
    const auto widths = MainWindowSettings(settings).columnWidths();
    EXPECT_EQ(widths, (std::array<int, 7>{75, 120, 45, 65, 80, 50, 100}));
}

TEST_F(StartupTest, TheWindowsPlaceIsKeptAndMovedBackOntoTheScreen) {
    Settings settings(rig.store);
    MainWindowSettings kept(settings);
    EXPECT_FALSE(kept.placement());
    kept.savePlacement({QRect(40, 50, 640, 480), WindowPlacement::Maximized});
    EXPECT_EQ(settings.ReadText(kCompanionKey, "WindowState", ""), "2");
    const auto back = kept.placement();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->geometry, QRect(40, 50, 640, 480));
    EXPECT_EQ(back->state, WindowPlacement::Maximized);

    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(MainWindowSettings::onScreen(QRect(100, 100, 400, 300), screen),
              QRect(100, 100, 400, 300));
    EXPECT_EQ(MainWindowSettings::onScreen(QRect(3000, 2000, 400, 300), screen),
              QRect(624, 468, 400, 300));
    EXPECT_EQ(MainWindowSettings::onScreen(QRect(-500, -40, 2000, 300), screen),
              QRect(0, 0, 1024, 300));
    // Mostly off to the right but still grabbable: left alone.
    EXPECT_EQ(MainWindowSettings::onScreen(QRect(900, 100, 400, 300), screen),
              QRect(900, 100, 400, 300));
}

TEST_F(StartupTest, ClosingKeepsThePlaceForTheNextStart) {
    rig.setSlot(1, rig.dir.filePath("none.txt"));
    {
        auto w = rig.window();
        w->FormCreate();
        w->setGeometry(QRect(30, 40, 700, 450));
        w->close();
    }
    EXPECT_EQ(rig.read(RegRoot::CurrentUser, kCompanionKey, "Width"), "700");
    EXPECT_EQ(rig.read(RegRoot::CurrentUser, kCompanionKey, "WindowState"), "0");
    auto again = rig.window();
    again->FormCreate();
    EXPECT_EQ(again->size(), QSize(700, 450));
}

TEST(SingleInstanceTest, ASecondStartOnTheSameStoreWakesTheFirst) {
    QTemporaryDir dir;
    SingleInstance first(dir.filePath("a.sqlite"));
    ASSERT_TRUE(first.listen());
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    SingleInstance second(dir.filePath("a.sqlite"));
    EXPECT_FALSE(second.listen());
    EXPECT_TRUE(woken.wait(5000));
    SingleInstance other(dir.filePath("b.sqlite"));
    EXPECT_TRUE(other.listen());
    EXPECT_NE(SingleInstance::serverName(dir.filePath("a.sqlite")),
              SingleInstance::serverName(dir.filePath("b.sqlite")));
}

// The real program: a second start on the same store ends at once and the
// first one keeps running.
TEST(SingleInstanceTest, TheProgramsSecondStartEnds) {
    QTemporaryDir dir;
    const QString store = dir.filePath("registry.sqlite");
    const QString log = dir.filePath("access.txt");
    WindowTest::writeLog(log, WindowTest::sampleLines());
    {
        SqliteRegistryStore registry(store);
        registry.writeValue(RegRoot::CurrentUser, kLogFilesKey, "Log file 1",
                            RegValue::fromString(log));
    }
    const QString program = TestEnvironment::binDir() + "/companion";
    QProcess first;
    first.start(program, {"--registry", store});
    ASSERT_TRUE(first.waitForStarted());
    // The first start is ready when its socket file appears in the
    // temporary folder; the folder's changes wake the test.
    const QString socket = QDir::tempPath() + "/" + SingleInstance::serverName(store);
    QFileSystemWatcher watcher({QDir::tempPath()});
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    while (!QFile::exists(socket) && first.state() == QProcess::Running && changed.wait(20000))
        changed.clear();
    ASSERT_TRUE(QFile::exists(socket));
    QProcess second;
    second.start(program, {"--registry", store, "/AUTOMATION"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    // Without --report, arguments the program does not know are ignored.
    QProcess third;
    third.start(program, {"--registry", store, "--bogus", "-x"});
    ASSERT_TRUE(third.waitForFinished(10000));
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

TEST(HelpTest, PagesPerLanguageWithTheSetupTopic) {
    QTemporaryDir dir;
    for (const char* lang : {"en", "sv"})
        QFile(dir.filePath(QStringLiteral("companion-%1.html").arg(lang)))
            .open(QIODevice::WriteOnly);
    const BrowserHelp help(dir.path());
    EXPECT_EQ(help.url(1, 1),
              QUrl::fromLocalFile(dir.filePath("companion-sv.html")).toString() + "#setup");
    // No German page: the English one.
    EXPECT_EQ(help.url(2, 0), QUrl::fromLocalFile(dir.filePath("companion-en.html")));
    EXPECT_EQ(help.url(9, 0), QUrl::fromLocalFile(dir.filePath("companion-en.html")));

    // Every shipped page has the contents and the setup topic.
    for (const char* lang : {"en", "sv", "de", "da"}) {
        QFile page(TestEnvironment::sourceDir() +
                   QStringLiteral("/resources/help/companion-%1.html").arg(lang));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << lang;
        const QByteArray html = page.readAll();
        EXPECT_TRUE(html.contains("id=\"setup\"")) << lang;
        EXPECT_TRUE(html.contains("id=\"contents\"")) << lang;
    }
}

} // namespace
