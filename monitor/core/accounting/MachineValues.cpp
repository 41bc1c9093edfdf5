#include "MachineValues.h"

#include "Converters.h"
#include "Settings.h"
#include "TRegistryEnhanced.h"

namespace {

TRegistryEnhanced MachineKey(RegistryStore& store) {
    TRegistryEnhanced reg(store);
    reg.RootKey = TRootKey::hkLocalMachine;
    reg.Key = kMachineKey;
    return reg;
}

} // namespace

double MachineValues::ReadNumber(const QString& name) const {
    try {
        const QVariant value = MachineKey(m_store).ReadValue(name);
        if (value.typeId() == QMetaType::LongLong)
            return double(value.toLongLong());
        if (value.typeId() == QMetaType::QString)
            return ParseDecimal(value.toString(), m_fmt);
    } catch (const std::exception&) {
        // The computer's totals must never stop a session end.
    }
    return 0;
}

QString MachineValues::ReadText(const QString& name) const {
    try {
        const QVariant value = MachineKey(m_store).ReadValue(name);
        if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::LongLong)
            return value.toString();
    } catch (const std::exception&) {
    }
    return QString();
}

void MachineValues::WriteText(const QString& name, const QString& text) {
    // The names here carry no path: the store takes them directly.
    m_store.writeValue(RegRoot::LocalMachine, kMachineKey, name, RegValue::fromString(text));
}

void MachineValues::Delete(const QString& name) {
    MachineKey(m_store).DeleteValue(name);
}
