#pragma once
// The connection source on pppd: ppp interfaces and dialling pppd processes,
// /etc/ppp/peers as phone book, pon to dial and pppd's own signal to hang
// up, byte counters from sysfs.

#include "PppLinkTracker.h"
#include "PppPeers.h"
#include "RasApi.h"
#include "SysfsNetLinks.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QTemporaryFile;

// Where the ppp source looks and what it starts; tests point it elsewhere.
struct PppOptions {
    QString sysClassNet = SysfsNetLinks::defaultRoot();
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    QString secretsDir = QStringLiteral("/etc/ppp");
    QString procDir = QStringLiteral("/proc");
    QString runDir = QStringLiteral("/run");
    QString lockDir = QStringLiteral("/var/lock");
    QString pon = QStringLiteral("pon");
    QString editor = QStringLiteral("xdg-open");
    // Interfaces named ppp* count as ppp links whatever their type: for
    // machines whose kernel cannot make a real one (tests).
    bool pppNamedLinks = false;
    int dialPollMs = 500;
    // Sends a signal to a process: 0, or the errno of kill(2). Tests whose
    // pppd processes are made up record the signal instead.
    std::function<int(qint64 pid, int signal)> signalProcess;
};

class PppRasApi : public QObject, public RasApi {
    Q_OBJECT

public:
    static constexpr int InvalidHandle = 6;
    // A peer name that pon and pppd would take for something else.
    static constexpr int BadEntryName = 604;
    static constexpr int CannotFindEntry = 623;
    // A link whose pppd is not known: nothing to stop.
    static constexpr int PppdNotFound = 633;
    static constexpr int ProgramNotStarted = 635;
    // pppd may not be signalled by this user (another user's or root's).
    static constexpr int NotPermitted = 649;
    // pppd ended without bringing its link up.
    static constexpr int LinkFailed = 651;

    explicit PppRasApi(PppOptions options = PppOptions());
    ~PppRasApi() override;

    QString backendName() const override;
    int enumConnections(QList<RasConnection>& out) override;
    int connectStatus(RasHandle handle, RasConnStatus& status) override;
    int enumEntries(QList<RasEntry>& out) override;
    int dial(const QString& entry, const QString& userName, const QString& password,
             DialCallback callback, RasHandle& handle) override;
    int hangUp(RasHandle handle) override;
    int editEntry(const QString& entry) override;
    ByteCounters byteCounters() override;
    QString errorString(int error) const override;

    // Looks at the dials in progress and reports their steps; runs on a timer
    // of its own while a dial is in progress.
    void checkDials();
    // Collects the exit of pon runs; true while one still runs.
    bool helpersRunning();
    // How often /proc has been read, for the tests of its cost.
    int processScans() const { return m_links.scans(); }

private:
    struct PendingDial {
        QString entryName;
        RasHandle handle = 0;
        DialCallback callback;
        int lastState = -1;
        qint64 ponPid = 0;
        bool ponDone = false;
        std::shared_ptr<QTemporaryFile> credentials;
    };

    QList<PppLink> scan();
    std::shared_ptr<QTemporaryFile> credentialsFile(const QString& entry, const QString& userName,
                                                    const QString& password);
    int indexOfDial(RasHandle handle) const;
    int signalPppd(qint64 pid);
    void onPonFinished(RasHandle handle, int exitStatus);
    void deliver(RasHandle handle, int state, int error);

    PppOptions m_options;
    PppPeers m_peers;
    PppLinkTracker m_links;
    QList<PendingDial> m_dials;
    QList<qint64> m_children; // pon runs not yet collected
    QTimer m_dialTimer;
    QString m_message; // the text of the last BadEntryName or ProgramNotStarted
};
