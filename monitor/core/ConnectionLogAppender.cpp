#include "ConnectionLogAppender.h"

#include "DosPath.h"
#include "EventKind.h"
#include "IntlStrings.h"
#include "LogFile.h"
#include "Settings.h"
#include "TRegistryEnhanced.h"

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
    const QString path = logFilePath();
    const int error = LogFile::appendLine(path, text);
    if (error != 0)
        m_events.PostEvent(m_intl.IntlStr(60) + path + QLatin1Char('(') + QString::number(error) +
                               QLatin1Char(')'),
                           EventKind::Error);
}
