#pragma once
// The settings dialog without its widgets: what it shows when it opens, the
// enabling rules, Apply, and the buttons that act at once (Reset to zero,
// the chime's Browse and Play, the phone-book editor, the password). The
// window's TfrmSettings and the headless run both drive it.

#include "SettingsApply.h"
#include "SettingsDialogContext.h"
#include "SettingsValues.h"

#include <functional>
#include <memory>

class IntlStrings;
class SoundPlayer;

class SettingsDialog {
public:
    using ApplyResult = SettingsApply::Result;

    explicit SettingsDialog(const SettingsDialogContext& context);
    ~SettingsDialog();

    const SettingsDialogContext& context() const { return m_ctx; }
    const IntlStrings& intl() const { return m_ctx.tariff.intl; }
    // What the controls show; the views copy their controls in before Apply.
    SettingsValues& values() { return m_values; }
    const SettingsValues& values() const { return m_values; }

    // On show, once the captions are set: the phone book (a warning box when
    // it cannot be read), the e-mail programs and every value; the transfer
    // rate switched off at once where no counters can be read; whether the
    // program starts with the session.
    void Show();
    // The enabling rules for the values shown now.
    SettingsEnabling enabling() const;

    // Apply, and OK before it closes the dialog. recaption runs when the
    // values are written, before the load-on-demand question.
    ApplyResult Apply(const std::function<void()>& recaption = {});

    // The rates dialog closed with OK: it stores the normal rate as well, so
    // the rate edit takes that value (one rate chosen afterwards must not put
    // the old one back).
    void RatesStored();
    // Reset to zero: after a question, the user's totals are 0 at once (the
    // computer's stay); true when they were reset.
    bool ResetToZero();
    // The Dialdart page's Properties: the selected entry in the connection
    // source's editor, a warning box when that fails.
    void EditEntry();
    // The chime's Browse chose file: it is shown and stored at once.
    void ChimeFileChosen(const QString& file);
    // Play: the stored chime sound, not the edit; a box when it cannot play.
    // player must outlive the dialog or be destroyed with it.
    void PlayChime(SoundPlayer& player);
    // CheckBox10 or CheckBox11 changed; ticking one while no password is
    // stored runs the set-password sequence at once.
    void ProtectionTicked(bool checked);
    // Password...: the set-password sequence; the password is stored at once.
    void SetPassword();
    // View log: the main window's log viewer.
    void ViewLog();

private:
    SettingsDialogContext m_ctx;
    SettingsValues m_values;
    bool m_byteCounters = false;
};
