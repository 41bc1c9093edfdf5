#include "TPop3Client.h"

#include "SocketFailure.h"
#include "TWait.h"

#include <limits>

namespace {

// The leading decimal digits of text from pos on, as a 32-bit count; pos is
// left behind them. Larger numbers than a count can hold stay at its top.
qint32 readNumber(const QString& text, int& pos) {
    qint64 value = 0;
    while (pos < text.size() && text.at(pos).isDigit()) {
        value = qMin<qint64>(value * 10 + text.at(pos).digitValue(),
                             std::numeric_limits<qint32>::max());
        ++pos;
    }
    return qint32(value);
}

bool isGap(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

} // namespace

TPop3Client::TPop3Client() {
    m_socket.OnSessionClosed = [this] {
        if (m_wait)
            m_wait->Stop();
        m_state = pop3Disconnected;
    };
    m_socket.OnLineTooLong = [this] {
        m_lineTooLong = true;
    };
}

void TPop3Client::display(const QString& msg) {
    if (OnDisplay)
        OnDisplay(msg);
}

bool TPop3Client::fail(const QString& error) {
    m_errorMessage = error;
    display(error);
    return false;
}

bool TPop3Client::failConnection(const QString& error) {
    fail(error);
    m_socket.Close();
    return false;
}

void TPop3Client::SendCommand(const QString& text) {
    display(QStringLiteral("> ") + text);
    m_socket.SendStr(text + QStringLiteral("\r\n"));
}

bool TPop3Client::GetResponse() {
    m_lastResponse = m_socket.ReadLine(m_timeOut);
    display(QStringLiteral("< ") + m_lastResponse);
    return m_lastResponse.startsWith(QLatin1Char('+'));
}

bool TPop3Client::Connect() {
    m_timeStamp.clear();
    if (!m_wait)
        return fail(QStringLiteral("-ERR No wait object"));
    m_wait->OnTimeout = [this] {
        m_timedOut = true;
    };
    m_timedOut = false;
    if (m_state != pop3Disconnected)
        return true;
    m_errorMessage.clear();
    if (m_host.trimmed().isEmpty())
        return fail(QStringLiteral("-ERR No host specified"));
    if (!openSocket())
        return false;
    display(QStringLiteral("Connected with POP3 server"));
    if (!GetResponse()) {
        if (m_errorMessage.isEmpty())
            m_errorMessage = m_lastResponse;
        m_socket.Close();
        return false;
    }
    keepTimeStamp();
    if (m_security == PopSecurity::Stls && !startTls())
        return false;
    m_state = pop3WaitingUser;
    return true;
}

bool TPop3Client::openSocket() {
    m_socket.setWait(m_wait);
    m_socket.setPort(m_port);
    m_socket.setAddr(m_host);
    m_socket.setImplicitTls(m_security == PopSecurity::Pop3s);
    m_socket.Connect();
    if (m_socket.WaitForState(TWSocket::wsConnected, m_timeOut))
        return true;
    const QString host = m_host.trimmed();
    if (!m_socket.tlsFailure().isEmpty())
        return failConnection(
            QStringLiteral("-ERR TLS with host '%1' failed: %2").arg(host, m_socket.tlsFailure()));
    return failConnection(QStringLiteral("-ERR Can't connect to host '%1'").arg(host));
}

// STLS before anything else: a server that refuses it gets no password.
bool TPop3Client::startTls() {
    const QString host = m_host.trimmed();
    SendCommand(QStringLiteral("STLS"));
    if (!GetResponse())
        return failConnection(QStringLiteral("-ERR Host '%1' refused STLS").arg(host));
    if (!m_socket.StartTls(m_timeOut))
        return failConnection(
            QStringLiteral("-ERR TLS with host '%1' failed: %2").arg(host, m_socket.tlsFailure()));
    return true;
}

void TPop3Client::keepTimeStamp() {
    const int open = m_lastResponse.indexOf(QLatin1Char('<'));
    const int close = open < 0 ? -1 : m_lastResponse.indexOf(QLatin1Char('>'), open);
    if (close > open)
        m_timeStamp = m_lastResponse.mid(open, close - open + 1);
}

bool TPop3Client::User() {
    if (m_state >= pop3WaitingPass)
        return fail(QStringLiteral("-ERR USER command invalid now"));
    if (m_state == pop3Disconnected && !Connect())
        return false;
    SendCommand(QStringLiteral("USER ") + m_userName.trimmed());
    if (!GetResponse())
        return false;
    m_state = pop3WaitingPass;
    return true;
}

bool TPop3Client::Pass() {
    if (m_state >= pop3Transaction)
        return fail(QStringLiteral("-ERR ") + QStringLiteral("PASS") +
                    QStringLiteral(" command invalid now"));
    if (m_state != pop3WaitingPass && !User())
        return false;
    SendCommand(QStringLiteral("PASS ") + m_passWord.trimmed());
    if (!GetResponse())
        return false;
    m_state = pop3Transaction;
    return true;
}

bool TPop3Client::Stat() {
    m_msgCount = m_msgSize = 0;
    if (m_state <= pop3WaitingPass && !Pass())
        return false;
    if (m_state != pop3Transaction)
        return fail(QStringLiteral("-ERR ") + QStringLiteral("STAT") +
                    QStringLiteral(" command invalid now"));
    SendCommand(QStringLiteral("STAT"));
    if (!GetResponse())
        return false;
    return parseStat();
}

// "+OK 3 1200": the first number is the count, the next the size; a reply
// without a second field counts as no answer at all.
bool TPop3Client::parseStat() {
    const QString& r = m_lastResponse;
    int pos = 0;
    while (pos < r.size() && !r.at(pos).isDigit())
        ++pos;
    if (pos < r.size()) {
        const qint32 count = readNumber(r, pos);
        while (pos < r.size() && isGap(r.at(pos)))
            ++pos;
        if (pos < r.size()) {
            m_msgCount = count;
            m_msgSize = readNumber(r, pos);
            return true;
        }
    }
    m_msgCount = m_msgSize = 0;
    return false;
}

bool TPop3Client::Quit() {
    if (m_state == pop3Disconnected)
        return true;
    bool ok = false;
    try {
        SendCommand(QStringLiteral("QUIT"));
        ok = GetResponse();
    } catch (const ESocketException&) {
        ok = false;
    }
    m_state = pop3Disconnected;
    m_socket.Close();
    return ok;
}

void TPop3Client::Abort() {
    m_socket.Close();
    m_state = pop3Disconnected;
}
