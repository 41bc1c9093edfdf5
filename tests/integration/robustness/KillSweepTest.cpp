// The kill sweep: a virtual evening of eight calls, the monitor killed at a
// random moment (a crash between two seconds, or SIGKILL at any instant,
// inside a write included), then started again. Every call must be counted
// exactly once: in the log, and in the totals either by its session end or
// by the recovery of its pending values. The seed is printed; setting
// TOLLWATCH_KILL_SWEEP_SEED repeats a sweep.

#include "Converters.h"
#include "FormatSettings.h"
#include "MonitorRunFixture.h"
#include "TestEnvironment.h"

#include <QProcess>
#include <QRandomGenerator>

#include <csignal>
#include <cstdio>

namespace {

const QDateTime kStart(QDate(2026, 3, 11), QTime(8, 59, 58));

struct Call {
    int dialAt;  // seconds after the start: the line is being dialled
    int seconds; // connected from dialAt + 2 for this long
    qint64 minutes() const { return seconds / 60 + 1; }
    // 0.50 a started minute in normal hours, and the fee.
    double cost() const { return (seconds / 60 + (seconds % 60 ? 1 : 0)) * 0.50 + 0.35; }
};

const QList<Call> kCalls = {{10, 65},  {200, 300},  {600, 59},   {700, 1200},
                            {2000, 3}, {2100, 600}, {2800, 181}, {3100, 2400}};

int endOfEvening() {
    return kCalls.last().dialAt + 2 + kCalls.last().seconds + 5;
}

QString at(int second) {
    return kStart.addSecs(second).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The evening, with a crash at crashAt when it is given.
QString evening(std::optional<int> crashAt) {
    QList<QPair<int, QString>> lines;
    for (const Call& c : kCalls) {
        lines.append({c.dialAt, QStringLiteral("\"Home\" state 5")});
        lines.append({c.dialAt + 2, QStringLiteral("\"Home\" state 8192")});
        lines.append({c.dialAt + 2 + c.seconds, QStringLiteral("\"Home\" gone")});
    }
    if (crashAt)
        lines.append({*crashAt, QStringLiteral("crash")});
    lines.append({endOfEvening(), QStringLiteral("exit")});
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QString text = QStringLiteral("clock %1\nentry \"Home\"\n").arg(at(0));
    for (const auto& l : lines)
        text += QStringLiteral("at %1 %2\n").arg(at(l.first), l.second);
    return text;
}

quint32 sweepSeed() {
    bool ok = false;
    const quint32 fixed = qEnvironmentVariable("TOLLWATCH_KILL_SWEEP_SEED").toUInt(&ok);
    return ok ? fixed : QRandomGenerator::global()->generate();
}

class KillSweep : public MonitorRunFixture {
protected:
    // What a kill left, checked after the next start recovered it.
    void CheckExactlyOnce(const QString& what) {
        SCOPED_TRACE(what.toStdString());
        const FormatSettings fmt = FormatSettings::fromLocale(QLocale::c());
        const QString pendingTime = Machine(QStringLiteral("pending time"));
        const QString pendingCost = Machine(QStringLiteral("pending cost"));
        const qint64 pendingMinutes =
            pendingTime.startsWith('<') || pendingTime.isEmpty() ? 0 : StrToInt(pendingTime);
        const double pendingAmount = pendingCost.startsWith('<') || pendingCost.isEmpty()
                                         ? 0.0
                                         : ParseDecimal(pendingCost, fmt);

        const MonitorRun restart = Run(QStringLiteral("clock 2026-03-12 12:00:00\nat +2 exit\n"));
        ASSERT_EQ(restart.exitCode, 0) << restart.errors;
        EXPECT_TRUE(restart.eventsStartingWith(QStringLiteral("Unable")).isEmpty());

        QStringList calls;
        for (const QString& line :
             QString::fromUtf8(Log()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            if (!line.startsWith(QStringLiteral("Abnormal exit")))
                calls << line;
        ASSERT_LE(calls.size(), kCalls.size()) << calls.join('\n');
        qint64 minutes = 0;
        double cost = 0;
        for (int i = 0; i < calls.size(); ++i) {
            const QStringList f = calls[i].split(QLatin1Char(';'));
            ASSERT_EQ(f.size(), 8) << calls[i];
            EXPECT_EQ(f[3].toLongLong(), kCalls[i].minutes()) << "call " << i << ": " << calls[i];
            EXPECT_EQ(f[4], fmt.formatFixed(kCalls[i].cost(), 2)) << "call " << i;
            minutes += kCalls[i].minutes();
            cost += kCalls[i].cost();
        }
        // A call under way when the monitor died left its pending values,
        // never more than the call itself.
        if (pendingMinutes > 0 || pendingAmount > 0) {
            ASSERT_LT(calls.size(), kCalls.size());
            EXPECT_LT(pendingMinutes, kCalls[calls.size()].minutes());
            EXPECT_LE(pendingAmount, kCalls[calls.size()].cost() + 1e-9);
        }
        EXPECT_EQ(User(QStringLiteral("Connected")),
                  QString::number(100 + minutes + pendingMinutes));
        EXPECT_NEAR(ParseDecimal(User(QStringLiteral("Connection Cost")), fmt),
                    10 + cost + pendingAmount, 1e-6);
        EXPECT_EQ(Machine(QStringLiteral("PC Total time")),
                  calls.isEmpty() ? QStringLiteral("<missing>") : QString::number(minutes));
        EXPECT_TRUE(Machine(QStringLiteral("pending time")).isEmpty() ||
                    Machine(QStringLiteral("pending time")) == QStringLiteral("<missing>"));
        EXPECT_EQ(restart.of(QStringLiteral("box")).size(), pendingTime.startsWith('<') ? 0 : 1);
    }

    void Fresh() {
        QFile::remove(storeFile());
        QFile::remove(storeFile() + QStringLiteral(".bak"));
        QFile::remove(logFile());
        SeedUser({{"Show cost", "true"}});
    }
};

// Crashes between two seconds, anywhere in the evening (dial, call, gap).
TEST_F(KillSweep, CrashAtRandomSecondsCountsEveryCallOnce) {
    const quint32 seed = sweepSeed();
    std::printf("kill sweep seed %u (TOLLWATCH_KILL_SWEEP_SEED=%u repeats it)\n", seed, seed);
    RecordProperty("seed", std::to_string(seed));
    QRandomGenerator random(seed);
    for (int kill = 0; kill < 24; ++kill) {
        const int crashAt = 1 + int(random.bounded(endOfEvening() - 1));
        Fresh();
        const MonitorRun crashed = Run(evening(crashAt));
        ASSERT_EQ(crashed.exitCode, 99) << "crash at +" << crashAt << " s, seed " << seed;
        CheckExactlyOnce(QStringLiteral("crash at +%1 s, seed %2").arg(crashAt).arg(seed));
    }
}

// SIGKILL at any instant of the run: inside a transaction, between the
// totals and the log line, while the store is being opened. The kill follows
// a line of the traced output chosen at random, so it lands wherever the
// program happens to be then.
TEST_F(KillSweep, KillAtRandomInstantsCountsEveryCallOnce) {
    const quint32 seed = sweepSeed();
    std::printf("kill sweep seed %u (TOLLWATCH_KILL_SWEEP_SEED=%u repeats it)\n", seed, seed);
    RecordProperty("seed", std::to_string(seed));
    QRandomGenerator random(seed);
    Fresh();
    const MonitorRun whole = Run(evening(std::nullopt), {QStringLiteral("--trace")});
    ASSERT_EQ(whole.exitCode, 0);
    for (int kill = 0; kill < 12; ++kill) {
        const int afterLine = 1 + int(random.bounded(quint32(whole.lines.size())));
        Fresh();
        QProcess p;
        p.start(TestEnvironment::binDir() + QStringLiteral("/tollwatch"),
                Arguments(evening(std::nullopt), {QStringLiteral("--trace")}));
        int lines = 0;
        while (lines < afterLine && p.state() != QProcess::NotRunning) {
            if (!p.canReadLine() && !p.waitForReadyRead(30000))
                break;
            while (lines < afterLine && p.canReadLine()) {
                p.readLine();
                ++lines;
            }
        }
        ::kill(pid_t(p.processId()), SIGKILL);
        ASSERT_TRUE(p.waitForFinished(30000));
        CheckExactlyOnce(QStringLiteral("SIGKILL after line %1, seed %2").arg(afterLine).arg(seed));
    }
}

} // namespace
