#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kConnectTimeoutMs = 3000;
const QByteArray kShowRequest = "show\n";
// A request is one short line; more than this without a line end is no request.
constexpr qint64 kLongestRequest = 256;

QString runtimeFolder() {
    // Asked only when it is set: without it Qt warns and picks a folder of
    // its own, and the temporary folder serves as well.
    QString folder = qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")
                         ? QDir::tempPath()
                         : QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return folder;
}

} // namespace

SingleInstance::SingleInstance(const QString& storeFile, QObject* parent)
    : QObject(parent), m_key(keyFor(storeFile)), m_folder(runtimeFolder()) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::keyFor(const QString& storeFile) {
    const QFileInfo info(storeFile);
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("tollwatch-") + QString::fromLatin1(hash.toHex().left(24));
}

QString SingleInstance::serverName(const QString& storeFile) {
    return runtimeFolder() + QLatin1Char('/') + keyFor(storeFile) + QStringLiteral(".sock");
}

bool SingleInstance::claim() {
    m_lock =
        std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + m_key + QStringLiteral(".lock"));
    // A lock left by a run that crashed belongs to no live process and is
    // taken over.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return false;
    const QString socket = m_folder + QLatin1Char('/') + m_key + QStringLiteral(".sock");
    QLocalServer::removeServer(socket);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptRequests);
    m_server->listen(socket);
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

bool SingleInstance::askRunningToShow() {
    QLocalSocket socket;
    socket.connectToServer(m_folder + QLatin1Char('/') + m_key + QStringLiteral(".sock"));
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kShowRequest);
    socket.flush();
    const bool answered = socket.waitForReadyRead(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return answered;
}
