#pragma once
// The companion's start-up steps that do not need a window: the command-line
// switches, seeding the log-file list on the first start from the monitor's
// log location, and recording where the program is installed.

#include "RegistryStore.h"

#include <QString>
#include <QStringList>

namespace CompanionStartup {

// "/REGSERVER" or "-unregserver" (any case) end the program before any
// window is shown; there are no automation classes to (un)register.
bool endsAtOnce(const QStringList& arguments);

// True when "Log file 1" is missing or empty.
bool isFirstStart(RegistryStore& store);
// The monitor's log file as its log writer finds it: the machine-wide "Log
// filename", else the per-user "Log Filename", else "c:\access.txt".
QString monitorLogFile(const RegistryStore& store);
// Stores the monitor's log file as "Log file 1"; returns it.
QString seedFirstLogFile(RegistryStore& store);

// Writes "path" under the companion's machine-wide key; false when the store
// refuses the write.
bool recordProgramPath(RegistryStore& store, const QString& programFile);

} // namespace CompanionStartup
