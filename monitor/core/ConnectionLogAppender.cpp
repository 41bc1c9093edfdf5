#include "ConnectionLogAppender.h"

#include "DosPath.h"
#include "EventKind.h"
#include "IntlStrings.h"
#include "LogFile.h"
#include "MachineValues.h"
#include "Settings.h"
#include "TRegistryEnhanced.h"

#include <cerrno>

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

ConnectionLogAppender::ConnectionLogAppender(RegistryStore& store, const IntlStrings& intl,
                                             EventSink& events)
    : m_store(store), m_intl(intl), m_events(events) {}

QString ConnectionLogAppender::storedLogFileName(RegistryStore& store) {
    TRegistryEnhanced machine(store);
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
    const Settings settings(store);
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

QStringList ConnectionLogAppender::pendingLines() const {
    const auto value = m_store.readValue(RegRoot::LocalMachine, kMachineKey, kPendingLogLines);
    if (!value || value->type != RegType::String)
        return {};
    return value->text.split(kLineEnd, Qt::SkipEmptyParts);
}

void ConnectionLogAppender::forgetPending(const QString& line) {
    try {
        m_store.transaction([&] {
            QStringList lines = pendingLines();
            if (!lines.removeOne(line))
                return;
            if (lines.isEmpty())
                m_store.deleteValue(RegRoot::LocalMachine, kMachineKey, kPendingLogLines);
            else
                m_store.writeValue(RegRoot::LocalMachine, kMachineKey, kPendingLogLines,
                                   RegValue::fromString(lines.join(kLineEnd)));
        });
    } catch (const RegistryError&) {
        // Left pending, the line is looked for in the log at the next start.
    }
}

void ConnectionLogAppender::AppendPendingLines() {
    const QString path = logFilePath();
    const QStringList lines = pendingLines();
    for (const QString& line : lines) {
        const int error = LogFile::appendLineUnlessPresent(path, line);
        if (error == EWOULDBLOCK) {
            // Waits like any line that found the file locked too long.
            m_waiting.append(line);
            continue;
        }
        if (error != 0)
            reportOpenError(path, error);
        forgetPending(line);
    }
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
        forgetPending(line);
    }
    if (reportEach)
        for (const QString& line : std::as_const(m_waiting))
            m_events.PostEvent(m_intl.IntlStr(9660) + line, EventKind::Error);
}
