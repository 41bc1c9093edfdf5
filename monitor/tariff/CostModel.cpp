#include "CostModel.h"

#include "Converters.h"
#include "DayTime.h"

#include <cmath>

namespace {

// The day runs from 00:00:00 to 23:59:59 for the cheap periods.
constexpr double kDayStart = 0.0;
constexpr double kDayEnd = DayTime::kMidnightCarry;

const QString kDefaultCheapBefore = QStringLiteral("08.00");
const QString kDefaultCheapAfter = QStringLiteral("18.00");

} // namespace

int CostModel::BilledMinutes(double span) {
    const DayTime::Hms hms = DayTime::Split(span);
    return hms.hours * 60 + hms.minutes + (hms.seconds != 0 ? 1 : 0);
}

bool CostModel::InPeriod(double t, double from, double to) {
    const double time = DayTime::TimeOfDay(t);
    return from <= time && time <= to;
}

double CostModel::ReadDecimal(const QString& name, const QString& def) const {
    return Usable(name, m_settings.ReadText(kSettingsKey, name, def));
}

double CostModel::Usable(const QString& name, const QString& text) const {
    if (!m_watch)
        return ParseDecimal(text, m_fmt);
    try {
        const double value = ParseDecimal(text, m_fmt);
        if (std::fabs(value) <= kLargestAmount) {
            m_watch->amountUsable(name);
            return value;
        }
    } catch (const ConversionError&) {
    }
    m_watch->unusableAmount(name, text);
    return 0;
}

double CostModel::ReadBound(const QString& name, const QString& def) const {
    try {
        return ParseTimeOfDay(m_settings.ReadText(kSettingsKey, name, def), m_fmt);
    } catch (const ConversionError&) {
        // A bound typed as nonsense must not stop the pricing of a connection.
        return ParseTimeOfDay(def, m_fmt);
    }
}

double CostModel::CheapBeforeTime() const {
    return ReadBound(QStringLiteral("Cheap Before"), kDefaultCheapBefore);
}

double CostModel::CheapAfterTime() const {
    return ReadBound(QStringLiteral("Cheap after"), kDefaultCheapAfter);
}

bool CostModel::IsHoliday() const {
    const QDate today = m_clock.now().date();
    const QString name = QStringLiteral("%1%2")
                             .arg(today.month(), 2, 10, QLatin1Char('0'))
                             .arg(today.day(), 2, 10, QLatin1Char('0'));
    // Read without creating the key: no key means no holidays.
    const auto value = m_settings.store().readValue(RegRoot::CurrentUser, kHolidaysKey, name);
    return value && value->type == RegType::String && !value->text.isEmpty();
}

bool CostModel::IsCheapDay() const {
    const int weekday = m_clock.now().date().dayOfWeek();
    if (weekday == Qt::Sunday &&
        m_settings.ReadFlag(kSettingsKey, QStringLiteral("SunCheap"), false))
        return true;
    if (weekday == Qt::Saturday &&
        m_settings.ReadFlag(kSettingsKey, QStringLiteral("SatCheap"), false))
        return true;
    if (weekday == Qt::Friday &&
        m_settings.ReadFlag(kSettingsKey, QStringLiteral("FriCheap"), false))
        return true;
    return IsHoliday();
}

double CostModel::CheapDayRate() const {
    if (m_settings.ReadFlag(kSettingsKey, QStringLiteral("One rate"), true))
        return ReadDecimal(QStringLiteral("Standard Rate"), QStringLiteral("0.20"));
    // Without a weekend rate of its own, the cheap rate's text stands in,
    // and a problem with it is the cheap rate's.
    const QString weekend = m_settings.ReadText(kSettingsKey, QStringLiteral("Weekend Rate"), {});
    if (weekend.isEmpty())
        return ReadDecimal(QStringLiteral("Cheap Rate"), QStringLiteral("0.10"));
    return Usable(QStringLiteral("Weekend Rate"), weekend);
}

double CostModel::NormalRate() const {
    if (IsCheapDay())
        return CheapDayRate();
    return ReadDecimal(QStringLiteral("Standard Rate"), QStringLiteral("1.00"));
}

double CostModel::CheapRate() const {
    if (IsCheapDay())
        return CheapDayRate();
    return ReadDecimal(QStringLiteral("Cheap Rate"), QStringLiteral("0.10"));
}

// In the three blocks every case that holds replaces the sum, so a start or an
// end exactly on a bound is decided by the last case that holds. Each term is
// added in the order written and reads its rate afresh.
void CostModel::PriceStartCheapMorning(double s, double e, double& p) const {
    if (InPeriod(e, kDayStart, CheapBeforeTime()))
        p = BilledMinutes(e - s) * CheapRate();
    if (InPeriod(e, CheapBeforeTime(), CheapAfterTime())) {
        p = BilledMinutes(CheapBeforeTime() - s) * CheapRate();
        p += BilledMinutes(e - CheapBeforeTime()) * NormalRate();
    }
    if (InPeriod(e, CheapAfterTime(), kDayEnd)) {
        p = BilledMinutes(CheapBeforeTime() - s) * CheapRate();
        p += BilledMinutes(CheapAfterTime() - CheapBeforeTime()) * NormalRate();
        p += BilledMinutes(e - CheapAfterTime()) * CheapRate();
    }
}

void CostModel::PriceStartNormal(double s, double e, double& p) const {
    if (InPeriod(e, CheapBeforeTime(), CheapAfterTime()))
        p = BilledMinutes(e - s) * NormalRate();
    if (InPeriod(e, CheapAfterTime(), kDayEnd)) {
        p = BilledMinutes(e - CheapAfterTime()) * CheapRate();
        p += BilledMinutes(CheapAfterTime() - s) * NormalRate();
    }
    if (InPeriod(e, kDayStart, CheapBeforeTime())) {
        p = BilledMinutes(kDayEnd - CheapAfterTime()) * CheapRate();
        p += BilledMinutes(CheapAfterTime() - s) * NormalRate();
        p += BilledMinutes(e - kDayStart) * CheapRate();
    }
}

void CostModel::PriceStartCheapEvening(double s, double e, double& p) const {
    if (InPeriod(e, CheapAfterTime(), kDayEnd))
        p = BilledMinutes(e - s) * CheapRate();
    if (InPeriod(e, kDayStart, CheapBeforeTime())) {
        p = BilledMinutes(kDayEnd - s) * CheapRate();
        p += BilledMinutes(e - kDayStart) * CheapRate();
    }
    if (InPeriod(e, CheapBeforeTime(), CheapAfterTime())) {
        p = BilledMinutes(kDayEnd - s) * CheapRate();
        p += BilledMinutes(CheapBeforeTime() - kDayStart) * CheapRate();
        p += BilledMinutes(e - CheapBeforeTime()) * NormalRate();
    }
}

double CostModel::ConnectionCost(double start, double end) const {
    double p = 0;
    if (InPeriod(start, kDayStart, CheapBeforeTime()))
        PriceStartCheapMorning(start, end, p);
    if (InPeriod(start, CheapBeforeTime(), CheapAfterTime()))
        PriceStartNormal(start, end, p);
    if (InPeriod(start, CheapAfterTime(), kDayEnd))
        PriceStartCheapEvening(start, end, p);

    const double fee = ReadDecimal(QStringLiteral("Connection Fee"), QStringLiteral("0.35"));
    if (fee > 0)
        p += fee;
    const double minimum = ReadDecimal(QStringLiteral("Minimum cost"), QStringLiteral("0.00"));
    if (minimum > p)
        p = minimum;
    return p;
}
