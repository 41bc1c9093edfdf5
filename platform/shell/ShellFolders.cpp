#include "ShellFolders.h"

#include "DosPath.h"
#include "RegistryStore.h"

#include <QStandardPaths>

QString ShellFolders::valueName(ShellFolder which) {
    switch (which) {
    case ShellFolder::Programs:
        return QStringLiteral("Programs");
    case ShellFolder::Desktop:
        return QStringLiteral("Desktop");
    case ShellFolder::StartUp:
        break;
    }
    return QStringLiteral("StartUp");
}

QString ShellFolders::xdgPath(ShellFolder which) {
    switch (which) {
    case ShellFolder::Programs:
        return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    case ShellFolder::Desktop:
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case ShellFolder::StartUp:
        break;
    }
    return joinPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                    QStringLiteral("autostart"));
}

QString ShellFolders::path(ShellFolder which) const {
    try {
        const auto v = m_store.readValue(RegRoot::CurrentUser, kShellFoldersKey, valueName(which));
        if (v && v->type == RegType::String && !v->text.trimmed().isEmpty())
            return DosPathMapper::fromStore(m_store).toNative(v->text.trimmed());
    } catch (const RegistryError&) {
        // An unreadable store leaves the desktop's own places.
    }
    return xdgPath(which);
}
