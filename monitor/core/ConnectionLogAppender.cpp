#include "ConnectionLogAppender.h"

#include "DosPath.h"
#include "EventKind.h"
#include "IntlStrings.h"
#include "LogFile.h"
#include "Settings.h"
#include "TRegistryEnhanced.h"

#include <cerrno>

ConnectionLogAppender::ConnectionLogAppender(RegistryStore& store, const IntlStrings& intl,
                                             EventSink& events)
    : m_store(store), m_intl(intl), m_events(events) {}

QString ConnectionLogAppender::storedLogFileName() const {
    TRegistryEnhanced machine(m_store);
    machine.RootKey = TRootKey::hkLocalMachine;
    machine.Key = kMachineKey;
    try {
        const QVariant v = machine.ReadValue(QStringLiteral("Log filename"));
        // Only a string names a file; a value of another type is unreadable.
        if (v.metaType().id() == QMetaType::QString && !v.toString().isEmpty())
            return v.toString();
    } catch (const RegistryError&) {
        // An unreadable machine value leaves the choice to the user's value.
    }
    const Settings settings(m_store);
    return settings.ReadText(kSettingsKey, QStringLiteral("Log Filename"),
                             QStringLiteral("c:\\access.txt"));
}

QString ConnectionLogAppender::logFilePath() const {
    return DosPathMapper::fromStore(m_store).toNative(storedLogFileName());
}

void ConnectionLogAppender::AppendLogLine(const QString& text) {
    m_waiting.append(text);
    writeWaiting(false);
}

bool ConnectionLogAppender::RetryUnwritten() {
    if (!m_waiting.isEmpty())
        writeWaiting(false);
    return m_waiting.isEmpty();
}

bool ConnectionLogAppender::RetryUnwrittenAtExit() {
    if (!m_waiting.isEmpty())
        writeWaiting(true);
    return m_waiting.isEmpty();
}

void ConnectionLogAppender::reportOpenError(const QString& path, int error) {
    m_events.PostEvent(m_intl.IntlStr(60) + path + QLatin1Char('(') + QString::number(error) +
                           QLatin1Char(')'),
                       EventKind::Error);
}

void ConnectionLogAppender::writeWaiting(bool reportEach) {
    const QString path = logFilePath();
    while (!m_waiting.isEmpty()) {
        // Taken off first: a line whose write failed half-way is not written twice.
        const QString line = m_waiting.takeFirst();
        const int error = LogFile::appendLine(path, line);
        if (error == EWOULDBLOCK) {
            m_waiting.prepend(line);
            if (!m_lockReported)
                reportOpenError(path, error);
            m_lockReported = true;
            break;
        }
        if (error != 0)
            reportOpenError(path, error);
        m_lockReported = false;
    }
    if (reportEach)
        for (const QString& line : std::as_const(m_waiting))
            m_events.PostEvent(m_intl.IntlStr(9660) + line, EventKind::Error);
}
