#include "MonthlyReset.h"

#include "Clock.h"
#include "Converters.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "Settings.h"
#include "TotalTexts.h"

namespace {

qint64 connectedMinutes(const Settings& settings) {
    try {
        return StrToInt(
            settings.ReadText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("0")));
    } catch (const ConversionError&) {
        return 0;
    }
}

} // namespace

MonthlyReset::MonthlyReset(Settings& settings, MonitorView& view, EventSink& events,
                           const IntlStrings& intl, const TotalTexts& totals, const Clock& clock)
    : m_settings(settings), m_view(view), m_events(events), m_intl(intl), m_totals(totals),
      m_clock(clock) {}

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
    const QString total = m_totals.TotalText(connectedMinutes(m_settings));
    const QString text = m_intl.IntlStr(150) + QStringLiteral("\n\r") + m_intl.IntlStr(160) +
                         total + QStringLiteral("\r\n\r\n") + m_intl.IntlStr(170);
    const BoxAnswer answer = m_view.messageBox(QStringLiteral("Tollwatch"), text, BoxButtons::YesNo,
                                               BoxIcon::Information, BoxAnswer::Yes);
    if (answer != BoxAnswer::Yes)
        return;
    m_events.PostEvent(m_intl.IntlStr(5300) + total + QLatin1Char(')'), EventKind::Information);
    m_settings.store().transaction([this] {
        m_settings.WriteText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("0"));
        m_settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("0"));
    });
}
