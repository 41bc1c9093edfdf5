// The NetworkManager source against python3-dbusmock's NetworkManager on a
// private bus: which connections count, how their states read, dialling,
// hanging up, the phone book and the byte counters.

#include "NetworkManagerRasApi.h"
#include "NmMock.h"

#include "MemoryRegistryStore.h"
#include "RasConstants.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct Step {
    int state;
    int error;
    bool operator==(const Step& o) const { return state == o.state && error == o.error; }
};

std::ostream& operator<<(std::ostream& os, const Step& s) {
    return os << "(" << s.state << ", " << s.error << ")";
}

NmSettingsMap profile(const QString& id, const QString& type, const QVariantMap& extra = {}) {
    NmSettingsMap settings;
    QVariantMap connection{{QStringLiteral("id"), id},
                           {QStringLiteral("uuid"), QStringLiteral("uuid-") + id},
                           {QStringLiteral("type"), type}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        connection.insert(it.key(), it.value());
    settings[QStringLiteral("connection")] = connection;
    return settings;
}

class NetworkManagerRasApiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mock.ready()) << mock.error().toStdString();
        options.sysClassNet = sysfs.path();
        options.editor = sysfs.filePath(QStringLiteral("no-such-editor"));
        api = std::make_unique<NetworkManagerRasApi>(mock.connection(), settings, options);
        modem = mock.addModem(QStringLiteral("modem0"), QStringLiteral("ppp0"), 30);
        gsm = mock.addConnection(NmMock::gsmSettings(QStringLiteral("Mobile Broadband"),
                                                     QStringLiteral("uuid-gsm"),
                                                     QStringLiteral("anna")));
    }

    QList<RasConnection> connections() {
        QList<RasConnection> out;
        EXPECT_EQ(api->enumConnections(out), 0);
        return out;
    }
    QStringList names() {
        QStringList out;
        for (const RasConnection& c : connections())
            out.append(c.entryName);
        return out;
    }
    RasConnStatus statusOf(const QString& entry) {
        RasConnStatus status{-1, -1};
        for (const RasConnection& c : connections()) {
            if (c.entryName == entry) {
                EXPECT_EQ(api->connectStatus(c.handle, status), 0);
            }
        }
        return status;
    }
    RasApi::DialCallback recorder() {
        return [this](int state, int error) {
            steps.append({state, error});
        };
    }
    // Dials the gsm profile; returns the active connection NetworkManager made.
    QString dialGsm(RasHandle& handle, const QString& password = QString()) {
        EXPECT_EQ(api->dial(QStringLiteral("Mobile Broadband"), QStringLiteral("anna"), password,
                            recorder(), handle),
                  0);
        const QStringList active = activePaths();
        return active.isEmpty() ? QString() : active.constLast();
    }
    QStringList activePaths() {
        return Nm::objectPaths(
            mock.property(Nm::kPath, Nm::kManagerIface, QStringLiteral("ActiveConnections")));
    }

    NmMock mock;
    QTemporaryDir sysfs;
    MemoryRegistryStore store;
    Settings settings{store};
    NetworkManagerOptions options;
    std::unique_ptr<NetworkManagerRasApi> api;
    QString modem;
    QString gsm;
    QList<Step> steps;
};

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
    mock.setStoredPassword(mock.addConnection(dsl), QStringLiteral("pw"));
    NmSettingsMap asked = NmMock::gsmSettings(QStringLiteral("Ask each time"),
                                              QStringLiteral("uuid-ask"), QStringLiteral("carl"));
    asked[QStringLiteral("gsm")].insert(QStringLiteral("password-flags"), uint(2));
    mock.setStoredPassword(mock.addConnection(asked), QStringLiteral("ignored"));
    mock.addConnection(profile(QStringLiteral("Hotspot"), QStringLiteral("802-11-wireless"),
                               {{QStringLiteral("metered"), 1}}));

    QList<RasEntry> entries;
    ASSERT_EQ(api->enumEntries(entries), 0);
    ASSERT_EQ(entries.size(), 4);
    const QList<std::tuple<QString, QString, bool>> expected{
        {"Mobile Broadband", "anna", false}, // no secret readable
        {"DSL", "bob", true},
        {"Ask each time", "carl", false}, // never saved
        {"Hotspot", "", true},            // nothing to ask for
    };
    for (int i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, std::get<0>(expected[i]));
        EXPECT_EQ(entries[i].userName, std::get<1>(expected[i]));
        EXPECT_EQ(entries[i].passwordStored, std::get<2>(expected[i])) << i;
        EXPECT_TRUE(entries[i].password.isEmpty()) << "the password stays with NetworkManager";
    }
}

TEST_F(NetworkManagerRasApiTest, DialActivatesTheProfileOnTheDeviceNetworkManagerChooses) {
    RasHandle handle = 0;
    dialGsm(handle);
    const auto calls = mock.callsOf(Nm::kPath, QStringLiteral("ActivateConnection"));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].value(0).toString(), gsm);
    EXPECT_EQ(calls[0].value(1).toString(), QStringLiteral("/"));
    EXPECT_TRUE(steps.isEmpty()) << "progress comes after dial() returns";
    mock.sync();
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
    mock.sync();
    for (uint state : {40u, 50u, 60u, 60u, 70u, 100u, 110u}) {
        mock.setDeviceState(modem, state, 0);
        mock.sync();
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
    mock.sync();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), (Step{RasState::Disconnected, RasError::NoCarrier}));
    EXPECT_EQ(steps.count(steps.last()), 1) << "one failure, then silence";

    // Before the device has taken it up, the activation's own reason speaks.
    mock.setDeviceState(modem, 30, 0);
    steps.clear();
    const QString again = dialGsm(handle);
    mock.setActiveState(again, 4, 10); // login failed
    mock.sync();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), (Step{RasState::Disconnected, RasError::AuthenticationFailure}));
}

TEST_F(NetworkManagerRasApiTest, TypedPasswordIsHandedOverForThatActivationOnly) {
    mock.addAgentManager();
    mock.activateStepwise(modem);
    RasHandle handle = 0;
    dialGsm(handle, QStringLiteral("s3cret"));
    const auto registrations = mock.callsOf(Nm::kAgentManagerPath, QStringLiteral("Register"));
    ASSERT_EQ(registrations.size(), 1);

    // NetworkManager asks the agent, from its own connection to the bus.
    NmMock::Caller networkManager(mock.address());
    const auto ask = [&](const QString& connectionPath) {
        return networkManager.getSecrets(mock.connection().baseService(), connectionPath,
                                         QStringLiteral("gsm"));
    };
    const QDBusMessage answer = ask(gsm);
    ASSERT_EQ(answer.type(), QDBusMessage::ReplyMessage) << answer.errorMessage().toStdString();
    EXPECT_EQ(Nm::settingsMap(answer.arguments().value(0))
                  .value(QStringLiteral("gsm"))
                  .value(QStringLiteral("password")),
              QStringLiteral("s3cret"));
    EXPECT_EQ(ask(QStringLiteral("/org/freedesktop/NetworkManager/Settings/99")).errorName(),
              QStringLiteral("org.freedesktop.NetworkManager.SecretAgent.NoSecrets"));

    mock.setDeviceState(modem, 100, 0);
    mock.sync();
    EXPECT_EQ(mock.callsOf(Nm::kAgentManagerPath, QStringLiteral("Unregister")).size(), 1);
    EXPECT_EQ(ask(gsm).type(), QDBusMessage::ErrorMessage) << "the password is gone once up";
    EXPECT_TRUE(mock.callsOf(gsm, QStringLiteral("Update")).isEmpty()) << "never saved";
}

TEST_F(NetworkManagerRasApiTest, HangUpDeactivatesAndEndsTheReports) {
    mock.activateStepwise(modem);
    RasHandle handle = 0;
    const QString active = dialGsm(handle);
    mock.setDeviceState(modem, 40, 0);
    mock.sync();
    const int reported = steps.size();
    EXPECT_EQ(api->hangUp(handle), 0);
    const auto calls = mock.callsOf(Nm::kPath, QStringLiteral("DeactivateConnection"));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].value(0).toString(), active);
    mock.setDeviceState(modem, 50, 0);
    mock.sync();
    EXPECT_EQ(steps.size(), reported);
    EXPECT_TRUE(connections().isEmpty());
    EXPECT_NE(api->hangUp(handle + 1000), 0);
}

TEST_F(NetworkManagerRasApiTest, ByteCountersAreDeviceStatisticsThatOutliveTheLink) {
    const QString first = mock.addActive({modem}, gsm, QStringLiteral("a0"), 2);
    mock.setStatistics(modem, 100, 200, 0);
    ByteCounters counters = api->byteCounters();
    EXPECT_EQ(counters.sent, 100u);
    EXPECT_EQ(counters.received, 200u);
    EXPECT_EQ(mock.property(modem, Nm::kStatisticsIface, QStringLiteral("RefreshRateMs")).toUInt(),
              1000u)
        << "asks NetworkManager to keep the counters fresh";

    mock.setStatistics(modem, 150, 260);
    connections();
    mock.removeActive(modem, first);
    mock.setStatistics(modem, 0, 0);
    counters = api->byteCounters();
    EXPECT_EQ(counters.sent, 150u);
    EXPECT_EQ(counters.received, 260u);

    mock.addActive({modem}, gsm, QStringLiteral("a1"), 2);
    mock.setStatistics(modem, 10, 20);
    counters = api->byteCounters();
    EXPECT_EQ(counters.sent, 160u);
    EXPECT_EQ(counters.received, 280u);
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
    const ByteCounters counters = api->byteCounters();
    EXPECT_EQ(counters.sent, 4096u);
    EXPECT_EQ(counters.received, 65536u);
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
