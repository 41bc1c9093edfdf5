// The NetworkManager source against python3-dbusmock's NetworkManager on a
// private bus: which connections count, how their states read, dialling,
// hanging up, the phone book and the byte counters.

#include "NmSourceFixture.h"

#include <QDir>
#include <QFile>

namespace {

using Step = NmStep;

NmSettingsMap profile(const QString& id, const QString& type, const QVariantMap& extra = {}) {
    return nmProfile(id, type, extra);
}

class NetworkManagerRasApiTest : public NmSourceFixture {};

TEST_F(NetworkManagerRasApiTest, ListsActiveModemConnectionWithItsIdAndStableHandle) {
    EXPECT_TRUE(connections().isEmpty());
    mock.addActive({modem}, gsm, QStringLiteral("a0"), 2);
    const QList<RasConnection> first = connections();
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(first[0].entryName, QStringLiteral("Mobile Broadband"));
    EXPECT_NE(first[0].handle, 0u);
    const QList<RasConnection> again = connections();
    ASSERT_EQ(again.size(), 1);
    EXPECT_EQ(again[0].handle, first[0].handle);
    RasConnStatus status;
    ASSERT_EQ(api->connectStatus(first[0].handle, status), 0);
    EXPECT_EQ(status.state, RasState::Connected);
    EXPECT_NE(api->connectStatus(first[0].handle + 1, status), 0);
}

TEST_F(NetworkManagerRasApiTest, OnlyPayByTimeLinksCountUnlessTheUserListsMore) {
    const QString wired = mock.addModem(QStringLiteral("eth0"), QStringLiteral("eth0"), 30);
    const auto activate = [&](const NmSettingsMap& saved, const QString& name) {
        mock.addActive({wired}, mock.addConnection(saved), name, 2);
    };
    activate(profile(QStringLiteral("Office LAN"), QStringLiteral("802-3-ethernet")), "a1");
    activate(profile(QStringLiteral("Hotspot"), QStringLiteral("802-11-wireless"),
                     {{QStringLiteral("metered"), 1}}),
             "a2");
    activate(profile(QStringLiteral("Guessed"), QStringLiteral("802-11-wireless"),
                     {{QStringLiteral("metered"), 3}}),
             "a3");
    activate(profile(QStringLiteral("DSL"), QStringLiteral("pppoe")), "a4");
    NmSettingsMap pan = profile(QStringLiteral("Phone PAN"), QStringLiteral("bluetooth"));
    pan[QStringLiteral("bluetooth")] = {{QStringLiteral("type"), QStringLiteral("panu")}};
    activate(pan, "a5");
    NmSettingsMap dun = profile(QStringLiteral("Phone DUN"), QStringLiteral("bluetooth"));
    dun[QStringLiteral("bluetooth")] = {{QStringLiteral("type"), QStringLiteral("dun")}};
    activate(dun, "a6");
    EXPECT_EQ(names(), (QStringList{"Hotspot", "DSL", "Phone DUN"}));

    settings.WriteText(kSettingsKey, QStringLiteral("Connection types"),
                       QStringLiteral(" office lan ;; uuid-Phone PAN"));
    EXPECT_EQ(names(), (QStringList{"Office LAN", "Hotspot", "DSL", "Phone PAN", "Phone DUN"}));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection types"),
                       QStringLiteral("802-11-wireless"));
    EXPECT_EQ(names(), (QStringList{"Hotspot", "Guessed", "DSL", "Phone DUN"}));
}

TEST_F(NetworkManagerRasApiTest, DeviceStatesReadAsTheDialStatesInTheirOrder) {
    mock.addActive({modem}, gsm, QStringLiteral("a0"), 1);
    const QList<std::pair<uint, int>> table{
        {40, RasState::OpenPort},     {50, RasState::ConnectDevice},
        {60, RasState::Authenticate}, {70, RasState::Authenticated},
        {80, RasState::Projected},    {90, RasState::Projected},
        {100, RasState::Connected},   {110, RasState::Disconnected},
        {30, RasState::OpenPort}, // not started on it yet: the activation says
    };
    for (const auto& [device, dial] : table) {
        mock.setDeviceState(modem, device, 0);
        const RasConnStatus status = statusOf(QStringLiteral("Mobile Broadband"));
        EXPECT_EQ(status.state, dial) << "device state " << device;
        EXPECT_EQ(status.error, 0) << "device state " << device;
    }
}

TEST_F(NetworkManagerRasApiTest, FailedDeviceGivesItsReasonAsDialError) {
    mock.addActive({modem}, gsm, QStringLiteral("a0"), 1);
    const QList<std::pair<uint, int>> reasons{
        {23, RasError::LineBusy}, {24, RasError::NoDialTone},           {25, RasError::NoCarrier},
        {26, RasError::NoAnswer}, {7, RasError::AuthenticationFailure}, {9999, 651},
    };
    for (const auto& [reason, error] : reasons) {
        mock.setDeviceState(modem, 120, reason);
        const RasConnStatus status = statusOf(QStringLiteral("Mobile Broadband"));
        EXPECT_EQ(status.error, error) << "reason " << reason;
        EXPECT_GE(status.error, int(RasError::FirstFailure));
        EXPECT_FALSE(api->errorString(status.error).isEmpty());
    }
}

TEST_F(NetworkManagerRasApiTest, ActivationWithoutDeviceReadsItsOwnState) {
    const QString active = mock.addActive({}, gsm, QStringLiteral("a0"), 1);
    EXPECT_EQ(statusOf(QStringLiteral("Mobile Broadband")).state, RasState::OpenPort);
    mock.setActiveState(active, 2, 0);
    EXPECT_EQ(statusOf(QStringLiteral("Mobile Broadband")).state, RasState::Connected);
    mock.setActiveState(active, 3, 0);
    EXPECT_EQ(statusOf(QStringLiteral("Mobile Broadband")).state, RasState::Disconnected);
}

TEST_F(NetworkManagerRasApiTest, PhoneBookListsSavedDialUpProfilesWithStoredCredentials) {
    mock.addConnection(profile(QStringLiteral("Office LAN"), QStringLiteral("802-3-ethernet")));
    NmSettingsMap dsl = profile(QStringLiteral("DSL"), QStringLiteral("pppoe"));
    dsl[QStringLiteral("pppoe")] = {{QStringLiteral("username"), QStringLiteral("bob")}};
    mock.setStoredPassword(mock.addConnection(dsl), QStringLiteral("pw"), QStringLiteral("pppoe"));
    NmSettingsMap asked = NmMock::gsmSettings(QStringLiteral("Ask each time"),
                                              QStringLiteral("uuid-ask"), QStringLiteral("carl"));
    asked[QStringLiteral("gsm")].insert(QStringLiteral("password-flags"), uint(2));
    mock.addConnection(asked);
    mock.addConnection(profile(QStringLiteral("Hotspot"), QStringLiteral("802-11-wireless"),
                               {{QStringLiteral("metered"), 1}}));
    settle();

    // NetworkManager hands secrets only to callers that may modify the
    // profile (GetSecrets, introspection/...Settings.Connection.xml): a
    // refusal says nothing, so the password counts as stored and no prompt
    // is shown for nothing.
    const auto entries = [&] {
        QList<RasEntry> out;
        EXPECT_EQ(api->enumEntries(out), 0);
        return out;
    };
    QList<RasEntry> listed = entries();
    ASSERT_EQ(listed.size(), 4);
    const QList<std::tuple<QString, QString, bool>> expected{
        {"Mobile Broadband", "anna", true}, // refused: unknown, taken as stored
        {"DSL", "bob", true},
        {"Ask each time", "carl", false}, // never saved
        {"Hotspot", "", true},            // nothing to ask for
    };
    for (int i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].name, std::get<0>(expected[i]));
        EXPECT_EQ(listed[i].userName, std::get<1>(expected[i]));
        EXPECT_EQ(listed[i].passwordStored, std::get<2>(expected[i])) << i;
        EXPECT_TRUE(listed[i].password.isEmpty()) << "the password stays with NetworkManager";
    }
    mock.setCallerPrivileged(true);
    listed = entries();
    ASSERT_EQ(listed.size(), 4);
    EXPECT_FALSE(listed[0].passwordStored) << "readable, and there is none";
    EXPECT_TRUE(listed[1].passwordStored);
}

TEST_F(NetworkManagerRasApiTest, DialActivatesTheProfileOnTheDeviceNetworkManagerChooses) {
    mock.setStoredPassword(gsm, QStringLiteral("saved"));
    RasHandle handle = 0;
    dialGsm(handle);
    const auto calls = mock.callsOf(Nm::kPath, QStringLiteral("ActivateConnection"));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].value(0).toString(), gsm);
    EXPECT_EQ(calls[0].value(1).toString(), QStringLiteral("/"));
    EXPECT_TRUE(steps.isEmpty()) << "progress comes after dial() returns";
    settle();
    EXPECT_EQ(steps, (QList<Step>{{RasState::Connected, 0}}));
    ASSERT_EQ(connections().size(), 1);
    EXPECT_EQ(connections()[0].handle, handle);

    EXPECT_EQ(api->dial(QStringLiteral("Office LAN"), QString(), QString(), recorder(), handle),
              NetworkManagerRasApi::CannotFindEntry);
}

TEST_F(NetworkManagerRasApiTest, DialFollowsTheDeviceSignalsUntilConnected) {
    mock.activateStepwise(modem);
    RasHandle handle = 0;
    dialGsm(handle);
    settle();
    for (uint state : {40u, 50u, 60u, 60u, 70u, 100u, 110u}) {
        mock.setDeviceState(modem, state, 0);
        settle();
    }
    EXPECT_EQ(steps, (QList<Step>{{RasState::OpenPort, 0},
                                  {RasState::ConnectDevice, 0},
                                  {RasState::Authenticate, 0},
                                  {RasState::Authenticated, 0},
                                  {RasState::Connected, 0}}));
}

TEST_F(NetworkManagerRasApiTest, FailedActivationEndsTheDialWithTheReasonsError) {
    mock.activateStepwise(modem);
    RasHandle handle = 0;
    const QString active = dialGsm(handle);
    mock.setDeviceState(modem, 50, 0);
    mock.setDeviceState(modem, 120, 25); // no carrier
    mock.setActiveState(active, 4, 3);
    settle();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), (Step{RasState::Disconnected, RasError::NoCarrier}));
    EXPECT_EQ(steps.count(steps.last()), 1) << "one failure, then silence";

    // Before the device has taken it up, the activation's own reason speaks.
    mock.setDeviceState(modem, 30, 0);
    steps.clear();
    const QString again = dialGsm(handle);
    mock.setActiveState(again, 4, 10); // login failed
    settle();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), (Step{RasState::Disconnected, RasError::AuthenticationFailure}));
}

TEST_F(NetworkManagerRasApiTest, HangUpDeactivatesAndEndsTheReports) {
    mock.activateStepwise(modem);
    RasHandle handle = 0;
    const QString active = dialGsm(handle);
    mock.setDeviceState(modem, 40, 0);
    settle();
    const int reported = steps.size();
    EXPECT_EQ(api->hangUp(handle), 0);
    const auto calls = mock.callsOf(Nm::kPath, QStringLiteral("DeactivateConnection"));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].value(0).toString(), active);
    mock.setDeviceState(modem, 50, 0);
    settle();
    EXPECT_EQ(steps.size(), reported);
    EXPECT_TRUE(connections().isEmpty());
    EXPECT_NE(api->hangUp(handle + 1000), 0);
}

TEST_F(NetworkManagerRasApiTest, ByteCountersAreDeviceStatisticsThatOutliveTheLink) {
    const QString first = mock.addActive({modem}, gsm, QStringLiteral("a0"), 2);
    mock.setStatistics(modem, 100, 200, 0);
    connections(); // the first reading: where this link's bytes start
    settle();
    EXPECT_EQ(mock.property(modem, Nm::kStatisticsIface, QStringLiteral("RefreshRateMs")).toUInt(),
              1000u)
        << "asks NetworkManager to keep the counters fresh";
    mock.setStatistics(modem, 150, 260);
    ByteCounters c = counters();
    EXPECT_EQ(c.sent, 50u);
    EXPECT_EQ(c.received, 60u);
    connections();
    mock.removeActive(modem, first);
    c = counters();
    EXPECT_EQ(c.sent, 50u) << "the bytes of the ended link stay counted";
    EXPECT_EQ(c.received, 60u);
}

TEST_F(NetworkManagerRasApiTest, ByteCountersFallBackToSysfsWithoutDeviceStatistics) {
    const QString bare = mock.addModem(QStringLiteral("modem1"), QStringLiteral("ppp7"), 30, false);
    mock.addActive({bare}, gsm, QStringLiteral("a0"), 2);
    const QDir dir(sysfs.path());
    dir.mkpath(QStringLiteral("ppp7/statistics"));
    const auto write = [&](const QString& name, const QByteArray& value) {
        QFile file(dir.filePath(QStringLiteral("ppp7/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(value + '\n');
    };
    write(QStringLiteral("ifindex"), "7");
    write(QStringLiteral("statistics/tx_bytes"), "4096");
    write(QStringLiteral("statistics/rx_bytes"), "65536");
    connections();
    write(QStringLiteral("statistics/tx_bytes"), "8192");
    write(QStringLiteral("statistics/rx_bytes"), "131072");
    const ByteCounters c = counters();
    EXPECT_EQ(c.sent, 4096u);
    EXPECT_EQ(c.received, 65536u);
}

TEST_F(NetworkManagerRasApiTest, EditEntryStartsTheConnectionEditorOnTheProfile) {
    EXPECT_EQ(api->editEntry(QStringLiteral("Nowhere")), NetworkManagerRasApi::CannotFindEntry);
    const int missing = api->editEntry(QStringLiteral("Mobile Broadband"));
    EXPECT_GE(missing, int(RasError::FirstFailure));
    EXPECT_TRUE(api->errorString(missing).contains(QStringLiteral("no-such-editor")))
        << api->errorString(missing).toStdString();

    const QString log = sysfs.filePath(QStringLiteral("editor.log"));
    const QString editor = sysfs.filePath(QStringLiteral("editor"));
    QFile script(editor);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$@\" > \"" + log.toLocal8Bit() + ".tmp\"\nmv \"" +
                 log.toLocal8Bit() + ".tmp\" \"" + log.toLocal8Bit() + "\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    options.editor = editor;
    NetworkManagerRasApi withEditor(mock.connection(), settings, options);
    ASSERT_EQ(withEditor.editEntry(QStringLiteral("Mobile Broadband")), 0);
    ASSERT_TRUE(NmMock::waitForFile(log)) << "the editor never ran";
    QFile written(log);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().trimmed(), QByteArray("--edit uuid-gsm"));
}

TEST(NetworkManagerAbsent, EnumerationFailsWhenNetworkManagerDoesNotAnswer) {
    NmMock bus(false);
    ASSERT_TRUE(bus.ready()) << bus.error().toStdString();
    MemoryRegistryStore store;
    Settings settings(store);
    NetworkManagerOptions options;
    options.timeoutMs = 2000;
    NetworkManagerRasApi api(bus.connection(), settings, options);
    QList<RasConnection> out{{7, QStringLiteral("stale")}};
    EXPECT_NE(api.enumConnections(out), 0);
    EXPECT_TRUE(out.isEmpty());
    QList<RasEntry> entries;
    EXPECT_NE(api.enumEntries(entries), 0);
    RasHandle handle = 0;
    EXPECT_NE(api.dial(QStringLiteral("x"), {}, {}, {}, handle), 0);
    EXPECT_FALSE(NetworkManagerRasApi::available(bus.connection(), 2000));

    // No bus at all behaves the same.
    const QDBusConnection nowhere = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/tollwatch-bus"), QStringLiteral("nowhere"));
    NetworkManagerRasApi unreachable(nowhere, settings, options);
    EXPECT_NE(unreachable.enumConnections(out), 0);
    EXPECT_EQ(unreachable.byteCounters().sent, 0u);
}

} // namespace
