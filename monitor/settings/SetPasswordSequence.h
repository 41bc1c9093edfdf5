#pragma once
// Sets the administrator password: asks for it, asks again to verify it
// until both entries agree, and stores the shifted form as "PW" at once,
// whatever the dialog that started the sequence does afterwards.

class IntlStrings;
class PasswordPrompt;
class Settings;

class SetPasswordSequence {
public:
    SetPasswordSequence(Settings& settings, const IntlStrings& intl, PasswordPrompt& prompt);

    // true when a new password was stored; false when the user cancelled
    // (the old password stays in force).
    bool run();

private:
    Settings& m_settings;
    const IntlStrings& m_intl;
    PasswordPrompt& m_prompt;
};
