#pragma once
// The pppd processes that run now, read from /proc: which peer each one
// dials ("call NAME"), its link name, the interface it belongs to, and what
// its files in /run and /var/lock say about it.

#include "PppPeers.h"

#include <QList>
#include <QString>

struct PppdProcess {
    qint64 pid = 0;
    QString callName; // "call NAME": the peers entry
    QString linkName; // "linkname NAME"
    QString ifname;   // the interface it asked for ("ifname X" or "unit N")
    QString device;   // the serial device ("/dev/ttyUSB0"), when named
    QString connect;  // its connect script
    bool demand = false;

    // The name the monitor shows: the entry it dials, else its link name.
    QString entryName() const { return callName.isEmpty() ? linkName : callName; }
};

// Where pppd keeps its files. pppd 2.4 writes its pid files straight into
// /run; pppd 2.5 into /run/pppd.
struct PppdFiles {
    QString procDir = QStringLiteral("/proc");
    QString runDir = QStringLiteral("/run");
    QString lockDir = QStringLiteral("/var/lock");
};

class PppdProcesses {
public:
    PppdProcesses(PppdFiles files, const PppPeers& peers);

    // Sorted by pid.
    QList<PppdProcess> scan() const;
    // The process of list that owns interface ifname: it asked for that name,
    // or pppd's pid files say so. -1 when none is known to.
    int ownerOf(const QList<PppdProcess>& list, const QString& ifname) const;
    // Whether a demand-dialling pppd has a call up: it holds the lock of its
    // serial device and its connect script has finished.
    bool callUp(const PppdProcess& process) const;

    // The options of one command line, with /etc/ppp/options before it and
    // the peer's file read in where "call" names it, as pppd does.
    static PppdProcess parse(qint64 pid, const QStringList& arguments, const PppPeers& peers);

private:
    QString pidFileLine(const QString& fileName, int line) const;
    bool holdsLock(const PppdProcess& process) const;
    bool connectScriptRuns(const PppdProcess& process) const;

    PppdFiles m_files;
    const PppPeers& m_peers;
};
