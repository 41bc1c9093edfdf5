#pragma once
// What the Options dialog does with the store: the log-file list of slots 1
// to 150 with each file's name, folder, last write and size, the report and
// purge settings, and "Apply", which rewrites the list without gaps.

#include "DosPath.h"
#include "FormatSettings.h"
#include "Settings.h"

#include <QString>

#include <vector>

struct LogFileRow {
    QString path;        // as stored, exactly as the user chose it
    QString name;        // file name
    QString location;    // folder, ending in the platform's separator
    QString lastUpdated; // local date and time, or "unknown"
    QString size;        // bytes, or "unknown"
};

struct OptionsValues {
    QString reportPath;
    bool askForReportName = false;
    bool purge = false;
    QString purgeAfter;
};

class OptionsDialogLogic {
public:
    // The dialog lists (and keeps) more slots than a compile run reads.
    static constexpr int kSlots = 150;

    OptionsDialogLogic(Settings& settings, const DosPathMapper& paths, const FormatSettings& fmt);

    std::vector<LogFileRow> loadRows() const;
    LogFileRow describe(const QString& storedPath) const;
    OptionsValues loadValues() const;

    // Replaces the "Log files" subkey by the rows in order (slots 1, 2, 3 ...)
    // and writes the report and purge settings, all in one go.
    void apply(const std::vector<LogFileRow>& rows, const OptionsValues& values);

    // "&Change...": the chosen folder is stored at once.
    void storeReportPath(const QString& folder);
    // Where "&Add..." opens, as a native folder.
    QString lastLogFolder() const;
    // A file chosen with "&Add...": its row; its folder becomes "Last Log Path".
    LogFileRow addFile(const QString& file);

private:
    Settings& m_settings;
    DosPathMapper m_paths;
    FormatSettings m_fmt;
};
