#pragma once
// The connection source on pppd: ppp interfaces and dialling pppd processes,
// /etc/ppp/peers as phone book, pon and poff, byte counters from sysfs.

#include "LinkCounterTotals.h"
#include "PppPeers.h"
#include "PppdProcesses.h"
#include "RasApi.h"
#include "SysfsNetLinks.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <memory>

class QTemporaryFile;

// Where the ppp source looks and what it starts; tests point it elsewhere.
struct PppOptions {
    QString sysClassNet = SysfsNetLinks::defaultRoot();
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    QString secretsDir = QStringLiteral("/etc/ppp");
    QString procDir = QStringLiteral("/proc");
    QString runDir = QStringLiteral("/run");
    QString pon = QStringLiteral("pon");
    QString poff = QStringLiteral("poff");
    QString editor = QStringLiteral("xdg-open");
    // Interfaces named ppp* count as ppp links whatever their type: for
    // machines whose kernel cannot make a real one (tests).
    bool pppNamedLinks = false;
    int dialPollMs = 500;
};

class PppRasApi : public QObject, public RasApi {
    Q_OBJECT

public:
    static constexpr int InvalidHandle = 6;
    static constexpr int CannotFindEntry = 623;
    static constexpr int ProgramNotStarted = 635;
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

private:
    struct Link {
        RasHandle handle = 0;
        QString entryName;
        int state = 0;
    };
    struct PendingDial {
        QString entryName;
        RasHandle handle = 0;
        DialCallback callback;
        int lastState = -1;
        bool ponDone = false;
        std::shared_ptr<QTemporaryFile> credentials;
    };

    // The links now, in order of appearance; samples the byte counters.
    QList<Link> scan();
    QList<NetLink> pppInterfaces() const;
    // For each interface, the index of its pppd in processes, or -1.
    QList<int> ownersOf(const QList<PppdProcess>& processes,
                        const QList<NetLink>& interfaces) const;
    Link interfaceLink(const NetLink& netLink, const PppdProcess* owner);
    RasHandle nameHandle(const QString& entryName);
    void forgetHandlesExcept(const QSet<QString>& present);
    std::shared_ptr<QTemporaryFile> credentialsFile(const QString& entry, const QString& userName,
                                                    const QString& password);
    int startHelper(const QString& program, const QStringList& arguments, RasHandle dialHandle);
    int indexOfDial(RasHandle handle) const;
    void onPonFinished(RasHandle handle, int exitStatus);
    void deliver(RasHandle handle, int state, int error);

    PppOptions m_options;
    PppPeers m_peers;
    PppdProcesses m_processes;
    SysfsNetLinks m_sysfs;
    LinkCounterTotals m_counters;
    QHash<QString, RasHandle> m_nameHandles; // links first seen dialling keep this handle
    RasHandle m_lastNameHandle;
    QSet<QString> m_seenUp; // interface instances that have been up
    QList<Link> m_lastScan;
    QElapsedTimer m_lastScanAge;
    QList<PendingDial> m_dials;
    QTimer m_dialTimer;
    QString m_programMessage;
};
