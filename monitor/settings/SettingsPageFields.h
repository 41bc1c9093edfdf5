#pragma once
// The settings dialog's pages as rows of text fields, for a run without
// widgets: the labels and values of a page, and the values typed back.
// Flags are "true"/"false", the Dialdart entry and the e-mail program are
// names, the language a list index or entry, the security "none", "STLS" or
// "POP3S".

#include "SettingsValues.h"

#include <QList>
#include <QStringList>

class IntlStrings;

namespace SettingsPageFields {

// A name for the page in the run's output ("TimeAndCost", "Dialdart", ...).
QString pageName(SettingsPage page);
// The labels of the page's fields in the current language, without their
// shortcut marks; currency is the unit of the cost warning.
QStringList labels(SettingsPage page, const IntlStrings& intl, const QString& currency);
QStringList values(SettingsPage page, const SettingsValues& values);
// The fields that are passwords (never written out).
QList<int> passwordFields(SettingsPage page);
// Takes typed values in the order of values(); a missing or empty field, or
// one that is no such word or number, keeps what the page showed.
void apply(SettingsPage page, SettingsValues& values, const QStringList& typed);

} // namespace SettingsPageFields
