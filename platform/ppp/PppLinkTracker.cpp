#include "PppLinkTracker.h"

#include "RasConstants.h"

#include <algorithm>

namespace {
// Handles of links first seen dialling lie above every interface index.
constexpr RasHandle kFirstNameHandle = RasHandle(1) << 32;
} // namespace

PppLinkTracker::PppLinkTracker(PppdFiles files, const QString& sysClassNet, const PppPeers& peers,
                               bool pppNamedLinks)
    : m_processes(std::move(files), peers), m_sysfs(sysClassNet), m_pppNamedLinks(pppNamedLinks),
      m_lastNameHandle(kFirstNameHandle) {}

QList<PppLink> PppLinkTracker::scan(const std::function<bool(RasHandle)>& keepHandle) {
    ++m_scans;
    const QList<PppdProcess> processes = m_processes.scan();
    const QList<NetLink> interfaces = pppInterfaces();
    const QList<int> owners = ownersOf(processes, interfaces);
    QList<PppLink> out;
    QSet<QString> names;
    QSet<QString> instances;
    QSet<qint64> pids;
    for (int i = 0; i < interfaces.size(); ++i) {
        const int owner = owners.at(i);
        const PppdProcess* process = owner >= 0 ? &processes.at(owner) : nullptr;
        instances.insert(interfaces.at(i).instanceKey());
        if (const auto link = interfaceLink(interfaces.at(i), process)) {
            out.append(*link);
            names.insert(link->entryName);
        }
    }
    for (int i = 0; i < processes.size(); ++i) {
        const PppdProcess& p = processes.at(i);
        pids.insert(p.pid);
        // Once its link has dropped, a pppd that dials again (persist) is no
        // connection until the new link is there: the old one has ended.
        if (owners.contains(i) || p.entryName().isEmpty() || m_linkOf.contains(p.pid))
            continue;
        out.append({nameHandle(p.entryName()), p.entryName(), RasState::ConnectDevice, p.pid});
        names.insert(p.entryName());
    }
    forget(names, instances, pids, keepHandle);
    m_lastInterfaces = interfaces;
    m_lastScan = out;
    return out;
}

ByteCounters PppLinkTracker::counters() {
    for (const NetLink& known : std::as_const(m_lastInterfaces)) {
        const auto now = m_sysfs.link(known.name);
        if (now && now->ifindex == known.ifindex && now->hasCounters)
            m_counters.update(now->instanceKey(), now->txBytes, now->rxBytes);
    }
    return m_counters.totals();
}

QList<NetLink> PppLinkTracker::pppInterfaces() const {
    QList<NetLink> out;
    for (const NetLink& netLink : m_sysfs.links()) {
        if (netLink.type == SysfsNetLinks::ArphrdPpp ||
            (m_pppNamedLinks && netLink.name.startsWith(QLatin1String("ppp"))))
            out.append(netLink);
    }
    // In order of appearance: the kernel hands out indexes in rising order.
    std::sort(out.begin(), out.end(),
              [](const NetLink& a, const NetLink& b) { return a.ifindex < b.ifindex; });
    return out;
}

QList<int> PppLinkTracker::ownersOf(const QList<PppdProcess>& processes,
                                    const QList<NetLink>& interfaces) const {
    QList<int> owners;
    for (const NetLink& netLink : interfaces) {
        const int owner = m_processes.ownerOf(processes, netLink.name);
        owners.append(owners.contains(owner) ? -1 : owner);
    }
    return owners;
}

std::optional<PppLink> PppLinkTracker::interfaceLink(const NetLink& netLink,
                                                     const PppdProcess* owner) {
    const QString instance = netLink.instanceKey();
    if (netLink.hasCounters)
        m_counters.update(instance, netLink.txBytes, netLink.rxBytes);
    if (owner && owner->demand)
        return demandCall(netLink, *owner);
    PppLink link;
    link.entryName = owner && !owner->entryName().isEmpty() ? owner->entryName() : netLink.name;
    link.pid = owner ? owner->pid : 0;
    if (owner) {
        const QString before = m_linkOf.value(owner->pid);
        m_linkOf.insert(owner->pid, instance);
        if (!before.isEmpty() && before != instance) {
            // pppd dialled again between two looks: the old link ended, and
            // the new one is a connection of its own, shown from the next look
            // on so that the end of the old one is seen.
            m_nameHandles.remove(link.entryName);
            return std::nullopt;
        }
    }
    const auto named = m_nameHandles.constFind(link.entryName);
    link.handle = named != m_nameHandles.constEnd() ? *named : RasHandle(netLink.ifindex);
    if (netLink.up)
        m_seenUp.insert(instance);
    // Down before it was ever up: still negotiating; down after: going away.
    link.state = netLink.up                    ? int(RasState::Connected)
                 : m_seenUp.contains(instance) ? int(RasState::Disconnected)
                                               : int(RasState::Authenticate);
    return link;
}

std::optional<PppLink> PppLinkTracker::demandCall(const NetLink& netLink,
                                                  const PppdProcess& owner) {
    // A demand link's interface is up from pppd's start; only a call that is
    // really up is a connection, and each call is one of its own.
    const QString instance = netLink.instanceKey();
    m_linkOf.insert(owner.pid, instance);
    const QString name = owner.entryName().isEmpty() ? netLink.name : owner.entryName();
    if (!m_processes.callUp(owner)) {
        m_calls.remove(instance);
        return std::nullopt;
    }
    auto call = m_calls.constFind(instance);
    if (call == m_calls.constEnd()) {
        // The first call of a dial of ours takes the dial's handle.
        const RasHandle handle =
            m_nameHandles.contains(name) ? m_nameHandles.value(name) : ++m_lastNameHandle;
        call = m_calls.insert(instance, handle);
    }
    return PppLink{*call, name, RasState::Connected, owner.pid};
}

RasHandle PppLinkTracker::nameHandle(const QString& entryName) {
    const auto known = m_nameHandles.constFind(entryName);
    if (known != m_nameHandles.constEnd())
        return *known;
    const RasHandle handle = ++m_lastNameHandle;
    m_nameHandles.insert(entryName, handle);
    return handle;
}

bool PppLinkTracker::isNameHandle(RasHandle handle) const {
    return handle > kFirstNameHandle && handle <= m_lastNameHandle;
}

void PppLinkTracker::forget(const QSet<QString>& names, const QSet<QString>& instances,
                            const QSet<qint64>& pids,
                            const std::function<bool(RasHandle)>& keepHandle) {
    m_seenUp.intersect(instances);
    for (auto it = m_calls.begin(); it != m_calls.end();)
        it = instances.contains(it.key()) ? std::next(it) : m_calls.erase(it);
    for (auto it = m_linkOf.begin(); it != m_linkOf.end();) {
        // A pppd whose link has gone is remembered with no link: its next
        // one is new, and no look was missed in between.
        if (!instances.contains(it.value()))
            it.value().clear();
        it = pids.contains(it.key()) ? std::next(it) : m_linkOf.erase(it);
    }
    for (auto it = m_nameHandles.begin(); it != m_nameHandles.end();) {
        const bool keep = names.contains(it.key()) || (keepHandle && keepHandle(it.value()));
        it = keep ? std::next(it) : m_nameHandles.erase(it);
    }
}
