#include "TStringListWithDouble.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// Only a point separates the decimals: "1,000" is no number here, and its
// line is left out like any other line whose value does not convert.
QLocale pointLocale() {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    return c;
}

} // namespace

void TStringListWithDouble::Clear() {
    m_entries.clear();
    m_total = 0;
}

void TStringListWithDouble::Load(const QStringList& lines) {
    Clear();
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        const QString valueText = blank < 0 ? line : line.left(blank);
        bool ok = false;
        const double value = pointLocale().toDouble(valueText, &ok);
        if (!ok || !std::isfinite(value))
            continue;
        m_total += value;
        m_entries.push_back({line, blank < 0 ? QString() : line.mid(blank + 1).trimmed(), value});
    }
    // Equal values keep the order they came in, so a chart is drawn the same
    // way every time it is loaded.
    std::stable_sort(
        m_entries.begin(), m_entries.end(),
        [](const TObjectAndDouble& a, const TObjectAndDouble& b) { return a.value > b.value; });
}

QStringList TStringListWithDouble::lines() const {
    QStringList out;
    out.reserve(qsizetype(m_entries.size()));
    for (const TObjectAndDouble& e : m_entries)
        out << e.line;
    return out;
}
