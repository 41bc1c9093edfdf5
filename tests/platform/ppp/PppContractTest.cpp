// The ppp source in the connection-source contract, on a fake tree: pon asks
// for a link that the bed then brings up a step a second (pppd, interface
// down, up); the signal of a hang-up takes it away; "gamma" fails in its
// connect script.

#include "RasApiContract.h"

#include "PppFakeTree.h"
#include "PppRasApi.h"

#include <QHash>

namespace {

class PppTestBed : public RasApiTestBed {
public:
    PppTestBed() {
        for (const char* peer : {"alpha", "beta", "gamma"})
            m_tree.addPeer(QLatin1String(peer), "user anna\n");
        m_tree.setPonExit(QStringLiteral("gamma"), 8);
        m_api = std::make_unique<PppRasApi>(m_tree.options());
    }

    RasApi& api() override { return *m_api; }
    QStringList dialableEntries() override {
        return {QStringLiteral("alpha"), QStringLiteral("beta")};
    }
    std::optional<QString> failingEntry() override { return QStringLiteral("gamma"); }

    void connectOutside(const QString& entry) override {
        startPppd(entry);
        bringUp(entry, true);
    }
    void dropOutside(const QString& entry) override { takeDown(entry); }
    void addTraffic(std::uint64_t sent, std::uint64_t received) override {
        for (auto it = m_links.begin(); it != m_links.end(); ++it) {
            Link& link = it.value();
            if (link.ifname.isEmpty())
                continue;
            link.tx += sent;
            link.rx += received;
            m_tree.setCounters(link.ifname, link.tx, link.rx);
            return;
        }
    }
    void passSecond() override {
        PppFakeTree::finishHelpers(*m_api);
        serveHelpers();
        m_api->checkDials();
    }

private:
    struct Link {
        qint64 pid = 0;
        QString ifname;
        bool dialled = false;
        std::uint64_t tx = 0;
        std::uint64_t rx = 0;
    };

    // What pon asked for and which pppd was signalled since the last second;
    // dials started before this second move on a step.
    void serveHelpers() {
        QStringList started;
        const QStringList pon = m_tree.ponRuns();
        for (int i = m_ponSeen; i < pon.size(); ++i) {
            const QString entry = pon[i].section(QLatin1Char(' '), 0, 0);
            if (entry == QLatin1String("gamma"))
                continue; // its pon fails
            startPppd(entry);
            m_links[entry].dialled = true;
            started.append(entry);
        }
        m_ponSeen = pon.size();
        const QStringList sent = m_tree.signalsSent();
        for (int i = m_signalsSeen; i < sent.size(); ++i) {
            const qint64 pid = sent[i].section(QLatin1Char(' '), 0, 0).toLongLong();
            for (const QString& entry : m_links.keys()) {
                if (m_links[entry].pid == pid)
                    takeDown(entry);
            }
        }
        m_signalsSeen = sent.size();
        for (const QString& entry : m_links.keys()) {
            if (m_links[entry].dialled && !started.contains(entry))
                advanceDial(entry);
        }
    }
    // A dialled link: pppd, then its interface down, then up.
    void advanceDial(const QString& entry) {
        Link& link = m_links[entry];
        if (link.ifname.isEmpty()) {
            bringUp(entry, false);
        } else {
            m_tree.setUp(link.ifname, true);
            link.dialled = false;
        }
    }
    void startPppd(const QString& entry) {
        Link& link = m_links[entry];
        link.pid = ++m_lastPid;
        m_tree.addProcess(link.pid,
                          {QStringLiteral("/usr/sbin/pppd"), QStringLiteral("call"), entry});
    }
    void bringUp(const QString& entry, bool up) {
        Link& link = m_links[entry];
        link.ifname = QStringLiteral("ppp%1").arg(m_nextUnit++);
        m_tree.addInterface(link.ifname, ++m_lastIndex, up);
        m_tree.writeRunFile(link.ifname + QStringLiteral(".pid"),
                            QByteArray::number(link.pid) + '\n');
    }
    void takeDown(const QString& entry) {
        const Link link = m_links.take(entry);
        m_tree.removeProcess(link.pid);
        if (!link.ifname.isEmpty())
            m_tree.removeInterface(link.ifname);
    }

    PppFakeTree m_tree;
    std::unique_ptr<PppRasApi> m_api;
    QHash<QString, Link> m_links;
    int m_ponSeen = 0;
    int m_signalsSeen = 0;
    qint64 m_lastPid = 1000;
    int m_lastIndex = 10;
    int m_nextUnit = 0;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Ppp, RasApiContract,
                         ::testing::Values(RasApiBackend{"ppp",
                                                         [] {
                                                             return std::make_unique<PppTestBed>();
                                                         }}),
                         rasApiBackendName);
