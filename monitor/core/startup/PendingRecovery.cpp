#include "PendingRecovery.h"

#include "Converters.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "Settings.h"
#include "TRegistryEnhanced.h"
#include "TariffTexts.h"

namespace {

const QString kPendingTime = QStringLiteral("pending time");
const QString kPendingCost = QStringLiteral("pending cost");

// A machine value as text; empty when missing or unreadable.
QString machineText(RegistryStore& store, const QString& name) {
    TRegistryEnhanced machine(store);
    machine.RootKey = TRootKey::hkLocalMachine;
    machine.Key = kMachineKey;
    try {
        const QVariant v = machine.ReadValue(name);
        return v.isValid() ? v.toString() : QString();
    } catch (const RegistryError&) {
        return QString();
    }
}

} // namespace

PendingRecovery::PendingRecovery(RegistryStore& store, MonitorView& view, const IntlStrings& intl,
                                 const FormatSettings& formats)
    : m_store(store), m_view(view), m_intl(intl), m_formats(formats) {}

bool PendingRecovery::run() {
    if (machineText(m_store, kPendingTime).isEmpty())
        return false;
    m_view.messageBox(QStringLiteral("Tollwatch"), m_intl.IntlStr(8300), BoxButtons::Ok,
                      BoxIcon::Warning, BoxAnswer::Ok);
    try {
        m_store.transaction([this] { addPendingToTotals(); });
        return true;
    } catch (const std::exception&) {
        // The message has been shown; the pending values stay for a later
        // start rather than being counted twice or lost.
        return false;
    }
}

void PendingRecovery::addPendingToTotals() {
    Settings settings(m_store);
    // Read again inside the transaction: another process may have ended it.
    const QString pendingTime = machineText(m_store, kPendingTime);
    if (pendingTime.isEmpty())
        return;
    const qint64 minutes =
        StrToInt(settings.ReadText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("0")));
    settings.WriteText(kSettingsKey, QStringLiteral("Connected"),
                       QString::number(minutes + StrToInt(pendingTime)));

    // The pending cost may have been written under another locale; a first
    // second that crashed before the cost was written counts no cost.
    const QString pendingCost = machineText(m_store, kPendingCost);
    const double cost = pendingCost.isEmpty() ? 0.0 : ParseDecimal(pendingCost, m_formats);
    const double total = ParseDecimal(
        settings.ReadText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("0.00")),
        m_formats);
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"),
                       DecimalText(total + cost, m_formats));

    TRegistryEnhanced machine(m_store);
    machine.RootKey = TRootKey::hkLocalMachine;
    machine.Key = kMachineKey;
    machine.WriteValue(QStringLiteral("Pending time"), QString());
    machine.WriteValue(QStringLiteral("Pending cost"), QString());
}
