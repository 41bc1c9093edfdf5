#pragma once
// The total texts of the status window and the tray: in cost mode the user's
// total cost, in time mode the minutes. Reads "Show cost" and the totals anew.

#include "FormatSettings.h"
#include "IntlStrings.h"
#include "Settings.h"

#include <QString>

class TotalTexts {
public:
    TotalTexts(const Settings& settings, const IntlStrings& intl, const FormatSettings& fmt)
        : m_settings(settings), m_intl(intl), m_fmt(fmt) {}

    // "Show cost" (default false).
    bool ShowCost() const;
    // "Connection Cost", read with the separator-tolerant rule (default "0.0");
    // 0 when it is no number.
    double ConnectionCostTotal() const;

    // Cost mode: "Total connection cost: " and the total cost (minutes unused);
    // time mode: "Total connection time: " and the minutes.
    QString TotalText(qint64 minutes) const;
    // Cost mode: the total cost and the minutes in parentheses; time mode: the
    // minutes alone.
    QString TrayTotalText(qint64 minutes) const;

private:
    const Settings& m_settings;
    const IntlStrings& m_intl;
    const FormatSettings& m_fmt;
};
