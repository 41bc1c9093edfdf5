// tollwatch --headless dialling on scenario files: Dialdart and the connection
// menus from a store that names only the Dialdart entry, the /C start, the
// tray click and the program run after a Dialdart connection.

#include "HeadlessRun.h"
#include "LogFile.h"
#include "Settings.h"
#include "SqliteRegistryStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DialScenarioTest : public ::testing::Test {
protected:
    DialScenarioTest() {
        setUser(QStringLiteral("Log Filename"), logFile());
        setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Hometown Dial"));
        // A user past the first start: no wizard takes the scenario's answers.
        setUser(QStringLiteral("Skip intro"), QStringLiteral("true"));
    }
    QString storeFile() const { return m_dir.path() + QStringLiteral("/registry.sqlite"); }
    QString logFile() const { return m_dir.path() + QStringLiteral("/access.txt"); }
    QString user(const QString& name) const {
        SqliteRegistryStore store(storeFile());
        return Settings(store).ReadText(kSettingsKey, name, QStringLiteral("<missing>"));
    }
    void setUser(const QString& name, const QString& text) {
        SqliteRegistryStore store(storeFile());
        Settings(store).WriteText(kSettingsKey, name, text);
    }
    HeadlessResult run(const QString& scenario, const QStringList& extra = {}) {
        return HeadlessRun::run(
            QStringList{QStringLiteral("--registry"), storeFile(), QStringLiteral("--ras"),
                        QStringLiteral("sim:") + HeadlessRun::scenario(scenario)} +
            extra);
    }
    // The lines of a type with their time stamps, without the type.
    static QStringList timed(const HeadlessResult& r, const QString& type) {
        QStringList out;
        for (const QString& line : r.lines) {
            QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() > 2 && fields.at(1) == type) {
                fields.removeAt(1);
                out << fields.join(QLatin1Char('\t'));
            }
        }
        return out;
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(DialScenarioTest, EveryMenuDialsTimesAndHangsUpAndEachCallIsLogged) {
    const HeadlessResult r = run(QStringLiteral("dialdart.scn"));
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QStringList events = timed(r, QStringLiteral("event"));
    const QStringList expected{
        "2024-03-15 21:59:05\t3\tConnecting to \"Hometown Dial\"",
        "2024-03-15 21:59:11\t2\tConnected to Hometown Dial",
        "2024-03-15 22:00:46\t1\tConnection aborted by user",
        "2024-03-15 22:00:46\t1\tDisconnected, this connection: 0:02 (total: 0:02)",
        "2024-03-15 22:00:50\t3\tConnecting to \"Backup ISP\"",
        "2024-03-15 22:00:50\t1\tConnection aborted by user",
        "2024-03-15 22:00:55\t3\tConnecting to \"Backup ISP\"",
        "2024-03-15 22:00:58\t5\tThe line is busy.",
        "2024-03-15 22:01:05\t3\tConnecting to \"Night Line\"",
        "2024-03-15 22:01:08\t2\tConnected to Night Line",
        "2024-03-15 22:01:40\t1\tDisconnected, this connection: 0:01 (total: 0:03)",
    };
    QStringList seen;
    for (const QString& e : events) {
        if (expected.contains(e))
            seen << e;
    }
    EXPECT_EQ(seen, expected) << r.lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(events.filter(QStringLiteral("Connecting to \"Hometown Dial\"")).size(), 1)
        << "the second Dialdart is ignored";
    EXPECT_EQ(events.filter(QStringLiteral("aborted")).size(), 2) << "not from the tray";
    EXPECT_EQ(r.of(QStringLiteral("box")),
              (QStringList{"Backup ISP\t&User name:\\n&Password:\tCancel",
                           "Backup ISP\t&User name:\\n&Password:\tOK",
                           "Night Line\t&User name:\\n&Password:\tOK"}));
    EXPECT_FALSE(r.lines.join(QLatin1Char('\n')).contains(QStringLiteral("typed")))
        << "a typed password is never written out";

    const QList<QByteArray> log = LogFile::splitLines(LogFile::readAll(logFile()));
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].contains(";9:59:11 PM;2;")) << log[0].toStdString();
    EXPECT_TRUE(log[0].endsWith(";1.23;49.34;Hometown Dial")) << log[0].toStdString();
    EXPECT_TRUE(log[1].endsWith(";Night Line")) << log[1].toStdString();
    EXPECT_EQ(user(QStringLiteral("Connected")), QStringLiteral("3"));
}

TEST_F(DialScenarioTest, EntriesOfBothSubmenusAreListedInPhoneBookOrderAndNamedInGerman) {
    setUser(QStringLiteral("Language"), QStringLiteral("4"));
    const HeadlessResult r = run(QStringLiteral("dialdart.scn"), {QStringLiteral("--trace")});
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QStringList views = r.of(QStringLiteral("view"));
    EXPECT_TRUE(
        views.contains(QStringLiteral("Connect2.Items\tHometown Dial\\nBackup ISP\\nNight Line")));
    EXPECT_TRUE(views.contains(
        QStringLiteral("Connectusing1.Items\tHometown Dial\\nBackup ISP\\nNight Line")));
    const QStringList events = r.of(QStringLiteral("event"));
    EXPECT_TRUE(events.contains(QStringLiteral("3\tVerbindungsaufbau mit \"Hometown Dial\"")));
    EXPECT_EQ(events.filter(QStringLiteral("Verbindung vom Benutzer abgebrochen")).size(), 2);
    ASSERT_FALSE(r.of(QStringLiteral("box")).isEmpty());
    EXPECT_EQ(r.of(QStringLiteral("box")).first(),
              QStringLiteral("Backup ISP\t&Benutzername:\\n&Kennwort:\tCancel"));
}

TEST_F(DialScenarioTest, DialSwitchDialsAtOnceAndEndsAfterTheCall) {
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Home"));
    const HeadlessResult r = run(QStringLiteral("dial-on-start.scn"), {QStringLiteral("/C")});
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QStringList events = timed(r, QStringLiteral("event"));
    ASSERT_GE(events.size(), 2);
    EXPECT_EQ(events[1], QStringLiteral("2024-03-15 21:00:00\t3\tConnecting to \"Home\""));
    EXPECT_TRUE(events.contains(QStringLiteral("2024-03-15 21:00:02\t2\tConnected to Home")));
    EXPECT_TRUE(
        r.lines.last().startsWith(QStringLiteral("2024-03-15 21:01:02\tevent\t1\tShut down")))
        << r.lines.last().toStdString();
    EXPECT_EQ(user(QStringLiteral("Bad termination")), QStringLiteral("false"));
    EXPECT_EQ(LogFile::splitLines(LogFile::readAll(logFile())).size(), 1);
}

TEST_F(DialScenarioTest, TrayClickDialsWithOneClickAndTheConnectionStartsTheProgram) {
    setUser(QStringLiteral("Dialdart Using name"), QStringLiteral("Home"));
    setUser(QStringLiteral("Dialdart oneclick"), QStringLiteral("true"));
    setUser(QStringLiteral("Dialdart Run"), QStringLiteral("/bin/true --after \"a b\""));
    const HeadlessResult r = run(QStringLiteral("tray-dial.scn"));
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_TRUE(r.of(QStringLiteral("event")).contains(QStringLiteral("2\tConnected to Home")));
    EXPECT_EQ(timed(r, QStringLiteral("shell")),
              QStringList{"2024-03-15 08:00:04\tstart\t/bin/true\t--after\ta b"});
    EXPECT_TRUE(r.of(QStringLiteral("box")).isEmpty());

    // A program that is not there: the box, and the call goes on to its end.
    setUser(QStringLiteral("Dialdart Run"), QStringLiteral("C:\\no\\such\\mailer.exe"));
    const HeadlessResult missing = run(QStringLiteral("tray-dial.scn"));
    ASSERT_EQ(missing.exitCode, 0);
    EXPECT_EQ(missing.of(QStringLiteral("box")),
              QStringList{"Tollwatch\tUnable to launch the e-mail client. Please check that this "
                          "path is available: C:\\\\no\\\\such\\\\mailer.exe\tOK"});
    EXPECT_EQ(missing.of(QStringLiteral("event")).filter(QStringLiteral("Disconnected,")).size(),
              1);
}

} // namespace
