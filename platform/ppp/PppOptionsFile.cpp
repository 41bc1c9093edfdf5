#include "PppOptionsFile.h"

#include <QFile>

namespace PppOptionsFile {

namespace {

// Reads one word starting at i (not a blank); i ends after it.
QString readWord(const QString& text, int& i) {
    QString word;
    bool inQuotes = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            word.append(text.at(++i));
        } else if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
        } else if (!inQuotes && c.isSpace()) {
            break;
        } else {
            word.append(c);
        }
    }
    return word;
}

} // namespace

QStringList words(const QString& text) {
    QStringList out;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('#')) {
            while (i < text.size() && text.at(i) != QLatin1Char('\n'))
                ++i;
        } else {
            out.append(readWord(text, i));
        }
    }
    return out;
}

QStringList wordsOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return words(QString::fromLocal8Bit(file.readAll()));
}

QString valueOf(const QStringList& words, const QString& option) {
    QString value;
    for (int i = 0; i + 1 < words.size(); ++i) {
        if (words.at(i) == option)
            value = words.at(i + 1);
    }
    return value;
}

QString quoted(const QString& word) {
    QString out = QStringLiteral("\"");
    for (const QChar c : word) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out.append(QLatin1Char('\\'));
        out.append(c);
    }
    return out + QLatin1Char('"');
}

} // namespace PppOptionsFile
