#pragma once
// A recording view and event sink, a fixed clock, an in-memory store and
// byte counters under the test's control, for the accounting tests.

#include "AccountingContext.h"
#include "MemoryRegistryStore.h"
#include "MonitorView.h"
#include "TestFormats.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

#include <ostream>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class RecordingView : public MonitorView {
public:
    struct Box {
        QString caption;
        QString text;
        BoxIcon icon;
    };

    QString lines[4];
    bool lineVisible[4] = {true, true, true, true};
    QString trayHint;
    QString title;
    QString xferText;
    bool xferVisible = true;
    bool xferEnabled = true;
    QList<Box> boxes;
    QStringList sounds;
    int beeps = 0;

    void setPictures(EventKind) override {}
    void addHistoryRow(const QString&, const QString&, EventKind) override {}
    void setStatusLine(int line, const QString& text) override { lines[line] = text; }
    void setStatusLineVisible(int line, bool visible) override { lineVisible[line] = visible; }
    void setTrayHint(const QString& text) override { trayHint = text; }
    void setApplicationTitle(const QString& text) override { title = text; }
    void setXferText(const QString& text) override { xferText = text; }
    void setXferVisible(bool visible) override { xferVisible = visible; }
    void setXferEnabled(bool enabled) override { xferEnabled = enabled; }
    void setCommandCaption(const QString&, const QString&) override {}
    void setCommandEnabled(const QString&, bool) override {}
    void setCommandVisible(const QString&, bool) override {}
    void showWindow() override {}
    BoxAnswer messageBox(const QString& caption, const QString& text, BoxButtons, BoxIcon icon,
                         BoxAnswer def) override {
        boxes.append({caption, text, icon});
        return def;
    }
    std::optional<QStringList> prompt(const QString&, const QStringList&, const QStringList&,
                                      const QList<int>&) override {
        return std::nullopt;
    }
    void openDocument(const QString&) override {}
    void beep(BeepKind) override { ++beeps; }
    void playSound(const QString& file) override { sounds.append(file); }
};

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
    AccountingContext Context() { return {settings, fmt, clock, intl, view, events, xfer}; }

    MemoryRegistryStore store;
    Settings settings{store};
    FormatSettings fmt = TestFormats::enUS();
    ManualClock clock{QDateTime(Weekday(), QTime(10, 0))};
    IntlStrings intl{settings};
    RecordingView view;
    RecordingEvents events;
    ByteCounters counters;
    TransferRates xfer{[this] { return counters; }, settings, intl, fmt};
};
