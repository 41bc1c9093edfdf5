#pragma once
// The start-with-the-session setting: the value "Tollwatch" under the
// machine's Run key, holding the program's path while it is chosen. The
// wizard and the settings dialog read and write it through this seam, so the
// desktop's autostart entry can follow the value.

#include <QString>

class RegistryStore;

class RunEntry {
public:
    virtual ~RunEntry() = default;
    // The stored program path; empty when the entry is absent.
    virtual QString read() const = 0;
    virtual void write(const QString& programPath) = 0;
    virtual void remove() = 0;
};

// The entry as a value of the settings store alone.
class StoreRunEntry : public RunEntry {
public:
    explicit StoreRunEntry(RegistryStore& store) : m_store(store) {}

    QString read() const override;
    void write(const QString& programPath) override;
    void remove() override;

    static const QString& key();
    static const QString& valueName();

private:
    RegistryStore& m_store;
};
