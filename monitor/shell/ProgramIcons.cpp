#include "ProgramIcons.h"

#include "ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramIcons {

QString name(int index) {
    return index == 1 ? QStringLiteral("tollwatch-dialdart") : QStringLiteral("tollwatch");
}

QString pictureBelow(const QString& shareFolder, int index) {
    return shareFolder + QStringLiteral("/icons/hicolor/scalable/apps/") + name(index) +
           QStringLiteral(".svg");
}

QString iconFor(int index, const QString& programFolder) {
    const QString share = ProgramFolders::shareFolder(programFolder);
    const QFileInfo picture(pictureBelow(share, index));
    if (!picture.exists())
        return name(index);
    const QString canonical = QFileInfo(share).canonicalFilePath();
    for (const QString& place :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (QFileInfo(place).canonicalFilePath() == canonical)
            return name(index);
    }
    return picture.absoluteFilePath();
}

} // namespace ProgramIcons
