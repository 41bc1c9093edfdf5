#pragma once
// Reads desktop entries back and checks them with the freedesktop validator
// where it is installed.

#include <QHash>
#include <QString>

namespace DesktopEntryCheck {

// The keys of the [Desktop Entry] group, values as written.
QHash<QString, QString> keys(const QString& file);
// desktop-file-validate's errors and warnings; "" when it accepts the file.
QString validate(const QString& file);
// Whether desktop-file-validate is installed (desktop-file-utils).
bool available();

} // namespace DesktopEntryCheck
