#include "AccountingContext.h"

#include "Converters.h"
#include "DayTime.h"

double AccountingContext::nowInSeconds() const {
    return DayTime::CutToSeconds(DayTime::FromTime(clock.now().time()));
}

qint64 AccountingContext::connectedMinutes() const {
    return StrToInt(
        settings.ReadText(kSettingsKey, QStringLiteral("Connected"), QStringLiteral("0")));
}
