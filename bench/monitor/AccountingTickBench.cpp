// One accounting tick (Timer1Timer) with the cost model reading the tariff
// from a SQLite settings store on a temporary file, as the monitor does once
// a second while a connection is timed; and the cost model alone.

#include "AccountingContext.h"
#include "DayTime.h"
#include "SqliteRegistryStore.h"
#include "Timer1Timer.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class NullView : public MonitorView {
public:
    void setPictures(EventKind) override {}
    void addHistoryRow(const QString&, const QString&, EventKind) override {}
    void setStatusLine(int, const QString& text) override { benchmark::DoNotOptimize(text); }
    void setStatusLineVisible(int, bool) override {}
    void setTrayHint(const QString&) override {}
    void setApplicationTitle(const QString&) override {}
    void setXferText(const QString&) override {}
    void setXferVisible(bool) override {}
    void setCommandCaption(const QString&, const QString&) override {}
    void setCommandEnabled(const QString&, bool) override {}
    void setCommandVisible(const QString&, bool) override {}
    void showWindow() override {}
    BoxAnswer messageBox(const QString&, const QString&, BoxButtons, BoxIcon,
                         BoxAnswer answer) override {
        return answer;
    }
    std::optional<QStringList> prompt(const QString&, const QStringList&, const QStringList&,
                                      const QList<int>&) override {
        return std::nullopt;
    }
    void openDocument(const QString&) override {}
    void beep(BeepKind) override {}
    void playSound(const QString&) override {}
};

class NullEvents : public EventSink {
public:
    void PostEvent(const QString&, EventKind) override {}
};

// A store with a full tariff, a holiday list and totals, like a user's.
struct Run {
    explicit Run(bool showCost)
        : store(dir.filePath(QStringLiteral("registry.sqlite"))), settings(store),
          fmt(FormatSettings::fromLocale(QLocale(QStringLiteral("en_US")))),
          clock(QDateTime(QDate(2026, 3, 11), QTime(17, 30))), intl(settings),
          xfer([this] { return counters; }, settings, intl, fmt),
          problems(events, intl), ctx{settings, fmt, clock, intl, view, events, xfer, problems} {
        const QList<QPair<QString, QString>> values = {{"Standard Rate", "0.50"},
                                                       {"Cheap Rate", "0.10"},
                                                       {"Weekend Rate", "0.05"},
                                                       {"Cheap Before", "08.00"},
                                                       {"Cheap after", "18.00"},
                                                       {"One rate", "false"},
                                                       {"SatCheap", "true"},
                                                       {"SunCheap", "true"},
                                                       {"Connection Fee", "0.35"},
                                                       {"Minimum cost", "0.20"},
                                                       {"Connected", "1234"},
                                                       {"Connection Cost", "99.95"},
                                                       {"Show cost", showCost ? "true" : "false"}};
        for (const auto& v : values)
            settings.WriteText(kSettingsKey, v.first, v.second);
        for (const char* day : {"0101", "0501", "0606", "1224", "1225", "1226", "1231"})
            store.writeValue(RegRoot::CurrentUser, kHolidaysKey, QString::fromLatin1(day),
                             RegValue::fromString(QStringLiteral("holiday")));
    }

    QTemporaryDir dir;
    SqliteRegistryStore store;
    Settings settings;
    FormatSettings fmt;
    ManualClock clock;
    IntlStrings intl;
    NullView view;
    NullEvents events;
    ByteCounters counters;
    TransferRates xfer;
    ProblemReports problems;
    AccountingContext ctx;
};

void Tick(benchmark::State& state, bool showCost) {
    Run run(showCost);
    // Started in normal hours; the tick runs across the evening bound.
    const double start = DayTime::FromTime(QTime(17, 0, 0, 250));
    for (auto _ : state) {
        run.clock.advance(1);
        run.counters.sent += 700;
        run.counters.received += 3100;
        benchmark::DoNotOptimize(Timer1Timer(run.ctx).run(start));
    }
}

void BM_AccountingTickCostMode(benchmark::State& state) {
    Tick(state, true);
}

void BM_AccountingTickTimeMode(benchmark::State& state) {
    Tick(state, false);
}

void BM_ConnectionCost(benchmark::State& state) {
    Run run(true);
    const CostModel model = run.ctx.costModel();
    const double start = DayTime::FromTime(QTime(17, 0));
    const double end = DayTime::FromTime(QTime(19, 0));
    for (auto _ : state)
        benchmark::DoNotOptimize(model.ConnectionCost(start, end));
}

} // namespace

BENCHMARK(BM_AccountingTickCostMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AccountingTickTimeMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConnectionCost)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
