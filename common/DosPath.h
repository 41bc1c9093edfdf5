#pragma once
// Maps stored paths, which may be DOS paths ("c:\access.txt"), to native
// paths. A drive letter stands for a folder (C: is the home folder unless
// configured), backslashes become slashes; native paths pass unchanged.

#include <QHash>
#include <QString>

class RegistryStore;

// Where the drive letters are configured: one string value per letter ("C").
inline const QString kDrivesKey = QStringLiteral("Software\\Varnholt\\Drives");

class DosPathMapper {
public:
    // Folders per upper-case drive letter; C: falls back to the home folder,
    // any other unconfigured letter to "drive_x" in the home folder.
    explicit DosPathMapper(QHash<QChar, QString> drives = {});
    static DosPathMapper fromStore(const RegistryStore& store);

    QString toNative(const QString& stored) const;
    QString driveFolder(QChar letter) const;

private:
    QHash<QChar, QString> m_drives;
};

// Joins a folder and a file name with the platform's separator.
QString joinPath(const QString& folder, const QString& name);
