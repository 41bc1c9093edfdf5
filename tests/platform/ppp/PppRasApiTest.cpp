// The ppp source on a fake /sys/class/net, /proc, /run and /etc/ppp: which
// links it lists under which names, dialling with pon, hanging up, the phone
// book and the byte counters.

#include "PppRasApi.h"
#include "PppFakeTree.h"

#include "RasConstants.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using Step = std::pair<int, int>; // state, error

class PppRasApiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree.ready());
        tree.addPeer(QStringLiteral("provider"), "/dev/ttyS0 115200\nuser \"anna\"\n");
        tree.addPeer(QStringLiteral("work"), "unit 1 # always ppp1\n");
        api = std::make_unique<PppRasApi>(tree.options());
    }
    void TearDown() override { PppFakeTree::finishHelpers(*api); }

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
    int stateOf(RasHandle handle) {
        RasConnStatus status{-1, -1};
        EXPECT_EQ(api->connectStatus(handle, status), 0);
        EXPECT_EQ(status.error, 0);
        return status.state;
    }
    RasApi::DialCallback recorder() {
        return [this](int state, int error) {
            steps.append({state, error});
        };
    }
    // pppd of entry runs as pid, on interface ppp0 once it is there.
    void startPppd(qint64 pid, const QString& entry) {
        tree.addProcess(pid, {QStringLiteral("/usr/sbin/pppd"), QStringLiteral("call"), entry});
        tree.writeRunFile(QStringLiteral("ppp0.pid"), QByteArray::number(pid) + '\n');
    }
    void advance() {
        PppFakeTree::finishHelpers(*api);
        api->checkDials();
    }

    PppFakeTree tree;
    std::unique_ptr<PppRasApi> api;
    QList<Step> steps;
};

TEST_F(PppRasApiTest, ListsPppInterfacesUnderTheEntryOfTheirPppd) {
    tree.addInterface(QStringLiteral("eth0"), 2, true, 1);
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    startPppd(300, QStringLiteral("provider"));
    tree.addInterface(QStringLiteral("ppp1"), 5, true);
    tree.addProcess(200, {QStringLiteral("pppd"), QStringLiteral("call"), QStringLiteral("work")});
    tree.addInterface(QStringLiteral("ppp3"), 9, true);
    tree.addProcess(400, {QStringLiteral("pppd"), QStringLiteral("/dev/ttyUSB0"),
                          QStringLiteral("linkname"), QStringLiteral("isp")});
    tree.writeRunFile(QStringLiteral("ppp-isp.pid"), "400\nppp3\n");
    tree.addInterface(QStringLiteral("ppp4"), 11, true);
    tree.addProcess(500, {QStringLiteral("bash"), QStringLiteral("call"), QStringLiteral("x")});

    const QList<RasConnection> listed = connections();
    ASSERT_EQ(listed.size(), 4);
    const QList<std::pair<QString, RasHandle>> expected{
        {"work", 5}, {"provider", 7}, {"isp", 9}, {"ppp4", 11}};
    for (int i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].entryName, expected[i].first);
        EXPECT_EQ(listed[i].handle, expected[i].second) << "the interface index";
        EXPECT_EQ(stateOf(listed[i].handle), RasState::Connected);
    }
    RasConnStatus untouched{1, 2};
    EXPECT_NE(api->connectStatus(2, untouched), 0) << "eth0 is no dial-up link";
    EXPECT_EQ(untouched.state, 1);
}

TEST_F(PppRasApiTest, PppdWithoutItsInterfaceIsDiallingAndKeepsItsHandle) {
    startPppd(300, QStringLiteral("provider"));
    QList<RasConnection> listed = connections();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].entryName, QStringLiteral("provider"));
    const RasHandle handle = listed[0].handle;
    EXPECT_EQ(stateOf(handle), RasState::ConnectDevice);

    tree.addInterface(QStringLiteral("ppp0"), 7, false);
    ASSERT_EQ(connections().size(), 1);
    EXPECT_EQ(connections()[0].handle, handle) << "the same connection all along";
    EXPECT_EQ(stateOf(handle), RasState::Authenticate);
    tree.setUp(QStringLiteral("ppp0"), true);
    connections();
    EXPECT_EQ(stateOf(handle), RasState::Connected);
    tree.setUp(QStringLiteral("ppp0"), false);
    connections();
    EXPECT_EQ(stateOf(handle), RasState::Disconnected) << "down after up is going away";
    tree.removeInterface(QStringLiteral("ppp0"));
    tree.removeProcess(300);
    EXPECT_TRUE(connections().isEmpty());
}

TEST_F(PppRasApiTest, InterfacesNamedPppCountOnlyWhenTheKernelCannotMakeReal) {
    tree.addInterface(QStringLiteral("ppp0"), 4, true, 1);
    EXPECT_TRUE(names().isEmpty());
    PppOptions options = tree.options();
    options.pppNamedLinks = true;
    PppRasApi lenient(options);
    QList<RasConnection> listed;
    ASSERT_EQ(lenient.enumConnections(listed), 0);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].entryName, QStringLiteral("ppp0"));
}

TEST_F(PppRasApiTest, PhoneBookIsThePeersFilesSortedWithWhetherPppdKnowsThePassword) {
    tree.addPeer(QStringLiteral("alpha"), "user \"al\"\n");
    tree.addPeer(QStringLiteral("inline"), "user bo\npassword \"x\"\n");
    tree.addPeer(QStringLiteral(".provider.swp"));
    QDir(tree.path(QStringLiteral("etc/ppp/peers"))).mkdir(QStringLiteral("sub"));
    tree.addSecret(QStringLiteral("anna"), QStringLiteral("pw"));

    QList<RasEntry> entries;
    ASSERT_EQ(api->enumEntries(entries), 0);
    const QList<std::tuple<QString, QString, bool>> expected{
        {"alpha", "al", false},
        {"inline", "bo", true},
        {"provider", "anna", true},
        {"work", "", true}, // no user: pppd does not authenticate itself
    };
    ASSERT_EQ(entries.size(), expected.size());
    for (int i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, std::get<0>(expected[i]));
        EXPECT_EQ(entries[i].userName, std::get<1>(expected[i]));
        EXPECT_EQ(entries[i].passwordStored, std::get<2>(expected[i])) << i;
    }
}

TEST_F(PppRasApiTest, DialHandsTypedCredentialsToPppdInAPrivateFileOnly) {
    RasHandle handle = 0;
    ASSERT_EQ(api->dial(QStringLiteral("provider"), QStringLiteral("anna"),
                        QStringLiteral("p \"w\\d"), recorder(), handle),
              0);
    PppFakeTree::finishHelpers(*api);
    const QStringList runs = tree.ponRuns();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_TRUE(runs[0].startsWith(QStringLiteral("provider file "))) << runs[0].toStdString();
    EXPECT_FALSE(runs[0].contains(QStringLiteral("p \""))) << "never on the command line";
    EXPECT_EQ(tree.ponOptionsSeen(), QByteArray("user \"anna\"\npassword \"p \\\"w\\\\d\"\n"));
    const QString file = runs[0].section(QLatin1Char(' '), 2);
    EXPECT_FALSE(QFileInfo::exists(file)) << "removed once pon is done";

    // Nothing typed beyond the peer's own user: pppd finds its secrets itself.
    ASSERT_EQ(api->dial(QStringLiteral("work"), QString(), QString(), recorder(), handle), 0);
    PppFakeTree::finishHelpers(*api); // one at a time: the log keeps their order
    ASSERT_EQ(api->dial(QStringLiteral("provider"), QStringLiteral("anna"), QString(), recorder(),
                        handle),
              0);
    PppFakeTree::finishHelpers(*api);
    EXPECT_EQ(tree.ponRuns().mid(1), (QStringList{"work", "provider"}));
    EXPECT_EQ(api->dial(QStringLiteral("nowhere"), {}, {}, recorder(), handle),
              PppRasApi::CannotFindEntry);
    EXPECT_EQ(api->dial(QStringLiteral("../ppp/pap-secrets"), {}, {}, recorder(), handle),
              PppRasApi::CannotFindEntry);
}

TEST_F(PppRasApiTest, DialReportsPppdAndItsInterfaceUntilTheLinkIsUp) {
    RasHandle handle = 0;
    ASSERT_EQ(api->dial(QStringLiteral("provider"), {}, {}, recorder(), handle), 0);
    EXPECT_TRUE(steps.isEmpty()) << "progress comes after dial() returns";
    startPppd(300, QStringLiteral("provider")); // pon leaves pppd running
    advance();
    EXPECT_EQ(connections().value(0).handle, handle);
    tree.addInterface(QStringLiteral("ppp0"), 7, false);
    advance();
    advance();
    tree.setUp(QStringLiteral("ppp0"), true);
    advance();
    tree.setUp(QStringLiteral("ppp0"), false);
    advance();
    EXPECT_EQ(steps, (QList<Step>{{RasState::OpenPort, 0},
                                  {RasState::ConnectDevice, 0},
                                  {RasState::Authenticate, 0},
                                  {RasState::Connected, 0}}));
    EXPECT_EQ(connections().value(0).handle, handle) << "the dial's handle is the link's";
}

TEST_F(PppRasApiTest, FailedDialEndsWithAnErrorFromPppd) {
    RasHandle handle = 0;
    tree.setPonExit(QStringLiteral("provider"), 19); // we could not authenticate
    ASSERT_EQ(api->dial(QStringLiteral("provider"), {}, {}, recorder(), handle), 0);
    advance();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), (Step{RasState::Disconnected, RasError::AuthenticationFailure}));

    // pppd starts, then gives up before its link is up.
    steps.clear();
    tree.setPonExit(QStringLiteral("provider"), 0);
    ASSERT_EQ(api->dial(QStringLiteral("provider"), {}, {}, recorder(), handle), 0);
    startPppd(300, QStringLiteral("provider"));
    advance();
    tree.removeProcess(300);
    advance();
    advance();
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), (Step{RasState::Disconnected, PppRasApi::LinkFailed}));
    EXPECT_EQ(steps.count(steps.last()), 1);
    EXPECT_EQ(api->hangUp(handle), 0) << "hanging up a failed dial is harmless";
}

TEST_F(PppRasApiTest, HangUpSignalsThePppdOfTheLinkAndSilencesTheDial) {
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    startPppd(300, QStringLiteral("provider"));
    const RasHandle up = connections().value(0).handle;
    EXPECT_EQ(api->hangUp(up), 0);

    // A dial whose pppd is not to be seen yet: pon is that pppd ("exec pppd").
    RasHandle dialling = 0;
    ASSERT_EQ(api->dial(QStringLiteral("work"), {}, {}, recorder(), dialling), 0);
    EXPECT_EQ(api->hangUp(dialling), 0);
    tree.addProcess(301, {QStringLiteral("pppd"), QStringLiteral("call"), QStringLiteral("work")});
    advance();
    const QStringList sent = tree.signalsSent();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0], QStringLiteral("300 15")) << "SIGTERM, as poff sends";
    EXPECT_TRUE(sent[1].endsWith(QLatin1String(" 15")));
    EXPECT_TRUE(steps.isEmpty()) << "no reports after hang-up";
    EXPECT_EQ(api->hangUp(4242), PppRasApi::InvalidHandle);
}

TEST_F(PppRasApiTest, HelperProgramsThatCannotStartAreErrorsWithTheirMessage) {
    PppOptions options = tree.options();
    options.pon = tree.path(QStringLiteral("missing-pon"));
    options.editor = tree.path(QStringLiteral("missing-editor"));
    PppRasApi broken(options);
    RasHandle handle = 0;
    const int dial = broken.dial(QStringLiteral("provider"), {}, {}, recorder(), handle);
    EXPECT_GE(dial, int(RasError::FirstFailure));
    EXPECT_TRUE(broken.errorString(dial).startsWith(QStringLiteral("missing-pon: ")))
        << broken.errorString(dial).toStdString();
    const int edit = broken.editEntry(QStringLiteral("provider"));
    EXPECT_GE(edit, int(RasError::FirstFailure));
    EXPECT_TRUE(broken.errorString(edit).contains(QStringLiteral("missing-editor")));
    EXPECT_EQ(broken.errorString(RasError::NoAnswer), QStringLiteral("There is no answer."));
}

TEST_F(PppRasApiTest, EditEntryOpensThePeersFile) {
    EXPECT_EQ(api->editEntry(QStringLiteral("nowhere")), PppRasApi::CannotFindEntry);
    ASSERT_EQ(api->editEntry(QStringLiteral("provider")), 0);
    const QDeadlineTimer deadline(30000);
    while (tree.editorRuns().isEmpty() && !deadline.hasExpired())
        QThread::msleep(10);
    EXPECT_EQ(tree.editorRuns(), QStringList{tree.path(QStringLiteral("etc/ppp/peers/provider"))});
}

TEST_F(PppRasApiTest, ByteCountersKeepTheBytesOfLinksThatEndedOrStartedOver) {
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    tree.setCounters(QStringLiteral("ppp0"), 100, 1000);
    ByteCounters c = api->byteCounters();
    EXPECT_EQ(c.sent, 100u);
    EXPECT_EQ(c.received, 1000u);
    tree.setCounters(QStringLiteral("ppp0"), 150, 1500);
    connections(); // polled while the link is up
    tree.removeInterface(QStringLiteral("ppp0"));
    c = api->byteCounters();
    EXPECT_EQ(c.sent, 150u);
    EXPECT_EQ(c.received, 1500u);

    tree.addInterface(QStringLiteral("ppp0"), 8, true); // the next link: a new index
    tree.setCounters(QStringLiteral("ppp0"), 10, 20);
    connections(); // the next poll finds it
    c = api->byteCounters();
    EXPECT_EQ(c.sent, 160u);
    EXPECT_EQ(c.received, 1520u);
    tree.setCounters(QStringLiteral("ppp0"), 5, 7); // counters reset under the same index
    c = api->byteCounters();
    EXPECT_EQ(c.sent, 165u);
    EXPECT_EQ(c.received, 1527u);
}

} // namespace
