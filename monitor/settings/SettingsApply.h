#pragma once
// Apply of the settings dialog (OK runs it too): the values written in their
// fixed order, the desktop's Dialdart launcher, and the question whether to
// end the program for load on demand. A conversion that fails (a user time
// that is no integer, a warning limit that is no number) or a write that
// fails stops it where it is: what came before stays written.

#include "SettingsDialogContext.h"
#include "SettingsValues.h"

#include <functional>

class Settings;

class SettingsApply {
public:
    enum class Result {
        Applied,
        // A step failed and was reported; the dialog stays open.
        Stopped,
        // The user chose to end the program for load on demand.
        Exit
    };

    SettingsApply(const SettingsDialogContext& context, const SettingsValues& values);

    // recaption runs once everything is written.
    Result run(const std::function<void()>& recaption);

private:
    void machineValues();
    void runEntry();
    void mailAndDialdart();
    void desktopIcon();
    void choices();
    void flags();
    void totals();
    void chimeSound();
    void warnings();
    bool endForLoadOnDemand();
    void write(const char* name, const QString& text);
    void write(const char* name, bool flag);

    const SettingsDialogContext& m_ctx;
    const SettingsValues& m_v;
    Settings& m_settings;
};

// The chime sound as the sound events know it: the label of the event and
// the file, under HKEY_CURRENT_USER "AppEvents".
void WriteChimeSound(Settings& settings, const QString& file);
