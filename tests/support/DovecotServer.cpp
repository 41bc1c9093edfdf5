#include "DovecotServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Dovecot will not deliver mail as root; its mail processes run as nobody.
constexpr uid_t kMailUid = 65534;
constexpr int kStartTimeoutMs = 15000;
constexpr int kStopTimeoutMs = 10000;

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

QString dovecotProgram() {
    QString path = QStandardPaths::findExecutable(QStringLiteral("dovecot"));
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(QStringLiteral("dovecot"),
                                              {QStringLiteral("/usr/sbin")});
    return path;
}

} // namespace

QString DovecotServer::unavailableReason() {
    if (::geteuid() != 0)
        return QStringLiteral("dovecot needs root to hand mail to another user");
    if (dovecotProgram().isEmpty())
        return QStringLiteral("dovecot is not installed (package dovecot-pop3d)");
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        return QStringLiteral("openssl is not installed");
    return QString();
}

DovecotServer::~DovecotServer() {
    stop();
}

bool DovecotServer::start(QString* error) {
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    // The mail processes, running as nobody, must reach the mail folders.
    ::chmod(m_dir.path().toLocal8Bit().constData(), 0755);
    if (!makeCertificate(error) || !writeMail(error))
        return false;
    m_pop3Port = freePort();
    m_pop3sPort = freePort();
    writeConfig();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(dovecotProgram(),
                    {QStringLiteral("-F"), QStringLiteral("-c"), m_dir.path() + "/dovecot.conf"});
    if (!m_process.waitForStarted() || !waitUntilListening()) {
        *error =
            QStringLiteral("dovecot did not start: ") + QString::fromLocal8Bit(m_process.readAll());
        stop();
        return false;
    }
    return true;
}

void DovecotServer::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool DovecotServer::makeCertificate(QString* error) {
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                   m_dir.path() + "/key.pem", QStringLiteral("-out"), certificateFile(),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=localhost"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=DNS:localhost")});
    if (openssl.waitForFinished(60000) && openssl.exitCode() == 0)
        return true;
    *error = QStringLiteral("openssl failed: ") + QString::fromLocal8Bit(openssl.readAll());
    return false;
}

// Maildir folders: "empty" has none, "full" three messages in new/.
bool DovecotServer::writeMail(QString* error) {
    const QString mail = m_dir.path() + QStringLiteral("/mail");
    for (const char* user : {"empty", "full"})
        for (const char* sub : {"new", "cur", "tmp"})
            QDir().mkpath(QStringLiteral("%1/%2/%3").arg(mail, user, sub));
    for (int i = 1; i <= kMessagesOfFull; ++i) {
        const QByteArray message =
            "From: a@example.org\r\nSubject: " + QByteArray::number(i) + "\r\n\r\nHello\r\n";
        if (!writeFile(QStringLiteral("%1/full/new/100%2.test").arg(mail).arg(i), message)) {
            *error = QStringLiteral("cannot write the test mail");
            return false;
        }
    }
    const QByteArray users = "empty:{PLAIN}secret:65534:65534::" + mail.toLocal8Bit() +
                             "/empty::\n" +
                             "full:{PLAIN}secret:65534:65534::" + mail.toLocal8Bit() + "/full::\n";
    writeFile(m_dir.path() + QStringLiteral("/users"), users);
    QProcess::execute(
        QStringLiteral("chown"),
        {QStringLiteral("-R"), QString::number(kMailUid) + ':' + QString::number(kMailUid), mail});
    return true;
}

void DovecotServer::writeConfig() {
    const QByteArray d = m_dir.path().toLocal8Bit();
    const QByteArray conf = "protocols = pop3\n"
                            "listen = 127.0.0.1\n"
                            "base_dir = " +
                            d +
                            "/base\n"
                            "state_dir = " +
                            d +
                            "/state\n"
                            "log_path = " +
                            d +
                            "/dovecot.log\n"
                            "ssl = yes\n"
                            "ssl_cert = <" +
                            d +
                            "/cert.pem\n"
                            "ssl_key = <" +
                            d +
                            "/key.pem\n"
                            "disable_plaintext_auth = no\n"
                            "auth_mechanisms = plain login\n"
                            "auth_failure_delay = 0\n"
                            "passdb {\n  driver = passwd-file\n  args = " +
                            d +
                            "/users\n}\n"
                            "userdb {\n  driver = passwd-file\n  args = " +
                            d +
                            "/users\n}\n"
                            "mail_location = maildir:" +
                            d +
                            "/mail/%u\n"
                            "service pop3-login {\n"
                            "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " +
                            QByteArray::number(m_pop3Port) +
                            "\n  }\n"
                            "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " +
                            QByteArray::number(m_pop3sPort) +
                            "\n  }\n"
                            "}\n";
    writeFile(m_dir.path() + QStringLiteral("/dovecot.conf"), conf);
}

// Dovecot forks its listeners; the port answering is the only sure sign.
bool DovecotServer::waitUntilListening() {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < kStartTimeoutMs && m_process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_pop3Port);
        if (probe.waitForConnected(200) && probe.waitForReadyRead(2000))
            return true;
        QThread::msleep(50);
    }
    return false;
}
