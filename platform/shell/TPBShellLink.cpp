#include "TPBShellLink.h"

#include "DesktopEntryFormat.h"
#include "DosPath.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const QString kSuffix = QStringLiteral(".desktop");
constexpr int kTrustWaitMs = 3000;
} // namespace

void TPBShellLink::setFileName(const QString& name) {
    QString file = name;
    if (!file.endsWith(kSuffix, Qt::CaseInsensitive))
        file += kSuffix;
    m_fileName = ShellFolder.isEmpty() ? file : joinPath(ShellFolder, file);
}

QString TPBShellLink::entryName() const {
    if (!Name.isEmpty())
        return Name;
    QString base = QFileInfo(m_fileName).fileName();
    return base.left(base.size() - kSuffix.size());
}

QString TPBShellLink::contents() const {
    using namespace DesktopEntryFormat;
    QStringList lines{QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                      QStringLiteral("Version=1.4"),
                      QStringLiteral("Name=") + escapeValue(entryName())};
    if (!Description.isEmpty())
        lines << QStringLiteral("Comment=") + escapeValue(Description);
    lines << QStringLiteral("Exec=") + execLine(Target, Arguments);
    if (!WorkingDir.isEmpty())
        lines << QStringLiteral("Path=") + escapeValue(WorkingDir);
    if (!FileIcon.FileName.isEmpty())
        lines << QStringLiteral("Icon=") + escapeValue(FileIcon.FileName);
    lines << QStringLiteral("Terminal=false");
    if (!Categories.isEmpty())
        lines << QStringLiteral("Categories=") + Categories.join(QLatin1Char(';')) +
                     QLatin1Char(';');
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TPBShellLink::Save() const {
    if (m_fileName.isEmpty())
        throw EPBShellLink(QStringLiteral("Cannot write a shortcut without a file name"));
    const QString file = QDir::cleanPath(m_fileName);
    if (Target.isEmpty())
        throw EPBShellLink(file + QStringLiteral(": no program to start"));
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        throw EPBShellLink(file + QStringLiteral(": cannot create the folder ") + folder);
    // Written beside and renamed over the old file, so a failure leaves the
    // earlier entry intact.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(contents().toUtf8()) < 0 || !out.commit())
        throw EPBShellLink(file + QStringLiteral(": ") + out.errorString());
    if (Launcher)
        markLauncher();
}

void TPBShellLink::markLauncher() const {
    const QString file = QDir::cleanPath(m_fileName);
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ExeOwner |
                                    QFileDevice::ExeUser | QFileDevice::ExeGroup |
                                    QFileDevice::ExeOther);
    // GNOME's desktop starts a launcher only once it is marked trusted; where
    // gio or its metadata service is missing there is nothing to mark.
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        return;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(gio, {QStringLiteral("set"), QStringLiteral("-t"), QStringLiteral("string"), file,
                        QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    if (!process.waitForFinished(kTrustWaitMs))
        process.kill();
    process.waitForFinished();
}
