// The settings module in a run: the wizard at first start and from its menu
// items behind the gate, the gate before the log viewer and Exit, the window
// refreshed afterwards, and the headless wizard answered field by field.

#include "SettingsModule.h"
#include "ApplicationControl.h"
#include "Clock.h"
#include "CommandTable.h"
#include "HeadlessSettingsFrontEnd.h"
#include "HeadlessView.h"
#include "MemoryRegistryStore.h"
#include "ModuleRunEnvironment.h"
#include "MonitorCore.h"
#include "RunEntry.h"
#include "ShiftedText.h"
#include "SimRasApi.h"
#include "TestFormats.h"
#include "VirtualRunner.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

ScenarioAnswer answer(const QStringList& texts, bool ok = true) {
    ScenarioAnswer a;
    a.texts = texts;
    a.button = ok ? ScenarioAnswer::Button::Ok : ScenarioAnswer::Button::Cancel;
    return a;
}

class SettingsModuleTest : public ::testing::Test {
protected:
    SettingsModuleTest()
        : clock(QDateTime(QDate(2024, 3, 13), QTime(10, 0, 0))), settings(store),
          formats(TestFormats::enUS()), view(clock, true, [this](const QString& l) { lines << l; }),
          ras(Scenario(), clock),
          frontEnd(view, [this](const QString& t, const QStringList& f) { view.record(t, f); }) {}

    MonitorCore& start(const QList<ScenarioAnswer>& answers = {}) {
        view.setAnswers(answers);
        core = std::make_unique<MonitorCore>(moduleRunEnvironment(
            store, formats, clock, view, ras, chime, control, {&module}, &view));
        core->FormCreate();
        return *core;
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
    QString user(const QString& name) const {
        return settings.ReadText(kSettingsKey, name, QStringLiteral("<missing>"));
    }
    void lock(const QString& password) {
        settings.WriteFlag(kSettingsKey, "Protect propwnd", true);
        settings.WriteFlag(kSettingsKey, "Protect exitcmd", true);
        settings.WriteText(kSettingsKey, "PW", ShiftedText::shift(password));
    }

    MemoryRegistryStore store;
    ManualClock clock;
    Settings settings;
    FormatSettings formats;
    QStringList lines;
    HeadlessView view;
    SimRasApi ras;
    VirtualChime chime{clock};
    TerminateFlag control;
    HeadlessSettingsFrontEnd frontEnd;
    StoreRunEntry runEntry{store};
    SettingsModule module{frontEnd, runEntry, "/usr/bin/tollwatch"};
    std::unique_ptr<MonitorCore> core;
};

TEST_F(SettingsModuleTest, AFirstStartGoesThroughTheWizardToDoneWithTheDefaults) {
    start();
    EXPECT_EQ(ofType("wizard"),
              (QStringList{"Noll\t2", "First\tfixed", "Third\t0.20\t0.35\t0.00", "Fourth\tfalse"}));
    EXPECT_EQ(ofType("box").first(), "Monitor Wizard\tLanguage\tOK");
    EXPECT_EQ(user("Skip intro"), "true");
    EXPECT_EQ(user("Last Reset"), "20243");
    EXPECT_EQ(user("One rate"), "true");
    EXPECT_EQ(user("Standard rate"), "0.20");
    EXPECT_EQ(user("Connection Fee"), "0.35");
    // The wizard comes before the start-up event.
    EXPECT_LT(lines.indexOf(QRegularExpression(".*\twizard\tFourth.*")),
              lines.indexOf(QRegularExpression(".*Tollwatch started.*")));
    lines.clear();
    // Once run, a later start has no wizard.
    core.reset();
    start();
    EXPECT_TRUE(ofType("wizard").isEmpty());
}

TEST_F(SettingsModuleTest, AnsweredPagesChooseTheLanguageAndTariffAndCancelStopsBeforeDone) {
    start({answer({"4"}), answer({"different"}), answer({"07.30", "", "true", "false"}),
           answer({"", "0.05", "", "0"}), answer({}, false)});
    EXPECT_EQ(ofType("wizard"),
              (QStringList{"Noll\t4", "First\tdifferent", "Second\t07.30\t18.00\ttrue\tfalse\ttrue",
                           "Third\t0.20\t0.05\t0.10\t0\t0.00"}));
    // The German wizard, then Cancel on the last page: only the language stays.
    EXPECT_EQ(ofType("box").last(), "Überwachungsassistent\tTollwatch bei jedem Start des "
                                    "Computers ausführen\tCancel");
    EXPECT_EQ(user("Language"), "4");
    EXPECT_EQ(user("Cheap before"), "<missing>");
    EXPECT_EQ(user("Skip intro"), "true");
    // The window's captions follow the new language.
    EXPECT_TRUE(ofType("view").contains("Wizard1\t&Überwachungsassistent"));
}

TEST_F(SettingsModuleTest, TheWizardCommandIsGatedAndRefreshesTheWindowAfterwards) {
    settings.WriteFlag(kSettingsKey, "Skip intro", true);
    settings.WriteText(kSettingsKey, "Language", "1");
    lock("key");
    MonitorCore& c =
        start({answer({"nope"}), answer({}, false), answer({"key"}), answer({"time"}), answer({})});
    EXPECT_TRUE(c.click("Wizard1"));
    EXPECT_EQ(ofType("event").last(), "4\tIncorrect password entered");
    EXPECT_TRUE(c.click("Wizard2"));
    EXPECT_TRUE(ofType("wizard").isEmpty());
    settings.WriteText(kSettingsKey, "Connected", "75");
    lines.clear();
    EXPECT_TRUE(c.click("Wizard1"));
    EXPECT_EQ(ofType("wizard"), (QStringList{"First\ttime", "Fourth\tfalse"}));
    EXPECT_EQ(user("Show cost"), "false");
    // Re-captioned and the total line refreshed from the store.
    EXPECT_TRUE(ofType("view").contains("Label2\tTotal connection time: 1:15"));
}

TEST_F(SettingsModuleTest, TheLogViewerAndExitAreGatedByTheirOwnProtection) {
    settings.WriteFlag(kSettingsKey, "Skip intro", true);
    lock("key");
    settings.WriteFlag(kSettingsKey, "Protect propwnd", false);
    MonitorCore& c = start({answer({"KEY"}), answer({"key"})});
    c.click("Viewlog1");
    EXPECT_EQ(ofType("info").filter("open ").size(), 1);
    c.click("Exit1");
    EXPECT_FALSE(control.terminateRequested());
    c.click("Exit2");
    EXPECT_TRUE(control.terminateRequested());
    EXPECT_EQ(ofType("box").size(), 2);
}

TEST_F(SettingsModuleTest, TheHolidayDownloadIsOfferedOnlyWhenTheRunHasItsWebCommand) {
    settings.WriteFlag(kSettingsKey, "Skip intro", true);
    start();
    EXPECT_FALSE(bool(module.dialogContext().downloadHolidays));
    class WebModule : public FeatureModule {
    public:
        void attach(MonitorParts&, CommandTable& commands) override {
            commands.add(QStringLiteral("HDef1"), [this] { ++asked; });
        }
        int asked = 0;
    } web;
    core.reset();
    core = std::make_unique<MonitorCore>(moduleRunEnvironment(
        store, formats, clock, view, ras, chime, control, {&module, &web}, &view));
    const TariffDialogContext context = module.dialogContext();
    ASSERT_TRUE(bool(context.downloadHolidays));
    context.downloadHolidays();
    EXPECT_EQ(web.asked, 1);
}

} // namespace
