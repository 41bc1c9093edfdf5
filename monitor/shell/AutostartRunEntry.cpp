#include "AutostartRunEntry.h"

AutostartRunEntry::AutostartRunEntry(RegistryStore& store, std::function<void()> sync)
    : m_value(store), m_sync(std::move(sync)) {}

void AutostartRunEntry::write(const QString& programPath) {
    m_value.write(programPath);
    m_sync();
}

void AutostartRunEntry::remove() {
    m_value.remove();
    m_sync();
}
