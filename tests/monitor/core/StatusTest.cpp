// The state `tollwatch --status` reports: the board on a whole monitor core
// through dialling, a connection and its end; the line and the JSON made of
// it; and the server on the single-instance channel, which answers at once
// and never waits for a reader.

#include "ApplicationControl.h"
#include "CoreFixture.h"
#include "MonitorCore.h"
#include "RasConstants.h"
#include "SingleInstance.h"
#include "SqliteRegistryStore.h"
#include "StatusServer.h"
#include "VirtualRunner.h"

#include <QJsonDocument>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

class StatusBoardTest : public CoreFixture {
protected:
    StatusBoardTest() : chime(clock) {
        settings.WriteText(kSettingsKey, "Log Filename", dir.filePath("access.txt"));
        settings.WriteFlag(kSettingsKey, "Skip intro", true);
        settings.WriteFlag(kSettingsKey, "Show cost", true);
        settings.WriteText(kSettingsKey, "Connected", "125");
        settings.WriteText(kSettingsKey, "Connection Cost", "12.50");
        settings.WriteText(kSettingsKey, "Normal Rate", "0.60");
        core = std::make_unique<MonitorCore>(MonitorEnvironment{
            store, formats, clock, view, view, ras, chime, MonitorFeatures::allFrom(features),
            control, commandLine, nullptr, QString()});
        core->statusBoard().setListener([this](const MonitorStatus& s) { heard.append(s); });
        core->FormCreate();
    }
    const MonitorStatus& status() { return core->statusBoard().current(); }
    void tick(int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1);
            core->MinTimer();
        }
    }

    QTemporaryDir dir;
    VirtualChime chime;
    TerminateFlag control;
    CommandLine commandLine;
    std::unique_ptr<MonitorCore> core;
    QList<MonitorStatus> heard;
};

} // namespace

TEST_F(StatusBoardTest, FollowsAConnectionFromDiallingToItsEnd) {
    EXPECT_EQ(status().state, MonitorStatus::State::Offline);
    EXPECT_EQ(status().totalMinutes, 125);
    EXPECT_DOUBLE_EQ(status().totalCost, 12.5);
    EXPECT_TRUE(status().showCost);

    list("Hometown Dial", RasState::DeviceConnected);
    tick();
    EXPECT_EQ(status().state, MonitorStatus::State::Dialling);
    EXPECT_EQ(status().connection, "Hometown Dial");
    EXPECT_EQ(status().step, "Modem connected");

    list("Hometown Dial", RasState::Connected);
    tick();
    EXPECT_EQ(status().state, MonitorStatus::State::Connected);
    EXPECT_EQ(status().seconds, 0);
    EXPECT_EQ(status().cost, 0);
    tick(65);
    EXPECT_EQ(status().seconds, 65);
    EXPECT_GT(status().cost, 0);
    EXPECT_EQ(status().totalMinutes, 126); // the window's total: 125 + 1 whole minute
    EXPECT_DOUBLE_EQ(status().totalCost, 12.5 + status().cost);
    const double cost = status().cost;

    gone("Hometown Dial");
    tick();
    EXPECT_EQ(status().state, MonitorStatus::State::Offline);
    EXPECT_TRUE(status().connection.isEmpty());
    EXPECT_EQ(status().totalMinutes, 127); // the close-out counts whole minutes + 1
    EXPECT_NEAR(status().totalCost, 12.5 + cost, 0.01);
    // Every change was told, each once: dialling, a line a second while
    // connected, the end.
    EXPECT_GE(heard.size(), 1 + 66 + 1);
    for (int i = 1; i < heard.size(); ++i)
        EXPECT_NE(heard[i], heard[i - 1]) << i;
    EXPECT_EQ(heard.last(), status());
}

TEST_F(StatusBoardTest, AFailedDialIsNoDiallingAndABadTotalKeepsTheLastOne) {
    list("Hometown Dial", RasState::DeviceConnected, RasError::LineBusy);
    tick();
    EXPECT_EQ(status().state, MonitorStatus::State::Offline);
    const int changes = int(heard.size());
    tick(3);
    EXPECT_EQ(heard.size(), changes); // nothing changed, nothing told

    settings.WriteText(kSettingsKey, "Connection Cost", "a lot");
    tick();
    EXPECT_DOUBLE_EQ(status().totalCost, 12.5);
    settings.WriteText(kSettingsKey, "Connected", "200");
    settings.WriteText(kSettingsKey, "Connection Cost", "20");
    tick();
    EXPECT_EQ(status().totalMinutes, 200);
    EXPECT_DOUBLE_EQ(status().totalCost, 20);
}

TEST(StatusTextTest, WritesTheLineAndTheJsonOfEachState) {
    const FormatSettings sv = TestFormats::svSE();
    MonitorStatus s;
    s.totalMinutes = 125;
    s.totalCost = 12.5;
    s.showCost = true;
    EXPECT_EQ(StatusText::line(s, sv), "offline; total 125 minutes, 12,50 kr");
    s.showCost = false;
    s.totalMinutes = 1;
    EXPECT_EQ(StatusText::line(s, sv), "offline; total 1 minute");
    s.state = MonitorStatus::State::Dialling;
    s.connection = "Hem; \"Kontor\"";
    EXPECT_EQ(StatusText::line(s, sv), "dialling Hem; \"Kontor\"; total 1 minute");
    s.state = MonitorStatus::State::Connected;
    s.seconds = 2 * 3600 + 5;
    s.cost = 0.354;
    s.showCost = true;
    EXPECT_EQ(StatusText::line(s, sv),
              "connected to Hem; \"Kontor\" for 2:00:05, 0,35 kr; total 1 minute, 12,50 kr");
    EXPECT_EQ(StatusText::duration(65), "1:05");
    EXPECT_EQ(StatusText::duration(3599), "59:59");

    const QJsonObject json = StatusText::json(s, sv);
    EXPECT_EQ(json["state"].toString(), "connected");
    EXPECT_EQ(json["class"].toString(), "connected");
    EXPECT_EQ(json["connection"].toString(), "Hem; \"Kontor\"");
    EXPECT_EQ(json["seconds"].toInt(), 7205);
    EXPECT_EQ(json["duration"].toString(), "2:00:05");
    EXPECT_DOUBLE_EQ(json["cost"].toDouble(), 0.35); // plain, with the currency's decimals
    EXPECT_EQ(json["text"].toString(), StatusText::line(s, sv));

    const QJsonObject stopped = StatusText::notRunningJson();
    EXPECT_EQ(stopped["state"].toString(), "stopped");
    EXPECT_TRUE(stopped["total_cost"].isNull());
}

TEST(StatusTextTest, TheChannelFormReadsBackAndRefusesOtherText) {
    MonitorStatus s;
    s.state = MonitorStatus::State::Dialling;
    s.connection = "Åre\n2";
    s.step = "Port opened";
    s.totalMinutes = 7;
    s.totalCost = 1.25;
    const QByteArray wire = s.toJson();
    EXPECT_FALSE(wire.contains('\n')); // one line on the channel
    EXPECT_EQ(MonitorStatus::fromJson(wire), s);
    EXPECT_FALSE(MonitorStatus::fromJson("ok"));
    EXPECT_FALSE(MonitorStatus::fromJson("{\"state\":\"sleeping\"}"));
    EXPECT_FALSE(MonitorStatus::fromJson("[1,2]"));
}

TEST_F(StatusBoardTest, UnwatchedBoardAnswersWithTheTotalsStoredNow) {
    // Nobody follows: the ticks leave the store alone, and a question reads
    // the totals as another program may just have changed them.
    core->statusBoard().setListener({});
    tick(3);
    settings.WriteText(kSettingsKey, "Connection Cost", "20.00");
    settings.WriteText(kSettingsKey, "Connected", "200");
    EXPECT_DOUBLE_EQ(status().totalCost, 20.0);
    EXPECT_EQ(status().totalMinutes, 200);
    EXPECT_EQ(status().state, MonitorStatus::State::Offline);
}

namespace {

class StatusServerTest : public StatusBoardTest {
protected:
    StatusServerTest() {
        EXPECT_TRUE(instance.claim(storeFile));
        server = std::make_unique<StatusServer>(instance, core->statusBoard());
    }
    std::unique_ptr<QLocalSocket> ask(const QByteArray& request) {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(SingleInstance::channelAddress(storeFile.fileName()));
        EXPECT_TRUE(socket->waitForConnected(5000));
        socket->write(request);
        socket->flush();
        return socket;
    }
    // Lets the server run until the socket has a line or closes.
    static QByteArray lineOf(QLocalSocket& socket) {
        QSignalSpy ready(&socket, &QLocalSocket::readyRead);
        while (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState &&
               ready.wait(5000)) {
        }
        return socket.readLine().trimmed();
    }

    SqliteRegistryStore storeFile{dir.filePath("registry.sqlite")};
    SingleInstance instance;
    std::unique_ptr<StatusServer> server;
};

} // namespace

TEST_F(StatusServerTest, AnswersOnceOrAtEveryChange) {
    QSignalSpy answered(server.get(), &StatusServer::answered);
    auto once = ask("status\n");
    EXPECT_EQ(MonitorStatus::fromJson(lineOf(*once)), status());
    QSignalSpy closed(once.get(), &QLocalSocket::disconnected);
    EXPECT_TRUE(once->state() == QLocalSocket::UnconnectedState || closed.wait(5000));

    auto follower = ask("status follow\n");
    EXPECT_EQ(MonitorStatus::fromJson(lineOf(*follower))->state, MonitorStatus::State::Offline);
    EXPECT_EQ(answered.size(), 2);
    EXPECT_EQ(server->followers(), 1);
    list("Hometown Dial", RasState::DeviceConnected);
    tick();
    list("Hometown Dial", RasState::Connected);
    tick();
    EXPECT_EQ(MonitorStatus::fromJson(lineOf(*follower))->state, MonitorStatus::State::Dialling);
    EXPECT_EQ(MonitorStatus::fromJson(lineOf(*follower))->state, MonitorStatus::State::Connected);

    auto stranger = ask("shutdown\n");
    QSignalSpy strangerClosed(stranger.get(), &QLocalSocket::disconnected);
    EXPECT_TRUE(strangerClosed.wait(5000));
    EXPECT_TRUE(stranger->readAll().isEmpty());
}

TEST_F(StatusServerTest, DropsAFollowerThatStopsReadingInsteadOfWaiting) {
    auto follower = ask("status follow\n");
    lineOf(*follower);
    ASSERT_EQ(server->followers(), 1);
    // The follower reads nothing more; every publish must return at once.
    MonitorStatus s = status();
    s.connection = QString(500, 'x');
    for (int i = 0; i < 20000 && server->followers() > 0; ++i) {
        s.seconds = i;
        server->publish(s);
    }
    EXPECT_EQ(server->followers(), 0);
}
