#pragma once
// The yearly holidays as the holidays dialog shows and edits them: one value
// per holiday under the holiday key, named MMDD, listed as month, the user's
// date separator and day. Additions and removals are written at once.

#include <QString>
#include <QStringList>

class IntlStrings;
class RegistryStore;
struct FormatSettings;

class HolidayList {
public:
    HolidayList(RegistryStore& store, const IntlStrings& intl, const FormatSettings& formats);

    // One line per stored value, whatever its description (an empty one is
    // listed but the cost model does not count it), in the store's order.
    QStringList lines() const;
    // Adds the holiday of a month index (0 January) and a day index (0 the
    // 1st) and returns its line. No check for duplicates or impossible dates:
    // the value is simply written again.
    QString add(int monthIndex, int dayIndex);
    // Deletes the value a listed line names; false when the line names none
    // (too short, nothing selected).
    bool remove(const QString& line);

    // January to December, then "User defined".
    static QStringList monthNames(const IntlStrings& intl);

private:
    RegistryStore& m_store;
    const IntlStrings& m_intl;
    const FormatSettings& m_formats;
};
