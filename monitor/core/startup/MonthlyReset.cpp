#include "MonthlyReset.h"

#include "Clock.h"
#include "Converters.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "Settings.h"
#include "StoredTotals.h"
#include "TariffTexts.h"
#include "TotalTexts.h"

#include <cmath>

namespace {

const QString kConnected = QStringLiteral("Connected");
const QString kConnectionCost = QStringLiteral("Connection Cost");

} // namespace

MonthlyReset::MonthlyReset(Settings& settings, MonitorView& view, EventSink& events,
                           const IntlStrings& intl, const TotalTexts& totals, const Clock& clock,
                           const FormatSettings& formats)
    : m_settings(settings), m_view(view), m_events(events), m_intl(intl), m_totals(totals),
      m_clock(clock), m_formats(formats) {}

bool MonthlyReset::isDue(const QString& lastReset, int year, int month) {
    if (lastReset.size() < 5)
        return true;
    bool yearOk = false;
    bool monthOk = false;
    const int storedYear = lastReset.left(4).toInt(&yearOk);
    const int storedMonth = lastReset.mid(4).toInt(&monthOk);
    if (!yearOk || !monthOk)
        return true;
    return year > storedYear || (year == storedYear && month > storedMonth);
}

void MonthlyReset::run() {
    if (!m_settings.ReadFlag(kSettingsKey, QStringLiteral("Reset each month"), false))
        return;
    const QDate today = m_clock.now().date();
    const QString lastReset = m_settings.ReadText(kSettingsKey, QStringLiteral("Last reset"),
                                                  QString::number(today.month()));
    if (isDue(lastReset, today.year(), today.month()))
        ask();
    m_settings.WriteText(kSettingsKey, QStringLiteral("Last Reset"),
                         QString::number(today.year()) + QString::number(today.month()));
}

void MonthlyReset::ask() {
    const QString minutesShown = m_settings.ReadText(kSettingsKey, kConnected, QStringLiteral("0"));
    const QString costShown =
        m_settings.ReadText(kSettingsKey, kConnectionCost, QStringLiteral("0"));
    const QString total = m_totals.TotalText(StoredTotals::Minutes(minutesShown).value_or(0));
    const QString text = m_intl.IntlStr(150) + QStringLiteral("\n\r") + m_intl.IntlStr(160) +
                         total + QStringLiteral("\r\n\r\n") + m_intl.IntlStr(170);
    const BoxAnswer answer = m_view.messageBox(QStringLiteral("Tollwatch"), text, BoxButtons::YesNo,
                                               BoxIcon::Information, BoxAnswer::Yes);
    if (answer != BoxAnswer::Yes)
        return;
    m_events.PostEvent(m_intl.IntlStr(5300) + total + QLatin1Char(')'), EventKind::Information);
    m_settings.store().transaction([&] { takeOff(minutesShown, costShown); });
}

// With nothing added meanwhile both totals become "0"; a total that was no
// number then or is none now starts at 0 as well.
void MonthlyReset::takeOff(const QString& minutesShown, const QString& costShown) {
    const auto minutesBefore = StoredTotals::Minutes(minutesShown);
    const auto minutesNow =
        StoredTotals::Minutes(m_settings.ReadText(kSettingsKey, kConnected, QStringLiteral("0")));
    const qint64 minutes = minutesBefore && minutesNow ? *minutesNow - *minutesBefore : 0;
    m_settings.WriteText(kSettingsKey, kConnected, QString::number(minutes));

    const auto costBefore = StoredTotals::Amount(costShown, m_formats);
    const auto costNow = StoredTotals::Amount(
        m_settings.ReadText(kSettingsKey, kConnectionCost, QStringLiteral("0")), m_formats);
    // Amounts carry no more than millionths; the difference is rounded well
    // below that, so 10.1 + 0.85 - 10.1 is stored as 0.85.
    const double cost =
        costBefore && costNow ? std::round((*costNow - *costBefore) * 1e9) / 1e9 : 0.0;
    m_settings.WriteText(kSettingsKey, kConnectionCost,
                         cost == 0 ? QStringLiteral("0") : DecimalText(cost, m_formats));
}
