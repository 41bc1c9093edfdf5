#pragma once
// What one showing of the settings dialog works with: the store and texts,
// the connection source (phone book, counters) and the session, how it asks
// and reports (the monitor view's boxes, the password prompt), the desktop
// entries it writes, and the commands it hands on.

#include "TariffDialogContext.h"

#include <QString>

#include <functional>

class DialdartIcon;
class MonitorView;
class PasswordPrompt;
class RasApi;
class RunEntry;
struct SessionState;

struct SettingsDialogContext {
    TariffDialogContext tariff;
    RasApi& ras;
    const SessionState& session;
    // The message boxes and questions of the dialog.
    MonitorView& view;
    PasswordPrompt& password;
    RunEntry& runEntry;
    DialdartIcon& dialdartIcon;
    // What the start-with-the-session entry runs.
    QString programPath;
    // Where a chime sound stored without a folder lies.
    QString soundFolder;
    // The main window's log viewer, behind its own gate.
    std::function<void()> viewLog;
    // Ends the program in order (after the dialog has closed).
    std::function<void()> endProgram;
};
