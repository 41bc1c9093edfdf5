// How pppd's links look from outside on a fake /proc, /run, /var/lock and
// /sys/class/net, imitating pppd 2.4 and 2.5 (pppd/main.c, pppd(8)): where
// its pid files are, a demand-dialling link whose interface is up before any
// call, a persistent pppd that dials again after its link dropped, and what
// one poll tick costs.

#include "PppFakeTree.h"
#include "PppRasApi.h"

#include "RasConstants.h"

#include <gtest/gtest.h>

namespace {

class PppdLinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree.ready());
        tree.addPeer(QStringLiteral("provider"), "/dev/ttyS0 115200\nuser anna\n");
        api = std::make_unique<PppRasApi>(tree.options());
    }

    QList<RasConnection> connections() {
        QList<RasConnection> out;
        EXPECT_EQ(api->enumConnections(out), 0);
        return out;
    }
    int stateOf(RasHandle handle) {
        RasConnStatus status{-1, -1};
        EXPECT_EQ(api->connectStatus(handle, status), 0);
        return status.state;
    }
    void addPppd(qint64 pid, const QStringList& arguments) {
        tree.addProcess(pid, QStringList{QStringLiteral("/usr/sbin/pppd")} + arguments);
    }

    PppFakeTree tree;
    std::unique_ptr<PppRasApi> api;
};

TEST_F(PppdLinksTest, PidFilesOfPppd25InRunPppdNameTheLinkAndItsPppd) {
    // pppd 2.5 writes IFNAME.pid and ppp-LINKNAME.pid into its runtime
    // folder, /run/pppd (configure --with-runtime-dir, default
    // ${runstatedir}/pppd), no longer into /run.
    addPppd(300, {QStringLiteral("call"), QStringLiteral("provider")});
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    tree.writeRunFile(QStringLiteral("pppd/ppp0.pid"), "300\n");
    addPppd(400,
            {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("linkname"), QStringLiteral("isp")});
    tree.addInterface(QStringLiteral("ppp1"), 8, true);
    tree.writeRunFile(QStringLiteral("pppd/ppp-isp.pid"), "400\nppp1\n");

    const QList<RasConnection> listed = connections();
    ASSERT_EQ(listed.size(), 2) << "no phantom pppd still dialling";
    EXPECT_EQ(listed[0].entryName, QStringLiteral("provider"));
    EXPECT_EQ(listed[1].entryName, QStringLiteral("isp"));
    EXPECT_EQ(stateOf(listed[0].handle), RasState::Connected);
    EXPECT_EQ(api->hangUp(listed[0].handle), 0);
    EXPECT_EQ(tree.signalsSent(), QStringList{"300 15"});

    // A dial of that peer ends connected once pppd 2.5 has its link up.
    tree.removeInterface(QStringLiteral("ppp0"));
    tree.removeProcess(300);
    QList<std::pair<int, int>> steps;
    RasHandle handle = 0;
    ASSERT_EQ(api->dial(
                  QStringLiteral("provider"), {}, {},
                  [&](int state, int error) {
                      steps.append({state, error});
                  },
                  handle),
              0);
    PppFakeTree::finishHelpers(*api);
    addPppd(500, {QStringLiteral("call"), QStringLiteral("provider")});
    tree.addInterface(QStringLiteral("ppp0"), 9, true);
    tree.writeRunFile(QStringLiteral("pppd/ppp0.pid"), "500\n");
    api->checkDials();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), std::make_pair(int(RasState::Connected), 0));
}

TEST_F(PppdLinksTest, DemandLinkCountsOnlyWhileACallIsUpAndEachCallIsNew) {
    // With "demand" pppd raises its interface at once and dials only when
    // traffic comes (pppd(8), "demand"). While it has the serial device open
    // it holds the device's UUCP lock ("lock", in Debian's /etc/ppp/options);
    // while the call is dialled its connect script runs as "sh -c SCRIPT".
    tree.addPeer(QStringLiteral("ondemand"),
                 "/dev/ttyUSB0\ndemand\nidle 120\nconnect \"/usr/sbin/chat -f isp.chat\"\n");
    addPppd(300, {QStringLiteral("call"), QStringLiteral("ondemand")});
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    tree.writeRunFile(QStringLiteral("ppp0.pid"), "300\n");
    EXPECT_TRUE(connections().isEmpty()) << "an idle demand link is no call";

    tree.setDeviceLock(QStringLiteral("ttyUSB0"), 300);
    tree.addProcess(
        301,
        {QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("/usr/sbin/chat -f isp.chat")},
        300);
    EXPECT_TRUE(connections().isEmpty()) << "still dialling";
    tree.removeProcess(301);
    const QList<RasConnection> first = connections();
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(first[0].entryName, QStringLiteral("ondemand"));
    EXPECT_EQ(stateOf(first[0].handle), RasState::Connected);

    tree.setDeviceLock(QStringLiteral("ttyUSB0"), 0); // idle: pppd hung up
    EXPECT_TRUE(connections().isEmpty());
    tree.setDeviceLock(QStringLiteral("ttyUSB0"), 300);
    const QList<RasConnection> second = connections();
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(second[0].handle, first[0].handle) << "the next call is a connection of its own";

    tree.setDeviceLock(QStringLiteral("ttyUSB0"), 4711); // another program's lock
    EXPECT_TRUE(connections().isEmpty());
}

TEST_F(PppdLinksTest, PersistentPppdThatDialsAgainEndsTheOldConnection) {
    // With "persist" pppd stays after its link dropped and dials again; the
    // dropped link's unit and interface are gone (pppd/sys-linux.c closes
    // the unit), and the new link gets a new interface index.
    addPppd(300, {QStringLiteral("call"), QStringLiteral("provider"), QStringLiteral("persist")});
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    tree.writeRunFile(QStringLiteral("ppp0.pid"), "300\n");
    const QList<RasConnection> first = connections();
    ASSERT_EQ(first.size(), 1);

    tree.removeInterface(QStringLiteral("ppp0"));
    tree.removeRunFile(QStringLiteral("ppp0.pid"));
    EXPECT_TRUE(connections().isEmpty()) << "the drop ends the connection while pppd redials";
    tree.addInterface(QStringLiteral("ppp0"), 8, true);
    tree.writeRunFile(QStringLiteral("ppp0.pid"), "300\n");
    const QList<RasConnection> second = connections();
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(second[0].handle, first[0].handle);

    // Dropped and up again between two looks: one look without it, so that
    // the old connection is seen to end, then the new one.
    tree.removeInterface(QStringLiteral("ppp0"));
    tree.addInterface(QStringLiteral("ppp0"), 9, true);
    EXPECT_TRUE(connections().isEmpty());
    const QList<RasConnection> third = connections();
    ASSERT_EQ(third.size(), 1);
    EXPECT_NE(third[0].handle, second[0].handle);
}

TEST_F(PppdLinksTest, OnePollTickReadsProcOnceAndCountersStayFresh) {
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("ppp%1").arg(i);
        addPppd(300 + i, {QStringLiteral("call"), QStringLiteral("provider"),
                          QStringLiteral("unit"), QString::number(i)});
        tree.addInterface(name, 7 + i, true);
    }
    const int before = api->processScans();
    // One tick of the monitor: the enumeration, a status per link and the
    // counters read three times by the accounting.
    const QList<RasConnection> listed = connections();
    ASSERT_EQ(listed.size(), 3);
    for (const RasConnection& c : listed)
        EXPECT_EQ(stateOf(c.handle), RasState::Connected);
    tree.setCounters(QStringLiteral("ppp1"), 500, 9000);
    ByteCounters counters;
    for (int i = 0; i < 3; ++i)
        counters = api->byteCounters();
    EXPECT_EQ(api->processScans() - before, 1);
    EXPECT_EQ(counters.sent, 500u) << "the counters are read again, only /proc is not";
    EXPECT_EQ(counters.received, 9000u);
}

} // namespace
