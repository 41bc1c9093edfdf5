#include "HolidayList.h"

#include "CostModel.h"
#include "FormatSettings.h"
#include "IntlStrings.h"
#include "TRegistryEnhanced.h"

namespace {
QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

HolidayList::HolidayList(RegistryStore& store, const IntlStrings& intl,
                         const FormatSettings& formats)
    : m_store(store), m_intl(intl), m_formats(formats) {}

QStringList HolidayList::lines() const {
    TRegistryEnhanced reg(m_store);
    reg.RootKey = TRootKey::hkCurrentUser;
    reg.Key = kHolidaysKey;
    reg.Search(QString(), QString(), 0);
    QStringList out;
    // The last four characters of an entry's path are the month and the day.
    for (const QString& entry : reg.EntriesFound) {
        const QString mmdd = entry.right(4);
        out << mmdd.left(2) + m_formats.dateSeparator + mmdd.mid(2, 2);
    }
    return out;
}

QString HolidayList::add(int monthIndex, int dayIndex) {
    const QString month = twoDigits(monthIndex + 1);
    const QString day = twoDigits(dayIndex + 1);
    TRegistryEnhanced reg(m_store);
    reg.RootKey = TRootKey::hkCurrentUser;
    reg.Key = kHolidaysKey;
    reg.WriteValue(month + day, m_intl.IntlStr(5120));
    return month + m_formats.dateSeparator + day;
}

bool HolidayList::remove(const QString& line) {
    // The date separator is one character: month at 1-2, day at 4-5.
    if (line.size() < 5)
        return false;
    const QString name = line.mid(0, 2) + line.mid(3, 2);
    TRegistryEnhanced reg(m_store);
    reg.RootKey = TRootKey::hkCurrentUser;
    reg.Key = kHolidaysKey;
    reg.DeleteValue(name);
    return true;
}

QStringList HolidayList::monthNames(const IntlStrings& intl) {
    QStringList names;
    for (int id = 5000; id <= 5120; id += 10)
        names << intl.IntlStr(id);
    return names;
}
