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
    const auto value = m_settings.ReadValue(kHolidaysKey, name);
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

Tariff CostModel::ReadTariff() const {
    Tariff t;
    t.cheapBefore = CheapBeforeTime();
    t.cheapAfter = CheapAfterTime();
    if (IsCheapDay()) {
        t.normalRate = t.cheapRate = CheapDayRate();
    } else {
        t.normalRate = ReadDecimal(QStringLiteral("Standard Rate"), QStringLiteral("1.00"));
        t.cheapRate = ReadDecimal(QStringLiteral("Cheap Rate"), QStringLiteral("0.10"));
    }
    t.fee = ReadDecimal(QStringLiteral("Connection Fee"), QStringLiteral("0.35"));
    t.minimum = ReadDecimal(QStringLiteral("Minimum cost"), QStringLiteral("0.00"));
    return t;
}

namespace {

// In the three blocks every case that holds replaces the sum, so a start or an
// end exactly on a bound is decided by the last case that holds. Each term is
// added in the order written.
void PriceStartCheapMorning(const Tariff& t, double s, double e, double& p) {
    const double cb = t.cheapBefore;
    const double ca = t.cheapAfter;
    if (CostModel::InPeriod(e, kDayStart, cb))
        p = CostModel::BilledMinutes(e - s) * t.cheapRate;
    if (CostModel::InPeriod(e, cb, ca)) {
        p = CostModel::BilledMinutes(cb - s) * t.cheapRate;
        p += CostModel::BilledMinutes(e - cb) * t.normalRate;
    }
    if (CostModel::InPeriod(e, ca, kDayEnd)) {
        p = CostModel::BilledMinutes(cb - s) * t.cheapRate;
        p += CostModel::BilledMinutes(ca - cb) * t.normalRate;
        p += CostModel::BilledMinutes(e - ca) * t.cheapRate;
    }
}

void PriceStartNormal(const Tariff& t, double s, double e, double& p) {
    const double cb = t.cheapBefore;
    const double ca = t.cheapAfter;
    if (CostModel::InPeriod(e, cb, ca))
        p = CostModel::BilledMinutes(e - s) * t.normalRate;
    if (CostModel::InPeriod(e, ca, kDayEnd)) {
        p = CostModel::BilledMinutes(e - ca) * t.cheapRate;
        p += CostModel::BilledMinutes(ca - s) * t.normalRate;
    }
    if (CostModel::InPeriod(e, kDayStart, cb)) {
        p = CostModel::BilledMinutes(kDayEnd - ca) * t.cheapRate;
        p += CostModel::BilledMinutes(ca - s) * t.normalRate;
        p += CostModel::BilledMinutes(e - kDayStart) * t.cheapRate;
    }
}

void PriceStartCheapEvening(const Tariff& t, double s, double e, double& p) {
    const double cb = t.cheapBefore;
    const double ca = t.cheapAfter;
    if (CostModel::InPeriod(e, ca, kDayEnd))
        p = CostModel::BilledMinutes(e - s) * t.cheapRate;
    if (CostModel::InPeriod(e, kDayStart, cb)) {
        p = CostModel::BilledMinutes(kDayEnd - s) * t.cheapRate;
        p += CostModel::BilledMinutes(e - kDayStart) * t.cheapRate;
    }
    if (CostModel::InPeriod(e, cb, ca)) {
        p = CostModel::BilledMinutes(kDayEnd - s) * t.cheapRate;
        p += CostModel::BilledMinutes(cb - kDayStart) * t.cheapRate;
        p += CostModel::BilledMinutes(e - cb) * t.normalRate;
    }
}

} // namespace

double CostModel::Price(const Tariff& t, double start, double end) {
    double p = 0;
    if (InPeriod(start, kDayStart, t.cheapBefore))
        PriceStartCheapMorning(t, start, end, p);
    if (InPeriod(start, t.cheapBefore, t.cheapAfter))
        PriceStartNormal(t, start, end, p);
    if (InPeriod(start, t.cheapAfter, kDayEnd))
        PriceStartCheapEvening(t, start, end, p);
    if (t.fee > 0)
        p += t.fee;
    if (t.minimum > p)
        p = t.minimum;
    return p;
}

double CostModel::ConnectionCost(double start, double end) const {
    return Price(ReadTariff(), start, end);
}
