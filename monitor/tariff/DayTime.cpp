#include "DayTime.h"

#include <cmath>

namespace DayTime {

namespace {

constexpr qint64 kMsPerDay = 86400000;

// Milliseconds of t within its day; rounding to the millisecond absorbs the
// binary error of sums such as 08:00:00 + 23:59:59.
qint64 MsOfDay(double t) {
    const qint64 ms = std::llround(t * double(kMsPerDay));
    return ((ms % kMsPerDay) + kMsPerDay) % kMsPerDay;
}

} // namespace

double FromTime(const QTime& time) {
    return time.msecsSinceStartOfDay() / double(kMsPerDay);
}

double CutToSeconds(double t) {
    const qint64 ms = std::llround(t * double(kMsPerDay));
    return double(ms / 1000) / 86400.0;
}

double AcrossMidnight(double start, double end) {
    return start > end ? end + kMidnightCarry : end;
}

double TimeOfDay(double t) {
    return double(MsOfDay(t) / 1000) / 86400.0;
}

Hms Split(double span) {
    const qint64 seconds = MsOfDay(std::fabs(span)) / 1000;
    Hms out;
    out.hours = quint16(seconds / 3600);
    out.minutes = quint16(seconds / 60 % 60);
    out.seconds = quint16(seconds % 60);
    return out;
}

int TotalSeconds(const Hms& hms) {
    return hms.hours * 3600 + hms.minutes * 60 + hms.seconds;
}

} // namespace DayTime
