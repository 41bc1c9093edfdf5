#include "AccountingContext.h"

#include "Converters.h"
#include "DayTime.h"
#include "StoredTotals.h"

double AccountingContext::nowInSeconds() const {
    return DayTime::CutToSeconds(DayTime::FromTime(clock.now().time()));
}

qint64 AccountingContext::connectedMinutes() const {
    return StoredTotals::Minutes(
               settings.ReadText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("0")))
        .value_or(0);
}
