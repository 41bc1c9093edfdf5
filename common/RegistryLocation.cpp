#include "RegistryLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace RegistryLocation {

namespace {
const QString kOption = QStringLiteral("--registry");
// Everything after "--" is an operand, even when it looks like the option.
const QString kEndOfOptions = QStringLiteral("--");

// The store holds the shifted passwords: its folder is the user's alone,
// also when an earlier version made it readable by everyone.
void makePrivateFolder(const QString& folder) {
    QDir().mkpath(QFileInfo(folder).path());
    const QByteArray name = QFile::encodeName(folder);
    ::mkdir(name.constData(), 0700);
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & 077) != 0)
        ::chmod(name.constData(), st.st_mode & 0700);
}
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
    makePrivateFolder(folder);
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
