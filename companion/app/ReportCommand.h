#pragma once
// The report mode of the companion: one compile run, then the report text
// (or one chart's data lines) on standard output or in a file.

#include "CommandLine.h"

// Returns the exit status: 0, or 1 when a failure was reported.
int runReportCommand(const CommandLine& line, const QString& registryFile);
