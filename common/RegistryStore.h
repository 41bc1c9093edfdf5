#pragma once
// The settings store: a registry of our own with predefined roots, key paths
// and typed values. Key and value names compare without regard to case but keep
// the spelling first written. Every read goes to the backing store.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

enum class RegType { String = 1, Binary = 3, DWord = 4 };

struct RegValue {
    RegType type = RegType::String;
    QString text;
    std::uint32_t dword = 0;
    QByteArray binary;

    static RegValue fromString(const QString& s);
    static RegValue fromDWord(std::uint32_t v);
    static RegValue fromBinary(const QByteArray& b);
    bool operator==(const RegValue& o) const;
};

// A failure of the store itself: unreadable or foreign file, failed write.
// A failure of a store file also names the file and the reason alone, so
// that a report can say which file failed and why in its own words.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    RegistryError(const QString& message, QString fileName, QString reason)
        : std::runtime_error(message.toStdString()), m_fileName(std::move(fileName)),
          m_reason(std::move(reason)) {}

    QString fileName() const { return m_fileName; }
    QString reason() const { return m_reason; }

private:
    QString m_fileName;
    QString m_reason;
};

// A store file that is damaged or was emptied: refused and left untouched.
class DamagedStoreError : public RegistryError {
public:
    using RegistryError::RegistryError;
};

// A store file that another process holds for its sole use.
class StoreInUseError : public RegistryError {
public:
    using RegistryError::RegistryError;
};

// Name of a root as written in registry files ("HKEY_CURRENT_USER").
QString rootName(RegRoot root);
// Parses "HKEY_CURRENT_USER", "HKCU", ... (any case); nullopt when unknown.
std::optional<RegRoot> rootFromName(const QString& name);

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Paths use backslashes; leading and trailing backslashes are ignored.
    virtual bool keyExists(RegRoot root, const QString& path) const = 0;
    virtual void createKey(RegRoot root, const QString& path) = 0;
    // Removes the key with all its sub-keys and values; false when absent.
    virtual bool deleteKey(RegRoot root, const QString& path) = 0;

    // The empty name is the key's default value.
    virtual std::optional<RegValue> readValue(RegRoot root, const QString& path,
                                              const QString& name) const = 0;
    // Creates the key (and its parents) when needed.
    virtual void writeValue(RegRoot root, const QString& path, const QString& name,
                            const RegValue& value) = 0;
    virtual bool deleteValue(RegRoot root, const QString& path, const QString& name) = 0;

    // Names as first spelled, in the order they were created.
    virtual QStringList subKeyNames(RegRoot root, const QString& path) const = 0;
    virtual QStringList valueNames(RegRoot root, const QString& path) const = 0;
    // Every value of a key with its name as first spelled, in no particular
    // order; empty when the key is missing. One read where a backend can.
    virtual QList<QPair<QString, RegValue>> values(RegRoot root, const QString& path) const;

    // Runs work so that all its writes land together or not at all. Nested
    // calls join the outer one. An exception from work undoes its writes and
    // is rethrown.
    virtual void transaction(const std::function<void()>& work) = 0;
};
