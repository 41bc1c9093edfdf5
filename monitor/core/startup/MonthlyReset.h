#pragma once
// When "Reset each month" is on, offers once per calendar month to reset the
// user's totals; the month of the last offer is kept as "Last Reset".

#include <QString>

class Clock;
class EventSink;
class IntlStrings;
class MonitorView;
class Settings;
class TotalTexts;
struct FormatSettings;

class MonthlyReset {
public:
    MonthlyReset(Settings& settings, MonitorView& view, EventSink& events, const IntlStrings& intl,
                 const TotalTexts& totals, const Clock& clock, const FormatSettings& formats);

    // Asks when the month changed since "Last Reset"; records the current
    // month whatever the answer. Does nothing when "Reset each month" is off.
    // A reset takes off the totals the question showed: a connection that
    // ended while it was open belongs to the new month and stays.
    void run();

    // "Last Reset" text: the four-digit year directly followed by the month
    // without padding. A text without a year (shorter than five characters)
    // or that is no year and month comes before every month.
    static bool isDue(const QString& lastReset, int year, int month);

private:
    void ask();
    void takeOff(const QString& minutesShown, const QString& costShown);

    Settings& m_settings;
    MonitorView& m_view;
    EventSink& m_events;
    const IntlStrings& m_intl;
    const TotalTexts& m_totals;
    const Clock& m_clock;
    const FormatSettings& m_formats;
};
