#include "CommandLine.h"

#include "SqliteRegistryStore.h"

namespace {

// "--name VALUE" or "--name=VALUE"; advances i past the value.
bool takeValue(const QStringList& args, int& i, const QString& name, QString& value) {
    const QString& a = args.at(i);
    if (a.startsWith(name + QLatin1Char('='))) {
        value = a.mid(name.size() + 1);
        return true;
    }
    if (a != name)
        return false;
    if (i + 1 >= args.size())
        throw CommandLineError((name + QStringLiteral(" needs a value")).toStdString());
    value = args.at(++i);
    return true;
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine cl;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("/I"))
            cl.install = true;
        else if (a == QLatin1String("/c") || a == QLatin1String("/C"))
            cl.dialAndExit = true;
        else if (a == QLatin1String("/U"))
            cl.explainSecondStart = true;
        else if (a == QLatin1String("--headless"))
            cl.headless = true;
        else if (a == QLatin1String("--trace"))
            cl.trace = true;
        else if (a == QLatin1String(SqliteRegistryStore::kFreshStoreOption))
            cl.freshStore = true;
        else if (takeValue(arguments, i, QStringLiteral("--registry"), cl.registryFile) ||
                 takeValue(arguments, i, QStringLiteral("--ras"), cl.connectionSource))
            continue;
        else if (a.startsWith(QLatin1String("--")))
            throw CommandLineError(("unknown option " + a).toStdString());
        // Anything else is ignored, as the program always did.
    }
    return cl;
}
