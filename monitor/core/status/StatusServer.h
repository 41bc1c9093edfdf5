#pragma once
// The monitor's side of `tollwatch --status`: on the single-instance channel,
// the request "status" gets the current state as one JSON line and the
// connection is closed; "status follow" gets it now and again at every
// change until the asker goes away. Answers come from the StatusBoard at once
// and writes never wait, so a slow reader never holds up a tick: one that
// lets too much pile up is dropped.

#include "StatusBoard.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QLocalSocket;
class SingleInstance;

class StatusServer : public QObject {
    Q_OBJECT
public:
    // More unread bytes than this drop a follower.
    static constexpr qint64 kMostPending = 64 * 1024;
    // At most this many followers at once; the oldest gives way.
    static constexpr int kMostFollowers = 32;

    // Takes the status requests of instance and follows board's changes.
    StatusServer(SingleInstance& instance, StatusBoard& board, QObject* parent = nullptr);
    ~StatusServer() override;

    // A request line of the channel; a line that is no status request closes
    // the connection.
    void serve(QLocalSocket* peer, const QByteArray& line);
    // Sends a new state to every follower.
    void publish(const MonitorStatus& status);

    int followers() const { return int(m_followers.size()); }

signals:
    // A request was answered (its first answer, for a follower).
    void answered();

private:
    void send(QLocalSocket* peer, const QByteArray& answer);

    StatusBoard& m_board;
    QList<QPointer<QLocalSocket>> m_followers;
};
