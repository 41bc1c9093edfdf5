#pragma once
// TPop3Client: a small POP3 client (RFC 1939) that reads like synchronous
// code. Each operation sends one command and waits in the TWait countdown,
// with the event loop running, for the reply line or the time-out. The
// operations log in by themselves: Stat on a fresh client connects, sends
// USER and PASS, then STAT. Every line sent or received, and every error
// text, goes to OnDisplay. Name lookup and socket failures raise
// ESocketException to the caller.

#include "PopSecurity.h"
#include "TWSocket.h"

#include <QString>

#include <functional>

class TWait;

class TPop3Client {
public:
    enum TPop3State {
        pop3Disconnected,
        pop3WaitingUser,
        pop3WaitingPass,
        pop3Transaction,
        pop3Update
    };
    using TPop3Display = std::function<void(const QString& msg)>;

    TPop3Client();

    QString Host() const { return m_host; }
    void setHost(const QString& host) { m_host = host; }
    // A decimal port or a service name.
    QString Port() const { return m_port; }
    void setPort(const QString& port) { m_port = port; }
    QString UserName() const { return m_userName; }
    void setUserName(const QString& name) { m_userName = name; }
    void setPassWord(const QString& password) { m_passWord = password; }
    // Seconds for connecting and for each reply.
    int TimeOut() const { return m_timeOut; }
    void setTimeOut(int seconds) { m_timeOut = seconds; }
    void setWait(TWait* wait) { m_wait = wait; }
    PopSecurity Security() const { return m_security; }
    void setSecurity(PopSecurity security) { m_security = security; }

    QString ErrorMessage() const { return m_errorMessage; }
    QString LastResponse() const { return m_lastResponse; }
    TPop3State ProtocolState() const { return m_state; }
    qint32 MsgCount() const { return m_msgCount; }
    qint32 MsgSize() const { return m_msgSize; }
    // The greeting's "<...>" part; empty when it had none.
    QString TimeStamp() const { return m_timeStamp; }
    // A reply line was longer than the socket's line.
    bool LineTooLong() const { return m_lineTooLong; }

    bool Connect();
    bool User();
    bool Pass();
    bool Stat();
    // Ends the session with QUIT and closes; true without a word on a
    // client that is not connected.
    bool Quit();
    // Drops the connection without a word to the server, so that the next
    // operation starts afresh (after a raised failure).
    void Abort();

    TPop3Display OnDisplay;

private:
    void SendCommand(const QString& text);
    bool GetResponse();
    void display(const QString& msg);
    bool fail(const QString& error);
    bool failConnection(const QString& error);
    bool openSocket();
    bool startTls();
    void keepTimeStamp();
    bool parseStat();

    QString m_host;
    QString m_port = QStringLiteral("pop3");
    QString m_userName;
    QString m_passWord;
    int m_timeOut = 15;
    TWait* m_wait = nullptr;
    PopSecurity m_security = PopSecurity::None;
    QString m_errorMessage;
    QString m_lastResponse;
    QString m_timeStamp;
    TPop3State m_state = pop3Disconnected;
    qint32 m_msgCount = 0;
    qint32 m_msgSize = 0;
    bool m_timedOut = false;
    bool m_lineTooLong = false;
    TWSocket m_socket;
};
