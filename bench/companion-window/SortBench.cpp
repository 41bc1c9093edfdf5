// Times a column click on the connection list with 1,000,000 rows read from
// a generated log (300 users, 60 connection names, ten years of dates), for
// every column and both directions, in a Swedish and an American locale (the
// latter writes AM/PM times). Prints the median of five runs per click, and
// for comparison one sort of the Connection column through the collator alone.

#include "ConnectionListModel.h"
#include "ConnectionSorter.h"
#include "ConnectionTable.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDate>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 1000000;
constexpr int kRuns = 5;

class Lcg {
public:
    quint32 next(quint32 bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32((m_state >> 33) % bound);
    }

private:
    quint64 m_state = 20010320;
};

QByteArray generatedLog(const FormatSettings& fmt) {
    Lcg rng;
    QByteArray out;
    out.reserve(kRows * 64);
    for (int i = 0; i < kRows; ++i) {
        const QDate date = QDate(1991, 1, 1).addDays(rng.next(3652));
        const QTime time = QTime(0, 0).addSecs(int(rng.next(86400)));
        const int minutes = 1 + int(rng.next(180));
        out += QStringLiteral("user%1;%2;%3;%4;%5;%6;%7;Provider %8\r\n")
                   .arg(rng.next(300), 3, 10, QLatin1Char('0'))
                   .arg(fmt.formatDate(date), fmt.formatTime(time), QString::number(minutes),
                        fmt.formatFixed(minutes * 0.2375, 2),
                        fmt.formatFixed(rng.next(500) / 100.0, 2),
                        fmt.formatFixed(rng.next(700) / 10.0, 2))
                   .arg(rng.next(60))
                   .toUtf8();
    }
    return out;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Each run starts from the rows' own order, as after a compile.
void timeClicks(const ConnectionTable& table, const FormatSettings& fmt, const QLocale& locale,
                int onlyColumn) {
    ConnectionListModel model;
    for (int column = 0; column < ConnectionSorter::kColumns; ++column) {
        if (onlyColumn >= 0 && column != onlyColumn)
            continue;
        std::vector<double> first, second;
        for (int run = 0; run < kRuns; ++run) {
            ConnectionSorter sorter(fmt, locale);
            // As the window gives them: texts to show, bytes to sort by.
            model.setRows(
                table.rowCount(), [&](int r, int c) { return table.text(r, c); },
                [&](int r, int c, QByteArray& out) { table.utf8(r, c, out); });
            auto start = std::chrono::steady_clock::now();
            model.sortByClick(sorter, column);
            first.push_back(millisecondsSince(start));
            start = std::chrono::steady_clock::now();
            model.sortByClick(sorter, column);
            second.push_back(millisecondsSince(start));
        }
        std::printf("  column %d: first click %7.1f ms, second click %7.1f ms\n", column,
                    median(first), median(second));
    }
}

void timeCollatorAlone(const ConnectionTable& table, const QLocale& locale) {
    QCollator collator(locale);
    std::vector<QString> texts(size_t(table.rowCount()));
    for (int r = 0; r < table.rowCount(); ++r)
        texts[size_t(r)] = table.text(r, ConnectionTable::Connection);
    std::vector<int> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    const auto start = std::chrono::steady_clock::now();
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return collator.compare(texts[size_t(a)], texts[size_t(b)]) < 0;
    });
    std::printf("  Connection through the collator alone (texts ready): %7.1f ms\n",
                millisecondsSince(start));
}

} // namespace

// Arguments, both optional: a locale name and one column (for profiling).
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QStringList locales =
        args.size() > 1 ? QStringList{args.at(1)} : QStringList{"sv_SE", "en_US"};
    const int onlyColumn = args.size() > 2 ? args.at(2).toInt() : -1;
    for (const QString& name : locales) {
        const QLocale locale{name};
        const FormatSettings fmt = FormatSettings::fromLocale(locale);
        ConnectionTable table;
        RunCounters counters;
        table.appendFile(generatedLog(fmt), QByteArrayView("Abnormal exit on last run"), counters);
        std::printf("%s, %d rows (example: %s)\n", qPrintable(name), table.rowCount(),
                    qPrintable(table.text(0, ConnectionTable::Connection)));
        timeClicks(table, fmt, locale, onlyColumn);
        if (onlyColumn < 0)
            timeCollatorAlone(table, locale);
    }
    return 0;
}
