#include "SingleInstance.h"

#include "SqliteRegistryStore.h"
#include "StoreFile.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 3000;
const QByteArray kShowRequest = "show\n";
// A request is one short line; more than this without a line end is no request.
constexpr qint64 kLongestRequest = 256;

// The home folder: $HOME, else the account's.
QString homeFolder() {
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return home;
    const passwd* account = ::getpwuid(::geteuid());
    return account && account->pw_dir ? QFile::decodeName(account->pw_dir) : QString();
}

// True when path is a folder (not a link) of this user that nobody else may
// enter; a folder of ours that others may is made private first.
bool ownPrivateFolder(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    return (st.st_mode & 077) == 0 || ::chmod(path.constData(), st.st_mode & 0700) == 0;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::channelFolder() {
    const QString home = homeFolder();
    if (home.isEmpty())
        return QString();
    const QString cache = home + QStringLiteral("/.cache");
    const QString folder = cache + QStringLiteral("/tollwatch");
    ::mkdir(QFile::encodeName(cache).constData(), 0700);
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return ownPrivateFolder(QFile::encodeName(folder)) ? folder : QString();
}

QString SingleInstance::channelAddress(const QString& storeFile) {
    const auto identity = StoreFile::identityOf(storeFile);
    const QString folder = channelFolder();
    if (!identity || folder.isEmpty())
        return QString();
    return folder + QStringLiteral("/store-%1-%2.sock")
                        .arg(identity->device, 0, 16)
                        .arg(identity->inode, 0, 16);
}

bool SingleInstance::claim(SqliteRegistryStore& store) {
    if (!store.lockForSoleUse())
        return false;
    // Without a folder of our own the run goes on unreachable: the lock alone
    // keeps a second run off the store.
    const QString address = channelAddress(store.fileName());
    if (address.isEmpty())
        return true;
    // A socket left by a run that crashed: the lock says no one listens.
    QLocalServer::removeServer(address);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptRequests);
    m_server->listen(address);
    return true;
}

void SingleInstance::acceptRequests() {
    while (QLocalSocket* peer = m_server->nextPendingConnection()) {
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { readRequest(peer); });
    }
}

void SingleInstance::readRequest(QLocalSocket* peer) {
    if (peer->peek(kLongestRequest).contains(kShowRequest.trimmed())) {
        peer->readAll();
        if (m_onRequest)
            m_onRequest();
        peer->write("ok\n");
        peer->flush();
        return;
    }
    if (!peer->canReadLine()) {
        if (peer->bytesAvailable() > kLongestRequest)
            peer->abort();
        return;
    }
    const QByteArray line = peer->readLine(kLongestRequest).trimmed();
    disconnect(peer, &QLocalSocket::readyRead, this, nullptr);
    if (m_onOther)
        m_onOther(peer, line);
    else
        peer->disconnectFromServer();
}

bool SingleInstance::askRunningToShow(const QString& storeFile) {
    const QString address = channelAddress(storeFile);
    if (address.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(address);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kShowRequest);
    socket.flush();
    const bool answered = socket.waitForReadyRead(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return answered;
}
