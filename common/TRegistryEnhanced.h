#pragma once
// The registry component used for the machine-wide values, the Run key, the
// shell folders and the holiday list: a root and base key, with value names
// that may carry a path part.

#include "RegistryStore.h"

#include <QStringList>
#include <QVariant>

enum class TRootKey {
    hkClassesRoot,
    hkCurrentConfig,
    hkCurrentUser,
    hkDynData,
    hkLocalMachine,
    hkUsers
};
enum class TAccess { kRead, kWrite, kExecute, kAllAccess };

class TRegistryEnhanced {
public:
    explicit TRegistryEnhanced(RegistryStore& store) : m_store(&store) {}

    TRootKey RootKey = TRootKey::hkCurrentUser;
    QString Key;
    TAccess Access = TAccess::kAllAccess;
    QStringList EntriesFound;

    // Routes HKEY_DYN_DATA to another store (the byte counters of the platform).
    void setDynDataStore(RegistryStore* store) { m_dynData = store; }

    // Strings, integers (as dword) and booleans; doubles and dates as 8 bytes.
    void WriteValue(const QString& name, const QVariant& value);
    // QString, qint64 or QByteArray (at most 2048 bytes); invalid when missing.
    QVariant ReadValue(const QString& name) const;
    QVariant ReadValueDef(const QString& name, const QVariant& def) const;
    void DeleteValue(const QString& name);
    void DeleteKey(const QString& name);
    void GetKeyNames(const QString& subKey, QStringList& list) const;
    void GetValueNames(const QString& subKey, QStringList& list) const;
    // Depth-first walk below Key\start; mode 0 matches the key path, 1 the
    // value name, 2 either; an empty text matches every value.
    void Search(const QString& start, const QString& text, int mode);

private:
    RegRoot root() const;
    RegistryStore& storeFor() const;
    QString basePath() const;
    void splitName(const QString& name, QString& path, QString& value) const;
    void requireWrite() const;
    void searchKey(const QString& path, const QString& text, int mode);

    RegistryStore* m_store;
    RegistryStore* m_dynData = nullptr;
};
