#pragma once
// The companion's command line: the report mode's options, and the switches
// kept from the old program ("/REGSERVER" ends at once).

#include "ChartData.h"

#include <QString>
#include <QStringList>

#include <optional>

struct CommandLine {
    enum class Action { Window, Report, EndAtOnce, Help, Version, Usage };
    // What --report writes: the report text, or the usage tables as data.
    enum class Format { Text, Csv, Json };
    Action action = Action::Window;
    QString output;                 // empty: standard output
    std::optional<ChartKind> chart; // the chart lines instead of the report
    Format format = Format::Text;
    bool rows = false;                // --rows: the data has the connection rows too
    std::optional<QStringList> files; // instead of the stored slots
    QString error;                    // why the line is not understood

    // The arguments without the program name and without --registry FILE.
    static CommandLine parse(const QStringList& arguments);
};

// The --help text.
QString companionHelpText();
