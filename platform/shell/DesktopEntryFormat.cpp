#include "DesktopEntryFormat.h"

namespace DesktopEntryFormat {

namespace {
const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
const QString kEscapedInQuotes = QStringLiteral("\"`$\\");
} // namespace

QString escapeValue(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char(' ') && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString& value) {
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(++i);
        if (n == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (n == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (n == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (n == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += n;
    }
    return out;
}

QString quoteArgument(const QString& argument) {
    QString body = argument;
    body.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool reserved = body.isEmpty();
    for (const QChar c : body)
        reserved = reserved || kReserved.contains(c);
    if (!reserved)
        return body;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : body) {
        if (kEscapedInQuotes.contains(c))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString execLine(const QString& program, const QStringList& arguments) {
    QStringList parts{quoteArgument(program)};
    for (const QString& a : arguments)
        parts << quoteArgument(a);
    // The quoting above comes first; the string escape of the whole value
    // is applied on top of it, which is why a backslash ends up as four.
    return escapeValue(parts.join(QLatin1Char(' ')));
}

QStringList splitExec(const QString& value) {
    const QString line = unescapeValue(value);
    QStringList out;
    QString current;
    bool inQuotes = false;
    bool any = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < line.size()) {
            current += line.at(++i);
        } else if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            any = true;
        } else if (!inQuotes && c == QLatin1Char(' ')) {
            if (any || !current.isEmpty())
                out << current;
            current.clear();
            any = false;
        } else if (c == QLatin1Char('%') && i + 1 < line.size() &&
                   line.at(i + 1) == QLatin1Char('%')) {
            current += QLatin1Char('%');
            ++i;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        out << current;
    return out;
}

} // namespace DesktopEntryFormat
