#pragma once
// The pppd processes that run now, read from /proc: which peer each one
// dials ("call NAME"), its link name, and the interface it belongs to.

#include "PppPeers.h"

#include <QList>
#include <QString>

struct PppdProcess {
    qint64 pid = 0;
    QString callName; // "call NAME": the peers entry
    QString linkName; // "linkname NAME"
    QString ifname;   // the interface it asked for ("ifname X" or "unit N")

    // The name the monitor shows: the entry it dials, else its link name.
    QString entryName() const { return callName.isEmpty() ? linkName : callName; }
};

class PppdProcesses {
public:
    // procDir is /proc, runDir where pppd writes its pid files (/run).
    PppdProcesses(QString procDir, QString runDir, const PppPeers& peers);

    // Sorted by pid.
    QList<PppdProcess> scan() const;
    // The process of list that owns interface ifname: it asked for that name,
    // or pppd's pid files say so. -1 when none is known to.
    int ownerOf(const QList<PppdProcess>& list, const QString& ifname) const;

    // The options of one command line, with the peer's file read in where
    // "call" names it, as pppd does.
    static PppdProcess parse(qint64 pid, const QStringList& arguments, const PppPeers& peers);

private:
    QString pidFileLine(const QString& fileName, int line) const;

    QString m_procDir;
    QString m_runDir;
    const PppPeers& m_peers;
};
