#include "CheckTotalLimits.h"

#include "Converters.h"

QString CheckTotalLimits::WarningMessage(const AccountingContext& ctx) {
    return ctx.settings.ReadText(kSettingsKey, QStringLiteral("Warning Message"),
                                 ctx.intl.IntlStr(6200));
}

void CheckTotalLimits::run() {
    const Settings& s = m_ctx.settings;
    const qint64 warningTime =
        StrToInt(s.ReadText(kSettingsKey, QStringLiteral("Warning time"), QStringLiteral("0")));
    if (m_ctx.connectedMinutes() >= warningTime &&
        s.ReadFlag(kSettingsKey, QStringLiteral("Warning"), false)) {
        m_ctx.events.PostEvent(m_ctx.intl.IntlStr(5240), EventKind::Warning);
        m_ctx.events.PostEvent(WarningMessage(m_ctx), EventKind::Warning);
    }
    const double warningCost = ParseDecimal(
        s.ReadText(kSettingsKey, QStringLiteral("Warning cost"), QStringLiteral("0")), m_ctx.fmt);
    if (m_ctx.totalTexts().ConnectionCostTotal() > warningCost &&
        s.ReadFlag(kSettingsKey, QStringLiteral("Cost Warning"), false)) {
        m_ctx.events.PostEvent(m_ctx.intl.IntlStr(5250), EventKind::Warning);
        m_ctx.events.PostEvent(WarningMessage(m_ctx), EventKind::Warning);
    }
}
