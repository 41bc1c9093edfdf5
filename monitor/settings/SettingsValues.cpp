#include "SettingsValues.h"

SettingsEnabling SettingsEnabling::of(const SettingsValues& v, bool online, bool byteCounters) {
    SettingsEnabling e;
    // The tariff choices mean something only while cost is monitored.
    e.rateChoice = v.showCost;
    e.rateEdit = v.showCost && v.oneRate;
    e.ratesButton = v.showCost && !v.oneRate;
    e.warningTime = v.timeWarning;
    e.warningCost = v.costWarning;
    e.daily = v.timeWarning || v.costWarning;
    e.chime = v.chime;
    e.mail = v.monitorMail;
    // A running connection adds to the totals when it ends; an edit now
    // would be overwritten then.
    e.userTotals = !online;
    e.xfer = byteCounters;
    return e;
}
