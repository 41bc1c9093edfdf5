#include "StatusQuery.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QLocalSocket>

namespace {
const QByteArray kStatusRequest = "status\n";
const QByteArray kFollowRequest = "status follow\n";
} // namespace

StatusQuery::StatusQuery(const QString& serverName, Form form, const FormatSettings& formats,
                         Printer print, QObject* parent)
    : QObject(parent), m_serverName(serverName), m_form(form), m_formats(formats),
      m_print(std::move(print)) {
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &StatusQuery::connectToMonitor);
}

StatusQuery::~StatusQuery() = default;

bool StatusQuery::show(const MonitorStatus& status) {
    m_notRunningShown = false;
    if (m_form == Form::Line)
        return m_print(StatusText::line(status, m_formats));
    return m_print(QString::fromUtf8(
        QJsonDocument(StatusText::json(status, m_formats)).toJson(QJsonDocument::Compact)));
}

bool StatusQuery::showNotRunning() {
    if (m_notRunningShown)
        return true;
    m_notRunningShown = true;
    if (m_form == Form::Line)
        return m_print(StatusText::notRunningLine());
    return m_print(QString::fromUtf8(
        QJsonDocument(StatusText::notRunningJson()).toJson(QJsonDocument::Compact)));
}

int StatusQuery::askOnce(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    const QDeadlineTimer deadline(timeoutMs);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        showNotRunning();
        return kNotRunning;
    }
    socket.write(kStatusRequest);
    while (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState &&
           socket.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    const auto status =
        socket.canReadLine() ? MonitorStatus::fromJson(socket.readLine().trimmed()) : std::nullopt;
    if (!status)
        return kNoAnswer;
    return show(*status) ? kAnswered : kNoAnswer;
}

int StatusQuery::follow(int retryMs) {
    m_retry.setInterval(retryMs);
    connectToMonitor();
    return QCoreApplication::exec();
}

void StatusQuery::connectToMonitor() {
    m_socket = std::make_unique<QLocalSocket>();
    QLocalSocket* socket = m_socket.get();
    connect(socket, &QLocalSocket::connected, this, [socket] { socket->write(kFollowRequest); });
    connect(socket, &QLocalSocket::readyRead, this, &StatusQuery::readAnswers);
    connect(socket, &QLocalSocket::disconnected, this, &StatusQuery::lost);
    connect(socket, &QLocalSocket::errorOccurred, this, &StatusQuery::lost);
    socket->connectToServer(m_serverName);
}

void StatusQuery::readAnswers() {
    while (m_socket->canReadLine()) {
        const auto status = MonitorStatus::fromJson(m_socket->readLine().trimmed());
        if (status && !show(*status))
            QCoreApplication::exit(kNoAnswer); // nobody reads any more
    }
}

// The monitor ended or is not there: say so once, and look again later.
void StatusQuery::lost() {
    if (m_retry.isActive() || !m_socket)
        return;
    m_socket->disconnect(this);
    m_socket.release()->deleteLater();
    if (!showNotRunning())
        QCoreApplication::exit(kNoAnswer);
    m_retry.start();
}
