#pragma once
// What the rates, holidays and wizard dialogs need from the run, handed to
// them by whoever opens them (the Monitor Wizard, the settings dialog).

#include <functional>

class IntlStrings;
class Settings;
struct FormatSettings;

struct TariffDialogContext {
    Settings& settings;
    const IntlStrings& intl;
    const FormatSettings& formats;
    // Offers the holiday definitions for download (the question first, then
    // the web page); empty when this run has no way to open the page, and the
    // holidays dialog's button is then disabled.
    std::function<void()> downloadHolidays;
};
