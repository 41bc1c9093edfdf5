#pragma once
// A real POP3 server for tests: dovecot on loopback, run as the test's own
// process with a private configuration, state and mail in a temporary
// folder, and stopped and reaped with the test. It serves two accounts,
// "empty" (no messages) and "full" (three), both with the password
// "secret", plain and with STLS on pop3Port(), with TLS from the start on
// pop3sPort(), presenting a certificate for "localhost" made for it alone
// (trust it by naming certificateFile() in SSL_CERT_FILE).

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class DovecotServer {
public:
    static constexpr int kMessagesOfFull = 3;

    // Why it cannot run on this machine (not root, dovecot or openssl
    // missing); empty when it can.
    static QString unavailableReason();

    DovecotServer() = default;
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // Starts it and waits until it listens; false with a reason otherwise.
    bool start(QString* error);
    void stop();

    quint16 pop3Port() const { return m_pop3Port; }
    quint16 pop3sPort() const { return m_pop3sPort; }
    QString certificateFile() const { return m_dir.path() + QStringLiteral("/cert.pem"); }

private:
    bool makeCertificate(QString* error);
    bool writeMail(QString* error);
    void writeConfig();
    bool waitUntilListening();

    QTemporaryDir m_dir{QStringLiteral("/tmp/tollwatch-dovecot-XXXXXX")};
    QProcess m_process;
    quint16 m_pop3Port = 0;
    quint16 m_pop3sPort = 0;
};
