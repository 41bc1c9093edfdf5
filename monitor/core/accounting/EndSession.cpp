#include "EndSession.h"

#include "Converters.h"
#include "DayTime.h"
#include "MachineValues.h"
#include "TariffTexts.h"

#include <cmath>

namespace {

const QString kConnected = QStringLiteral("Connected");
const QString kConnectionCost = QStringLiteral("Connection Cost");

// The whole part of the computer's stored minutes; a number too large to be a
// count of minutes is as unreadable as one that is no number at all.
qint64 WholeMinutes(double stored) {
    constexpr double kLimit = 9.0e18;
    return std::fabs(stored) < kLimit ? qint64(stored) : 0;
}

} // namespace

SessionTotals EndSession::run(double startTime, double endTime, const QString& connectionName) {
    m_ctx.view.setApplicationTitle(QStringLiteral("Tollwatch"));
    const double start = DayTime::CutToSeconds(startTime);
    const double end = DayTime::AcrossMidnight(start, DayTime::CutToSeconds(endTime));

    const DayTime::Hms hms = DayTime::Split(end - start);
    SessionTotals t;
    t.minutes = hms.hours * 60 + hms.minutes + 1;
    t.seconds = qMax(1, DayTime::TotalSeconds(hms));
    t.cost = m_ctx.costModel().ConnectionCost(start, end);

    const bool showCost = m_ctx.totalTexts().ShowCost();
    StoreTotals(t, showCost);

    const TransferRates::Rates rates = m_ctx.xfer.Averages(t.seconds);
    if (m_ctx.xfer.MonitorXfer())
        m_ctx.events.PostEvent(m_ctx.xfer.RateText(rates), EventKind::Information);
    if (showCost)
        ShowCostMode(t);
    else
        ShowTimeMode(t);
    m_append(LogLine(start, t, rates, connectionName, showCost));
    m_ctx.xfer.TakeBaselines();
    return t;
}

// The pending values and the four totals change in one transaction: after a
// crash at any moment the connection is counted exactly once, either here or
// by the recovery of the pending values at the next start.
void EndSession::StoreTotals(SessionTotals& t, bool showCost) {
    Settings& settings = m_ctx.settings;
    MachineValues machine(settings.store(), m_ctx.fmt);
    settings.store().transaction([&] {
        try {
            machine.Delete(kPendingTime);
            machine.Delete(kPendingCost);
        } catch (const RegistryError&) {
            // Values that cannot be removed are emptied by the next start.
        }
        t.connected =
            StrToInt(settings.ReadText(kSettingsKey, kConnected, QStringLiteral("0"))) + t.minutes;
        settings.WriteText(kSettingsKey, kConnected, QString::number(t.connected));
        t.connectionCost =
            ParseDecimal(settings.ReadText(kSettingsKey, kConnectionCost, QStringLiteral("0.00")),
                         m_ctx.fmt) +
            t.cost;
        settings.WriteText(kSettingsKey, kConnectionCost, DecimalText(t.connectionCost, m_ctx.fmt));
        const qint64 pcTime = WholeMinutes(machine.ReadNumber(kPcTotalTime)) + t.minutes;
        machine.WriteText(kPcTotalTime, QString::number(pcTime));
        if (showCost) {
            const double pcCost = machine.ReadNumber(kPcTotalCost) + t.cost;
            machine.WriteText(kPcTotalCost,
                              m_ctx.fmt.formatFixed(pcCost, m_ctx.fmt.currencyDecimals));
        }
    });
}

void EndSession::ShowCostMode(const SessionTotals& t) {
    const FormatSettings& fmt = m_ctx.fmt;
    const IntlStrings& intl = m_ctx.intl;
    const QString totalCost = CurrencyText(t.connectionCost, fmt);
    const QString cost = CurrencyText(t.cost, fmt);
    m_ctx.view.setStatusLineVisible(3, true);
    m_ctx.view.setStatusLine(2, intl.IntlStr(30) + totalCost);
    m_ctx.view.setStatusLine(3, intl.IntlStr(20) + MinutesText(t.connected, fmt));
    const QString thisConnection = intl.IntlStr(80) + cost + QStringLiteral(" (") +
                                   MinutesText(t.minutes, fmt) + QLatin1Char(')');
    m_ctx.events.PostEvent(thisConnection, EventKind::Information);
    m_ctx.events.PostEvent(intl.IntlStr(30) + totalCost + QStringLiteral(" (") +
                               MinutesText(t.connected, fmt) + QLatin1Char(')'),
                           EventKind::Information);
    m_ctx.view.setStatusLine(1, intl.IntlStr(80) + cost);
    m_ctx.view.setTrayHint(thisConnection);
}

void EndSession::ShowTimeMode(const SessionTotals& t) {
    const FormatSettings& fmt = m_ctx.fmt;
    const IntlStrings& intl = m_ctx.intl;
    m_ctx.view.setStatusLineVisible(3, false);
    m_ctx.view.setStatusLine(2, intl.IntlStr(20) + MinutesText(t.connected, fmt));
    m_ctx.events.PostEvent(intl.IntlStr(80) + MinutesText(t.minutes, fmt) + intl.IntlStr(3600) +
                               MinutesText(t.connected, fmt) + QLatin1Char(')'),
                           EventKind::Information);
}

QString EndSession::LogLine(double startTime, const SessionTotals& t,
                            const TransferRates::Rates& rates, const QString& connectionName,
                            bool showCost) const {
    ConnectionRecord record;
    record.endDate = m_ctx.clock.now().date();
    record.startTime = startTime;
    record.minutes = t.minutes;
    record.cost = t.cost;
    record.sendRate = rates.send;
    record.receiveRate = rates.receive;
    record.connectionName = connectionName;
    return m_logLine.Build(record, showCost);
}
