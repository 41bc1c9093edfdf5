#pragma once
// `tollwatch --headless`: the monitor without widgets, one line per
// occurrence on stdout, on the real clock or on a scenario's virtual clock.

#include "CommandLine.h"

#include <QString>

namespace HeadlessSession {

// Needs a QCoreApplication. Returns the exit status: 0 after an orderly end,
// 2 when the store or the scenario cannot be used, 3 after an orderly end
// that could not store or log everything it timed. A "crash" directive ends
// the process with status 99.
int run(const CommandLine& commandLine, const QString& storeFile);

} // namespace HeadlessSession
