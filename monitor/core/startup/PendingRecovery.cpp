#include "PendingRecovery.h"

#include "IntlStrings.h"
#include "MonitorView.h"
#include "ProblemReports.h"
#include "Settings.h"
#include "StoredTotals.h"
#include "TRegistryEnhanced.h"
#include "TariffTexts.h"

namespace {

const QString kPendingTime = QStringLiteral("pending time");
const QString kPendingCost = QStringLiteral("pending cost");
const QString kConnected = QStringLiteral("Connected");
const QString kConnectionCost = QStringLiteral("Connection Cost");

TRegistryEnhanced machineKey(RegistryStore& store) {
    TRegistryEnhanced machine(store);
    machine.RootKey = TRootKey::hkLocalMachine;
    machine.Key = kMachineKey;
    return machine;
}

// A machine value as text; empty when missing or unreadable.
QString machineText(RegistryStore& store, const QString& name) {
    try {
        const QVariant v = machineKey(store).ReadValue(name);
        return v.isValid() ? v.toString() : QString();
    } catch (const RegistryError&) {
        return QString();
    }
}

} // namespace

PendingRecovery::PendingRecovery(RegistryStore& store, MonitorView& view, const IntlStrings& intl,
                                 const FormatSettings& formats, ProblemReports& problems)
    : m_store(store), m_view(view), m_intl(intl), m_formats(formats), m_problems(problems) {}

bool PendingRecovery::run() {
    if (machineText(m_store, kPendingTime).isEmpty())
        return false;
    Findings restarted;
    Findings unreadable;
    bool added = false;
    try {
        m_store.transaction([&] {
            restarted.clear();
            unreadable.clear();
            added = addPendingToTotals(restarted, unreadable);
        });
    } catch (const RegistryError& e) {
        // Nothing was added: the values stay, to be counted by a later start.
        m_problems.storeFailed(e);
        return false;
    }
    if (!added)
        return false;
    for (const auto& f : std::as_const(unreadable))
        m_problems.pendingUnreadable(f.first, f.second);
    for (const auto& f : std::as_const(restarted))
        m_problems.totalRestarted(f.first, f.second);
    m_view.messageBox(QStringLiteral("Tollwatch"), m_intl.IntlStr(8300), BoxButtons::Ok,
                      BoxIcon::Warning, BoxAnswer::Ok);
    return true;
}

bool PendingRecovery::addPendingToTotals(Findings& restarted, Findings& unreadable) {
    Settings settings(m_store);
    // Read again inside the transaction: another process may have ended it.
    const QString timeText = machineText(m_store, kPendingTime);
    if (timeText.isEmpty())
        return false;
    auto pendingMinutes = StoredTotals::Minutes(timeText);
    if (!pendingMinutes || *pendingMinutes < 0) {
        unreadable.append({kPendingTime, timeText});
        pendingMinutes = 0;
    }
    const QString minutesText = settings.ReadText(kSettingsKey, kConnected, QStringLiteral("0"));
    const auto minutes = StoredTotals::Minutes(minutesText);
    if (!minutes)
        restarted.append({kConnected, minutesText});
    settings.WriteText(kSettingsKey, kConnected,
                       QString::number(minutes.value_or(0) + *pendingMinutes));

    // The pending cost may have been written under another locale; a first
    // second that crashed before the cost was written counts no cost.
    const QString costText = machineText(m_store, kPendingCost);
    auto pendingCost =
        costText.isEmpty() ? std::optional<double>(0) : StoredTotals::Amount(costText, m_formats);
    if (!pendingCost) {
        unreadable.append({kPendingCost, costText});
        pendingCost = 0;
    }
    const QString totalText =
        settings.ReadText(kSettingsKey, kConnectionCost, QStringLiteral("0.00"));
    const auto total = StoredTotals::Sum(StoredTotals::Amount(totalText, m_formats), *pendingCost);
    if (!total)
        restarted.append({kConnectionCost, totalText});
    settings.WriteText(kSettingsKey, kConnectionCost,
                       DecimalText(total.value_or(*pendingCost), m_formats));

    TRegistryEnhanced machine = machineKey(m_store);
    machine.WriteValue(QStringLiteral("Pending time"), QString());
    machine.WriteValue(QStringLiteral("Pending cost"), QString());
    return true;
}
