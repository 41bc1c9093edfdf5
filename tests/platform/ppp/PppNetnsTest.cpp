// A link named ppp0 in network namespaces of the test's own (a veth pair, as
// the kernel here has no ppp driver), with real traffic over loopback-range
// addresses and a real process standing in for its pppd: the ppp source
// names it after pppd's peer from pppd 2.5's pid file, sees it up, its
// counters move and outlive it, and hang-up stops that pppd with SIGTERM.
// Needs root; skipped otherwise.

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

constexpr int kProbeTimeoutMs = 60000;

int run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kProbeTimeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

// Two namespaces joined by a veth pair: ppp0 (127.77.0.1) and peer0 (127.77.0.2).
class NamespacePair {
public:
    NamespacePair()
        : m_inner(QStringLiteral("tollwatch-ppp-%1").arg(::getpid())),
          m_outer(m_inner + QStringLiteral("-peer")) {}
    ~NamespacePair() {
        run(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("del"), m_inner});
        run(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("del"), m_outer});
    }

    QString inner() const { return m_inner; }

    // The first command that failed; empty when all is set up.
    QString setUp() {
        // 127/8 off the loopback device needs route_localnet on both ends.
        const QList<QStringList> commands{
            {"netns", "add", m_inner},
            {"netns", "add", m_outer},
            {"link", "add", "ppp0", "netns", m_inner, "type", "veth", "peer", "name", "peer0",
             "netns", m_outer},
            {"netns", "exec", m_inner, "sysctl", "-qw", "net.ipv4.conf.all.route_localnet=1",
             "net.ipv4.conf.ppp0.route_localnet=1"},
            {"netns", "exec", m_outer, "sysctl", "-qw", "net.ipv4.conf.all.route_localnet=1",
             "net.ipv4.conf.peer0.route_localnet=1"},
            {"-n", m_inner, "addr", "add", "127.77.0.1/30", "dev", "ppp0"},
            {"-n", m_outer, "addr", "add", "127.77.0.2/30", "dev", "peer0"},
            {"-n", m_inner, "link", "set", "ppp0", "up"},
            {"-n", m_outer, "link", "set", "peer0", "up"},
        };
        for (const QStringList& command : commands) {
            if (run(QStringLiteral("ip"), command) != 0)
                return QStringLiteral("ip ") + command.join(QLatin1Char(' '));
        }
        return QString();
    }

private:
    QString m_inner;
    QString m_outer;
};

// "key a b c" lines -> key -> the rest.
QHash<QString, QStringList> parse(const QByteArray& output) {
    QHash<QString, QStringList> out;
    for (const QByteArray& line : output.split('\n')) {
        QStringList words = QString::fromLocal8Bit(line).split(QLatin1Char(' '));
        if (words.size() > 1)
            out.insert(words.takeFirst(), words);
    }
    return out;
}

quint64 number(const QHash<QString, QStringList>& probe, const QString& key, int index) {
    return probe.value(key).value(index).toULongLong();
}

TEST(PppNetns, RealLinkIsUpAndItsCountersMoveAndOutliveIt) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "network namespaces need root";
    for (const char* tool : {"ip", "ping", "sysctl"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty() &&
            QStandardPaths::findExecutable(QLatin1String(tool), {"/usr/sbin", "/sbin"}).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    }
    NamespacePair namespaces;
    const QString failed = namespaces.setUp();
    if (!failed.isEmpty())
        GTEST_SKIP() << "cannot make network namespaces here: " << failed.toStdString();

    QTemporaryDir empty;
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // "ip netns exec" also mounts the namespace's own /sys for the probe.
    probe.start(QStringLiteral("ip"),
                {QStringLiteral("netns"), QStringLiteral("exec"), namespaces.inner(),
                 QStringLiteral(PPP_NETNS_PROBE), empty.path(), QStringLiteral("127.77.0.2")});
    ASSERT_TRUE(probe.waitForFinished(kProbeTimeoutMs));
    const QByteArray output = probe.readAllStandardOutput();
    ASSERT_EQ(probe.exitCode(), 0) << output.toStdString();
    const auto values = parse(output);

    EXPECT_EQ(values.value(QStringLiteral("listed")), (QStringList{"0", "isp:8192"}))
        << output.toStdString();
    EXPECT_EQ(values.value(QStringLiteral("hungup")), (QStringList{"0", "signal", "15"}))
        << output.toStdString();
    ASSERT_EQ(values.value(QStringLiteral("ping")), QStringList{"0"}) << output.toStdString();
    // Three echo requests and replies of 84 bytes of IP each, at least.
    EXPECT_GE(number(values, "after", 0), number(values, "before", 0) + 3 * 84);
    EXPECT_GE(number(values, "after", 1), number(values, "before", 1) + 3 * 84);
    EXPECT_EQ(values.value(QStringLiteral("removed")), QStringList{"0"});
    EXPECT_EQ(values.value(QStringLiteral("ended")), QStringList{"0"}) << "no link left";
    EXPECT_GE(number(values, "total", 0), number(values, "after", 0));
    EXPECT_GE(number(values, "total", 1), number(values, "after", 1));
}

} // namespace
