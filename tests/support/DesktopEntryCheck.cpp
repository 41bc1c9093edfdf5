#include "DesktopEntryCheck.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace DesktopEntryCheck {

QHash<QString, QString> keys(const QString& file) {
    QHash<QString, QString> out;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    bool inGroup = false;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QLatin1String("[Desktop Entry]");
        else if (inGroup && line.contains(QLatin1Char('=')))
            out.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return out;
}

bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty();
}

QString validate(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("desktop-file-validate"), {file});
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return out.isEmpty() ? QStringLiteral("rejected") : out;
    // Hints are advice; errors and warnings are faults.
    return out.contains(QLatin1String("error:")) || out.contains(QLatin1String("warning:"))
               ? out
               : QString();
}

} // namespace DesktopEntryCheck
