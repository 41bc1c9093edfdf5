// Choosing the connection source: --ras, the stored choice, auto-detection of
// NetworkManager on the system bus, and sim scenario files.

#include "RasApiFactory.h"

#include "NmMock.h"

#include "Clock.h"
#include "MemoryRegistryStore.h"
#include "Settings.h"
#include "SimRasApi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RasApiFactoryTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (m_savedBus.isNull())
            qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        else
            qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_savedBus);
    }
    void useSystemBus(const QString& address) {
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toLocal8Bit());
    }
    QString backendOf(const QString& source) {
        QString error;
        const auto api = createRasApi(source, settings, &error);
        EXPECT_TRUE(api) << error.toStdString();
        return api ? api->backendName() : QString();
    }

    MemoryRegistryStore store;
    Settings settings{store};
    QTemporaryDir dir;

private:
    QByteArray m_savedBus = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
};

TEST_F(RasApiFactoryTest, CommandLineWinsOverTheStoredChoiceWhichWinsOverAuto) {
    EXPECT_EQ(RasApiFactory::chosenSource(QString(), settings), QStringLiteral("auto"));
    settings.WriteText(kSettingsKey, kConnectionSourceValue, QStringLiteral("ppp"));
    EXPECT_EQ(RasApiFactory::chosenSource(QString(), settings), QStringLiteral("ppp"));
    EXPECT_EQ(RasApiFactory::chosenSource(QStringLiteral("networkmanager"), settings),
              QStringLiteral("networkmanager"));
    EXPECT_EQ(backendOf(QString()), QStringLiteral("ppp"));
}

TEST_F(RasApiFactoryTest, UnknownSourcesAreRefusedWithTheReason) {
    for (const QString& source :
         {QStringLiteral("modem"), QStringLiteral("sim:"), QStringLiteral("PPP")}) {
        QString error;
        EXPECT_FALSE(createRasApi(source, settings, &error)) << source.toStdString();
        EXPECT_TRUE(error.contains(source)) << error.toStdString();
    }
    settings.WriteText(kSettingsKey, kConnectionSourceValue, QStringLiteral("carrier pigeon"));
    EXPECT_FALSE(createRasApi(QString(), settings));
}

TEST_F(RasApiFactoryTest, SimLoadsItsScenarioFile) {
    const QString file = dir.filePath(QStringLiteral("scenario.txt"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("clock 2024-05-01 10:00:00\nentry \"Home\" user \"anna\"\n");
    out.close();

    ManualClock clock(QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
    QString error;
    const auto api = createRasApi(QStringLiteral("sim:") + file, settings, &error, &clock);
    ASSERT_TRUE(api) << error.toStdString();
    EXPECT_TRUE(dynamic_cast<SimRasApi*>(api.get())) << "the runner drives it";
    QList<RasEntry> entries;
    ASSERT_EQ(api->enumEntries(entries), 0);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].name, QStringLiteral("Home"));
    EXPECT_EQ(backendOf(QStringLiteral("sim:") + file), QStringLiteral("sim"));

    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    EXPECT_FALSE(createRasApi(QStringLiteral("sim:") + missing, settings, &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
}

TEST_F(RasApiFactoryTest, AutoTakesNetworkManagerOnlyWhenItAnswersOnTheSystemBus) {
    NmMock withNm;
    ASSERT_TRUE(withNm.ready()) << withNm.error().toStdString();
    useSystemBus(withNm.address());
    EXPECT_EQ(backendOf(QStringLiteral("auto")), QStringLiteral("networkmanager"));

    NmMock without(false);
    ASSERT_TRUE(without.ready()) << without.error().toStdString();
    useSystemBus(without.address());
    EXPECT_EQ(backendOf(QStringLiteral("auto")), QStringLiteral("ppp"));
    // Asked for by name, NetworkManager is used even when it is away: the
    // monitor then reports that the connection source does not answer.
    const auto forced = createRasApi(QStringLiteral("networkmanager"), settings);
    ASSERT_TRUE(forced);
    QList<RasConnection> connections;
    EXPECT_NE(forced->enumConnections(connections), 0);

    useSystemBus(QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("no-bus")));
    EXPECT_EQ(backendOf(QStringLiteral("auto")), QStringLiteral("ppp"));
}

} // namespace
