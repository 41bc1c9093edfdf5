#include "CompanionStartup.h"

#include "CompanionSettings.h"
#include "Settings.h"

namespace CompanionStartup {

namespace {

QString readString(const RegistryStore& store, RegRoot root, const QString& key,
                   const QString& name) {
    try {
        const auto v = store.readValue(root, key, name);
        if (v && v->type == RegType::String)
            return v->text;
    } catch (const RegistryError&) {
        // An unreadable value counts as a missing one: the next place is tried.
    }
    return QString();
}

} // namespace

bool endsAtOnce(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (!a.startsWith(QLatin1Char('/')) && !a.startsWith(QLatin1Char('-')))
            continue;
        const QString word = a.mid(1);
        if (word.compare(QLatin1String("REGSERVER"), Qt::CaseInsensitive) == 0 ||
            word.compare(QLatin1String("UNREGSERVER"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isFirstStart(RegistryStore& store) {
    return Settings(store)
        .ReadText(kLogFilesKey, QStringLiteral("Log file 1"), QString())
        .isEmpty();
}

QString monitorLogFile(const RegistryStore& store) {
    const QString machine =
        readString(store, RegRoot::LocalMachine, kMachineKey, QStringLiteral("Log filename"));
    if (!machine.isEmpty())
        return machine;
    const QString user =
        readString(store, RegRoot::CurrentUser, kSettingsKey, QStringLiteral("Log Filename"));
    return user.isEmpty() ? QStringLiteral("c:\\access.txt") : user;
}

QString seedFirstLogFile(RegistryStore& store) {
    const QString path = monitorLogFile(store);
    Settings(store).WriteText(kLogFilesKey, QStringLiteral("Log file 1"), path);
    return path;
}

bool recordProgramPath(RegistryStore& store, const QString& programFile) {
    try {
        store.writeValue(RegRoot::LocalMachine, kCompanionKey, QStringLiteral("path"),
                         RegValue::fromString(programFile));
        return true;
    } catch (const RegistryError&) {
        return false;
    }
}

} // namespace CompanionStartup
