#pragma once
// The pie chart's data: text lines that start with a value ("125 anna 34%"),
// kept with that value, largest first, and the total of all values.

#include <QString>
#include <QStringList>

#include <vector>

struct TObjectAndDouble {
    QString line;  // the whole trimmed line
    QString label; // the line without its value
    double value = 0;
};

class TStringListWithDouble {
public:
    // Replaces the content: each line is trimmed, the text before its first
    // blank is read as a number with "." as separator (lines where it is no
    // number are dropped), the rest is the label.
    void Load(const QStringList& lines);
    void Clear();

    const std::vector<TObjectAndDouble>& entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    double total() const { return m_total; }
    QStringList lines() const;

private:
    std::vector<TObjectAndDouble> m_entries;
    double m_total = 0;
};
