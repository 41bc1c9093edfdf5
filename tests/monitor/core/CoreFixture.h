#pragma once
// The pieces most monitor-core tests share: an in-memory store, a manual
// clock, the recording view, the simulated connection source driven by
// directives, and recording stand-ins for the features around the core.

#include "Clock.h"
#include "IntlStrings.h"
#include "MemoryRegistryStore.h"
#include "MonitorFeatures.h"
#include "RecordingView.h"
#include "SessionAccounting.h"
#include "Settings.h"
#include "SimRasApi.h"
#include "TestFormats.h"

#include <gtest/gtest.h>

// Features that note what they were asked to do.
class RecordingFeatures : public UnbuiltFeatures {
public:
    QStringList calls;
    void DialdartMenu() override { calls << QStringLiteral("DialdartMenu"); }
    void SetDialMenus(bool dialling) override {
        calls << QStringLiteral("SetDialMenus:%1").arg(dialling);
    }
    void ClearDialHandle() override { calls << QStringLiteral("ClearDialHandle"); }
    void RunAfterConnectProgram() override { calls << QStringLiteral("RunAfterConnectProgram"); }
    void PopulateConnections() override { calls << QStringLiteral("PopulateConnections"); }
    void Button1Click() override { calls << QStringLiteral("Button1Click"); }
    void SetTimeout(int seconds) override { calls << QStringLiteral("SetTimeout:%1").arg(seconds); }
    void ShowWizard() override { calls << QStringLiteral("ShowWizard"); }
    bool IsItProtected(bool exitCommand) override {
        calls << QStringLiteral("IsItProtected:%1").arg(exitCommand);
        return refuse;
    }
    bool refuse = false;
};

class CoreFixture : public ::testing::Test {
protected:
    CoreFixture()
        : clock(QDateTime(QDate(2024, 3, 15), QTime(21, 59, 0))), settings(store), intl(settings),
          formats(TestFormats::enUS()), ras(Scenario(), clock) {}

    void list(const QString& entry, int state, int error = 0) {
        TimedDirective d;
        d.kind = TimedDirective::Kind::ConnectionState;
        d.entryName = entry;
        d.state = state;
        d.error = error;
        ras.apply(d);
    }
    void gone(const QString& entry) {
        TimedDirective d;
        d.kind = TimedDirective::Kind::Gone;
        d.entryName = entry;
        ras.apply(d);
    }
    void enumError(int code) {
        TimedDirective d;
        d.kind = TimedDirective::Kind::EnumError;
        d.error = code;
        ras.apply(d);
    }
    QString userValue(const QString& name) {
        return settings.ReadText(kSettingsKey, name, QString());
    }
    QString machineValue(const QString& name) {
        const auto v = store.readValue(RegRoot::LocalMachine, kMachineKey, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
    void setMachineValue(const QString& name, const QString& text) {
        store.writeValue(RegRoot::LocalMachine, kMachineKey, name, RegValue::fromString(text));
    }

    MemoryRegistryStore store;
    ManualClock clock;
    Settings settings;
    IntlStrings intl;
    FormatSettings formats;
    RecordingView view;
    SimRasApi ras;
    RecordingFeatures features;
};
