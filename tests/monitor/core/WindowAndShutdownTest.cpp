// The window's own commands and the ways a run ends: details, toolbar and
// on-top toggles, the wheel, the tray clicks, the close box, Exit and an
// exception that escaped a handler.

#include "ApplicationControl.h"
#include "CoreFixture.h"
#include "MonitorCore.h"
#include "VirtualRunner.h"

namespace {

class WindowTest : public CoreFixture {
protected:
    WindowTest()
        : chime(clock),
          core({store, formats, clock, view, view, ras, chime, MonitorFeatures::allFrom(features),
                control, CommandLine(), nullptr, QString()}) {
        settings.WriteFlag(kSettingsKey, QStringLiteral("Skip intro"), true);
        settings.WriteFlag(kSettingsKey, QStringLiteral("Show details"), true);
        core.FormCreate();
    }

    VirtualChime chime;
    TerminateFlag control;
    MonitorCore core;
};

TEST_F(WindowTest, DetailsToggledTwiceReturnsToTheDetailedHeight) {
    ASSERT_TRUE(view.history);
    core.click(QStringLiteral("Details1"));
    EXPECT_FALSE(view.history);
    EXPECT_EQ(view.geometry.height(), 126);
    EXPECT_FALSE(view.checked.contains(QStringLiteral("Details2")));
    core.click(QStringLiteral("ToolbarButton972"));
    EXPECT_TRUE(view.history);
    EXPECT_EQ(view.geometry.height(), 243);
    EXPECT_TRUE(view.checked.contains(QStringLiteral("Details1")));
    EXPECT_TRUE(view.checked.contains(QStringLiteral("Details2")));
}

TEST_F(WindowTest, OnlyOneWheelNotchTogglesTheDetails) {
    core.window().appmessage(240);
    EXPECT_TRUE(view.history);
    core.window().appmessage(-120);
    EXPECT_FALSE(view.history);
    core.window().appmessage(120);
    EXPECT_TRUE(view.history);
}

TEST_F(WindowTest, ToolbarAndOnTopToggleWithTheirChecks) {
    core.click(QStringLiteral("Toolbar2"));
    EXPECT_FALSE(view.toolbar);
    EXPECT_FALSE(view.checked.contains(QStringLiteral("Toolbar1")));
    core.click(QStringLiteral("Ontop1"));
    EXPECT_TRUE(view.onTop);
    core.click(QStringLiteral("Ontop1"));
    EXPECT_FALSE(view.onTop);
}

TEST_F(WindowTest, OneClickNeverWrittenMakesDialdartTheDefaultButAClickDoesNothing) {
    EXPECT_EQ(view.trayDefault, QStringLiteral("Dialdart2"));
    core.click(QStringLiteral("TrayConn"));
    EXPECT_FALSE(features.calls.contains(QStringLiteral("DialdartMenu")));
    settings.WriteFlag(kSettingsKey, QStringLiteral("Dialdart oneclick"), true);
    core.click(QStringLiteral("TrayConn"));
    EXPECT_TRUE(features.calls.contains(QStringLiteral("DialdartMenu")));
}

TEST_F(WindowTest, CloseBoxHidesToTheTrayAndShowStatisticsBringsItBack) {
    core.click(QStringLiteral("FormClose"));
    EXPECT_EQ(view.hides, 1);
    EXPECT_EQ(userValue(QStringLiteral("Visible")), QStringLiteral("false"));
    EXPECT_EQ(userValue(QStringLiteral("Show details")), QStringLiteral("true"));
    EXPECT_FALSE(control.terminateRequested());
    core.click(QStringLiteral("Open1"));
    EXPECT_TRUE(core.window().WindowShown());
    EXPECT_EQ(userValue(QStringLiteral("Visible")), QStringLiteral("true"));
}

TEST_F(WindowTest, SecondStartBringsTheWindowBack) {
    core.click(QStringLiteral("FormClose"));
    const int shows = view.windowShows;
    core.SecondStartRequest();
    EXPECT_EQ(view.windowShows, shows + 1);
    EXPECT_TRUE(core.window().WindowShown());
}

TEST_F(WindowTest, ExitAsksTheLockAndEndsOnlyWhenAllowed) {
    features.refuse = true;
    core.click(QStringLiteral("Exit2"));
    EXPECT_FALSE(control.terminateRequested());
    EXPECT_TRUE(features.calls.contains(QStringLiteral("IsItProtected:1")));
    features.refuse = false;
    core.click(QStringLiteral("Exit1"));
    EXPECT_TRUE(control.terminateRequested());
}

TEST_F(WindowTest, EscapedExceptionIsAWarningWithABeep) {
    core.AppException(QStringLiteral("Disk full"));
    EXPECT_EQ(view.rowTexts().last(), QStringLiteral("Disk full"));
    EXPECT_EQ(view.rows.last().kind, EventKind::Warning);
    EXPECT_EQ(view.beeps.last(), BeepKind::Warning);
}

TEST_F(WindowTest, NewMailDisplayShowsTheMailCommandsForTwoMessages) {
    core.click(QStringLiteral("Button2"));
    EXPECT_EQ(view.pictures.last(), EventKind::NewMail);
    EXPECT_TRUE(view.visible.value(QStringLiteral("toolMailClient")));
    EXPECT_EQ(view.captions.value(QStringLiteral("Readmail")),
              QStringLiteral("Read 2 new e-mail message(s)"));
}

TEST_F(WindowTest, FileLogOpensTheConfiguredLog) {
    settings.WriteText(kSettingsKey, QStringLiteral("Log Filename"), QStringLiteral("/var/x.txt"));
    core.click(QStringLiteral("Viewlog1"));
    EXPECT_EQ(view.openedDocuments, QStringList{QStringLiteral("/var/x.txt")});
}

TEST_F(WindowTest, UnknownCommandIsRefused) {
    EXPECT_FALSE(core.click(QStringLiteral("Nonsense1")));
    EXPECT_TRUE(core.click(QStringLiteral("About1")));
}

} // namespace
