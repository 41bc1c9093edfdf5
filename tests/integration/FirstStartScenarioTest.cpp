// A first start on an empty store, headless: the Monitor Wizard runs before
// anything else, and the tariff it stores prices the connection that
// follows exactly as the cost model does.

#include "CostModel.h"
#include "HeadlessRun.h"
#include "LogFile.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "SqliteRegistryStore.h"
#include "TestFormats.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FirstStartScenarioTest : public ::testing::Test {
protected:
    QString storeFile() const { return m_dir.path() + QStringLiteral("/registry.sqlite"); }
    // An empty store names no log: "c:\access.txt", drive C: the home folder.
    static QString logFile() { return QDir::homePath() + QStringLiteral("/access.txt"); }
    HeadlessResult run(const QString& scenario) {
        QFile::remove(logFile());
        return HeadlessRun::run({QStringLiteral("--registry"), storeFile(), QStringLiteral("--ras"),
                                 QStringLiteral("sim:") + HeadlessRun::scenario(scenario)});
    }
    QString user(const QString& name) const {
        SqliteRegistryStore store(storeFile());
        return Settings(store).ReadText(kSettingsKey, name, QStringLiteral("<missing>"));
    }
    // The cost column of the only log line.
    static QString loggedCost() {
        const QList<QByteArray> lines = LogFile::splitLines(LogFile::readAll(logFile()));
        return lines.size() == 1 ? QString::fromUtf8(lines[0]).split(QLatin1Char(';')).value(4)
                                 : QStringLiteral("<%1 lines>").arg(lines.size());
    }
    // What the cost model makes of the stored tariff for the same connection.
    double modelPrice(const QDateTime& start, const QDateTime& end) const {
        SqliteRegistryStore store(storeFile());
        const Settings settings(store);
        const FormatSettings formats = TestFormats::enUS();
        const ManualClock clock(end);
        const auto dayFraction = [](const QDateTime& t) {
            return t.time().msecsSinceStartOfDay() / 86400000.0;
        };
        return CostModel(settings, formats, clock)
            .ConnectionCost(dayFraction(start), dayFraction(end));
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(FirstStartScenarioTest, UnansweredWizardTakesItsDefaultsAndPricesTheNextConnection) {
    const HeadlessResult r = run(QStringLiteral("first-start.scn"));
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.of(QStringLiteral("wizard")),
              (QStringList{"Noll\t2", "First\tfixed", "Third\t0.20\t0.35\t0.00", "Fourth\tfalse"}));
    EXPECT_EQ(r.lines.at(1),
              QStringLiteral("2024-03-13 10:00:00\tbox\tMonitor Wizard\tLanguage\tOK"));
    EXPECT_EQ(user(QStringLiteral("Skip intro")), QStringLiteral("true"));
    EXPECT_EQ(user(QStringLiteral("Show cost")), QStringLiteral("true"));
    // Two started minutes at the stored rate of 0.20 and the fee of 0.35.
    EXPECT_EQ(loggedCost(), QStringLiteral("0.75"));
    EXPECT_EQ(user(QStringLiteral("Connection Cost")), QStringLiteral("0.75"));
    EXPECT_DOUBLE_EQ(modelPrice(QDateTime(QDate(2024, 3, 13), QTime(10, 0, 5)),
                                QDateTime(QDate(2024, 3, 13), QTime(10, 1, 40))),
                     0.75);
    // The next start has no wizard.
    EXPECT_TRUE(run(QStringLiteral("first-start.scn")).of(QStringLiteral("wizard")).isEmpty());
}

TEST_F(FirstStartScenarioTest, AnsweredWizardStoresItsTariffAndTheRunEntry) {
    const HeadlessResult r = run(QStringLiteral("first-start-answered.scn"));
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.of(QStringLiteral("wizard")),
              (QStringList{"Noll\t1", "First\tdifferent", "Second\t08.00\t18.00\tfalse\ttrue\ttrue",
                           "Third\t1.00\t0.50\t0.25\t0.10\t0.00", "Fourth\ttrue"}));
    EXPECT_EQ(user(QStringLiteral("One rate")), QStringLiteral("false"));
    EXPECT_EQ(user(QStringLiteral("Weekend rate")), QStringLiteral("0.25"));
    SqliteRegistryStore store(storeFile());
    const auto runValue = store.readValue(
        RegRoot::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"),
        QStringLiteral("Tollwatch"));
    ASSERT_TRUE(runValue);
    EXPECT_EQ(runValue->text, HeadlessRun::program());
    // The desktop starts the monitor with the session from the moment the
    // wizard is done, not only after the next start.
    const QString autostart =
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/Tollwatch.desktop");
    EXPECT_TRUE(QFile::exists(autostart)) << autostart.toStdString();
    // A cheap Saturday: three minutes at 0.25 and the fee of 0.10.
    EXPECT_EQ(loggedCost(), QStringLiteral("0.85"));
    EXPECT_DOUBLE_EQ(modelPrice(QDateTime(QDate(2024, 3, 16), QTime(12, 0, 5)),
                                QDateTime(QDate(2024, 3, 16), QTime(12, 3, 5))),
                     0.85);
}

} // namespace
