// A compile run over many generated log files with everything a real set
// holds (gaps between slots, a missing file, byte-order marks, every line
// end, malformed and abnormal-exit lines, keys longer than 70 characters,
// numbers that do not convert) gives exactly the report, charts and rows
// kept in tests/companion/data. Any change to how files are read, merged or
// summed that alters a byte of the output shows here.

#include "CompanionEngine.h"
#include "CompanionTestSupport.h"
#include "MemoryRegistryStore.h"
#include "TestEnvironment.h"
#include "TestFormats.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kSlots = 40;

class Lcg {
public:
    quint32 next(quint32 bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32((m_state >> 33) % bound);
    }

private:
    quint64 m_state = 19990312;
};

QString userName(Lcg& rng) {
    static const QStringList odd = {QStringLiteral("anna"),
                                    QStringLiteral("Anna"),
                                    QString::fromUtf8("\xc3\x85sa"),
                                    QString::fromUtf8("J\xc3\xb6rg"),
                                    QString(75, QLatin1Char('l')),
                                    QString(70, QLatin1Char('l')) + QStringLiteral("other"),
                                    QString()};
    if (rng.next(10) == 0)
        return odd.at(int(rng.next(quint32(odd.size()))));
    return QStringLiteral("user%1").arg(rng.next(90), 2, 10, QLatin1Char('0'));
}

QString providerName(Lcg& rng) {
    switch (rng.next(12)) {
    case 0:
        return QStringLiteral("Office;with;semicolons");
    case 1:
        return QString(72, QLatin1Char('p'));
    default:
        return QStringLiteral("Provider %1").arg(rng.next(25));
    }
}

// A number field: mostly as the monitor writes it, sometimes not convertible.
QString numberField(Lcg& rng, double value, const FormatSettings& fmt) {
    switch (rng.next(60)) {
    case 0:
        return QStringLiteral("x");
    case 1:
        return QString();
    case 2:
        return QString::number(value, 'f', 2); // a point where a comma is expected
    default:
        return fmt.formatFixed(value, 2);
    }
}

QString connectionLine(Lcg& rng, const FormatSettings& fmt) {
    const QDate date = QDate(1991, 1, 1).addDays(rng.next(3700));
    const QTime time = QTime(0, 0).addSecs(int(rng.next(86400)));
    const int minutes = 1 + int(rng.next(240));
    const QString length =
        rng.next(50) == 0 ? fmt.formatFixed(minutes + 0.5, 1) : QString::number(minutes);
    return QStringList({userName(rng), fmt.formatDate(date), fmt.formatTime(time), length,
                        numberField(rng, minutes * 0.2375, fmt),
                        numberField(rng, rng.next(500) / 100.0, fmt),
                        numberField(rng, rng.next(7000) / 10.0, fmt), providerName(rng)})
        .join(QLatin1Char(';'));
}

QString oddLine(Lcg& rng) {
    switch (rng.next(4)) {
    case 0:
        return QStringLiteral("Abnormal exit on last run:1999-03-20 10:00:00");
    case 1:
        return QString();
    case 2:
        return QStringLiteral("garbled;line");
    default:
        return QStringLiteral("a;b;c;d;e;f;g");
    }
}

QByteArray fileContent(Lcg& rng, int slot, const FormatSettings& fmt) {
    static const char* const ends[] = {"\r\n", "\n", "\r"};
    const char* end = ends[slot % 7 == 3 ? 1 : slot % 11 == 5 ? 2 : 0];
    QByteArray out = slot % 9 == 4 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    const int lines = 60 + int(rng.next(200));
    for (int i = 0; i < lines; ++i) {
        const QString line = rng.next(100) < 2 ? oddLine(rng) : connectionLine(rng, fmt);
        out += line.toUtf8();
        if (i + 1 < lines || slot % 13 != 6) // some files end without a line end
            out += end;
    }
    return out;
}

// Fills the slots: 7 and 23 stay empty, 31 names a file that is not there.
void writeLogSet(const QString& folder, Settings& settings, const FormatSettings& fmt) {
    Lcg rng;
    for (int slot = 1; slot <= kSlots; ++slot) {
        if (slot == 7 || slot == 23)
            continue;
        const QString path = folder + QStringLiteral("/access%1.txt").arg(slot);
        settings.WriteText(kLogFilesKey, QStringLiteral("Log file %1").arg(slot), path);
        if (slot != 31)
            CompanionTest::writeFile(path, fileContent(rng, slot, fmt));
    }
}

// Every row's seven texts in list order, folded into one number.
quint64 rowsDigest(const ConnectionTable& rows) {
    quint64 hash = 14695981039346656037ULL;
    for (int row = 0; row < rows.rowCount(); ++row)
        for (int column = 0; column < ConnectionTable::kColumnCount; ++column)
            for (char c : rows.text(row, column).toUtf8() + '\x1f') {
                hash ^= quint8(c);
                hash *= 1099511628211ULL;
            }
    return hash;
}

QByteArray compiledOutput(const FormatSettings& fmt) {
    QTemporaryDir dir;
    MemoryRegistryStore store;
    Settings settings(store);
    writeLogSet(dir.path(), settings, fmt);
    ManualClock clock(CompanionTest::today());
    RecordingObserver observer;
    CompanionEngine engine(store, clock, fmt, observer);
    engine.UpdateListWindow();
    QStringList out = engine.report().lines;
    out << QStringLiteral("-- messages");
    for (const MessageBoxRequest& box : observer.messages)
        out << QString(box.text).replace(dir.path(), QStringLiteral("DIR"));
    for (int kind = 0; kind < 6; ++kind) {
        engine.setChartKind(*ChartLines::kindFromNumber(kind));
        out << QStringLiteral("-- chart %1").arg(kind);
        if (engine.LoadChartData())
            out << engine.chart().lines;
    }
    out << QStringLiteral("-- rows %1 digest %2")
               .arg(engine.rows().rowCount())
               .arg(rowsDigest(engine.rows()));
    return out.join(QLatin1Char('\n')).toUtf8() + '\n';
}

void compareWithKept(const char* locale, const QString& name) {
    const QByteArray actual = compiledOutput(TestFormats::forLocale(locale));
    const QString kept =
        TestEnvironment::sourceDir() + QStringLiteral("/tests/companion/data/") + name;
    const QByteArray expected = CompanionTest::readFile(kept);
    if (actual != expected) {
        // Left beside the test program for a look with diff.
        const QString written =
            QCoreApplication::applicationDirPath() + QLatin1Char('/') + name + ".actual";
        CompanionTest::writeFile(written, actual);
        FAIL() << "the output differs from " << kept.toStdString() << "; it is in "
               << written.toStdString();
    }
}

} // namespace

TEST(ManyFilesReport, IsExactlyTheKeptReportInSwedishAndAmericanFormats) {
    compareWithKept("sv_SE", QStringLiteral("many-files-sv_SE.txt"));
    compareWithKept("en_US", QStringLiteral("many-files-en_US.txt"));
}
