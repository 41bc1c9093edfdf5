#include "AdminLock.h"

#include "EventKind.h"
#include "IntlStrings.h"
#include "PasswordPrompt.h"
#include "SessionState.h"
#include "Settings.h"
#include "ShiftedText.h"

AdminLock::AdminLock(const Settings& settings, const IntlStrings& intl, EventSink& events,
                     const SessionState& session, PasswordPrompt& prompt)
    : m_settings(settings), m_intl(intl), m_events(events), m_session(session), m_prompt(prompt) {}

bool AdminLock::isProtected(bool exitCommand) const {
    const QString name =
        exitCommand ? QStringLiteral("Protect exitcmd") : QStringLiteral("Protect propwnd");
    return m_settings.ReadFlag(kSettingsKey, name, false);
}

bool AdminLock::IsItProtected(bool exitCommand) {
    if (!isProtected(exitCommand))
        return false;
    const auto entered = m_prompt.ask(
        {m_intl.IntlStr(5410), m_intl.IntlStr(5460), m_intl.IntlStr(1000), m_intl.IntlStr(1010)});
    if (!entered)
        return true;
    // The stored form is never shifted back: the entry is shifted down and
    // the two stored forms are compared, letter case included.
    const QString stored = m_settings.ReadText(kSettingsKey, QStringLiteral("PW"), QString());
    if (ShiftedText::shift(*entered) != stored) {
        m_events.PostEvent(m_intl.IntlStr(5450), EventKind::Error);
        return true;
    }
    // No text: only the tray icon and the status picture come back.
    m_events.PostEvent(QString(), m_session.Online ? EventKind::Connected : EventKind::Information);
    return false;
}
