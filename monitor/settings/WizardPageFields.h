#pragma once
// The Monitor Wizard's pages as rows of text fields, for a run without
// widgets: the labels and values of the page shown, and the values typed
// back. Flags are "true"/"false", the tariff kind "fixed", "different" or
// "time", the language a list index.

#include "MonitorWizard.h"

#include <QStringList>

namespace WizardPageFields {

// The design name of a page ("Noll", "First", ...).
QString pageName(WizardPage page);
// The labels of the fields of the page shown, in the current language and
// without their shortcut marks.
QStringList labels(const MonitorWizard& wizard);
QStringList values(const MonitorWizard& wizard);
// Takes typed values in the order of values(); a missing or empty field, a
// flag or kind that is no such word, keeps what the page showed.
void apply(MonitorWizard& wizard, const QStringList& typed);

} // namespace WizardPageFields
