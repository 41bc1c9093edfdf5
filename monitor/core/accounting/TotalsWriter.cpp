#include "TotalsWriter.h"

#include "MachineValues.h"
#include "StoredTotals.h"
#include "TariffTexts.h"

#include <cmath>

namespace {

const QString kConnected = QStringLiteral("Connected");
const QString kConnectionCost = QStringLiteral("Connection Cost");

} // namespace

TotalsWriter::UserTotals TotalsWriter::add(qint64 minutes, double cost, bool costMode,
                                           const QString& logLine) {
    m_kept.add(minutes, cost, costMode);
    m_logLine = logLine;
    const UserTotals out = write(std::nullopt);
    m_logLine.clear();
    return out;
}

bool TotalsWriter::saveKept(const std::optional<PendingAmounts>& current) {
    if (m_kept.empty())
        return true;
    return write(current).stored;
}

TotalsWriter::UserTotals TotalsWriter::write(const std::optional<PendingAmounts>& pendingAfter) {
    UserTotals out;
    Restarts restarted;
    try {
        m_ctx.settings.store().transaction([&] {
            restarted.clear();
            writePending(pendingAfter);
            notePendingLogLine();
            addUserTotals(out, restarted);
            addMachineTotals(restarted);
        });
    } catch (const RegistryError& e) {
        m_ctx.problems.storeFailed(e);
        return unstored();
    }
    m_kept = KeptTotals();
    m_ctx.problems.storeWritten();
    for (const auto& r : std::as_const(restarted))
        m_ctx.problems.totalRestarted(r.first, r.second);
    out.stored = true;
    return out;
}

void TotalsWriter::writePending(const std::optional<PendingAmounts>& pendingAfter) {
    MachineValues machine(m_ctx.settings.store(), m_ctx.fmt);
    if (pendingAfter) {
        machine.WriteText(kPendingTime, QString::number(pendingAfter->minutes));
        machine.WriteText(kPendingCost, MoneyText(pendingAfter->cost, m_ctx.fmt));
        return;
    }
    try {
        machine.Delete(kPendingTime);
        machine.Delete(kPendingCost);
    } catch (const RegistryError&) {
        // Values that cannot be removed are emptied by the next start.
    }
}

void TotalsWriter::notePendingLogLine() {
    if (m_logLine.isEmpty())
        return;
    MachineValues machine(m_ctx.settings.store(), m_ctx.fmt);
    const QString waiting = machine.ReadText(kPendingLogLines);
    machine.WriteText(kPendingLogLines,
                      waiting.isEmpty() ? m_logLine : waiting + QStringLiteral("\r\n") + m_logLine);
}

void TotalsWriter::addUserTotals(UserTotals& out, Restarts& restarted) {
    Settings& settings = m_ctx.settings;
    const QString minutesText = settings.ReadText(kSettingsKey, kConnected, QStringLiteral("0"));
    const auto minutes = StoredTotals::Minutes(minutesText);
    if (!minutes)
        restarted.append({kConnected, minutesText});
    out.connected = minutes.value_or(0) + m_kept.minutes;
    settings.WriteText(kSettingsKey, kConnected, QString::number(out.connected));

    const QString costText =
        settings.ReadText(kSettingsKey, kConnectionCost, QStringLiteral("0.00"));
    const auto cost = StoredTotals::Sum(StoredTotals::Amount(costText, m_ctx.fmt), m_kept.cost);
    if (!cost)
        restarted.append({kConnectionCost, costText});
    out.connectionCost = cost.value_or(m_kept.cost);
    settings.WriteText(kSettingsKey, kConnectionCost, DecimalText(out.connectionCost, m_ctx.fmt));
}

// The computer's totals: a missing value is 0, and the whole part of the
// minutes counts.
void TotalsWriter::addMachineTotals(Restarts& restarted) {
    MachineValues machine(m_ctx.settings.store(), m_ctx.fmt);
    const QString timeText = machine.ReadText(kPcTotalTime);
    const auto time =
        timeText.isEmpty() ? std::optional<double>(0) : StoredTotals::Amount(timeText, m_ctx.fmt);
    const bool countable = time && std::fabs(*time) <= double(StoredTotals::kLargestMinutes);
    if (!countable)
        restarted.append({kPcTotalTime, timeText});
    machine.WriteText(kPcTotalTime,
                      QString::number((countable ? qint64(*time) : 0) + m_kept.minutes));
    if (!m_kept.costMode)
        return;
    const QString costText = machine.ReadText(kPcTotalCost);
    const auto cost = StoredTotals::Sum(
        costText.isEmpty() ? 0.0 : StoredTotals::Amount(costText, m_ctx.fmt), m_kept.pcCost);
    if (!cost)
        restarted.append({kPcTotalCost, costText});
    machine.WriteText(kPcTotalCost, m_ctx.fmt.formatFixed(cost.value_or(m_kept.pcCost),
                                                          m_ctx.fmt.currencyDecimals));
}

// What the totals will be once the kept amounts are stored, for the display.
TotalsWriter::UserTotals TotalsWriter::unstored() const {
    const Settings& settings = m_ctx.settings;
    UserTotals out;
    out.connected =
        StoredTotals::Minutes(settings.ReadText(kSettingsKey, kConnected, QStringLiteral("0")))
            .value_or(0) +
        m_kept.minutes;
    out.connectionCost =
        StoredTotals::Sum(StoredTotals::Amount(settings.ReadText(kSettingsKey, kConnectionCost,
                                                                 QStringLiteral("0.00")),
                                               m_ctx.fmt),
                          m_kept.cost)
            .value_or(m_kept.cost);
    return out;
}
