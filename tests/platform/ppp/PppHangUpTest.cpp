// Hanging up and dialling as pppd and pon really behave: the pppd found is
// stopped by its pid whatever its command line (poff's pattern
// "pppd call NAME" misses most), a pppd that stays in the foreground is the
// dial's own child and must outlive the source, and peer names that pon and
// pppd would read as something else are refused.

#include "PppFakeTree.h"
#include "PppRasApi.h"

#include "RasConstants.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class PppHangUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree.ready());
        tree.addPeer(QStringLiteral("provider"), "/dev/ttyS0\nuser anna\n");
    }
    QList<RasConnection> connections(PppRasApi& api) {
        QList<RasConnection> out;
        EXPECT_EQ(api.enumConnections(out), 0);
        return out;
    }
    RasHandle handleOf(PppRasApi& api, const QString& entry) {
        for (const RasConnection& c : connections(api)) {
            if (c.entryName == entry)
                return c.handle;
        }
        ADD_FAILURE() << "no connection of " << entry.toStdString();
        return 0;
    }

    PppFakeTree tree;
};

TEST_F(PppHangUpTest, HangUpStopsThePppdItFoundWhateverItsCommandLine) {
    PppRasApi api(tree.options());
    // Options before "call" (poff looks for "pppd call NAME" only), a link
    // named by linkname, and a pppd that NetworkManager started.
    tree.addProcess(300, {"/usr/sbin/pppd", "nodetach", "call", "provider"});
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    tree.writeRunFile(QStringLiteral("ppp0.pid"), "300\n");
    tree.addProcess(400, {"pppd", "/dev/ttyUSB1", "115200", "linkname", "home"});
    tree.addInterface(QStringLiteral("ppp1"), 8, true);
    tree.writeRunFile(QStringLiteral("ppp-home.pid"), "400\nppp1\n");
    tree.addProcess(500, {"/usr/sbin/pppd", "nodetach", "lock", "plugin",
                          "/usr/lib/pppd/2.4.9/nm-pppd-plugin.so", "ifname", "ppp2"});
    tree.addInterface(QStringLiteral("ppp2"), 9, true);

    EXPECT_EQ(api.hangUp(handleOf(api, QStringLiteral("provider"))), 0);
    EXPECT_EQ(api.hangUp(handleOf(api, QStringLiteral("home"))), 0);
    EXPECT_EQ(api.hangUp(handleOf(api, QStringLiteral("ppp2"))), 0);
    EXPECT_EQ(tree.signalsSent(), (QStringList{"300 15", "400 15", "500 15"}));

    // An interface whose pppd is unknown cannot be hung up, and says so.
    tree.addInterface(QStringLiteral("ppp3"), 10, true);
    const int unknown = api.hangUp(handleOf(api, QStringLiteral("ppp3")));
    EXPECT_GE(unknown, int(RasError::FirstFailure));
}

TEST_F(PppHangUpTest, HangUpThatPppdRefusesIsAnErrorAndAGonePppdIsHungUp) {
    PppOptions options = tree.options();
    int answer = EPERM; // root's pppd, signalled by a user
    options.signalProcess = [&answer](qint64, int) {
        return answer;
    };
    PppRasApi api(options);
    tree.addProcess(300, {"/usr/sbin/pppd", "call", "provider"});
    tree.addInterface(QStringLiteral("ppp0"), 7, true);
    tree.writeRunFile(QStringLiteral("ppp0.pid"), "300\n");
    const RasHandle handle = handleOf(api, QStringLiteral("provider"));
    const int refused = api.hangUp(handle);
    EXPECT_EQ(refused, PppRasApi::NotPermitted);
    EXPECT_FALSE(api.errorString(refused).isEmpty());
    answer = ESRCH;
    EXPECT_EQ(api.hangUp(handle), 0);
}

TEST_F(PppHangUpTest, PppdInTheForegroundOutlivesTheSourceThatDialledIt) {
    // pon execs pppd; with "nodetach" pppd stays that child for the life of
    // the link. A real process stands in for it here.
    const QString pidFile = tree.path(QStringLiteral("pppd.pid"));
    const QString pon = tree.path(QStringLiteral("pon-nodetach"));
    QFile script(pon);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho $$ > '" + pidFile.toLocal8Bit() + ".tmp'\nmv '" +
                 pidFile.toLocal8Bit() + ".tmp' '" + pidFile.toLocal8Bit() + "'\nexec sleep 600\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    PppOptions options = tree.options();
    options.pon = pon;
    auto api = std::make_unique<PppRasApi>(options);
    RasHandle handle = 0;
    ASSERT_EQ(api->dial(QStringLiteral("provider"), {}, {}, {}, handle), 0);
    const QDeadlineTimer deadline(30000);
    while (!QFile::exists(pidFile) && !deadline.hasExpired())
        QThread::msleep(5);
    QFile written(pidFile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const pid_t pppd = pid_t(written.readAll().trimmed().toLongLong());
    ASSERT_GT(pppd, 0);

    api.reset(); // the monitor ends
    const bool alive = ::kill(pppd, 0) == 0;
    int status = 0;
    const bool ended = ::waitpid(pppd, &status, WNOHANG) != 0;
    EXPECT_TRUE(alive && !ended) << "the link died with the monitor";
    EXPECT_EQ(::getsid(pppd), pppd) << "a session of its own: no terminal signal reaches it";
    ::kill(pppd, SIGKILL);
    ::waitpid(pppd, &status, 0);
}

TEST_F(PppHangUpTest, PeerNamesThatPonWouldMisreadAreRefusedWithAReason) {
    tree.addPeer(QStringLiteral("my isp"), "user anna\n");
    tree.addPeer(QStringLiteral("-detach"), "user anna\n");
    PppRasApi api(tree.options());
    for (const QString& name : {QStringLiteral("my isp"), QStringLiteral("-detach")}) {
        RasHandle handle = 0;
        const int error = api.dial(name, {}, {}, {}, handle);
        EXPECT_EQ(error, PppRasApi::BadEntryName) << name.toStdString();
        EXPECT_TRUE(api.errorString(error).contains(name)) << api.errorString(error).toStdString();
    }
    PppFakeTree::finishHelpers(api);
    EXPECT_TRUE(tree.ponRuns().isEmpty());
}

} // namespace
