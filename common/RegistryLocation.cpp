#include "RegistryLocation.h"

#include <QDir>
#include <QStandardPaths>

namespace RegistryLocation {

namespace {
const QString kOption = QStringLiteral("--registry");
// Everything after "--" is an operand, even when it looks like the option.
const QString kEndOfOptions = QStringLiteral("--");
} // namespace

QString resolve(const QStringList& arguments) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == kEndOfOptions)
            break;
        if (a == kOption && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (a.startsWith(kOption + QLatin1Char('=')))
            return a.mid(kOption.size() + 1);
    }
    const QString env = qEnvironmentVariable("TOLLWATCH_REGISTRY");
    if (!env.isEmpty())
        return env;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    const QString folder = config + QStringLiteral("/varnholt");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/registry.sqlite");
}

QStringList withoutRegistryOption(const QStringList& arguments) {
    QStringList out;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == kEndOfOptions) {
            out << arguments.mid(i);
            break;
        }
        if (a == kOption) {
            ++i;
            continue;
        }
        if (a.startsWith(kOption + QLatin1Char('=')))
            continue;
        out << a;
    }
    return out;
}

} // namespace RegistryLocation
