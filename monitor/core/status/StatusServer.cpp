#include "StatusServer.h"

#include "SingleInstance.h"

#include <QLocalSocket>

namespace {
const QByteArray kStatus = "status";
const QByteArray kFollow = "status follow";
} // namespace

StatusServer::StatusServer(SingleInstance& instance, StatusBoard& board, QObject* parent)
    : QObject(parent), m_board(board) {
    instance.setOtherRequestHandler(
        [this](QLocalSocket* peer, const QByteArray& line) { serve(peer, line); });
}

StatusServer::~StatusServer() {
    m_board.setListener({});
}

void StatusServer::serve(QLocalSocket* peer, const QByteArray& line) {
    if (line != kStatus && line != kFollow) {
        peer->disconnectFromServer();
        return;
    }
    send(peer, m_board.current().toJson() + '\n');
    if (line == kStatus) {
        // Closes once the answer is out.
        peer->disconnectFromServer();
    } else {
        if (m_followers.size() >= kMostFollowers) {
            if (QLocalSocket* oldest = m_followers.takeFirst())
                oldest->abort();
        }
        m_followers.append(peer);
        // Followers hear of every change: the board looks at every tick now.
        m_board.setListener([this](const MonitorStatus& status) { publish(status); });
    }
    emit answered();
}

void StatusServer::publish(const MonitorStatus& status) {
    const QByteArray answer = status.toJson() + '\n';
    m_followers.removeAll(nullptr);
    for (const QPointer<QLocalSocket>& peer : QList(m_followers)) {
        if (peer->state() != QLocalSocket::ConnectedState)
            m_followers.removeAll(peer);
        else
            send(peer, answer);
    }
    // Nobody follows any more: the board reads the store only when asked.
    m_followers.removeAll(nullptr);
    if (m_followers.isEmpty())
        m_board.setListener({});
}

void StatusServer::send(QLocalSocket* peer, const QByteArray& answer) {
    if (peer->bytesToWrite() > kMostPending) {
        // It stopped reading; waiting for it would hold up the monitor.
        m_followers.removeAll(peer);
        peer->abort();
        return;
    }
    peer->write(answer);
    // Hands the bytes to the system without waiting for the reader.
    peer->flush();
}
