#pragma once
// Times of day as fractions of a day (0 = midnight, one second = 1/86400), the
// way every start, end and duration of a connection is held.

#include <QTime>
#include <QtGlobal>

namespace DayTime {

inline constexpr double kSecond = 1.0 / 86400.0;
// 23:59:59, added to an end time that is earlier than its start (the
// connection crossed midnight); one second short of a full day.
inline constexpr double kMidnightCarry = 86399.0 / 86400.0;

struct Hms {
    quint16 hours = 0;
    quint16 minutes = 0;
    quint16 seconds = 0;
};

// The time of day of a clock reading, milliseconds included.
double FromTime(const QTime& time);
// The same value with its milliseconds dropped.
double CutToSeconds(double t);
// end, or end + 23:59:59 when start is later than end.
double AcrossMidnight(double start, double end);
// The time of day of t in whole seconds: whole days and milliseconds dropped.
double TimeOfDay(double t);
// Hours, minutes and seconds of a span (its absolute value), whole days and
// milliseconds dropped.
Hms Split(double span);
// h × 3600 + m × 60 + s of a split span.
int TotalSeconds(const Hms& hms);

} // namespace DayTime
