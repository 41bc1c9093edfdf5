#include "PppRasApi.h"

#include "PppExitStatus.h"
#include "PppOptionsFile.h"
#include "ProgramStarter.h"
#include "RasConstants.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>
#include <signal.h>

PppRasApi::PppRasApi(PppOptions options)
    : m_options(std::move(options)), m_peers(m_options.peersDir, m_options.secretsDir),
      m_links(PppdFiles{m_options.procDir, m_options.runDir, m_options.lockDir},
              m_options.sysClassNet, m_peers, m_options.pppNamedLinks) {
    m_dialTimer.setInterval(m_options.dialPollMs);
    connect(&m_dialTimer, &QTimer::timeout, this, &PppRasApi::checkDials);
}

// pon runs in a session of its own and is left to itself: a pppd that stays
// in the foreground ("nodetach") is the link, and it outlives the monitor.
PppRasApi::~PppRasApi() = default;

QString PppRasApi::backendName() const {
    return QStringLiteral("ppp");
}

int PppRasApi::enumConnections(QList<RasConnection>& out) {
    out.clear();
    helpersRunning();
    for (const PppLink& link : scan())
        out.append({link.handle, link.entryName});
    return 0;
}

int PppRasApi::connectStatus(RasHandle handle, RasConnStatus& status) {
    // Answers from the tick's one look at /proc and /sys.
    if (!m_links.scanned())
        scan();
    for (const PppLink& link : m_links.lastScan()) {
        if (handle != 0 && link.handle == handle) {
            status = {link.state, 0};
            return 0;
        }
    }
    return InvalidHandle;
}

int PppRasApi::enumEntries(QList<RasEntry>& out) {
    out.clear();
    for (const QString& name : m_peers.names())
        out.append(m_peers.entry(name));
    return 0;
}

int PppRasApi::dial(const QString& entry, const QString& userName, const QString& password,
                    DialCallback callback, RasHandle& handle) {
    if (entry.startsWith(QLatin1Char('-')) || entry.contains(QRegularExpression("\\s"))) {
        m_message = QStringLiteral("The peer name \"%1\" cannot be dialled: pon and pppd do not "
                                   "take names with blanks or a leading \"-\".")
                        .arg(entry);
        return BadEntryName;
    }
    if (!m_peers.exists(entry))
        return CannotFindEntry;
    PendingDial pending;
    pending.entryName = entry;
    pending.handle = m_links.nameHandle(entry);
    pending.callback = std::move(callback);
    pending.credentials = credentialsFile(entry, userName, password);
    QStringList arguments{entry};
    if (pending.credentials)
        arguments << QStringLiteral("file") << pending.credentials->fileName();
    const ProgramStart start = ProgramStarter::spawn(m_options.pon, arguments);
    if (!start.started) {
        m_message = start.message;
        return ProgramNotStarted;
    }
    pending.ponPid = start.pid;
    m_children.append(start.pid);
    m_dials.append(pending);
    handle = pending.handle;
    const RasHandle started = handle;
    QTimer::singleShot(0, this, [this, started] { deliver(started, RasState::OpenPort, 0); });
    m_dialTimer.start();
    return 0;
}

int PppRasApi::hangUp(RasHandle handle) {
    qint64 ponPid = 0;
    const int dialIndex = indexOfDial(handle);
    if (dialIndex >= 0) {
        // No more reports; the credentials go with it.
        ponPid = m_dials.at(dialIndex).ponDone ? 0 : m_dials.at(dialIndex).ponPid;
        m_dials.removeAt(dialIndex);
    }
    for (const PppLink& link : scan()) {
        if (link.handle != handle)
            continue;
        if (link.pid != 0)
            return signalPppd(link.pid);
        return ponPid != 0 ? signalPppd(ponPid) : PppdNotFound;
    }
    // pon still starting pppd: pon is pppd by then ("exec pppd").
    if (ponPid != 0)
        return signalPppd(ponPid);
    // A dial of ours that is over already: nothing left to hang up.
    return m_links.isNameHandle(handle) ? 0 : InvalidHandle;
}

int PppRasApi::editEntry(const QString& entry) {
    if (!m_peers.exists(entry))
        return CannotFindEntry;
    const ProgramStart start =
        ProgramStarter::startDetached(m_options.editor, {QDir(m_options.peersDir).filePath(entry)});
    if (start.started)
        return 0;
    m_message = start.message;
    return ProgramNotStarted;
}

ByteCounters PppRasApi::byteCounters() {
    // The links are known from the tick's look; only their counters are read.
    if (!m_links.scanned())
        scan();
    return m_links.counters();
}

QString PppRasApi::errorString(int error) const {
    if ((error == ProgramNotStarted || error == BadEntryName) && !m_message.isEmpty())
        return m_message;
    return RasApi::errorString(error);
}

void PppRasApi::checkDials() {
    helpersRunning();
    if (m_dials.isEmpty()) {
        m_dialTimer.stop();
        return;
    }
    const QList<PppLink> links = scan();
    const QList<PendingDial> dials = m_dials;
    for (const PendingDial& dial : dials) {
        const PppLink* found = nullptr;
        for (const PppLink& link : links) {
            if (link.handle == dial.handle || link.entryName == dial.entryName)
                found = &link;
        }
        if (found) {
            // pppd has its link: its options, the typed password among them,
            // are read long since.
            if (found->state != RasState::ConnectDevice && indexOfDial(dial.handle) >= 0)
                m_dials[indexOfDial(dial.handle)].credentials.reset();
            deliver(dial.handle, found->state, 0);
        } else if (dial.ponDone) {
            deliver(dial.handle, RasState::Disconnected, LinkFailed); // pppd gave up
        }
    }
}

bool PppRasApi::helpersRunning() {
    for (int i = m_children.size() - 1; i >= 0; --i) {
        const qint64 pid = m_children.at(i);
        const auto status = ProgramStarter::exitStatus(pid);
        if (!status)
            continue;
        m_children.removeAt(i);
        for (const PendingDial& dial : std::as_const(m_dials)) {
            if (dial.ponPid == pid) {
                onPonFinished(dial.handle, *status);
                break;
            }
        }
    }
    return !m_children.isEmpty();
}

QList<PppLink> PppRasApi::scan() {
    return m_links.scan([this](RasHandle handle) { return indexOfDial(handle) >= 0; });
}

std::shared_ptr<QTemporaryFile>
PppRasApi::credentialsFile(const QString& entry, const QString& userName, const QString& password) {
    const bool otherUser = !userName.isEmpty() && userName != m_peers.entry(entry).userName;
    if (password.isEmpty() && !otherUser)
        return nullptr;
    // Handed to pppd as an options file, never on its command line where
    // every user could read it; the file is private and goes once pppd has
    // read it.
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

int PppRasApi::indexOfDial(RasHandle handle) const {
    for (int i = 0; i < m_dials.size(); ++i) {
        if (m_dials.at(i).handle == handle)
            return i;
    }
    return -1;
}

int PppRasApi::signalPppd(qint64 pid) {
    // SIGTERM is pppd's "terminate the link and exit", persist or not (what
    // poff sends); SIGHUP would make a persistent pppd dial again.
    const int error = m_options.signalProcess            ? m_options.signalProcess(pid, SIGTERM)
                      : ::kill(pid_t(pid), SIGTERM) == 0 ? 0
                                                         : errno;
    if (error == 0 || error == ESRCH) // gone already: hung up all the same
        return 0;
    return error == EPERM ? NotPermitted : LinkFailed;
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
