#include "SessionAutostart.h"

#include "DosPath.h"
#include "RegistryStore.h"
#include "TPBShellLink.h"

#include <QFile>
#include <QFileInfo>

SessionAutostart::SessionAutostart(RegistryStore& store, QString valueName, AutostartLook look)
    : m_store(store), m_valueName(std::move(valueName)), m_look(std::move(look)) {}

QString SessionAutostart::program() const {
    try {
        const auto v = m_store.readValue(RegRoot::LocalMachine, kRunKey, m_valueName);
        if (v && v->type == RegType::String)
            return v->text;
    } catch (const RegistryError&) {
        // Unreadable counts as not set, like every other read of a setting.
    }
    return QString();
}

bool SessionAutostart::isOn() const {
    return !program().trimmed().isEmpty();
}

QString SessionAutostart::entryFile() const {
    return joinPath(ShellFolders(m_store).path(ShellFolder::StartUp),
                    m_valueName + QStringLiteral(".desktop"));
}

void SessionAutostart::turnOn(const QString& program) {
    m_store.writeValue(RegRoot::LocalMachine, kRunKey, m_valueName, RegValue::fromString(program));
    writeEntry(program);
}

void SessionAutostart::turnOff() {
    m_store.deleteValue(RegRoot::LocalMachine, kRunKey, m_valueName);
    removeEntry();
}

void SessionAutostart::sync() {
    if (isOn())
        writeEntry(program().trimmed());
    else
        removeEntry();
}

void SessionAutostart::writeEntry(const QString& program) const {
    TPBShellLink link;
    link.ShellFolder = ShellFolders(m_store).path(ShellFolder::StartUp);
    link.setFileName(m_valueName);
    // The value may hold a path written on Windows ("C:\...\TOLLWAT.EXE").
    link.Target = DosPathMapper::fromStore(m_store).toNative(program);
    link.Description = m_look.comment;
    link.FileIcon.FileName = m_look.icon;
    link.Save();
}

void SessionAutostart::removeEntry() const {
    const QString file = entryFile();
    if (QFileInfo::exists(file) && !QFile::remove(file))
        throw EPBShellLink(file + QStringLiteral(": cannot remove the autostart entry"));
}
