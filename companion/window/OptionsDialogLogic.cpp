#include "OptionsDialogLogic.h"

#include "CompanionSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kUnknown = QStringLiteral("unknown");
const QString kLastLogPath = QStringLiteral("Last Log Path");
} // namespace

OptionsDialogLogic::OptionsDialogLogic(Settings& settings, const DosPathMapper& paths,
                                       const FormatSettings& fmt)
    : m_settings(settings), m_paths(paths), m_fmt(fmt) {}

std::vector<LogFileRow> OptionsDialogLogic::loadRows() const {
    const CompanionSettings companion(m_settings);
    std::vector<LogFileRow> rows;
    for (int slot = 1; slot <= kSlots; ++slot) {
        const QString path = companion.logFile(slot);
        if (!path.isEmpty())
            rows.push_back(describe(path));
    }
    return rows;
}

// A stored path may be a DOS path from the monitor's settings; the row shows
// where the file really is, but keeps the stored text for writing back.
LogFileRow OptionsDialogLogic::describe(const QString& storedPath) const {
    const QFileInfo info(m_paths.toNative(storedPath));
    LogFileRow row;
    row.path = storedPath;
    row.name = info.fileName();
    row.location = QDir::toNativeSeparators(info.absolutePath());
    if (!row.location.endsWith(QDir::separator()))
        row.location += QDir::separator();
    QFile file(info.absoluteFilePath());
    if (info.isFile() && file.open(QIODevice::ReadOnly)) {
        const QDateTime written = info.lastModified().toLocalTime();
        row.lastUpdated =
            m_fmt.formatDate(written.date()) + QLatin1Char(' ') + m_fmt.formatTime(written.time());
        row.size = QString::number(file.size());
    } else {
        row.lastUpdated = kUnknown;
        row.size = kUnknown;
    }
    return row;
}

OptionsValues OptionsDialogLogic::loadValues() const {
    const CompanionSettings companion(m_settings);
    return {companion.reportPath(), companion.askForReportName(), companion.purge(),
            companion.purgeAfter()};
}

void OptionsDialogLogic::apply(const std::vector<LogFileRow>& rows, const OptionsValues& values) {
    m_settings.store().transaction([&] {
        m_settings.store().deleteKey(RegRoot::CurrentUser, kLogFilesKey);
        int slot = 0;
        for (const LogFileRow& row : rows)
            m_settings.WriteText(kLogFilesKey, QStringLiteral("Log file %1").arg(++slot), row.path);
        m_settings.WriteFlag(kCompanionKey, QStringLiteral("Ask for reportname"),
                             values.askForReportName);
        m_settings.WriteFlag(kCompanionKey, QStringLiteral("Purge"), values.purge);
        m_settings.WriteText(kCompanionKey, QStringLiteral("Purge after"), values.purgeAfter);
        if (!values.reportPath.isEmpty())
            m_settings.WriteText(kCompanionKey, QStringLiteral("Report Path"), values.reportPath);
    });
}

void OptionsDialogLogic::storeReportPath(const QString& folder) {
    m_settings.WriteText(kCompanionKey, QStringLiteral("Report Path"), folder);
}

QString OptionsDialogLogic::lastLogFolder() const {
    return m_paths.toNative(
        m_settings.ReadText(kCompanionKey, kLastLogPath, QStringLiteral("c:\\")));
}

LogFileRow OptionsDialogLogic::addFile(const QString& file) {
    const QString stored = QDir::toNativeSeparators(file);
    m_settings.WriteText(kCompanionKey, kLastLogPath,
                         QDir::toNativeSeparators(QFileInfo(stored).absolutePath()));
    return describe(stored);
}
