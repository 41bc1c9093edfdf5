// The NetworkManager source against what the real daemon does, imitated by
// the fake (nm_daemon_template.py, which names the daemon's sources): device
// counters that carry earlier sessions, a restart that hands out the same
// object paths again, a tick that never waits for the daemon, typed
// credentials that must not end up saved, profiles that change or cannot be
// read, and the statistics refresh rate given back.

#include "NmSourceFixture.h"

namespace {

constexpr quint64 kMegabyte = 1024 * 1024;

class NetworkManagerDaemonTest : public NmSourceFixture {};

TEST_F(NetworkManagerDaemonTest, EachSessionCountsOnlyItsOwnBytes) {
    // TxBytes/RxBytes come from the kernel link and are not reset when a new
    // activation starts (nm-device.c, _stats_update_counters_from_pllink).
    mock.setStatistics(modem, 7000 * kMegabyte, 9000 * kMegabyte);
    const QString first = mock.addActive({modem}, gsm, QStringLiteral("1"), 2);
    connections();
    const ByteCounters start = counters();
    EXPECT_EQ(start.sent, 0u) << "what the interface carried before is no session's";
    mock.setStatistics(modem, 7050 * kMegabyte, 9000 * kMegabyte);
    connections();
    mock.removeActive(modem, first);
    const ByteCounters afterFirst = counters();
    EXPECT_EQ(afterFirst.sent, 50 * kMegabyte);

    mock.addActive({modem}, gsm, QStringLiteral("2"), 2);
    connections();
    mock.setStatistics(modem, 7051 * kMegabyte, 9002 * kMegabyte);
    connections();
    const ByteCounters afterSecond = counters();
    EXPECT_EQ(afterSecond.sent - afterFirst.sent, 1 * kMegabyte);
    EXPECT_EQ(afterSecond.received - afterFirst.received, 2 * kMegabyte);
}

TEST_F(NetworkManagerDaemonTest, RestartedDaemonNeitherEndsNorMisattributesTheLink) {
    const QString wired = mock.addModem(QStringLiteral("eth0"), QStringLiteral("eth0"), 30);
    const QString lan = mock.addConnection(
        nmProfile(QStringLiteral("Office LAN"), QStringLiteral("802-3-ethernet")));
    mock.addActive({wired}, lan, QStringLiteral("1"), 2);
    mock.addActive({modem}, gsm, QStringLiteral("2"), 2);
    mock.setStatistics(modem, 100, 100);
    const QList<RasConnection> before = connections();
    ASSERT_EQ(before.size(), 1);
    api->byteCounters();
    mock.setStatistics(modem, 150, 100);
    const ByteCounters countedBefore = counters();

    // A new daemon numbers its objects from 1 again (nm-dbus-object.c) and
    // takes over the links that are up, in an order of its own.
    ASSERT_TRUE(mock.restartDaemon()) << mock.error().toStdString();
    QList<RasConnection> during;
    settle();
    EXPECT_NE(api->enumConnections(during), 0) << "a new daemon: unknown, not ended";
    const QString modemAgain = mock.addModem(QStringLiteral("modem0"), QStringLiteral("ppp0"), 30);
    const QString wiredAgain = mock.addModem(QStringLiteral("eth0"), QStringLiteral("eth0"), 30);
    const QString gsmAgain = mock.addConnection(NmMock::gsmSettings(
        QStringLiteral("Mobile Broadband"), QStringLiteral("uuid-gsm"), QStringLiteral("anna")));
    const QString lanAgain = mock.addConnection(
        nmProfile(QStringLiteral("Office LAN"), QStringLiteral("802-3-ethernet")));
    mock.setStatistics(modemAgain, 170, 100); // the kernel's counters went on
    mock.addActive({modemAgain}, gsmAgain, QStringLiteral("1"), 2);
    mock.addActive({wiredAgain}, lanAgain, QStringLiteral("2"), 2);
    settle();
    EXPECT_NE(api->enumConnections(during), 0) << "still taking over the links";
    mock.finishStartup();

    const QList<RasConnection> after = connections();
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0].entryName, QStringLiteral("Mobile Broadband"));
    EXPECT_EQ(after[0].handle, before[0].handle) << "the same link, whatever its path";
    RasConnStatus status;
    ASSERT_EQ(api->connectStatus(after[0].handle, status), 0);
    EXPECT_EQ(status.state, RasState::Connected);
    EXPECT_EQ(counters().sent - countedBefore.sent, 20u) << "counted on, not again";
}

TEST_F(NetworkManagerDaemonTest, PollTickAsksTheDaemonNothingEvenWhenItHangs) {
    QStringList devices;
    for (int i = 0; i < 4; ++i) {
        const QString device =
            mock.addModem(QStringLiteral("wwan%1").arg(i), QStringLiteral("wwan%1").arg(i), 30);
        const QString profile = mock.addConnection(NmMock::gsmSettings(
            QStringLiteral("Line %1").arg(i), QStringLiteral("uuid-line-%1").arg(i)));
        mock.addActive({device}, profile, QString::number(i + 1), 2);
        devices.append(device);
    }
    connections();
    counters(); // the refresh rates asked for once
    const auto tick = [&] {
        QList<RasConnection> listed;
        EXPECT_EQ(api->enumConnections(listed), 0);
        for (const RasConnection& c : listed) {
            RasConnStatus status;
            EXPECT_EQ(api->connectStatus(c.handle, status), 0);
            EXPECT_EQ(status.state, RasState::Connected);
        }
        for (int i = 0; i < 3; ++i)
            api->byteCounters();
        return listed.size();
    };
    settle();
    const quint64 sent = api->callsSent();
    EXPECT_EQ(tick(), 4);
    mock.setStatistics(devices[2], 4096, 8192);
    settle();
    EXPECT_EQ(tick(), 4);
    EXPECT_EQ(api->byteCounters().received, 8192u) << "the news came by signal";
    EXPECT_EQ(api->callsSent(), sent) << "no D-Bus call on the poll path";

    // A daemon that keeps its name but answers nothing: the tick answers
    // from what it knows, without a call that could wait.
    mock.freeze(true);
    EXPECT_EQ(tick(), 4);
    EXPECT_EQ(api->callsSent(), sent);
    mock.freeze(false);
}

TEST_F(NetworkManagerDaemonTest, TypedCredentialsReachTheLinkAndNeverTheSavedProfile) {
    // Handed to the saved profile (password-flags 0, the default), a typed
    // password is a system-owned secret: NetworkManager discards it from an
    // agent without polkit's modify permission (the dial fails for want of
    // it) and saves it to disk for one with it (get_cmp_flags and
    // get_secrets_done_cb, nm-settings-connection.c).
    RasHandle plain = 0;
    dialGsm(plain);
    // The daemon fails it a moment after it answered the call.
    for (int round = 0; round < 100 && (steps.isEmpty() || steps.last().error == 0); ++round)
        settle();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), (NmStep{RasState::Disconnected, RasError::AuthenticationFailure}))
        << "without the typed password the saved profile cannot dial";

    steps.clear();
    RasHandle handle = 0;
    ASSERT_EQ(api->dial(QStringLiteral("Mobile Broadband"), QStringLiteral("bea"),
                        QStringLiteral("s3cret"), recorder(), handle),
              0);
    settle();
    EXPECT_EQ(steps, (QList<NmStep>{{RasState::Connected, 0}}));
    const QStringList active = activePaths();
    ASSERT_EQ(active.size(), 1);
    EXPECT_EQ(mock.activationCredentials(active[0]),
              std::make_pair(QStringLiteral("bea"), QStringLiteral("s3cret")));
    const QList<RasConnection> listed = connections();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].entryName, QStringLiteral("Mobile Broadband"));
    EXPECT_EQ(listed[0].handle, handle);

    // The saved profile is as it was, and the in-memory copy is no entry.
    EXPECT_TRUE(mock.storedPassword(gsm).isEmpty());
    EXPECT_TRUE(mock.callsOf(gsm, QStringLiteral("Update")).isEmpty());
    QList<RasEntry> entries;
    ASSERT_EQ(api->enumEntries(entries), 0);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].userName, QStringLiteral("anna"));

    // NetworkManager deletes a volatile profile when its link ends.
    mock.removeActive(modem, active[0]);
    settle();
    const QStringList left = Nm::objectPaths(
        mock.property(Nm::kSettingsPath, Nm::kSettingsIface, QStringLiteral("Connections")));
    EXPECT_EQ(left, QStringList{gsm});
}

TEST_F(NetworkManagerDaemonTest, ProfileChangesAreSeenAndUnreadableOnesAreNotAskedAgain) {
    const QString wifi = mock.addModem(QStringLiteral("wlan0"), QStringLiteral("wlan0"), 30);
    NmSettingsMap hotspot = nmProfile(QStringLiteral("Hotspot"), QStringLiteral("802-11-wireless"),
                                      {{QStringLiteral("metered"), 1}});
    const QString hotspotPath = mock.addConnection(hotspot);
    mock.addActive({wifi}, hotspotPath, QStringLiteral("1"), 2);
    EXPECT_EQ(names(), QStringList{"Hotspot"});
    // The user says the hotspot is not metered after all, while it is up.
    hotspot[QStringLiteral("connection")].insert(QStringLiteral("metered"), 2);
    QDBusMessage update = QDBusMessage::createMethodCall(
        Nm::kService, hotspotPath, Nm::kConnectionIface, QStringLiteral("Update"));
    update.setArguments({QVariant::fromValue(hotspot)});
    mock.connection().call(update);
    EXPECT_TRUE(names().isEmpty());

    // A profile NetworkManager will not hand out (another user's) is judged
    // by its activation, and not asked for at every poll.
    const QString hidden =
        mock.addConnection(nmProfile(QStringLiteral("Private"), QStringLiteral("gsm")));
    mock.mockCall(
        hidden, QStringLiteral("AddMethod"),
        {Nm::kConnectionIface, QStringLiteral("GetSettings"), QString(),
         QStringLiteral("a{sa{sv}}"),
         QStringLiteral("raise dbus.exceptions.DBusException('denied', "
                        "name='org.freedesktop.NetworkManager.Settings.PermissionDenied')")});
    mock.addActive({modem}, hidden, QStringLiteral("2"), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(names(), QStringList{"Private"});
    EXPECT_LE(mock.callsOf(hidden, QStringLiteral("GetSettings")).size(), 1);
}

TEST_F(NetworkManagerDaemonTest, StatisticsRefreshRateIsGivenBackAtTheEnd) {
    mock.addActive({modem}, gsm, QStringLiteral("1"), 2);
    connections();
    counters();
    const auto rate = [&] {
        return mock.property(modem, Nm::kStatisticsIface, QStringLiteral("RefreshRateMs")).toUInt();
    };
    ASSERT_EQ(rate(), 1000u);
    api.reset();
    EXPECT_EQ(rate(), 0u) << "as it was before the monitor asked";
}

} // namespace
