#pragma once
// What the companion's window is given from outside: the settings store, the
// clock, the user's formats, the modal dialogs, help and printing. Production
// passes the real ones; tests pass fakes.

#include "Clock.h"
#include "DialogPresenter.h"
#include "FormatSettings.h"
#include "HelpService.h"
#include "RegistryStore.h"
#include "ReportFiles.h"

#include <QLocale>
#include <QString>

struct CompanionServices {
    RegistryStore& store;
    Clock& clock;
    FormatSettings formats;
    // The locale whose collation sorts the list's text columns.
    QLocale collation;
    DialogPresenter& dialogs;
    HelpService& help;
    ReportPrinter& printer;
    // Stored as "path" in the machine-wide key at start.
    QString programFile;
};
