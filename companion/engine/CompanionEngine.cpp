#include "CompanionEngine.h"

#include "Converters.h"
#include "DateTimeReader.h"
#include "DosPath.h"
#include "LogFile.h"
#include "LogPurge.h"
#include "NumberReader.h"

namespace {
const QString kCaption = QStringLiteral("Tollwatch Companion");
constexpr int kProgressPerFile = 15;
} // namespace

CompanionEngine::CompanionEngine(RegistryStore& store, Clock& clock, const FormatSettings& fmt,
                                 CompanionObserver& observer, const StringTable* table)
    : m_store(store), m_settings(store), m_companionSettings(m_settings),
      m_strings(m_settings, table), m_clock(clock), m_fmt(fmt), m_observer(observer) {}

void CompanionEngine::warn(const QString& text) {
    m_observer.showMessage({kCaption, text, MessageIcon::Warning, MessageButtons::Ok, false});
}

void CompanionEngine::UpdateListWindow() {
    m_observer.setBusy(true);
    startRun();
    if (const auto cutOff = purgeCutOff()) {
        readLogFiles(*cutOff);
        compileReport();
        LoadChartData();
        m_observer.setProgressVisible(false);
        m_observer.setStatusText(0, m_strings.IntlStr(StringId::CompileComplete));
    }
    m_observer.setBusy(false);
}

void CompanionEngine::startRun() {
    m_counters = RunCounters();
    m_progress = 0;
    m_observer.setProgress(0);
    m_rows.clear();
    m_tables = UsageTables();
    m_report = ReportText();
    m_outcome = ReportOutcome::Complete;
    m_observer.compileStarted();
}

std::optional<QDate> CompanionEngine::purgeCutOff() {
    const QString monthsBack = m_companionSettings.purgeAfter();
    try {
        return LogPurge::cutOffDate(m_clock.now().date(), StrToInt(monthsBack));
    } catch (const ConversionError&) {
        warn(QStringLiteral("\"Purge after\" is not a whole number of months: \"%1\". "
                            "No log file was read.")
                 .arg(monthsBack));
        return std::nullopt;
    }
}

QString CompanionEngine::slotPath(int slot) const {
    if (m_files)
        return m_files->value(slot - 1);
    return m_companionSettings.logFile(slot);
}

void CompanionEngine::advanceProgress(int step) {
    m_progress = std::min(100, m_progress + step);
    m_observer.setProgress(m_progress);
}

void CompanionEngine::readLogFiles(const QDate& cutOff) {
    const bool purge = m_companionSettings.purge();
    const DateTimeReader dates(m_fmt, m_clock.now().date().year());
    const QByteArray abnormal = m_strings.IntlStr(StringId::AbnormalExit).toUtf8();
    const DosPathMapper paths = DosPathMapper::fromStore(m_store);
    m_observer.setProgressVisible(true);
    for (int slot = 1; slot <= CompanionSettings::kCompiledSlots; ++slot) {
        const QString stored = slotPath(slot);
        if (stored.isEmpty())
            continue; // gaps between slots are allowed
        m_observer.setStatusText(0, m_strings.IntlStr(StringId::Opening) + stored);
        advanceProgress(kProgressPerFile);
        readLogFile(stored, paths.toNative(stored), purge, cutOff, dates, abnormal);
    }
    m_observer.setStatusText(1, QStringLiteral(" %1").arg(m_rows.rowCount()) +
                                    m_strings.IntlStr(StringId::Entries));
    m_progress = 80;
    m_observer.setProgress(m_progress);
    m_observer.setStatusText(0, m_strings.IntlStr(StringId::CompilingReport));
}

void CompanionEngine::readLogFile(const QString& stored, const QString& native, bool purge,
                                  const QDate& cutOff, const DateTimeReader& dates,
                                  const QByteArray& abnormal) {
    LogFile::RewriteOptions options;
    // A file another program holds locked is given a moment, then reported.
    options.wait.pause = [this](int milliseconds) {
        m_clock.sleep(milliseconds);
    };
    try {
        QByteArray content;
        if (purge) {
            // The purge reads and rewrites the file under the exclusive lock, so
            // a line the monitor appends meanwhile waits and is never lost.
            LogFile::rewrite(
                native,
                [&](const QByteArray& old) {
                    content = LogPurge::purged(old, cutOff, dates);
                    return content;
                },
                options);
        } else {
            content = LogFile::readAll(native, options.wait);
        }
        m_rows.appendFile(content, abnormal, m_counters);
    } catch (const std::exception&) {
        warn(stored + m_strings.IntlStr(StringId::UnableToProcess) + QLatin1Char('\n') +
             m_strings.IntlStr(StringId::PathUnavailable));
    }
}

void CompanionEngine::compileReport() {
    ReportBuilder builder(m_strings, m_fmt);
    builder.begin(m_clock.now());
    const NumberReader numbers(m_fmt);
    const DateTimeReader dates(m_fmt, m_clock.now().date().year());
    m_tables.build(m_rows, numbers, dates, m_counters);
    m_progress = 90;
    m_observer.setProgress(m_progress);
    m_outcome = builder.finish(m_rows.rowCount(), m_tables, m_counters);
    m_report = builder.report();
    if (m_outcome == ReportOutcome::EmptyList) {
        const MessageAnswer answer =
            m_observer.showMessage({kCaption, m_strings.IntlStr(StringId::NoValidEntries),
                                    MessageIcon::Warning, MessageButtons::YesNo, true});
        if (answer == MessageAnswer::Yes)
            m_observer.openHelp(1);
    } else if (m_outcome == ReportOutcome::InvalidEntries) {
        warn(m_strings.IntlStr(StringId::InvalidLogEntries));
    }
}

bool CompanionEngine::LoadChartData() {
    auto chart = ChartLines::build(m_chartKind, m_tables, m_strings);
    if (!chart)
        return false; // the chart keeps what it showed
    m_chart = std::move(*chart);
    return true;
}

ReportFiles CompanionEngine::reportFiles() {
    return ReportFiles(m_settings, m_strings, m_fmt, m_clock, m_observer);
}

bool CompanionEngine::SaveReport(const QStringList& lines) {
    return reportFiles().SaveReport(lines);
}

bool CompanionEngine::PrintReport(const QStringList& lines, ReportPrinter& printer) {
    return reportFiles().PrintReport(lines, printer);
}
