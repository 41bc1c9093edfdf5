#include "MailPrograms.h"

#include "DesktopMailHandlers.h"
#include "DosPath.h"
#include "RegistryStore.h"

#include <QProcess>

namespace {

QString commandKey(const QString& name) {
    return MailPrograms::kClientsKey + QLatin1Char('\\') + name +
           QStringLiteral("\\shell\\open\\command");
}

// A stored path as a native one. Windows ignores spaces at the end of a
// file name, so the space that the split keeps before a switch does not
// keep the program from starting.
QString nativeProgram(const RegistryStore& store, const QString& stored) {
    QString path = stored;
    while (path.endsWith(QLatin1Char(' ')))
        path.chop(1);
    if (path.isEmpty())
        return path;
    return DosPathMapper::fromStore(store).toNative(path);
}

MailProgram fromStore(const RegistryStore& store, const QString& name) {
    const auto value = store.readValue(RegRoot::LocalMachine, commandKey(name), QString());
    const QString commandLine = value && value->type == RegType::String ? value->text : QString();
    const MailPrograms::StoredCommand split = MailPrograms::splitStoredCommand(commandLine);
    return {name, nativeProgram(store, split.program), QProcess::splitCommand(split.parameters)};
}

} // namespace

namespace MailPrograms {

StoredCommand splitStoredCommand(const QString& commandLine) {
    QString program = commandLine;
    if (program.contains(QLatin1Char('"'))) {
        program = program.mid(1);
        const int quote = program.indexOf(QLatin1Char('"'));
        if (quote >= 0)
            program.truncate(quote);
    }
    const int slash = program.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {program, QString()};
    return {program.left(slash), program.mid(slash)};
}

QStringList names(const RegistryStore& store) {
    QStringList out = store.subKeyNames(RegRoot::LocalMachine, kClientsKey);
    for (const DesktopMailHandler& h : DesktopMailHandlers::list())
        if (!out.contains(h.name, Qt::CaseInsensitive))
            out << h.name;
    return out;
}

QString defaultName(const RegistryStore& store) {
    const auto value = store.readValue(RegRoot::LocalMachine, kClientsKey, QString());
    if (value && value->type == RegType::String && !value->text.isEmpty())
        return value->text;
    const QList<DesktopMailHandler> handlers = DesktopMailHandlers::list();
    if (!handlers.isEmpty() && handlers.first().isDefault)
        return handlers.first().name;
    return QString();
}

MailProgram find(const RegistryStore& store, const QString& name) {
    if (!name.isEmpty() && store.keyExists(RegRoot::LocalMachine, commandKey(name)))
        return fromStore(store, name);
    const QList<DesktopMailHandler> handlers = DesktopMailHandlers::list();
    for (const DesktopMailHandler& h : handlers)
        if (h.name.compare(name, Qt::CaseInsensitive) == 0 ||
            h.id.compare(name, Qt::CaseInsensitive) == 0)
            return {h.name, h.program, h.arguments};
    if (!handlers.isEmpty())
        return {handlers.first().name, handlers.first().program, handlers.first().arguments};
    return {name, QString(), {}};
}

} // namespace MailPrograms
