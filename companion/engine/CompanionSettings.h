#pragma once
// The companion's own settings (log-file slots, purge rule, report folder),
// read from the store at every call.

#include "Settings.h"

#include <QString>

// The companion's key; "Tollwatch companion" names the same key.
inline const QString kCompanionKey = QStringLiteral("Software\\Varnholt\\Tollwatch Companion");
inline const QString kLogFilesKey =
    QStringLiteral("Software\\Varnholt\\Tollwatch Companion\\Log Files");

class CompanionSettings {
public:
    // The compile run reads slots 1 to 40 ("Log file 1" onwards).
    static constexpr int kCompiledSlots = 40;

    explicit CompanionSettings(const Settings& settings) : m_settings(settings) {}

    // The stored path of one slot; empty for an empty slot.
    QString logFile(int slot) const;
    bool purge() const;
    // "Purge after" as stored (default "6"); the caller converts it.
    QString purgeAfter() const;
    // "Report Path" as stored (default "c:\").
    QString reportPath() const;
    bool askForReportName() const;

private:
    const Settings& m_settings;
};
