#pragma once
// A POP3 server of the tests' own on loopback, in the test's thread, for what
// a real server cannot be made to do: it answers each command from a script,
// can greet with or without a time-stamp, send a reply longer than a line,
// say nothing at all, close in the middle of a reply, or answer STAT without
// numbers. It notes every command it received. Like a real server it
// answers lines ending in CR LF and keeps reading while the client is
// connected (RFC 1939).

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

class ScriptedPop3Server {
public:
    ScriptedPop3Server();
    ~ScriptedPop3Server();

    quint16 port() const { return m_server.serverPort(); }
    QString portText() const { return QString::number(port()); }

    // Sent on connection, CR LF added; empty: the server never says anything.
    QByteArray greeting = "+OK POP3 ready <1896.697170952@dbc.mil>";
    // Replies by command word (USER, PASS, STAT, QUIT, STLS), CR LF added. An
    // unscripted command gets "+OK"; one whose reply is kSilent gets none.
    QHash<QByteArray, QByteArray> replies;
    // Sends partialReply instead of the reply to this command, then closes.
    QByteArray closeOn;
    QByteArray partialReply = "+OK hel";
    // Closes with a reset (RST) instead, after partialReply.
    bool resetOnClose = false;
    // Closes each connection as soon as it is accepted.
    bool closeAtOnce = false;
    // Called with each command line as it arrives (before the reply).
    std::function<void(const QByteArray&)> onCommand;

    // Every command line received, in order, over all connections.
    QList<QByteArray> received;
    int connections = 0;

private:
    void accept();
    void serve(QTcpSocket* client);

    QTcpServer m_server;
    QList<QTcpSocket*> m_clients;
};

inline const QByteArray kSilent = "<silent>";
