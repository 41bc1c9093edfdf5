#pragma once
// Which ppp links exist, under which entry names and handles: ppp interfaces
// matched with their pppd, pppd processes still dialling, calls of
// demand-dialling links, and the byte counters of every interface seen.

#include "LinkCounterTotals.h"
#include "PppPeers.h"
#include "PppdProcesses.h"
#include "RasApi.h"
#include "SysfsNetLinks.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <functional>

struct PppLink {
    RasHandle handle = 0;
    QString entryName;
    int state = 0;
    qint64 pid = 0; // its pppd; 0 when not known
};

class PppLinkTracker {
public:
    // pppNamedLinks: interfaces named ppp* count whatever their type.
    PppLinkTracker(PppdFiles files, const QString& sysClassNet, const PppPeers& peers,
                   bool pppNamedLinks);

    // Looks at /proc, /run and /sys once; the links now, in order of
    // appearance. keepHandle says which entries keep their handle although
    // nothing of them is seen (a dial of ours that has not started pppd yet).
    QList<PppLink> scan(const std::function<bool(RasHandle)>& keepHandle);
    const QList<PppLink>& lastScan() const { return m_lastScan; }
    bool scanned() const { return m_scans > 0; }
    int scans() const { return m_scans; }
    // Reads the counters of the interfaces of the last scan again.
    ByteCounters counters();

    // The handle of a link first seen dialling under entryName.
    RasHandle nameHandle(const QString& entryName);
    bool isNameHandle(RasHandle handle) const;
    QString entryOfNameHandle(RasHandle handle) const { return m_nameHandles.key(handle); }

private:
    QList<NetLink> pppInterfaces() const;
    QList<int> ownersOf(const QList<PppdProcess>& processes,
                        const QList<NetLink>& interfaces) const;
    // nullopt when the interface is no connection now (a demand link
    // without a call, a new link held back for one look).
    std::optional<PppLink> interfaceLink(const NetLink& netLink, const PppdProcess* owner);
    std::optional<PppLink> demandCall(const NetLink& netLink, const PppdProcess& owner);
    void forget(const QSet<QString>& names, const QSet<QString>& instances,
                const QSet<qint64>& pids, const std::function<bool(RasHandle)>& keepHandle);

    PppdProcesses m_processes;
    SysfsNetLinks m_sysfs;
    bool m_pppNamedLinks;
    LinkCounterTotals m_counters;
    QHash<QString, RasHandle> m_nameHandles; // links first seen dialling keep this handle
    RasHandle m_lastNameHandle;
    QSet<QString> m_seenUp;            // interface instances that have been up
    QHash<qint64, QString> m_linkOf;   // pppd -> its interface instance; empty once gone
    QHash<QString, RasHandle> m_calls; // demand interface instance -> its call's handle
    QList<NetLink> m_lastInterfaces;
    QList<PppLink> m_lastScan;
    int m_scans = 0;
};
