// The settings dialog as the commands of a run open it, answered page by
// page as a headless run answers it: what a changed value does at once (the
// tariff of the next tick, the window's language, the log of the next
// connection), the refresh after each command, the gate, one dialog at a
// time, and load on demand.

#include "PropertiesModule.h"
#include "ApplicationControl.h"
#include "AutostartRunEntry.h"
#include "Clock.h"
#include "HeadlessSettingsFrontEnd.h"
#include "HeadlessView.h"
#include "MemoryRegistryStore.h"
#include "ModuleRunEnvironment.h"
#include "MonitorCore.h"
#include "RasConstants.h"
#include "RecordingShell.h"
#include "RecordingView.h"
#include "SessionAutostart.h"
#include "SettingsDialog.h"
#include "SettingsModule.h"
#include "ShellModule.h"
#include "ShiftedText.h"
#include "SimRasApi.h"
#include "TestEnvironment.h"
#include "TestFormats.h"
#include "VirtualRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>

namespace {

// Pages by their place in the dialog: 0 Time and cost ... 7 Options.
using PageAnswers = std::map<int, QStringList>;

ScenarioAnswer ok(const QStringList& texts = {}) {
    ScenarioAnswer a;
    a.texts = texts;
    a.button = ScenarioAnswer::Button::Ok;
    return a;
}

ScenarioAnswer button(ScenarioAnswer::Button b) {
    ScenarioAnswer a;
    a.button = b;
    return a;
}

// OK on every page from first on, with the texts given for some.
QList<ScenarioAnswer> pages(const PageAnswers& typed, int first = 0) {
    QList<ScenarioAnswer> out;
    for (int i = 0; i < kSettingsPageCount; ++i) {
        const auto it = typed.find((first + i) % kSettingsPageCount);
        out << ok(it == typed.end() ? QStringList() : it->second);
    }
    return out;
}

class RecordingMail : public MailFeature {
public:
    void Button1Click() override {}
    void SetTimeout(int seconds) override { timeouts << seconds; }
    QList<int> timeouts;
};

class PropertiesModuleTest : public ::testing::Test {
protected:
    PropertiesModuleTest()
        : clock(QDateTime(QDate(2024, 3, 13), QTime(10, 0, 0))), settings(store),
          formats(TestFormats::enUS()), view(clock, true, [this](const QString& l) { lines << l; }),
          ras(Scenario::parse("entry \"Hometown Dial\"\nentry \"Backup ISP\"\n", "t.scn"), clock),
          frontEnd(view, [this](const QString& t, const QStringList& f) { view.record(t, f); }) {
        settings.WriteFlag(kSettingsKey, "Skip intro", true);
        for (const char* sub : {"/config/autostart", "/home/Desktop", "/logs"})
            QDir(root + QLatin1String(sub)).removeRecursively();
    }

    MonitorCore& start() {
        MonitorFeatures features;
        features.mail = &mail;
        core = std::make_unique<MonitorCore>(
            moduleRunEnvironment(store, formats, clock, view, ras, chime, control,
                                 {&settingsModule, &properties, &shellModule}, &view, features));
        core->FormCreate();
        lines.clear();
        return *core;
    }
    void click(const QString& command, const QList<ScenarioAnswer>& answers) {
        view.setAnswers(answers);
        ASSERT_TRUE(core->click(command));
    }
    void list(int state) {
        TimedDirective d;
        d.entryName = "Hometown Dial";
        d.state = state;
        ras.apply(d);
    }
    void gone() {
        TimedDirective d;
        d.kind = TimedDirective::Kind::Gone;
        d.entryName = "Hometown Dial";
        ras.apply(d);
    }
    void tick(int seconds = 1) {
        clock.advance(seconds);
        core->MinTimer();
    }
    QStringList ofType(const QString& type) const {
        QStringList out;
        for (const QString& l : lines) {
            const QStringList parts = l.split('\t');
            if (parts.value(1) == type)
                out << parts.mid(2).join('\t');
        }
        return out;
    }
    QString lastView(const QString& name) const {
        const QStringList shown = ofType("view").filter(QRegularExpression("^" + name + "\t"));
        return shown.isEmpty() ? QString() : shown.last().section('\t', 1);
    }
    QString user(const QString& name) const {
        return settings.ReadText(kSettingsKey, name, "<missing>");
    }

    const QString root = TestEnvironment::folder();
    const QString program = root + "/prog/tollwatch";
    MemoryRegistryStore store;
    ManualClock clock;
    Settings settings;
    FormatSettings formats;
    QStringList lines;
    HeadlessView view;
    SimRasApi ras;
    VirtualChime chime{clock};
    TerminateFlag control;
    RecordingMail mail;
    HeadlessSettingsFrontEnd frontEnd;
    RecordingShell shell;
    ShellModule shellModule{{shell, nullptr, program, root + "/prog/help"}};
    AutostartRunEntry runEntry{store, [this] {
                                   shellModule.syncAutostart();
                               }};
    SettingsModule settingsModule{frontEnd, runEntry, program};
    PropertiesModule properties{{frontEnd, runEntry, shellModule, program, root + "/sounds"}};
    std::unique_ptr<MonitorCore> core;
};

TEST_F(PropertiesModuleTest, AChangedTariffPricesTheNextTick) {
    settings.WriteFlag(kSettingsKey, "Show cost", true);
    settings.WriteText(kSettingsKey, "Standard Rate", "0.20");
    settings.WriteText(kSettingsKey, "Connection Fee", "0");
    start();
    list(RasState::Connected);
    tick();
    tick(600);
    EXPECT_EQ(lastView("Label1"), "This connection: $2.00");
    click("Properties1", pages({{0, {"true", "true", "1.00"}}}));
    EXPECT_EQ(user("Standard Rate"), "1.00");
    tick();
    // Ten minutes and two seconds: eleven minutes begun, at the new rate.
    EXPECT_EQ(lastView("Label1"), "This connection: $11.00");
}

TEST_F(PropertiesModuleTest, AChangedLanguageRecaptionsTheWindowWhenTheDialogCloses) {
    start();
    click("IEButton1", pages({{7, {"4"}}}));
    EXPECT_EQ(user("Language"), "4");
    EXPECT_EQ(lastView("Properties1"), "&Einstellungen");
    EXPECT_TRUE(ofType("view").contains("Label1\tTollwatch gestartet, überwacht Anrufe..."));
    // The dialog itself asked in English: the language applies from Apply on.
    EXPECT_TRUE(ofType("box").first().startsWith("Settings\t"));
}

TEST_F(PropertiesModuleTest, AChangedLogFileReceivesTheNextConnectionsLine) {
    const QString log = root + "/logs/net.txt";
    QDir().mkpath(root + "/logs");
    start();
    click("ToolbarButton971", pages({{6, {log}}}));
    EXPECT_EQ(ofType("settings").at(6), "FileLog\t" + log);
    list(RasState::Connected);
    tick();
    tick(90);
    gone();
    tick();
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << log.toStdString();
    const QList<QByteArray> written = file.readAll().split('\n');
    ASSERT_GE(written.size(), 1);
    EXPECT_TRUE(written.first().endsWith("Hometown Dial\r")) << written.first().toStdString();
}

TEST_F(PropertiesModuleTest, TheMainCommandRefreshesEverythingTheSettingsChange) {
    settings.WriteText(kSettingsKey, "Connected", "0");
    start();
    mail.timeouts.clear();
    click("Properties3", pages({{0, {"true"}},
                                {2, {"", "", "", "", "", "", "7"}},
                                {1, {"", "", "", "false"}},
                                {7, {"", "", "false"}}}));
    EXPECT_EQ(user("POP_Timeout"), "7");
    EXPECT_EQ(mail.timeouts, QList<int>{7});
    EXPECT_EQ(lastView("Label3.Visible"), "true");
    // Totals of 0 say so, in the cost mode just chosen.
    EXPECT_EQ(ofType("event").filter("Log reset").join('|'),
              "1\tLog reset (Total connection cost: $0.00)");
    EXPECT_EQ(lastView("lblXfer.Visible"), "false");
    EXPECT_EQ(lastView("PopupMenu1.Default"), "Open1");

    // Connect > Properties: the Dialdart page first and only the captions and
    // status lines after it.
    lines.clear();
    mail.timeouts.clear();
    click("Properties2", pages({{7, {"", "", "true"}}}, 1));
    EXPECT_TRUE(ofType("settings").first().startsWith("Dialdart\t"));
    EXPECT_EQ(user("Monitor xfer"), "true");
    EXPECT_TRUE(mail.timeouts.isEmpty());
    EXPECT_TRUE(ofType("event").filter("Log reset").isEmpty());
    EXPECT_EQ(lastView("lblXfer.Visible"), "");
}

TEST_F(PropertiesModuleTest, CancelOnAnyPageWritesNothingAndTheGateRefusesAWrongPassword) {
    start();
    click("Properties1", {ok({"true"}), ok(), button(ScenarioAnswer::Button::Cancel)});
    EXPECT_EQ(ofType("settings").size(), 2);
    EXPECT_EQ(user("Show cost"), "<missing>");

    settings.WriteFlag(kSettingsKey, "Protect propwnd", true);
    settings.WriteText(kSettingsKey, "PW", ShiftedText::shift("key"));
    lines.clear();
    click("Properties1", {ok({"wrong"})});
    EXPECT_TRUE(ofType("settings").isEmpty());
    EXPECT_TRUE(ofType("event").contains("4\tIncorrect password entered"));
    click("Properties2", QList<ScenarioAnswer>{ok({"key"})} + pages({}, 1));
    EXPECT_EQ(ofType("settings").size(), kSettingsPageCount);
}

// A front end that, while the dialog is open, asks for it again.
class ReenteringFrontEnd : public HeadlessSettingsFrontEnd {
public:
    using HeadlessSettingsFrontEnd::HeadlessSettingsFrontEnd;
    void runSettings(SettingsDialog& dialog, SettingsPage page) override {
        pagesOpened << page;
        if (core && pagesOpened.size() == 1) {
            for (const char* name : {"Properties1", "Properties2", "ToolbarButton971"})
                core->click(QString::fromLatin1(name));
        }
        HeadlessSettingsFrontEnd::runSettings(dialog, page);
    }
    MonitorCore* core = nullptr;
    QList<SettingsPage> pagesOpened;
};

TEST_F(PropertiesModuleTest, ASecondRequestWhileTheDialogIsOpenIsIgnored) {
    ReenteringFrontEnd reentering(view, [](const QString&, const QStringList&) {});
    PropertiesModule module({reentering, runEntry, shellModule, program, QString()});
    core = std::make_unique<MonitorCore>(moduleRunEnvironment(
        store, formats, clock, view, ras, chime, control, {&settingsModule, &module}, &view));
    reentering.core = core.get();
    core->click("Properties2");
    EXPECT_EQ(reentering.pagesOpened, QList<SettingsPage>{SettingsPage::Dialdart});
    EXPECT_FALSE(module.dialogOpen());
    core->click("Properties1");
    EXPECT_EQ(reentering.pagesOpened.size(), 2) << "closed, it opens again";
}

TEST_F(PropertiesModuleTest, TheDesktopIconForLoadOnDemandEndsTheProgramWhenTheUserAgrees) {
    start();
    click("Properties1", pages({{1, {"", "", "true"}}, {7, {"", "true"}}}) +
                             QList<ScenarioAnswer>{button(ScenarioAnswer::Button::Yes)});
    const QString launcher = root + "/home/Desktop/Dialdart.desktop";
    EXPECT_TRUE(QFileInfo::exists(launcher));
    const auto run = store.readValue(RegRoot::LocalMachine, kRunKey, "Tollwatch");
    EXPECT_FALSE(run.has_value()) << "load on demand replaces starting with the session";
    EXPECT_FALSE(QFileInfo::exists(root + "/config/autostart/Tollwatch.desktop"));
    const QStringList boxes = ofType("box");
    ASSERT_GE(boxes.size(), 2);
    EXPECT_TRUE(boxes.at(boxes.size() - 2).startsWith("Tollwatch\tYou have selected"));
    EXPECT_TRUE(control.terminateRequested());

    // Turned off again, the launcher goes; starting with the session stays off.
    click("Properties1", pages({{1, {"", "", "false"}}}));
    EXPECT_FALSE(QFileInfo::exists(launcher));
    EXPECT_FALSE(store.readValue(RegRoot::LocalMachine, kRunKey, "Tollwatch").has_value());
}

} // namespace
