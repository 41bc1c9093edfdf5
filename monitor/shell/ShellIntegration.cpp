#include "ShellIntegration.h"

#include "DosPath.h"
#include "IntlStrings.h"
#include "ProgramIcons.h"
#include "RegistryStore.h"
#include "ShellFolders.h"
#include "TPBShellLink.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString kRunValue = QStringLiteral("Tollwatch");
const QString kPrevious = QStringLiteral("Farrowline.desktop");
// The text of the entries' Comment key.
constexpr int kCommentText = 9470;
} // namespace

ShellIntegration::ShellIntegration(RegistryStore& store, const IntlStrings& intl, QString program)
    : m_store(store), m_intl(intl), m_program(std::move(program)),
      m_folder(QFileInfo(m_program).absolutePath()) {}

QString ShellIntegration::comment() const {
    try {
        return m_intl.IntlStr(kCommentText);
    } catch (const std::exception&) {
        // A "Language" that is no number must not stop an entry being written.
        return QString();
    }
}

SessionAutostart ShellIntegration::autostart() const {
    return SessionAutostart(m_store, kRunValue, {comment(), ProgramIcons::iconFor(0, m_folder)});
}

bool ShellIntegration::startsWithSession() const {
    return autostart().isOn();
}

void ShellIntegration::setStartWithSession(bool on) {
    if (on)
        autostart().turnOn(m_program);
    else
        autostart().turnOff();
}

void ShellIntegration::syncAutostart() {
    autostart().sync();
}

QString ShellIntegration::dialdartIconFile() const {
    return joinPath(ShellFolders(m_store).path(ShellFolder::Desktop),
                    QStringLiteral("Dialdart.desktop"));
}

void ShellIntegration::setDialdartIcon(bool on) {
    if (!on) {
        QFile::remove(dialdartIconFile());
        return;
    }
    TPBShellLink link;
    link.ShellFolder = ShellFolders(m_store).path(ShellFolder::Desktop);
    link.setFileName(QStringLiteral("Dialdart"));
    link.Target = m_program;
    link.Arguments = {QStringLiteral("/C")};
    link.Description = comment();
    link.FileIcon = {ProgramIcons::iconFor(1, m_folder), 1};
    link.Launcher = true;
    link.Save();
    autostart().turnOff();
}

QString ShellIntegration::startMenuEntryFile() const {
    return joinPath(ShellFolders(m_store).path(ShellFolder::Programs),
                    QStringLiteral("Tollwatch.desktop"));
}

void ShellIntegration::createStartMenuEntry() {
    TPBShellLink link;
    link.ShellFolder = ShellFolders(m_store).path(ShellFolder::Programs);
    link.setFileName(QStringLiteral("Tollwatch"));
    link.Target = m_program;
    link.Description = comment();
    link.FileIcon = {ProgramIcons::iconFor(0, m_folder), 0};
    link.Categories = {QStringLiteral("Network"), QStringLiteral("Monitor")};
    link.Save();
}

QString ShellIntegration::previousUninstallString() const {
    try {
        const auto v = m_store.readValue(RegRoot::LocalMachine, kPreviousUninstallKey,
                                         QStringLiteral("UninstallString"));
        if (v && v->type == RegType::String)
            return v->text;
    } catch (const RegistryError&) {
        // Unreadable: as if there were no earlier version.
    }
    return QString();
}

void ShellIntegration::removePreviousVersion() {
    try {
        m_store.deleteKey(RegRoot::LocalMachine, kPreviousUninstallKey);
    } catch (const RegistryError&) {
        // The clean-up of the earlier version ignores every failure.
    }
    const ShellFolders folders(m_store);
    for (ShellFolder f : {ShellFolder::Programs, ShellFolder::StartUp})
        QFile::remove(joinPath(folders.path(f), kPrevious));
}
