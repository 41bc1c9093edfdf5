#include "CompanionSettings.h"

QString CompanionSettings::logFile(int slot) const {
    return m_settings.ReadText(kLogFilesKey, QStringLiteral("Log file %1").arg(slot), QString());
}

bool CompanionSettings::purge() const {
    return m_settings.ReadFlag(kCompanionKey, QStringLiteral("Purge"), false);
}

QString CompanionSettings::purgeAfter() const {
    return m_settings.ReadText(kCompanionKey, QStringLiteral("Purge after"), QStringLiteral("6"));
}

QString CompanionSettings::reportPath() const {
    return m_settings.ReadText(kCompanionKey, QStringLiteral("Report Path"),
                               QStringLiteral("c:\\"));
}

bool CompanionSettings::askForReportName() const {
    return m_settings.ReadFlag(kCompanionKey, QStringLiteral("Ask for reportname"), false);
}
