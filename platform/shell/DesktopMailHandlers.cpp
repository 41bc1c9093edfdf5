#include "DesktopMailHandlers.h"

#include "ExecCommandLine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr int kXdgMimeTimeoutMs = 5000;

QStringList envDirs(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QString dataHome() {
    const QString value = qEnvironmentVariable("XDG_DATA_HOME");
    return value.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : value;
}

QString configHome() {
    const QString value = qEnvironmentVariable("XDG_CONFIG_HOME");
    return value.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : value;
}

// The applications folders, most important first.
QStringList applicationDirs() {
    QStringList dirs{dataHome() + QStringLiteral("/applications")};
    for (const QString& d : envDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
        dirs << d + QStringLiteral("/applications");
    return dirs;
}

// Desktop file id -> path; an id found in an earlier folder hides later ones.
QHash<QString, QString> desktopFiles() {
    QHash<QString, QString> files;
    for (const QString& dir : applicationDirs()) {
        QDirIterator it(dir, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString id =
                QDir(dir).relativeFilePath(path).replace(QLatin1Char('/'), QLatin1Char('-'));
            if (!files.contains(id))
                files.insert(id, path);
        }
    }
    return files;
}

// The string escapes of desktop entry values.
QString unescaped(const QString& value) {
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= value.size()) {
            out += c;
            continue;
        }
        const QChar e = value.at(++i);
        if (e == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (e == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (e == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (e == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += e;
    }
    return out;
}

// The keys of one group of a desktop entry or mimeapps.list file.
QHash<QString, QString> readGroup(const QString& path, const QString& group) {
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inGroup || line.startsWith(QLatin1Char('#')) || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!keys.contains(key))
            keys.insert(key, unescaped(line.mid(eq + 1).trimmed()));
    }
    return keys;
}

QStringList listValue(const QString& value) {
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool tryExecFound(const QString& tryExec) {
    if (tryExec.isEmpty())
        return true;
    if (tryExec.contains(QLatin1Char('/')))
        return QFileInfo(tryExec).isExecutable();
    return !QStandardPaths::findExecutable(tryExec).isEmpty();
}

// The entry at path as a handler; false when it is no usable application.
bool readHandler(const QString& id, const QString& path, DesktopMailHandler& out) {
    const QHash<QString, QString> e = readGroup(path, QStringLiteral("Desktop Entry"));
    if (e.value(QStringLiteral("Type")) != QLatin1String("Application") ||
        e.value(QStringLiteral("Hidden")) == QLatin1String("true") ||
        !tryExecFound(e.value(QStringLiteral("TryExec"))))
        return false;
    const QString name = e.value(QStringLiteral("Name"), id);
    const QStringList argv = ExecCommandLine::split(e.value(QStringLiteral("Exec")),
                                                    {name, e.value(QStringLiteral("Icon")), path});
    if (argv.isEmpty())
        return false;
    out = {id, name, argv.first(), argv.mid(1), false};
    return true;
}

// The mimeapps.list files, most important first.
QStringList mimeappsLists() {
    QStringList files{configHome() + QStringLiteral("/mimeapps.list")};
    for (const QString& d : envDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")))
        files << d + QStringLiteral("/mimeapps.list");
    for (const QString& d : applicationDirs())
        files << d + QStringLiteral("/mimeapps.list");
    return files;
}

// The ids that handle mailto: declared by the entries themselves, with the
// associations the lists add and remove (a more important list wins).
QStringList handlerIds(const QHash<QString, QString>& files) {
    QSet<QString> added;
    QSet<QString> removed;
    for (const QString& list : mimeappsLists()) {
        const QString type = DesktopMailHandlers::kMailtoType;
        for (const QString& id :
             listValue(readGroup(list, QStringLiteral("Added Associations")).value(type)))
            if (!removed.contains(id))
                added.insert(id);
        for (const QString& id :
             listValue(readGroup(list, QStringLiteral("Removed Associations")).value(type)))
            if (!added.contains(id))
                removed.insert(id);
    }
    QStringList ids;
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        const QStringList types = listValue(readGroup(it.value(), QStringLiteral("Desktop Entry"))
                                                .value(QStringLiteral("MimeType")));
        if ((types.contains(DesktopMailHandlers::kMailtoType) || added.contains(it.key())) &&
            !removed.contains(it.key()))
            ids << it.key();
    }
    return ids;
}

} // namespace

namespace DesktopMailHandlers {

QString defaultId() {
    QProcess xdgMime;
    xdgMime.setStandardInputFile(QProcess::nullDevice());
    xdgMime.start(QStringLiteral("xdg-mime"),
                  {QStringLiteral("query"), QStringLiteral("default"), kMailtoType});
    if (!xdgMime.waitForFinished(kXdgMimeTimeoutMs)) {
        xdgMime.kill();
        xdgMime.waitForFinished();
        return QString();
    }
    if (xdgMime.exitStatus() != QProcess::NormalExit || xdgMime.exitCode() != 0)
        return QString();
    return QString::fromUtf8(xdgMime.readAllStandardOutput()).trimmed();
}

QList<DesktopMailHandler> list() {
    const QHash<QString, QString> files = desktopFiles();
    QStringList ids = handlerIds(files);
    const QString preferred = defaultId();
    if (files.contains(preferred) && !ids.contains(preferred))
        ids << preferred;
    QList<DesktopMailHandler> handlers;
    for (const QString& id : ids) {
        DesktopMailHandler h;
        if (readHandler(id, files.value(id), h)) {
            h.isDefault = id == preferred;
            handlers << h;
        }
    }
    std::sort(handlers.begin(), handlers.end(),
              [](const DesktopMailHandler& a, const DesktopMailHandler& b) {
                  if (a.isDefault != b.isDefault)
                      return a.isDefault;
                  return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
              });
    return handlers;
}

} // namespace DesktopMailHandlers
