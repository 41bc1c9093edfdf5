#include "SetPasswordSequence.h"

#include "IntlStrings.h"
#include "PasswordPrompt.h"
#include "Settings.h"
#include "ShiftedText.h"

SetPasswordSequence::SetPasswordSequence(Settings& settings, const IntlStrings& intl,
                                         PasswordPrompt& prompt)
    : m_settings(settings), m_intl(intl), m_prompt(prompt) {}

bool SetPasswordSequence::run() {
    PasswordRequest request{m_intl.IntlStr(5400), m_intl.IntlStr(5420), m_intl.IntlStr(1000),
                            m_intl.IntlStr(1010)};
    const auto first = m_prompt.ask(request);
    if (!first)
        return false;
    // An empty password switches the check off in effect; nothing to verify.
    if (!first->isEmpty()) {
        request.label = m_intl.IntlStr(5430);
        for (;;) {
            const auto again = m_prompt.ask(request);
            if (!again)
                return false;
            if (*again == *first)
                break;
            request.label = m_intl.IntlStr(5440);
        }
    }
    m_settings.WriteText(kSettingsKey, QStringLiteral("PW"), ShiftedText::shift(*first));
    return true;
}
