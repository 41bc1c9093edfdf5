#pragma once
// The benchmarks' log sets, generated the same on every machine: 300 users,
// 60 connection names, ten years of dates and 1 % lines that are not
// connections, spread over a number of files.

#include "FormatSettings.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTime>

namespace GeneratedLogs {

class Lcg {
public:
    quint32 next(quint32 bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32((m_state >> 33) % bound);
    }

private:
    quint64 m_state = 20010320;
};

inline QByteArray line(Lcg& rng, const FormatSettings& fmt) {
    if (rng.next(100) == 0) // 1% lines that are not connections
        return rng.next(2) ? QByteArray("Abnormal exit on last run:1999-03-20 10:00:00")
                           : QByteArray("garbled;line");
    const QDate date = QDate(1991, 1, 1).addDays(rng.next(3652));
    const QTime time = QTime(0, 0).addSecs(int(rng.next(86400)));
    const int minutes = 1 + int(rng.next(180));
    const QString text =
        QStringLiteral("user%1;%2;%3;%4;%5;%6;%7;Provider %8")
            .arg(rng.next(300), 3, 10, QLatin1Char('0'))
            .arg(fmt.formatDate(date), fmt.formatTime(time), QString::number(minutes),
                 fmt.formatFixed(minutes * 0.2375, 2), fmt.formatFixed(rng.next(500) / 100.0, 2),
                 fmt.formatFixed(rng.next(700) / 10.0, 2))
            .arg(rng.next(60));
    return text.toUtf8();
}

// Writes files files with lines lines in all into folder; their paths.
inline QStringList write(const QString& folder, int lines, int files, const FormatSettings& fmt) {
    QDir().mkpath(folder);
    Lcg rng;
    QStringList paths;
    for (int f = 0; f < files; ++f) {
        const QString path = folder + QStringLiteral("/access%1.txt").arg(f + 1);
        QByteArray content;
        const int count = lines / files + (f < lines % files ? 1 : 0);
        for (int i = 0; i < count; ++i)
            content += line(rng, fmt) + "\r\n";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        paths.append(path);
    }
    return paths;
}

} // namespace GeneratedLogs
