#include "EndSession.h"

#include "DayTime.h"
#include "TariffTexts.h"
#include "TotalsWriter.h"

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
    const TransferRates::Rates rates = m_ctx.xfer.Averages(t.seconds);
    const QString line = LogLine(start, t, rates, connectionName, showCost);
    const TotalsWriter::UserTotals totals =
        TotalsWriter(m_ctx, m_kept).add(t.minutes, t.cost, showCost, line);
    t.connected = totals.connected;
    t.connectionCost = totals.connectionCost;
    t.stored = totals.stored;

    if (m_ctx.xfer.MonitorXfer())
        m_ctx.events.PostEvent(m_ctx.xfer.RateText(rates), EventKind::Information);
    if (showCost)
        ShowCostMode(t);
    else
        ShowTimeMode(t);
    m_append(line);
    m_ctx.xfer.TakeBaselines();
    return t;
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
