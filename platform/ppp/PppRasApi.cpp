#include "PppRasApi.h"

#include "PppExitStatus.h"
#include "PppOptionsFile.h"
#include "ProgramStarter.h"
#include "RasConstants.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryFile>

#include <algorithm>

namespace {

// Handles of links first seen dialling lie above every interface index.
constexpr RasHandle kFirstNameHandle = RasHandle(1) << 32;
// A status query right after an enumeration answers from its look at /proc.
constexpr qint64 kScanReuseMs = 500;
// How long the end of this object waits for a helper program still running.
constexpr int kHelperGraceMs = 3000;

} // namespace

PppRasApi::PppRasApi(PppOptions options)
    : m_options(std::move(options)), m_peers(m_options.peersDir, m_options.secretsDir),
      m_processes(m_options.procDir, m_options.runDir, m_peers), m_sysfs(m_options.sysClassNet),
      m_lastNameHandle(kFirstNameHandle) {
    m_dialTimer.setInterval(m_options.dialPollMs);
    connect(&m_dialTimer, &QTimer::timeout, this, &PppRasApi::checkDials);
}

PppRasApi::~PppRasApi() {
    // A hang-up asked for just before the end must still reach pppd; poff
    // and pon are done in moments.
    for (QProcess* helper : findChildren<QProcess*>())
        helper->waitForFinished(kHelperGraceMs);
}

QString PppRasApi::backendName() const {
    return QStringLiteral("ppp");
}

int PppRasApi::enumConnections(QList<RasConnection>& out) {
    out.clear();
    for (const Link& link : scan())
        out.append({link.handle, link.entryName});
    return 0;
}

int PppRasApi::connectStatus(RasHandle handle, RasConnStatus& status) {
    const auto find = [handle](const QList<Link>& links) -> const Link* {
        for (const Link& link : links) {
            if (link.handle == handle)
                return &link;
        }
        return nullptr;
    };
    const bool recent = m_lastScanAge.isValid() && m_lastScanAge.elapsed() < kScanReuseMs;
    const QList<Link> links = recent && find(m_lastScan) ? m_lastScan : scan();
    const Link* link = handle != 0 ? find(links) : nullptr;
    if (!link)
        return InvalidHandle;
    status = {link->state, 0};
    return 0;
}

int PppRasApi::enumEntries(QList<RasEntry>& out) {
    out.clear();
    for (const QString& name : m_peers.names())
        out.append(m_peers.entry(name));
    return 0;
}

int PppRasApi::dial(const QString& entry, const QString& userName, const QString& password,
                    DialCallback callback, RasHandle& handle) {
    if (!m_peers.exists(entry))
        return CannotFindEntry;
    PendingDial pending;
    pending.entryName = entry;
    pending.handle = nameHandle(entry);
    pending.callback = std::move(callback);
    pending.credentials = credentialsFile(entry, userName, password);
    QStringList arguments{entry};
    if (pending.credentials)
        arguments << QStringLiteral("file") << pending.credentials->fileName();
    m_dials.append(pending);
    const int error = startHelper(m_options.pon, arguments, pending.handle);
    if (error != 0) {
        m_dials.removeLast();
        return error;
    }
    handle = pending.handle;
    const RasHandle started = handle;
    QTimer::singleShot(0, this, [this, started] { deliver(started, RasState::OpenPort, 0); });
    m_dialTimer.start();
    return 0;
}

int PppRasApi::hangUp(RasHandle handle) {
    // The name first: once the dial is dropped, a scan may forget its handle.
    QString name = m_nameHandles.key(handle);
    const int dialIndex = indexOfDial(handle);
    if (dialIndex >= 0)
        m_dials.removeAt(dialIndex); // no more reports; the credentials go with it
    for (const Link& link : scan()) {
        if (name.isEmpty() && link.handle == handle)
            name = link.entryName;
    }
    if (name.isEmpty()) {
        // A dial of ours that is over already: nothing left to hang up.
        return handle > kFirstNameHandle && handle <= m_lastNameHandle ? 0 : InvalidHandle;
    }
    return startHelper(m_options.poff, {name}, 0);
}

int PppRasApi::editEntry(const QString& entry) {
    if (!m_peers.exists(entry))
        return CannotFindEntry;
    const ProgramStart start =
        ProgramStarter::startDetached(m_options.editor, {QDir(m_options.peersDir).filePath(entry)});
    if (start.started)
        return 0;
    m_programMessage = start.message;
    return ProgramNotStarted;
}

ByteCounters PppRasApi::byteCounters() {
    scan();
    return m_counters.totals();
}

QString PppRasApi::errorString(int error) const {
    if (error == ProgramNotStarted && !m_programMessage.isEmpty())
        return m_programMessage;
    return RasApi::errorString(error);
}

void PppRasApi::checkDials() {
    if (m_dials.isEmpty()) {
        m_dialTimer.stop();
        return;
    }
    const QList<Link> links = scan();
    const QList<PendingDial> dials = m_dials;
    for (const PendingDial& dial : dials) {
        const Link* found = nullptr;
        for (const Link& link : links) {
            if (link.handle == dial.handle || link.entryName == dial.entryName)
                found = &link;
        }
        if (found)
            deliver(dial.handle, found->state, 0);
        else if (dial.ponDone)
            deliver(dial.handle, RasState::Disconnected, LinkFailed); // pppd gave up
    }
}

QList<int> PppRasApi::ownersOf(const QList<PppdProcess>& processes,
                               const QList<NetLink>& interfaces) const {
    QList<int> owners;
    for (const NetLink& netLink : interfaces) {
        const int owner = m_processes.ownerOf(processes, netLink.name);
        owners.append(owners.contains(owner) ? -1 : owner);
    }
    return owners;
}

QList<PppRasApi::Link> PppRasApi::scan() {
    const QList<PppdProcess> processes = m_processes.scan();
    const QList<NetLink> interfaces = pppInterfaces();
    const QList<int> owners = ownersOf(processes, interfaces);
    QList<Link> out;
    QSet<QString> present;
    QSet<QString> instances;
    for (int i = 0; i < interfaces.size(); ++i) {
        const int owner = owners.at(i);
        out.append(interfaceLink(interfaces.at(i), owner >= 0 ? &processes.at(owner) : nullptr));
        present.insert(out.constLast().entryName);
        instances.insert(interfaces.at(i).instanceKey());
    }
    // pppd processes without their interface yet are dialling.
    for (int i = 0; i < processes.size(); ++i) {
        const QString name = processes.at(i).entryName();
        if (owners.contains(i) || name.isEmpty())
            continue;
        out.append({nameHandle(name), name, RasState::ConnectDevice});
        present.insert(name);
    }
    m_seenUp.intersect(instances);
    forgetHandlesExcept(present);
    m_lastScan = out;
    m_lastScanAge.start();
    return out;
}

QList<NetLink> PppRasApi::pppInterfaces() const {
    QList<NetLink> out;
    for (const NetLink& netLink : m_sysfs.links()) {
        if (netLink.type == SysfsNetLinks::ArphrdPpp ||
            (m_options.pppNamedLinks && netLink.name.startsWith(QLatin1String("ppp"))))
            out.append(netLink);
    }
    // In order of appearance: the kernel hands out indexes in rising order.
    std::sort(out.begin(), out.end(),
              [](const NetLink& a, const NetLink& b) { return a.ifindex < b.ifindex; });
    return out;
}

PppRasApi::Link PppRasApi::interfaceLink(const NetLink& netLink, const PppdProcess* owner) {
    Link link;
    link.entryName = owner && !owner->entryName().isEmpty() ? owner->entryName() : netLink.name;
    const auto named = m_nameHandles.constFind(link.entryName);
    link.handle = named != m_nameHandles.constEnd() ? *named : RasHandle(netLink.ifindex);
    const QString instance = netLink.instanceKey();
    if (netLink.up)
        m_seenUp.insert(instance);
    // Down before it was ever up: still negotiating; down after: going away.
    link.state = netLink.up                    ? int(RasState::Connected)
                 : m_seenUp.contains(instance) ? int(RasState::Disconnected)
                                               : int(RasState::Authenticate);
    if (netLink.hasCounters)
        m_counters.update(instance, netLink.txBytes, netLink.rxBytes);
    return link;
}

RasHandle PppRasApi::nameHandle(const QString& entryName) {
    const auto known = m_nameHandles.constFind(entryName);
    if (known != m_nameHandles.constEnd())
        return *known;
    const RasHandle handle = ++m_lastNameHandle;
    m_nameHandles.insert(entryName, handle);
    return handle;
}

void PppRasApi::forgetHandlesExcept(const QSet<QString>& present) {
    for (auto it = m_nameHandles.begin(); it != m_nameHandles.end();) {
        const bool dialling = indexOfDial(it.value()) >= 0;
        it = present.contains(it.key()) || dialling ? std::next(it) : m_nameHandles.erase(it);
    }
}

std::shared_ptr<QTemporaryFile>
PppRasApi::credentialsFile(const QString& entry, const QString& userName, const QString& password) {
    const bool otherUser = !userName.isEmpty() && userName != m_peers.entry(entry).userName;
    if (password.isEmpty() && !otherUser)
        return nullptr;
    // Handed to pppd as an options file, never on its command line where
    // every user could read it; the file is private and goes once pon is done.
    auto file = std::make_shared<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/tollwatch-ppp-XXXXXX"));
    if (!file->open())
        return nullptr;
    QString text;
    if (!userName.isEmpty())
        text += QStringLiteral("user ") + PppOptionsFile::quoted(userName) + QLatin1Char('\n');
    if (!password.isEmpty())
        text += QStringLiteral("password ") + PppOptionsFile::quoted(password) + QLatin1Char('\n');
    file->write(text.toLocal8Bit());
    file->flush();
    return file;
}

int PppRasApi::startHelper(const QString& program, const QStringList& arguments,
                           RasHandle dialHandle) {
    const ProgramStart start = ProgramStarter::start(
        program, arguments, this, [this, dialHandle](int exitStatus, const QString&) {
            if (dialHandle != 0)
                onPonFinished(dialHandle, exitStatus);
        });
    if (start.started)
        return 0;
    m_programMessage = start.message;
    return ProgramNotStarted;
}

int PppRasApi::indexOfDial(RasHandle handle) const {
    for (int i = 0; i < m_dials.size(); ++i) {
        if (m_dials.at(i).handle == handle)
            return i;
    }
    return -1;
}

void PppRasApi::onPonFinished(RasHandle handle, int exitStatus) {
    const int index = indexOfDial(handle);
    if (index < 0)
        return;
    m_dials[index].ponDone = true;
    // pppd has read its options by the time pon returns.
    m_dials[index].credentials.reset();
    if (exitStatus != 0) {
        deliver(handle, RasState::Disconnected,
                exitStatus < 0 ? LinkFailed : PppExitStatus::rasError(exitStatus));
    }
}

void PppRasApi::deliver(RasHandle handle, int state, int error) {
    const int index = indexOfDial(handle);
    if (index < 0)
        return;
    PendingDial& dial = m_dials[index];
    // Going down without a reason is not news: the reason follows.
    if (error == 0 && (state == RasState::Disconnected || state == dial.lastState))
        return;
    dial.lastState = state;
    const DialCallback callback = dial.callback;
    if (error != 0 || state == RasState::Connected)
        m_dials.removeAt(index);
    if (m_dials.isEmpty())
        m_dialTimer.stop();
    // Last, as the callback may hang up or dial again.
    if (callback)
        callback(state, error);
}
