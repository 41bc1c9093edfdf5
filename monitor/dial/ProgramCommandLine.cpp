#include "ProgramCommandLine.h"

#include "DosPath.h"

#include <QFileInfo>

namespace ProgramCommandLine {

QStringList words(const QString& text) {
    QStringList out;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c.isSpace() && !quoted) {
            if (inWord)
                out << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        out << word;
    return out;
}

ProgramCall parse(const QString& value, const DosPathMapper& paths) {
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QString whole = paths.toNative(trimmed);
    if (!trimmed.startsWith(QLatin1Char('"')) && whole.contains(QLatin1Char('/')) &&
        QFileInfo::exists(whole))
        return {whole, {}};
    QStringList parts = words(trimmed);
    if (parts.isEmpty())
        return {};
    const QString program = paths.toNative(parts.takeFirst());
    return {program, parts};
}

} // namespace ProgramCommandLine
