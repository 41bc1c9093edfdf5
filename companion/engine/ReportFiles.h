#pragma once
// "Save report" and "Print report": the proposed file name, the report
// folder (a stored DOS path is mapped), writing the text and printing it.

#include "Clock.h"
#include "CompanionObserver.h"
#include "CompanionSettings.h"
#include "CompanionStrings.h"
#include "FormatSettings.h"

#include <QStringList>

// Hands a text file to the printing service.
class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    // False when the file could not be handed over.
    virtual bool print(const QString& path) = 0;
};

// Prints with "lp FILE", started directly (never through a shell).
class LpPrinter : public ReportPrinter {
public:
    explicit LpPrinter(QString program = QStringLiteral("lp"), int timeoutMs = 30000);
    bool print(const QString& path) override;

private:
    QString m_program;
    int m_timeoutMs;
};

class ReportFiles {
public:
    ReportFiles(const Settings& settings, const CompanionStrings& strings,
                const FormatSettings& fmt, const Clock& clock, CompanionObserver& observer);

    // "Usage report (" + today's short date + ").txt", with the characters a
    // file name cannot hold ("/", "\") replaced by "-".
    QString proposedName() const;
    // "Report Path" as a native folder.
    QString reportFolder() const;

    // Writes the report under the proposed name, or asks for the file first
    // when "Ask for reportname" is on. False when nothing was written.
    bool SaveReport(const QStringList& lines);
    // Writes the report under the proposed name, then prints it; warns with
    // message 1040 when either fails.
    bool PrintReport(const QStringList& lines, ReportPrinter& printer);

    // UTF-8, each line ending with CR LF; the file is replaced only when the
    // whole text was written. On failure error holds the system's reason.
    static bool write(const QString& path, const QStringList& lines, QString* error);

private:
    void warn(const QString& text);

    const Settings& m_settings;
    CompanionSettings m_companionSettings;
    const CompanionStrings& m_strings;
    FormatSettings m_fmt;
    const Clock& m_clock;
    CompanionObserver& m_observer;
};
