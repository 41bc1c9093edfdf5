#pragma once
// A recording event sink, a fixed clock, an in-memory store and byte
// counters under the test's control, for the accounting tests.

#include "AccountingContext.h"
#include "KeptTotals.h"
#include "MemoryRegistryStore.h"
#include "RecordingView.h"
#include "TestFormats.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

class RecordingEvents : public EventSink {
public:
    QList<QPair<QString, EventKind>> events;
    void PostEvent(const QString& text, EventKind kind) override { events.append({text, kind}); }
    QStringList texts() const {
        QStringList out;
        for (const auto& e : events)
            out.append(e.first);
        return out;
    }
};

class AccountingTest : public ::testing::Test {
protected:
    // A Wednesday.
    static QDate Weekday() { return QDate(2026, 3, 11); }
    static double At(int h, int m, int s = 0) { return (h * 3600 + m * 60 + s) / 86400.0; }

    void SetUser(const QString& name, const QString& text) {
        settings.WriteText(kSettingsKey, name, text);
    }
    QString User(const QString& name) const {
        return settings.ReadText(kSettingsKey, name, QStringLiteral("<missing>"));
    }
    void SetMachine(const QString& name, const QString& text) {
        store.writeValue(RegRoot::LocalMachine, kMachineKey, name, RegValue::fromString(text));
    }
    QString Machine(const QString& name) const {
        const auto v = store.readValue(RegRoot::LocalMachine, kMachineKey, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
    void SetClock(int h, int m, int s = 0, int dayOffset = 0) {
        clock.set(QDateTime(Weekday().addDays(dayOffset), QTime(h, m, s)));
    }
    // A plain tariff: normal 1.00, cheap 0.10 a minute, no fee, no minimum.
    void PlainTariff() {
        SetUser(QStringLiteral("Standard Rate"), QStringLiteral("1.00"));
        SetUser(QStringLiteral("Cheap Rate"), QStringLiteral("0.10"));
        SetUser(QStringLiteral("Connection Fee"), QStringLiteral("0"));
        SetUser(QStringLiteral("Minimum cost"), QStringLiteral("0"));
    }
    AccountingContext Context() {
        return {settings, fmt, clock, intl, view, events, xfer, problems};
    }

    MemoryRegistryStore store;
    Settings settings{store};
    FormatSettings fmt = TestFormats::enUS();
    ManualClock clock{QDateTime(Weekday(), QTime(10, 0))};
    IntlStrings intl{settings};
    RecordingView view;
    RecordingEvents events;
    ByteCounters counters;
    TransferRates xfer{[this] { return counters; }, settings, intl, fmt};
    ProblemReports problems{events, intl};
    // Connections whose totals the store could not take yet.
    KeptTotals kept;
};
