#pragma once
// Typed access to the per-user settings (HKEY_CURRENT_USER): text and flags
// with the reader's default on a missing, empty or wrongly typed value.

#include "RegistryStore.h"

#include <QString>

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
    // A failing write raises RegistryError.
    void WriteText(const QString& key, const QString& name, const QString& text);
    void WriteFlag(const QString& key, const QString& name, bool flag);

private:
    RegistryStore& m_store;
};
