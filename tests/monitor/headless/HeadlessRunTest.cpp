// The headless lines and the virtual-time order of a scenario run: what a
// second does in which order, when the chime ticks and when a run ends.

#include "ApplicationControl.h"
#include "Clock.h"
#include "HeadlessView.h"
#include "MemoryRegistryStore.h"
#include "MonitorCore.h"
#include "Settings.h"
#include "SimRasApi.h"
#include "TestFormats.h"
#include "VirtualRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(HeadlessViewTest, SpecialCharactersAreEscaped) {
    EXPECT_EQ(HeadlessView::escaped(QStringLiteral("a\tb\r\nc\\d")),
              QStringLiteral("a\\tb\\r\\nc\\\\d"));
}

TEST(HeadlessViewTest, LinesCarryTheClockAndTextsAreTracedOnlyWhenTheyChange) {
    ManualClock clock(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    QStringList lines;
    HeadlessView view(clock, true, [&](const QString& l) { lines << l; });
    view.eventPosted(QString(), EventKind::Information);
    view.setStatusLine(1, QStringLiteral("x"));
    view.setStatusLine(1, QStringLiteral("x"));
    view.setCommandEnabled(QStringLiteral("Disconnect1"), false);
    view.beep(BeepKind::Warning);
    EXPECT_EQ(lines,
              (QStringList{QStringLiteral("2024-01-02 03:04:05\tevent\t1\t"),
                           QStringLiteral("2024-01-02 03:04:05\tview\tLabel1\tx"),
                           QStringLiteral("2024-01-02 03:04:05\tview\tDisconnect1.Enabled\tfalse"),
                           QStringLiteral("2024-01-02 03:04:05\tbeep\tWarning")}));
    HeadlessView quiet(clock, false, [&](const QString& l) { lines << l; });
    lines.clear();
    quiet.setStatusLine(1, QStringLiteral("y"));
    quiet.beep(BeepKind::Warning);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(HeadlessViewTest, BoxesTakeQueuedAnswersThatFitTheirButtons) {
    ManualClock clock(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    QStringList lines;
    HeadlessView view(clock, false, [&](const QString& l) { lines << l; });
    ScenarioAnswer no;
    no.button = ScenarioAnswer::Button::No;
    view.setAnswers({no, no});
    EXPECT_EQ(view.messageBox(QStringLiteral("Tollwatch"), QStringLiteral("Reset?"),
                              BoxButtons::YesNo, BoxIcon::Information, BoxAnswer::Yes),
              BoxAnswer::No);
    // An OK box cannot be answered No: it takes its default, using up the answer.
    EXPECT_EQ(view.messageBox(QStringLiteral("Tollwatch"), QStringLiteral("a\nb"), BoxButtons::Ok,
                              BoxIcon::Warning, BoxAnswer::Ok),
              BoxAnswer::Ok);
    EXPECT_EQ(view.messageBox(QStringLiteral("T"), QStringLiteral("c"), BoxButtons::YesNo,
                              BoxIcon::None, BoxAnswer::Yes),
              BoxAnswer::Yes);
    EXPECT_EQ(lines.at(0), QStringLiteral("2024-01-02 03:04:05\tbox\tTollwatch\tReset?\tNo"));
    EXPECT_EQ(lines.at(1), QStringLiteral("2024-01-02 03:04:05\tbox\tTollwatch\ta\\nb\tOK"));
}

TimedDirective at(const QDateTime& t, TimedDirective::Kind kind, const QString& entry = {},
                  int state = 0) {
    TimedDirective d;
    d.at = t;
    d.kind = kind;
    d.entryName = entry;
    d.state = state;
    return d;
}

class VirtualRunnerTest : public ::testing::Test {
protected:
    VirtualRunnerTest()
        : start(QDate(2024, 3, 15), QTime(21, 0, 0)), clock(start), settings(store),
          formats(TestFormats::enUS()),
          view(clock, false, [this](const QString& l) { lines << l; }), ras(Scenario(), clock),
          chime(clock) {
        settings.WriteFlag(kSettingsKey, QStringLiteral("Skip intro"), true);
        settings.WriteText(kSettingsKey, QStringLiteral("Log Filename"),
                           QStringLiteral("/nonexistent/folder/access.txt"));
    }

    int run(const QList<TimedDirective>& directives, const CommandLine& cl = {}) {
        MonitorCore core({store, formats, clock, view, view, ras, chime,
                          MonitorFeatures::allFrom(features), control, cl, &view, QString()});
        RunHooks hooks{[] {}, [this](const QString& t) { lines << QStringLiteral("info ") + t; },
                       [this] {
                           lines << QStringLiteral("crash");
                           control.requestTerminate();
                       }};
        return VirtualRunner(core, ras, clock, chime, control, directives, hooks).run();
    }
    QStringList eventsOnly() const { return lines.filter(QStringLiteral("\tevent\t")); }

    QDateTime start;
    MemoryRegistryStore store;
    ManualClock clock;
    Settings settings;
    FormatSettings formats;
    QStringList lines;
    HeadlessView view;
    SimRasApi ras;
    VirtualChime chime;
    TerminateFlag control;
    UnbuiltFeatures features;
};

TEST_F(VirtualRunnerTest, ConnectionListedAtASecondStartsAtThatSecondAndTheRunEndsOneSecondLater) {
    const QDateTime t = start.addSecs(5);
    EXPECT_EQ(run({at(t, TimedDirective::Kind::ConnectionState, QStringLiteral("Home"), 8192),
                   at(t.addSecs(125), TimedDirective::Kind::Gone, QStringLiteral("Home"))}),
              0);
    const QStringList events = eventsOnly();
    EXPECT_EQ(events.at(1), QStringLiteral("2024-03-15 21:00:05\tevent\t2\tConnected to Home"));
    EXPECT_TRUE(events.contains(
        QStringLiteral("2024-03-15 21:02:10\tevent\t1\tDisconnected, this connection: 0:03 "
                       "(total: 0:03)")));
    EXPECT_EQ(events.last(), QStringLiteral("2024-03-15 21:02:11\tevent\t1\tShut down"));
}

TEST_F(VirtualRunnerTest, ChimeTicksSixtyOneSecondsAfterTheConnection) {
    settings.WriteText(kSettingsKey, QStringLiteral("Warning time"), QStringLiteral("1"));
    settings.WriteFlag(kSettingsKey, QStringLiteral("Warning"), true);
    run({at(start.addSecs(1), TimedDirective::Kind::ConnectionState, QStringLiteral("Home"), 8192),
         at(start.addSecs(200), TimedDirective::Kind::Exit)});
    // The time limit of one minute is seen by the first chime tick only.
    const QStringList boxes = lines.filter(QStringLiteral("\tbox\t"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("2024-03-15 21:01:02\tbox\tTollwatch Warning")));
}

TEST_F(VirtualRunnerTest, ExitEndsTheRunAfterThatSecondsTick) {
    run({at(start.addSecs(3), TimedDirective::Kind::ConnectionState, QStringLiteral("Home"), 0),
         at(start.addSecs(3), TimedDirective::Kind::Exit),
         at(start.addSecs(9), TimedDirective::Kind::ConnectionState, QStringLiteral("Home"), 1)});
    const QStringList events = eventsOnly();
    EXPECT_EQ(events.at(1), QStringLiteral("2024-03-15 21:00:03\tevent\t3\tOpening port to modem"));
    EXPECT_EQ(events.last(), QStringLiteral("2024-03-15 21:00:03\tevent\t1\tShut down"));
    EXPECT_EQ(settings.ReadText(kSettingsKey, QStringLiteral("Bad termination"), {}),
              QStringLiteral("false"));
}

TEST_F(VirtualRunnerTest, DialSwitchEndsTheRunAfterTheConnectionWasClosedOut) {
    CommandLine cl;
    cl.dialAndExit = true;
    run({at(start.addSecs(2), TimedDirective::Kind::ConnectionState, QStringLiteral("Home"), 8192),
         at(start.addSecs(62), TimedDirective::Kind::Gone, QStringLiteral("Home")),
         at(start.addSecs(300), TimedDirective::Kind::Exit)},
        cl);
    const QStringList events = eventsOnly();
    EXPECT_TRUE(events.last().startsWith(QStringLiteral("2024-03-15 21:01:02")));
    EXPECT_TRUE(events.last().endsWith(QStringLiteral("Shut down")));
}

TEST_F(VirtualRunnerTest, UnknownClickIsReportedAndTheRunGoesOn) {
    TimedDirective click = at(start.addSecs(1), TimedDirective::Kind::Click);
    click.command = QStringLiteral("Frobnicate1");
    run({click});
    EXPECT_TRUE(lines.contains(QStringLiteral("info unknown command Frobnicate1")));
    EXPECT_TRUE(eventsOnly().last().endsWith(QStringLiteral("Shut down")));
}

} // namespace
