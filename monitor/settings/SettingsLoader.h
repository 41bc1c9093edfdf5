#pragma once
// Fills the settings dialog's values when it is shown: the phone book, the
// e-mail programs and every option as the store holds it, with the defaults
// this dialog reads them with.

#include "SettingsValues.h"

struct FormatSettings;
class IntlStrings;
class RasApi;
class Settings;

namespace SettingsLoader {

// The phone book, at most this many entries, like the connection menus.
inline constexpr int kMaxEntries = 100;

// The entries in the source's order, the stored Dialdart entry selected:
// by its name while the phone book has it (an entry list in a new order
// must not switch Dialdart to another provider), else by its stored index.
// false when the phone book cannot be read; the list is empty then.
bool loadEntries(RasApi& ras, const Settings& settings, SettingsValues& values);

// The e-mail programs, the chosen one (or the system's default) selected.
// A stored choice that is not listed is added, so that Apply keeps it.
void loadMailClients(const Settings& settings, SettingsValues& values);

// Every other control's value.
void loadValues(const Settings& settings, const IntlStrings& intl, const FormatSettings& formats,
                SettingsValues& values);

} // namespace SettingsLoader
