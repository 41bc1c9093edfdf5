#pragma once
// A monitor core with the dialling feature on a simulated connection source
// whose phone book and dials come from a scenario text, driven second by
// second on a manual clock.

#include "ApplicationControl.h"
#include "Clock.h"
#include "DialModule.h"
#include "DialdartDialler.h"
#include "IntlStrings.h"
#include "MemoryRegistryStore.h"
#include "MonitorCore.h"
#include "RecordingShell.h"
#include "RecordingView.h"
#include "Settings.h"
#include "SimRasApi.h"
#include "TestFormats.h"
#include "VirtualRunner.h"

#include <gtest/gtest.h>

#include <memory>

class DialFixture : public ::testing::Test {
protected:
    DialFixture()
        : clock(QDateTime(QDate(2024, 3, 15), QTime(21, 0, 0))), settings(store), intl(settings),
          formats(TestFormats::enUS()) {
        setUser(QStringLiteral("Skip intro"), QStringLiteral("true"));
    }

    // The phone book and dial scripts of a scenario ("entry" and "dial" lines).
    void phoneBook(const QString& scenarioText) {
        scenario = Scenario::parse(scenarioText, QStringLiteral("test.scn"));
    }
    // Builds the run and runs its start-up.
    // prompt: the credentials form; null answers through the view.
    void start(CommandLine commandLine = CommandLine(), CredentialsPrompt* prompt = nullptr) {
        ras = makeSource();
        module = std::make_unique<DialModule>(shell, prompt);
        core = std::make_unique<MonitorCore>(MonitorEnvironment{store,
                                                                formats,
                                                                clock,
                                                                view,
                                                                view,
                                                                *ras,
                                                                chime,
                                                                MonitorFeatures{},
                                                                control,
                                                                commandLine,
                                                                nullptr,
                                                                QString(),
                                                                {module.get()}});
        core->FormCreate();
    }
    virtual std::unique_ptr<SimRasApi> makeSource() {
        return std::make_unique<SimRasApi>(scenario, clock);
    }

    // seconds ticks of Timer1, each after that second's dial steps.
    void run(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1);
            ras->deliverDialProgress(clock.now());
            core->MinTimer();
        }
    }
    void click(const char* command) { ASSERT_TRUE(core->click(QString::fromLatin1(command))); }
    void gone(const QString& entry) {
        TimedDirective d;
        d.kind = TimedDirective::Kind::Gone;
        d.entryName = entry;
        ras->apply(d);
    }
    void list(const QString& entry, int state) {
        TimedDirective d;
        d.kind = TimedDirective::Kind::ConnectionState;
        d.entryName = entry;
        d.state = state;
        ras->apply(d);
    }

    void setUser(const QString& name, const QString& text) {
        settings.WriteText(kSettingsKey, name, text);
    }
    // The events posted since start-up as "kind\ttext".
    QStringList events() const {
        QStringList out;
        for (const RecordingView::Row& row : view.rows)
            out << QStringLiteral("%1\t%2").arg(int(row.kind)).arg(row.text);
        return out.mid(1);
    }
    // Disconnect items on and dial items off, as one word per state.
    QString menus() const {
        QStringList out;
        for (const char* name :
             {"Dialdart1", "Connect2", "Dialdart2", "Connectusing1", "Disconnect1", "Disconnect2"})
            out << (view.enabled.value(QString::fromLatin1(name), true) ? QStringLiteral("on")
                                                                        : QStringLiteral("off"));
        return out.join(QLatin1Char(' '));
    }
    RasHandle held() const { return module->dialler()->dialHandle(); }

    static inline const QString kIdle = QStringLiteral("on on on on off off");
    static inline const QString kDialling = QStringLiteral("off off off off on on");

    MemoryRegistryStore store;
    ManualClock clock;
    Settings settings;
    IntlStrings intl;
    FormatSettings formats;
    RecordingView view;
    RecordingShell shell;
    Scenario scenario;
    VirtualChime chime{clock};
    TerminateFlag control;
    std::unique_ptr<SimRasApi> ras;
    std::unique_ptr<DialModule> module;
    std::unique_ptr<MonitorCore> core;
};
