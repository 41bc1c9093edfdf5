#pragma once
// The "Dialdart Run" program, started when a connection comes up after a
// Dialdart dial in this run; a message box says when it cannot be started,
// and the session goes on.

#include "MonitorParts.h"
#include "Shell.h"

class DosPathMapper;
struct ProgramCall;

class AfterConnectProgram {
public:
    // parts and shell outlive this object.
    AfterConnectProgram(const MonitorParts& parts, Shell& shell);

    void RunAfterConnectProgram();

private:
    ShellResult launch(const ProgramCall& call, const DosPathMapper& paths);

    MonitorParts m_parts;
    Shell& m_shell;
};
