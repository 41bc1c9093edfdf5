#include "DosPath.h"

#include "RegistryStore.h"

#include <QDir>

DosPathMapper::DosPathMapper(QHash<QChar, QString> drives) : m_drives(std::move(drives)) {}

DosPathMapper DosPathMapper::fromStore(const RegistryStore& store) {
    QHash<QChar, QString> drives;
    try {
        for (const QString& name : store.valueNames(RegRoot::CurrentUser, kDrivesKey)) {
            const auto v = store.readValue(RegRoot::CurrentUser, kDrivesKey, name);
            if (name.size() == 1 && name.at(0).isLetter() && v && v->type == RegType::String &&
                !v->text.isEmpty())
                drives.insert(name.at(0).toUpper(), v->text);
        }
    } catch (const RegistryError&) {
        // Without a readable configuration the default folders apply.
    }
    return DosPathMapper(drives);
}

QString DosPathMapper::driveFolder(QChar letter) const {
    const QChar upper = letter.toUpper();
    const auto it = m_drives.constFind(upper);
    if (it != m_drives.constEnd())
        return it.value();
    if (upper == QLatin1Char('C'))
        return QDir::homePath();
    return QDir::homePath() + QStringLiteral("/drive_") + upper.toLower();
}

QString DosPathMapper::toNative(const QString& stored) const {
    const bool dos = stored.size() >= 2 && stored.at(1) == QLatin1Char(':') &&
                     stored.at(0).isLetter() && stored.at(0).unicode() < 128;
    if (!dos) {
        if (stored.startsWith(QLatin1Char('/')) || !stored.contains(QLatin1Char('\\')))
            return stored;
        return QDir::fromNativeSeparators(QString(stored).replace(QLatin1Char('\\'), '/'));
    }
    QString rest = stored.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    return joinPath(driveFolder(stored.at(0)), rest);
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    if (name.isEmpty())
        return folder;
    const QChar sep = QDir::separator();
    if (folder.endsWith(sep) || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + sep + name;
}
