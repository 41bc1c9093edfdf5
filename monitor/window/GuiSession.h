#pragma once
// `tollwatch` on a desktop: the status window and its tray icon on the real
// clock, one run per settings store.

#include "CommandLine.h"

class MonitorApplication;

namespace GuiSession {

// Returns the exit status: 0 after an orderly end, 2 when the store or the
// scenario cannot be used.
int run(MonitorApplication& app, const CommandLine& commandLine, const QString& storeFile);

} // namespace GuiSession
