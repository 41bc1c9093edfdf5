#include "Timer1Timer.h"

#include "MachineValues.h"
#include "TariffTexts.h"

namespace {

const QString kTitle = QStringLiteral("Tollwatch");

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

AccountingUpdate Timer1Timer::run(double startTime, const KeptTotals& kept) {
    // Every setting of the tick, the tariff's included, is read once.
    const Settings::Snapshot tick(m_ctx.settings);
    const double now = DayTime::AcrossMidnight(startTime, m_ctx.nowInSeconds());
    AccountingUpdate u;
    u.elapsed = DayTime::Split(now - startTime);
    u.elapsedMinutes = u.elapsed.hours * 60 + u.elapsed.minutes;
    u.cost = m_ctx.costModel().ConnectionCost(startTime, now);

    const qint64 totalMinutes = m_ctx.connectedMinutes() + kept.minutes + u.elapsedMinutes;
    if (m_ctx.totalTexts().ShowCost())
        ShowCostMode(u, totalMinutes, kept.cost);
    else
        ShowTimeMode(u, totalMinutes);
    ShowTransferRate(u.elapsed);
    WritePending(u, kept);
    return u;
}

void Timer1Timer::ShowCostMode(const AccountingUpdate& u, qint64 totalMinutes, double keptCost) {
    const FormatSettings& fmt = m_ctx.fmt;
    const QString costText = CurrencyText(u.cost, fmt);
    const QString line1 = m_ctx.intl.IntlStr(210) + costText;
    const double totalCost = m_ctx.totalTexts().ConnectionCostTotal() + keptCost + u.cost;
    m_ctx.view.setStatusLine(1, line1);
    m_ctx.view.setTrayHint(line1 + QStringLiteral(" (") + MinutesText(u.elapsedMinutes, fmt) +
                           QLatin1Char(')'));
    m_ctx.view.setStatusLine(2, m_ctx.intl.IntlStr(30) + CurrencyText(totalCost, fmt));
    m_ctx.view.setStatusLine(3, m_ctx.intl.IntlStr(20) + MinutesText(totalMinutes, fmt));
    m_ctx.view.setStatusLineVisible(3, true);
    m_ctx.view.setApplicationTitle(kTitle + QStringLiteral(" (") + costText +
                                   QStringLiteral(" / ") + MinutesText(u.elapsedMinutes, fmt) +
                                   QLatin1Char(')'));
}

void Timer1Timer::ShowTimeMode(const AccountingUpdate& u, qint64 totalMinutes) {
    const FormatSettings& fmt = m_ctx.fmt;
    const QChar sep = fmt.timeSeparator;
    m_ctx.view.setStatusLine(1, m_ctx.intl.IntlStr(210) + TwoDigits(u.elapsed.hours) + sep +
                                    TwoDigits(u.elapsed.minutes) + sep +
                                    TwoDigits(u.elapsed.seconds));
    m_ctx.view.setTrayHint(m_ctx.intl.IntlStr(210) + MinutesText(u.elapsedMinutes, fmt) +
                           m_ctx.intl.IntlStr(230) + MinutesText(totalMinutes, fmt) +
                           QLatin1Char(')'));
    m_ctx.view.setStatusLine(2, m_ctx.intl.IntlStr(20) + MinutesText(totalMinutes, fmt));
    m_ctx.view.setStatusLineVisible(3, false);
    m_ctx.view.setApplicationTitle(kTitle + QStringLiteral(" (") +
                                   MinutesText(u.elapsedMinutes, fmt) + QLatin1Char(')'));
}

void Timer1Timer::ShowTransferRate(const DayTime::Hms& elapsed) {
    const TransferRates::Rates rates = m_ctx.xfer.Averages(DayTime::TotalSeconds(elapsed));
    m_ctx.view.setXferText(m_ctx.xfer.RateText(rates));
    m_ctx.view.setXferEnabled(m_ctx.xfer.SentSinceBaseline());
}

void Timer1Timer::WritePending(const AccountingUpdate& u, const KeptTotals& kept) {
    MachineValues machine(m_ctx.settings.store(), m_ctx.fmt);
    try {
        // Both together, so that a crash never leaves minutes of one second
        // beside the cost of another.
        m_ctx.settings.store().transaction([&] {
            machine.WriteText(kPendingTime, QString::number(kept.minutes + u.elapsedMinutes));
            machine.WriteText(kPendingCost, MoneyText(kept.cost + u.cost, m_ctx.fmt));
        });
    } catch (const RegistryError& e) {
        // Tried again next second; the display goes on meanwhile.
        m_ctx.problems.storeFailed(e);
        return;
    }
    m_ctx.problems.storeWritten();
}
