#pragma once
// Typed access to the per-user settings (HKEY_CURRENT_USER): text and flags
// with the reader's default on a missing, empty or wrongly typed value.

#include "RegistryStore.h"

#include <QString>

#include <optional>

// The per-user settings key of the monitor.
inline const QString kSettingsKey = QStringLiteral("Software\\Varnholt\\Farrowline");
// The machine-wide key (HKEY_LOCAL_MACHINE) of the monitor.
inline const QString kMachineKey = QStringLiteral("SOFTWARE\\Varnholt\\Farrowline");

class Settings {
public:
    explicit Settings(RegistryStore& store) : m_store(store) {}

    RegistryStore& store() const { return m_store; }

    // Creates the key when absent; the default on any failure to read.
    QString ReadText(const QString& key, const QString& name, const QString& def) const;
    bool ReadFlag(const QString& key, const QString& name, bool def) const;
    // The stored value itself, without creating the key; nullopt when the key
    // or the value is missing or cannot be read. Looked up alone, snapshot or
    // not: for keys of many values of which a tick wants one (the holidays).
    std::optional<RegValue> ReadValue(const QString& key, const QString& name) const;
    // A failing write raises RegistryError.
    void WriteText(const QString& key, const QString& name, const QString& text);
    void WriteFlag(const QString& key, const QString& name, bool flag);

    // For its lifetime, reads take each key they touch from the store once,
    // in one query, and answer from that: a tick reads every value once, and
    // sees one consistent set, without keeping anything to the next tick.
    // Writes through this Settings go to the store and into the snapshot.
    // Nested snapshots join the outer one. Not for read-modify-write inside a
    // store transaction, where values must be read after the lock is taken.
    class Snapshot {
    public:
        explicit Snapshot(const Settings& settings);
        ~Snapshot();
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;

    private:
        const Settings& m_settings;
        bool m_outer;
    };

private:
    struct SnapshotData;
    struct SnapshotKey;
    const SnapshotKey& snapshotOf(const QString& key) const;

    RegistryStore& m_store;
    mutable SnapshotData* m_snapshot = nullptr;
};
