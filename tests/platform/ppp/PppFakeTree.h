#pragma once
// A fake /sys/class/net, /proc, /run, /var/lock and /etc/ppp in a temporary
// folder, pon and editor scripts that write down how they were called, and
// signals to its made-up pppd processes written down instead of sent.

#include "PppRasApi.h"

#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>

class PppFakeTree {
public:
    PppFakeTree();

    bool ready() const { return m_dir.isValid(); }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    // Every root and program pointing into the tree.
    PppOptions options() const;

    void addPeer(const QString& name, const QByteArray& options = QByteArray());
    // A line "client server secret" in pap-secrets.
    void addSecret(const QString& user, const QString& secret);

    void addInterface(const QString& name, int ifindex, bool up, int type = 512);
    void setUp(const QString& name, bool up);
    void setCounters(const QString& name, std::uint64_t tx, std::uint64_t rx);
    void removeInterface(const QString& name);

    // A process with this command line (argument 0 first) and parent.
    void addProcess(qint64 pid, const QStringList& commandLine, qint64 parent = 1);
    void removeProcess(qint64 pid);
    // A file under /run ("ppp0.pid", "pppd/ppp0.pid").
    void writeRunFile(const QString& name, const QByteArray& text);
    void removeRunFile(const QString& name);
    // The UUCP lock of a serial device ("ttyUSB0") as pppd's "lock" writes
    // it; pid 0 removes it.
    void setDeviceLock(const QString& device, qint64 pid);
    // The signals sent to processes: "PID SIGNAL", oldest first.
    QStringList signalsSent() const { return m_signals; }

    // pon exits with status for entry from now on (0: it starts pppd).
    void setPonExit(const QString& entry, int status);
    // The arguments of each pon and editor run, one string per run.
    QStringList ponRuns() const { return lines(QStringLiteral("pon.log")); }
    QStringList editorRuns() const { return lines(QStringLiteral("editor.log")); }
    // What pon found in the options file handed to it ("file FILE").
    QByteArray ponOptionsSeen() const;

    // Lets the pon runs that api started finish and report.
    static void finishHelpers(PppRasApi& api);

private:
    void write(const QString& relative, const QByteArray& text) const;
    void writeScript(const QString& name, const QByteArray& body) const;
    QStringList lines(const QString& relative) const;

    QTemporaryDir m_dir;
    QStringList m_signals;
};
