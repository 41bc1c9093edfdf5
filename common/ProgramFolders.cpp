#include "ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ProgramFolders {

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString shareFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share"));
}

QString dataFolder(const QString& name, const QString& programFolder) {
    const QString beside = programFolder + QLatin1Char('/') + name;
    if (QFileInfo(beside).isDir())
        return beside;
    return shareFolder(programFolder) + QStringLiteral("/tollwatch/") + name;
}

QString soundFolder(const QString& programFolder) {
    if (QFileInfo::exists(programFolder + QStringLiteral("/ding.wav")))
        return programFolder;
    return shareFolder(programFolder) + QStringLiteral("/tollwatch/sounds");
}

} // namespace ProgramFolders
