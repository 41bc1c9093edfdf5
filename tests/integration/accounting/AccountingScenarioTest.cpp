// Scenario runs of the headless monitor: a connection from its first second
// to its log line, the totals in the store and the events, in cost mode and in
// time mode, under a point-decimal and a comma-decimal locale, and a crash at
// a random second followed by a restart that recovers the pending values.

#include "Converters.h"
#include "FormatSettings.h"
#include "SqliteRegistryStore.h"
#include "TariffTexts.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kUserKey = QStringLiteral("Software\\Varnholt\\Farrowline");
const QString kMachine = QStringLiteral("SOFTWARE\\Varnholt\\Farrowline");

struct RunResult {
    int exitCode = -1;
    QStringList lines;

    // The texts of the posted events, in order, as "kind<TAB>text".
    QStringList events() const { return of(QStringLiteral("event")); }
    QStringList of(const QString& type) const {
        QStringList out;
        for (const QString& l : lines) {
            const QStringList f = l.split(QLatin1Char('\t'));
            if (f.size() > 2 && f[1] == type)
                out << f.mid(2).join(QLatin1Char('\t'));
        }
        return out;
    }
    // The time stamps of the lines of type whose fields start with text.
    QStringList timesOf(const QString& type, const QString& text = QString()) const {
        QStringList out;
        for (const QString& l : lines) {
            const QStringList f = l.split(QLatin1Char('\t'));
            if (f.size() > 2 && f[1] == type && f.mid(2).join(QLatin1Char('\t')).startsWith(text))
                out << f[0].mid(11);
        }
        return out;
    }
};

class AccountingScenarioTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int run = 0;
        m_dir = TestEnvironment::folder() + QStringLiteral("/scenario%1").arg(++run);
        QDir().mkpath(m_dir);
        m_registry = m_dir + QStringLiteral("/registry.sqlite");
        m_log = m_dir + QStringLiteral("/access.txt");
    }

    // The store of a user with a tariff, totals and limits, before a run.
    void SeedStore(bool showCost) {
        SqliteRegistryStore store(m_registry);
        const QList<QPair<QString, QString>> user = {
            {"Skip intro", "true"},     {"Show cost", showCost ? "true" : "false"},
            {"Standard Rate", "0.50"},  {"Cheap Rate", "0.10"},
            {"Connection Fee", "0.35"}, {"Minimum cost", "0"},
            {"Connected", "100"},       {"Connection Cost", "10.00"},
            {"Log Filename", m_log},    {"Chime", "true"},
            {"Chime period", "2"},      {"Warning", "true"},
            {"Warning time", "103"},    {"Last Reset", "20263"}};
        for (const auto& v : user)
            store.writeValue(RegRoot::CurrentUser, kUserKey, v.first,
                             RegValue::fromString(v.second));
        store.writeValue(RegRoot::LocalMachine, kMachine, QStringLiteral("PC Total time"),
                         RegValue::fromString(QStringLiteral("1000")));
        store.writeValue(RegRoot::LocalMachine, kMachine, QStringLiteral("PC Total cost"),
                         RegValue::fromString(QStringLiteral("50.00")));
        store.writeValue(RegRoot::LocalMachine, QStringLiteral("Network\\Logon"),
                         QStringLiteral("Username"), RegValue::fromString(QStringLiteral("anna")));
    }

    RunResult Run(const QString& scenario, const QString& locale) {
        const QString file = m_dir + QStringLiteral("/run.scenario");
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(scenario.toUtf8());
        f.close();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), locale);
        env.insert(QStringLiteral("LANG"), locale);
        p.setProcessEnvironment(env);
        p.start(TestEnvironment::binDir() + QStringLiteral("/tollwatch"),
                {QStringLiteral("--headless"), QStringLiteral("--trace"),
                 QStringLiteral("--registry"), m_registry, QStringLiteral("--ras"),
                 QStringLiteral("sim:") + file});
        EXPECT_TRUE(p.waitForFinished(120000))
            << "the monitor did not end: " << p.errorString().toStdString();
        RunResult r;
        r.exitCode = p.exitCode();
        r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
        const QByteArray err = p.readAllStandardError();
        EXPECT_TRUE(err.isEmpty()) << err.toStdString();
        return r;
    }

    QString Value(RegRoot root, const QString& key, const QString& name) {
        SqliteRegistryStore store(m_registry);
        const auto v = store.readValue(root, key, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
    QString User(const QString& name) { return Value(RegRoot::CurrentUser, kUserKey, name); }
    QString Machine(const QString& name) { return Value(RegRoot::LocalMachine, kMachine, name); }
    QByteArray Log() {
        QFile f(m_log);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString m_dir;
    QString m_registry;
    QString m_log;
};

// Five minutes in normal hours on a Wednesday; bytes moved in the middle.
QString FiveMinuteCall(const QString& bytes) {
    return QStringLiteral("clock 2026-03-11 09:59:58\n"
                          "entry \"Hometown Dial\"\n"
                          "at 10:00:00 \"Hometown Dial\" state 8192\n"
                          "at 10:02:00 bytes %1\n"
                          "at 10:05:00 \"Hometown Dial\" gone\n"
                          "at +2 exit\n")
        .arg(bytes);
}

TEST_F(AccountingScenarioTest, CostModeFromFirstSecondToLogLine) {
    SeedStore(true);
    const RunResult r =
        Run(FiveMinuteCall(QStringLiteral("1228800 6144000")), QStringLiteral("C.UTF-8"));
    ASSERT_EQ(r.exitCode, 0);
    const FormatSettings fmt = FormatSettings::fromLocale(QLocale::c());
    const QString date = fmt.formatDate(QDate(2026, 3, 11));

    // 5:00 counts 6 minutes; 5 billed minutes at 0.50 and the fee.
    EXPECT_EQ(Log(), QStringLiteral("anna;%1;%2;6;2.85;4.00;20.00;Hometown Dial\r\n")
                         .arg(date, fmt.formatTime(QTime(10, 0)))
                         .toUtf8());
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("106"));
    EXPECT_DOUBLE_EQ(ParseDecimal(User(QStringLiteral("Connection Cost")), fmt), 12.85);
    EXPECT_EQ(Machine(QStringLiteral("PC Total time")), QStringLiteral("1006"));
    EXPECT_EQ(Machine(QStringLiteral("PC Total cost")), QStringLiteral("52.85"));
    EXPECT_EQ(Machine(QStringLiteral("pending time")), QStringLiteral("<missing>"));

    const QStringList events = r.events();
    const int end = events.indexOf(QStringLiteral("1\tDisconnected, this connection: ") +
                                   CurrencyText(2.85, fmt) + QStringLiteral(" (0:06)"));
    ASSERT_GE(end, 1) << events.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(events[end - 1],
              QStringLiteral("1\tAverage transfer rate: send 4.00 kB/s, receive 20.00 kB/s"));
    EXPECT_EQ(events[end + 1], QStringLiteral("1\tTotal connection cost: ") +
                                   CurrencyText(12.85, fmt) + QStringLiteral(" (1:46)"));
    EXPECT_EQ(events[end + 2], QStringLiteral("5\tWarning, total connection time exceeded"));

    // The running texts of the last second before the end.
    EXPECT_TRUE(r.of(QStringLiteral("view"))
                    .contains(QStringLiteral("Application.Title\tTollwatch (") +
                              CurrencyText(2.85, fmt) + QStringLiteral(" / 0:04)")));
}

TEST_F(AccountingScenarioTest, ChimeAndTimeLimitDuringTheConnection) {
    SeedStore(true);
    const RunResult r = Run(FiveMinuteCall(QStringLiteral("0 0")), QStringLiteral("C.UTF-8"));
    // Chime ticks come 61 seconds apart from the connection: 1:01, 2:02, 3:03,
    // 4:04; a period of 2 chimes on minutes 2 and 4.
    EXPECT_EQ(r.timesOf(QStringLiteral("sound")),
              QStringList({QStringLiteral("10:02:02"), QStringLiteral("10:04:04")}));
    EXPECT_EQ(r.of(QStringLiteral("sound")).value(0),
              TestEnvironment::binDir() + QStringLiteral("/ding.wav"));
    // 100 + 3 minutes meets the limit of 103 once, at 3:03.
    EXPECT_EQ(r.timesOf(QStringLiteral("box"), QStringLiteral("Tollwatch Warning")),
              QStringList({QStringLiteral("10:03:03")}));
}

TEST_F(AccountingScenarioTest, TimeModeUnderACommaLocaleWithSixGibibytes) {
    SeedStore(false);
    const RunResult r =
        Run(FiveMinuteCall(QStringLiteral("6442450944 1024000")), QStringLiteral("sv_SE.UTF-8"));
    ASSERT_EQ(r.exitCode, 0);
    const FormatSettings fmt = FormatSettings::fromLocale(QLocale(QStringLiteral("sv_SE")));
    ASSERT_EQ(fmt.decimalSeparator, QLatin1Char(','));
    // 6 GiB in 300 seconds is 20 971.52 kB/s.
    const QString send = QStringLiteral("20") + fmt.thousandSeparator + QStringLiteral("971,52");
    EXPECT_EQ(QString::fromUtf8(Log()),
              QStringLiteral("anna;%1;10:00:00;6;2,85;%2;3,33;Hometown Dial\r\n")
                  .arg(fmt.formatDate(QDate(2026, 3, 11)), send));
    EXPECT_EQ(User(QStringLiteral("Connected")), QStringLiteral("106"));
    EXPECT_EQ(User(QStringLiteral("Connection Cost")), QStringLiteral("12,85"));
    EXPECT_EQ(Machine(QStringLiteral("PC Total time")), QStringLiteral("1006"));
    EXPECT_EQ(Machine(QStringLiteral("PC Total cost")), QStringLiteral("50.00"));
    EXPECT_TRUE(r.events().contains(
        QStringLiteral("1\tDisconnected, this connection: 0:06 (total: 1:46)")));
    EXPECT_TRUE(r.events().contains(QStringLiteral("1\tAverage transfer rate: send ") + send +
                                    QStringLiteral(" kB/s, receive 3,33 kB/s")));
    EXPECT_TRUE(
        r.of(QStringLiteral("view")).contains(QStringLiteral("Label1\tThis connection: 00:04:59")));
}

class CrashRecoveryTest : public AccountingScenarioTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(CrashRecoveryTest, CrashAtARandomSecondIsRecoveredAtTheNextStart) {
    const quint32 seed = QRandomGenerator::global()->generate();
    const int crashAt = 2 + int(QRandomGenerator(seed).bounded(7200));
    SCOPED_TRACE(QStringLiteral("crash %1 s after the connection (seed %2)")
                     .arg(crashAt)
                     .arg(seed)
                     .toStdString());
    SeedStore(true);
    // From 09:00: the connection stays in normal hours.
    const RunResult crashed = Run(QStringLiteral("clock 2026-03-11 08:59:59\n"
                                                 "entry \"Hometown Dial\"\n"
                                                 "at 09:00:00 \"Hometown Dial\" state 8192\n"
                                                 "at +%1 crash\n")
                                      .arg(crashAt),
                                  QString::fromLatin1(GetParam()));
    ASSERT_EQ(crashed.exitCode, 99);
    EXPECT_TRUE(Log().isEmpty());

    // The last accounting tick ran one second before the crash.
    const int seconds = crashAt - 1;
    const int minutes = seconds / 60;
    const double cost = (minutes + (seconds % 60 != 0 ? 1 : 0)) * 0.50 + 0.35;
    const FormatSettings fmt = FormatSettings::fromLocale(QLocale(QString::fromLatin1(GetParam())));
    EXPECT_EQ(Machine(QStringLiteral("pending time")), QString::number(minutes));
    EXPECT_EQ(Machine(QStringLiteral("pending cost")), MoneyText(cost, fmt));

    const RunResult restarted = Run(QStringLiteral("clock 2026-03-11 12:00:00\nat +2 exit\n"),
                                    QString::fromLatin1(GetParam()));
    ASSERT_EQ(restarted.exitCode, 0);
    EXPECT_TRUE(
        restarted.of(QStringLiteral("box")).value(0).startsWith(QStringLiteral("Tollwatch\t")));
    EXPECT_EQ(User(QStringLiteral("Connected")), QString::number(100 + minutes));
    EXPECT_NEAR(ParseDecimal(User(QStringLiteral("Connection Cost")), fmt), 10.0 + cost, 1e-9);
    // Recovered once: the values are emptied and the computer's totals kept.
    EXPECT_EQ(Machine(QStringLiteral("pending time")), QString());
    EXPECT_EQ(Machine(QStringLiteral("PC Total time")), QStringLiteral("1000"));
}

INSTANTIATE_TEST_SUITE_P(Locales, CrashRecoveryTest, ::testing::Values("C.UTF-8", "sv_SE.UTF-8"));

} // namespace
