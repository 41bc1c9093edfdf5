#pragma once
// Prices a connection from its start and end time of day under the user's
// tariff. Holds no state: every call reads the tariff, holidays and clock anew.

#include "Clock.h"
#include "FormatSettings.h"
#include "Settings.h"

#include <QString>

// The holiday list: one value per holiday, named by month and day ("1224").
inline const QString kHolidaysKey = QStringLiteral("Software\\Varnholt\\Farrowline\\Holidays");

// Hears which rates, fees and minimums can take part in a price.
class AmountWatch {
public:
    virtual ~AmountWatch() = default;
    // name's stored text is no usable amount; it counts as 0.
    virtual void unusableAmount(const QString& name, const QString& text) = 0;
    virtual void amountUsable(const QString& name) = 0;
};

// The tariff at one moment, each value read once: the bounds of the cheap
// hours and the rates in force today, the fee and the minimum.
struct Tariff {
    double cheapBefore = 0;
    double cheapAfter = 0;
    double normalRate = 0;
    double cheapRate = 0;
    double fee = 0;
    double minimum = 0;
};

class CostModel {
public:
    // The largest rate, fee or minimum a price is made of: beyond it, the
    // minutes of a day at that rate could exceed the largest number a price
    // can hold, and every total it went into would stop being a number.
    static constexpr double kLargestAmount = 1e300;

    // With watch, a rate, fee or minimum that is no number or larger than
    // kLargestAmount counts as 0 and watch hears of it, so the connection is
    // still priced by the rest of the tariff; without one it throws
    // ConversionError.
    CostModel(const Settings& settings, const FormatSettings& fmt, const Clock& clock,
              AmountWatch* watch = nullptr)
        : m_settings(settings), m_fmt(fmt), m_clock(clock), m_watch(watch) {}

    // The price of the whole connection so far, always a finite number. end
    // carries the 23:59:59 the caller added when the connection crossed
    // midnight. The tariff is read once for the computation (ReadTariff).
    double ConnectionCost(double start, double end) const;

    // Every value of the tariff as stored now; a change applies to the next
    // computation, the rest of a connection in progress included.
    Tariff ReadTariff() const;
    // The price of a connection under a tariff.
    static double Price(const Tariff& tariff, double start, double end);

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
    double Usable(const QString& name, const QString& text) const;
    double ReadBound(const QString& name, const QString& def) const;

    const Settings& m_settings;
    const FormatSettings& m_fmt;
    const Clock& m_clock;
    AmountWatch* m_watch;
};
