#pragma once
// The desktop's e-mail programs: the applications that handle mailto:
// addresses (x-scheme-handler/mailto), found as freedesktop desktop entries
// in the XDG data folders, with the associations that mimeapps.list files
// add or remove. The one that xdg-mime reports as the default comes first.

#include <QList>
#include <QString>
#include <QStringList>

struct DesktopMailHandler {
    // The desktop file id ("thunderbird.desktop").
    QString id;
    // The entry's Name, as listed to the user.
    QString name;
    QString program;
    QStringList arguments;
    // The one xdg-mime names as the default.
    bool isDefault = false;
};

namespace DesktopMailHandlers {

inline const QString kMailtoType = QStringLiteral("x-scheme-handler/mailto");

// Every handler, the default first, the others by name.
QList<DesktopMailHandler> list();
// The desktop file id that xdg-mime names as the default; empty when it
// names none or cannot be run.
QString defaultId();

} // namespace DesktopMailHandlers
