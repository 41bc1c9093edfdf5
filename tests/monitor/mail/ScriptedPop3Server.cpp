#include "ScriptedPop3Server.h"

#include <QTcpSocket>

#include <sys/socket.h>

ScriptedPop3Server::ScriptedPop3Server() {
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    m_server.listen(QHostAddress::LocalHost, 0);
}

ScriptedPop3Server::~ScriptedPop3Server() {
    for (QTcpSocket* c : m_clients) {
        QObject::disconnect(c, nullptr, nullptr, nullptr);
        c->abort();
        delete c;
    }
}

void ScriptedPop3Server::accept() {
    while (QTcpSocket* client = m_server.nextPendingConnection()) {
        client->setParent(nullptr);
        m_clients << client;
        ++connections;
        QObject::connect(client, &QTcpSocket::readyRead, client, [this, client] { serve(client); });
        if (closeAtOnce) {
            client->disconnectFromHost();
            continue;
        }
        if (!greeting.isEmpty())
            client->write(greeting + "\r\n");
    }
}

void ScriptedPop3Server::serve(QTcpSocket* client) {
    while (client->canReadLine()) {
        const QByteArray line = client->readLine().trimmed();
        received << line;
        if (onCommand)
            onCommand(line);
        const QByteArray word = line.split(' ').first().toUpper();
        if (!closeOn.isEmpty() && word == closeOn) {
            client->write(partialReply);
            client->flush();
            if (resetOnClose) {
                // No lingering: the kernel answers with a reset.
                const linger none{1, 0};
                ::setsockopt(int(client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &none,
                             sizeof none);
                client->abort();
            } else {
                client->disconnectFromHost();
            }
            return;
        }
        const QByteArray reply = replies.value(word, "+OK");
        if (reply != kSilent)
            client->write(reply + "\r\n");
        if (word == "QUIT") {
            client->flush();
            client->disconnectFromHost();
            return;
        }
    }
}
