#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kShow = QByteArrayLiteral("show\n");
}

SingleInstance::SingleInstance(const QString& storeFile, QObject* parent)
    : QObject(parent), m_name(serverName(storeFile)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& storeFile) {
    const QString canonical = QFileInfo(storeFile).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tollwatch-companion-") + QString::fromLatin1(hash);
}

bool SingleInstance::notifyRunning(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShow);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    if (notifyRunning(300))
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A socket file left behind by a crashed instance answers nobody.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return true; // run without the guard rather than not at all
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, socket] {
            if (socket->readAll().contains(kShow.trimmed()))
                emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        // What arrived before the connection was made is already buffered.
        if (socket->bytesAvailable() > 0)
            read();
    }
}
