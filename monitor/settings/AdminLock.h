#pragma once
// The administrator's gate before the settings window, the wizard, the log
// viewer and the exit command: asks for the password when the action is
// protected and compares the shifted entry with the stored "PW".

#include "MonitorFeatures.h"

class EventSink;
class IntlStrings;
class PasswordPrompt;
class Settings;
struct SessionState;

class AdminLock : public AdminGate {
public:
    AdminLock(const Settings& settings, const IntlStrings& intl, EventSink& events,
              const SessionState& session, PasswordPrompt& prompt);

    // true when the action must not go ahead: cancelled or a wrong password.
    bool IsItProtected(bool exitCommand) override;

    // Whether the action asks at all ("Protect propwnd" / "Protect exitcmd").
    bool isProtected(bool exitCommand) const;

private:
    const Settings& m_settings;
    const IntlStrings& m_intl;
    EventSink& m_events;
    const SessionState& m_session;
    PasswordPrompt& m_prompt;
};
