#pragma once
// Prices a connection from its start and end time of day under the user's
// tariff. Holds no state: every call reads the tariff, holidays and clock anew.

#include "Clock.h"
#include "FormatSettings.h"
#include "Settings.h"

#include <QString>

// The holiday list: one value per holiday, named by month and day ("1224").
inline const QString kHolidaysKey = QStringLiteral("Software\\Varnholt\\Farrowline\\Holidays");

class CostModel {
public:
    CostModel(const Settings& settings, const FormatSettings& fmt, const Clock& clock)
        : m_settings(settings), m_fmt(fmt), m_clock(clock) {}

    // The price of the whole connection so far. end carries the 23:59:59 the
    // caller added when the connection crossed midnight. A rate, fee or
    // minimum that is no number throws ConversionError.
    double ConnectionCost(double start, double end) const;

    // Started minutes of a span, counted in whole seconds; whole days dropped.
    static int BilledMinutes(double span);
    // from <= time of day of t <= to.
    static bool InPeriod(double t, double from, double to);

    // The rates in force now, judged by today's date.
    double NormalRate() const;
    double CheapRate() const;
    double CheapDayRate() const;
    bool IsHoliday() const;

    // The cheap-hour bounds; a stored bound that is no time gives the default.
    double CheapBeforeTime() const;
    double CheapAfterTime() const;

private:
    bool IsCheapDay() const;
    double ReadDecimal(const QString& name, const QString& def) const;
    double ReadBound(const QString& name, const QString& def) const;
    void PriceStartCheapMorning(double s, double e, double& p) const;
    void PriceStartNormal(double s, double e, double& p) const;
    void PriceStartCheapEvening(double s, double e, double& p) const;

    const Settings& m_settings;
    const FormatSettings& m_fmt;
    const Clock& m_clock;
};
