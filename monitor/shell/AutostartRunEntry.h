#pragma once
// The start-with-the-session setting as the wizard and the settings dialog
// write it: the Run value in the store, with the desktop's autostart entry
// brought in step after every change.

#include "RunEntry.h"

#include <functional>

class AutostartRunEntry : public RunEntry {
public:
    // sync writes or removes the autostart entry to match the stored value.
    AutostartRunEntry(RegistryStore& store, std::function<void()> sync);

    QString read() const override { return m_value.read(); }
    void write(const QString& programPath) override;
    void remove() override;

private:
    StoreRunEntry m_value;
    std::function<void()> m_sync;
};
