#include "RunEntry.h"

#include "RegistryStore.h"

const QString& StoreRunEntry::key() {
    static const QString k = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    return k;
}

const QString& StoreRunEntry::valueName() {
    static const QString n = QStringLiteral("Tollwatch");
    return n;
}

QString StoreRunEntry::read() const {
    try {
        const auto v = m_store.readValue(RegRoot::LocalMachine, key(), valueName());
        return v && v->type == RegType::String ? v->text : QString();
    } catch (const RegistryError&) {
        return QString();
    }
}

void StoreRunEntry::write(const QString& programPath) {
    m_store.writeValue(RegRoot::LocalMachine, key(), valueName(),
                       RegValue::fromString(programPath));
}

void StoreRunEntry::remove() {
    m_store.deleteValue(RegRoot::LocalMachine, key(), valueName());
}
