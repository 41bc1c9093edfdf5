#pragma once
// TWSocket: the line-oriented TCP socket under the POP3 client, on a
// QSslSocket. It connects without blocking and waits for a state, reads one
// line at a time (CR and LF dropped, at most 254 characters: a longer line
// arrives as two) and sends text; every wait is a TWait countdown, which a
// close by the server ends at once. It can put TLS on the connection, from
// the start or after a command, checking the server's certificate against
// the system's trusted authorities.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QSslSocket>
#include <QString>

#include <functional>
#include <memory>

class TWait;

class TWSocket {
public:
    enum TSocketState {
        wsInvalidState,
        wsOpened,
        wsBound,
        wsConnecting,
        wsConnected,
        wsAccepting,
        wsListening,
        wsClosed
    };
    static constexpr int kMaxLine = 254;

    TWSocket();
    ~TWSocket();
    TWSocket(const TWSocket&) = delete;
    TWSocket& operator=(const TWSocket&) = delete;

    void setWait(TWait* wait) { m_wait = wait; }
    TWait* wait() const { return m_wait; }
    TSocketState state() const { return m_state; }

    // The server: a dotted address, or a name looked up at once (blocking).
    // Raises ESocketException when it does not resolve or the socket is in use.
    void setAddr(const QString& host);
    // A decimal port or a service name ("pop3"); raises when neither.
    void setPort(const QString& port);
    // true: the connection counts as made only once TLS is up (POP3S).
    void setImplicitTls(bool on) { m_implicitTls = on; }

    // Starts connecting; the result comes as a state change.
    void Connect();
    // Waits up to seconds for state (a close ends a wait for wsConnected);
    // true when the socket is in that state.
    bool WaitForState(TSocketState state, int seconds);
    // One line, waiting up to seconds for it; partial or empty after a
    // time-out or a close. Raises ESocketException on a read failure.
    QString ReadLine(int seconds);
    // Queues text for sending; raises ESocketException when not connected.
    void SendStr(const QString& text);
    // Puts TLS on the open connection, waiting up to seconds; false when it
    // failed (tlsFailure() says why; the socket is closed then).
    bool StartTls(int seconds);
    // Closes at once; unsent data is dropped.
    void Close();

    // Why TLS could not be set up on the last connection; empty when it was
    // not tried or worked.
    QString tlsFailure() const { return m_tlsFailure; }

    // The server or the network closed the connection.
    std::function<void()> OnSessionClosed;
    // A line was cut at kMaxLine characters.
    std::function<void()> OnLineTooLong;

private:
    // The socket, made and wired on first use.
    QSslSocket& socket();
    void wire();
    void setState(TSocketState state);
    bool runCountdown(int seconds);
    void readAvailable();
    void onConnected();
    void onEncrypted();
    void onReadyRead();
    void onError(QAbstractSocket::SocketError error);
    void onClosedByPeer();
    void recordTlsFailure();
    void raisePendingFailure(const QString& function);

    TWait* m_wait = nullptr;
    TSocketState m_state = wsClosed;
    TSocketState m_awaited = wsInvalidState;
    QList<QHostAddress> m_addresses;
    QString m_hostName;
    quint16 m_port = 0;
    bool m_implicitTls = false;
    bool m_awaitingLine = false;
    bool m_awaitingTls = false;
    bool m_lineInProgress = false;
    bool m_lineComplete = false;
    QByteArray m_line;
    int m_pendingError = 0;
    QString m_tlsFailure;
    QStringList m_sslErrors;
    // Made on the first connection, so that a monitor that never checks mail
    // never loads the TLS libraries. Last, so that it goes first and its
    // signals find everything intact.
    std::unique_ptr<QSslSocket> m_socket;
};
