#include "TWSocket.h"

#include "SocketFailure.h"
#include "TWait.h"
#include "WaitDisplay.h"

#include <QHostInfo>
#include <QSslConfiguration>
#include <QSslError>

#include <netdb.h>

namespace {

constexpr int kNoWaitObject = SocketFailure::kNoData;
constexpr qint64 kReadBuffer = 64 * 1024;

// IPv4 addresses first, as the old socket layer knew no other.
QList<QHostAddress> ordered(const QList<QHostAddress>& addresses) {
    QList<QHostAddress> out;
    for (const QHostAddress& a : addresses)
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            out << a;
    for (const QHostAddress& a : addresses)
        if (a.protocol() != QAbstractSocket::IPv4Protocol)
            out << a;
    return out;
}

// The system's trusted authorities. OpenSSL lets SSL_CERT_FILE and
// SSL_CERT_DIR name further ones (a company's own authority, a test's);
// Qt's default configuration does not look at them, so they are added here.
// Reading them all takes a while, so it is done once for each setting of
// the two, and only for connections that use TLS.
QSslConfiguration trustConfiguration() {
    static QString madeFor;
    static QSslConfiguration made = QSslConfiguration::defaultConfiguration();
    const QString file = qEnvironmentVariable("SSL_CERT_FILE");
    const QString dirs = qEnvironmentVariable("SSL_CERT_DIR");
    const QString key = file + QLatin1Char('\n') + dirs;
    if (key == madeFor)
        return made;
    QList<QSslCertificate> extra;
    if (!file.isEmpty())
        extra += QSslCertificate::fromPath(file, QSsl::Pem);
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        extra += QSslCertificate::fromPath(dir + QStringLiteral("/*"), QSsl::Pem,
                                           QSslCertificate::PatternSyntax::Wildcard);
    made = QSslConfiguration::defaultConfiguration();
    if (!extra.isEmpty())
        made.setCaCertificates(QSslConfiguration::systemCaCertificates() + extra);
    madeFor = key;
    return made;
}

bool inUse(TWSocket::TSocketState state) {
    return state == TWSocket::wsConnecting || state == TWSocket::wsConnected;
}

} // namespace

TWSocket::TWSocket() = default;

TWSocket::~TWSocket() {
    if (!m_socket)
        return;
    QObject::disconnect(m_socket.get(), nullptr, nullptr, nullptr);
    m_socket->abort();
}

QSslSocket& TWSocket::socket() {
    if (!m_socket) {
        m_socket = std::make_unique<QSslSocket>();
        // A server that floods the line cannot fill the memory: beyond this the
        // socket stops reading and TCP holds the sender back.
        m_socket->setReadBufferSize(kReadBuffer);
        wire();
    }
    return *m_socket;
}

void TWSocket::wire() {
    QObject::connect(m_socket.get(), &QSslSocket::connected, m_socket.get(),
                     [this] { onConnected(); });
    QObject::connect(m_socket.get(), &QSslSocket::encrypted, m_socket.get(),
                     [this] { onEncrypted(); });
    QObject::connect(m_socket.get(), &QSslSocket::readyRead, m_socket.get(),
                     [this] { onReadyRead(); });
    QObject::connect(m_socket.get(), &QSslSocket::errorOccurred, m_socket.get(),
                     [this](QAbstractSocket::SocketError e) { onError(e); });
    QObject::connect(m_socket.get(), &QSslSocket::disconnected, m_socket.get(),
                     [this] { onClosedByPeer(); });
    QObject::connect(m_socket.get(), &QSslSocket::sslErrors, m_socket.get(),
                     [this](const QList<QSslError>& errors) {
                         for (const QSslError& e : errors)
                             m_sslErrors << e.errorString();
                     });
}

void TWSocket::setAddr(const QString& host) {
    if (inUse(m_state))
        throw ESocketException(QStringLiteral("Cannot change Addr if not closed"));
    const QString name = host.trimmed();
    QHostAddress literal;
    if (literal.setAddress(name)) {
        m_addresses = {literal};
    } else {
        const QHostInfo info = QHostInfo::fromName(name);
        if (name.isEmpty() || info.error() != QHostInfo::NoError || info.addresses().isEmpty())
            throw ESocketException(
                QStringLiteral("SetAddr: Cannot convert host address '%1'").arg(name));
        m_addresses = ordered(info.addresses());
    }
    m_hostName = name;
}

void TWSocket::setPort(const QString& port) {
    if (inUse(m_state))
        throw ESocketException(QStringLiteral("Cannot change Port if not closed"));
    const QString text = port.trimmed();
    const auto fail = [&text] {
        return ESocketException(QStringLiteral("SetPort: Cannot convert port '%1'").arg(text));
    };
    if (!text.isEmpty() && text.at(0).isDigit()) {
        int digits = 0;
        while (digits < text.size() && text.at(digits).isDigit())
            ++digits;
        bool ok = false;
        const uint number = text.left(digits).toUInt(&ok);
        if (!ok || number > 65535)
            throw fail();
        m_port = quint16(number);
        return;
    }
    const servent* service = ::getservbyname(text.toLatin1().constData(), "tcp");
    if (!service)
        throw fail();
    m_port = ntohs(quint16(service->s_port));
}

void TWSocket::Connect() {
    if (inUse(m_state))
        throw ESocketException(QStringLiteral("Connect: Socket already in use"));
    if (m_port == 0)
        throw ESocketException(QStringLiteral("Connect: No Port Specified"));
    if (m_addresses.isEmpty())
        throw ESocketException(QStringLiteral("Connect: No IP Address Specified"));
    m_lineInProgress = m_lineComplete = false;
    m_line.clear();
    m_pendingError = 0;
    m_tlsFailure.clear();
    m_sslErrors.clear();
    socket().abort();
    socket().setPeerVerifyName(m_hostName);
    setState(wsConnecting);
    socket().connectToHost(m_addresses.first(), m_port);
}

void TWSocket::setState(TSocketState state) {
    m_state = state;
    const bool awaitedCame = m_awaited == state || (m_awaited == wsConnected && state == wsClosed);
    if (awaitedCame && m_wait)
        m_wait->Stop();
}

bool TWSocket::runCountdown(int seconds) {
    m_wait->setCaption(QString::number(seconds));
    return m_wait->StartModal() == TWait::Stopped;
}

bool TWSocket::WaitForState(TSocketState state, int seconds) {
    if (m_state == state)
        return true;
    if (!m_wait)
        throw ESocketException(SocketFailure::text(kNoWaitObject, QStringLiteral("TWSocket.Wait")));
    if (state == wsConnected && m_state == wsClosed)
        return false;
    m_awaited = state;
    WaitDisplay* display = m_wait->display();
    if (display)
        display->setCountdownVisible(true);
    runCountdown(seconds);
    if (display)
        display->setCountdownVisible(false);
    m_awaited = wsInvalidState;
    return m_state == state;
}

QString TWSocket::ReadLine(int seconds) {
    if (!m_wait)
        throw ESocketException(QStringLiteral("No wait object assigned"));
    if (!m_lineInProgress) {
        m_line.clear();
        m_lineInProgress = true;
    }
    m_lineComplete = false;
    readAvailable();
    // Nothing more can come on a closed socket.
    if (!m_lineComplete && m_state == wsConnected && m_pendingError == 0) {
        m_awaitingLine = true;
        runCountdown(seconds);
        m_awaitingLine = false;
    }
    raisePendingFailure(QStringLiteral("ReadLine"));
    if (m_lineComplete || m_state != wsConnected)
        m_lineInProgress = false;
    return QString::fromUtf8(m_line);
}

void TWSocket::readAvailable() {
    char c = 0;
    while (!m_lineComplete && socket().bytesAvailable() > 0 && socket().getChar(&c)) {
        if (c == '\n') {
            m_lineComplete = true;
        } else if (c != '\r') {
            m_line.append(c);
            if (m_line.size() >= kMaxLine) {
                m_lineComplete = true;
                if (OnLineTooLong)
                    OnLineTooLong();
            }
        }
    }
}

void TWSocket::SendStr(const QString& text) {
    if (m_state != wsConnected) {
        Close();
        throw ESocketException(
            SocketFailure::text(SocketFailure::kNotConnected, QStringLiteral("Send")));
    }
    socket().write(text.toUtf8());
}

bool TWSocket::StartTls(int seconds) {
    if (m_state != wsConnected)
        return false;
    socket().setSslConfiguration(trustConfiguration());
    socket().startClientEncryption();
    if (!socket().isEncrypted() && m_state == wsConnected && m_wait) {
        m_awaitingTls = true;
        runCountdown(seconds);
        m_awaitingTls = false;
    }
    if (socket().isEncrypted())
        return true;
    recordTlsFailure();
    Close();
    return false;
}

void TWSocket::Close() {
    m_state = wsClosed;
    m_awaitingLine = m_awaitingTls = false;
    if (m_socket)
        m_socket->abort();
}

void TWSocket::onConnected() {
    if (m_state != wsConnecting)
        return;
    socket().setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    if (m_implicitTls) {
        socket().setSslConfiguration(trustConfiguration());
        socket().startClientEncryption();
    } else
        setState(wsConnected);
}

void TWSocket::onEncrypted() {
    if (m_state == wsConnecting)
        setState(wsConnected);
    else if (m_awaitingTls && m_wait)
        m_wait->Stop();
}

void TWSocket::onReadyRead() {
    if (!m_awaitingLine)
        return;
    readAvailable();
    if (m_lineComplete && m_wait)
        m_wait->Stop();
}

void TWSocket::onError(QAbstractSocket::SocketError error) {
    // A close by the server comes as disconnected() next, with what it sent
    // still readable; handled there.
    if (m_state == wsClosed || error == QAbstractSocket::RemoteHostClosedError)
        return;
    if (error == QAbstractSocket::SslHandshakeFailedError)
        recordTlsFailure();
    if (m_state == wsConnecting || error == QAbstractSocket::SslHandshakeFailedError) {
        // The connection never came about (refused, unreachable, rejected
        // certificate): the wait for it ends and nothing is raised. The
        // socket has closed itself; it is reset at the next Connect.
        setState(wsClosed);
        if (m_awaitingTls && m_wait)
            m_wait->Stop();
        return;
    }
    m_pendingError = SocketFailure::codeOf(error);
    if ((m_awaitingLine || m_awaitingTls) && m_wait)
        m_wait->Stop();
}

void TWSocket::onClosedByPeer() {
    if (m_state == wsClosed)
        return;
    if (m_awaitingLine) {
        readAvailable();
        m_lineComplete = true;
    }
    setState(wsClosed);
    if ((m_awaitingLine || m_awaitingTls) && m_wait)
        m_wait->Stop();
    if (OnSessionClosed)
        OnSessionClosed();
}

void TWSocket::recordTlsFailure() {
    if (!m_tlsFailure.isEmpty())
        return;
    m_tlsFailure =
        m_sslErrors.isEmpty() ? socket().errorString() : m_sslErrors.join(QStringLiteral("; "));
}

void TWSocket::raisePendingFailure(const QString& function) {
    if (m_pendingError == 0)
        return;
    const int code = m_pendingError;
    m_pendingError = 0;
    if (code == SocketFailure::kConnectionReset || code == SocketFailure::kNotConnected)
        Close();
    throw ESocketException(SocketFailure::text(code, function));
}
