#include "TotalTexts.h"

#include "Converters.h"
#include "TariffTexts.h"

bool TotalTexts::ShowCost() const {
    return m_settings.ReadFlag(kSettingsKey, QStringLiteral("Show cost"), false);
}

double TotalTexts::ConnectionCostTotal() const {
    try {
        return ParseDecimal(m_settings.ReadText(kSettingsKey, QStringLiteral("Connection Cost"),
                                                QStringLiteral("0.0")),
                            m_fmt);
    } catch (const ConversionError&) {
        // The session end reports such a total and starts it again.
        return 0;
    }
}

QString TotalTexts::TotalText(qint64 minutes) const {
    if (ShowCost())
        return m_intl.IntlStr(30) + CurrencyText(ConnectionCostTotal(), m_fmt);
    return m_intl.IntlStr(20) + MinutesText(minutes, m_fmt);
}

QString TotalTexts::TrayTotalText(qint64 minutes) const {
    if (ShowCost())
        return CurrencyText(ConnectionCostTotal(), m_fmt) + QStringLiteral(" (") +
               MinutesText(minutes, m_fmt) + QLatin1Char(')');
    return MinutesText(minutes, m_fmt);
}
