#include "ReportFiles.h"

#include "DosPath.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

LpPrinter::LpPrinter(QString program, int timeoutMs)
    : m_program(std::move(program)), m_timeoutMs(timeoutMs) {}

bool LpPrinter::print(const QString& path) {
    QProcess lp;
    lp.setProgram(m_program);
    // An absolute path can never be taken for an option.
    lp.setArguments({QFileInfo(path).absoluteFilePath()});
    lp.setWorkingDirectory(QDir::homePath());
    lp.setStandardOutputFile(QProcess::nullDevice());
    lp.start();
    if (!lp.waitForStarted(m_timeoutMs))
        return false;
    if (!lp.waitForFinished(m_timeoutMs)) {
        lp.kill();
        lp.waitForFinished();
        return false;
    }
    return lp.exitStatus() == QProcess::NormalExit && lp.exitCode() == 0;
}

ReportFiles::ReportFiles(const Settings& settings, const CompanionStrings& strings,
                         const FormatSettings& fmt, const Clock& clock, CompanionObserver& observer)
    : m_settings(settings), m_companionSettings(settings), m_strings(strings), m_fmt(fmt),
      m_clock(clock), m_observer(observer) {}

QString ReportFiles::proposedName() const {
    QString date = m_fmt.formatDate(m_clock.now().date());
    date.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char('\\'), QLatin1Char('-'));
    return m_strings.IntlStr(StringId::UsageReportName) + date + QStringLiteral(").txt");
}

QString ReportFiles::reportFolder() const {
    return DosPathMapper::fromStore(m_settings.store()).toNative(m_companionSettings.reportPath());
}

bool ReportFiles::write(const QString& path, const QStringList& lines, QString* error) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

void ReportFiles::warn(const QString& text) {
    m_observer.showMessage({QStringLiteral("Tollwatch Companion"), text, MessageIcon::Warning,
                            MessageButtons::Ok, false});
}

bool ReportFiles::SaveReport(const QStringList& lines) {
    QString path = joinPath(reportFolder(), proposedName());
    if (m_companionSettings.askForReportName()) {
        const auto chosen = m_observer.askReportFileName(
            {QStringLiteral("Save master log"),
             QStringLiteral("Log text files|*.txt; *.log|All files|*.*"), QStringLiteral("txt"),
             reportFolder(), proposedName(), true});
        if (!chosen)
            return false;
        path = *chosen;
    }
    QString error;
    if (write(path, lines, &error))
        return true;
    warn(QStringLiteral("Cannot write %1: %2").arg(path, error));
    return false;
}

bool ReportFiles::PrintReport(const QStringList& lines, ReportPrinter& printer) {
    const QString path = joinPath(reportFolder(), proposedName());
    if (write(path, lines, nullptr) && printer.print(path))
        return true;
    warn(m_strings.IntlStr(StringId::PrintFailed) + m_companionSettings.reportPath());
    return false;
}
