#include "ExecCommandLine.h"

namespace {

struct Token {
    QString text;
    bool quoted = false;
};

QList<Token> tokens(const QString& exec) {
    QList<Token> out;
    Token current;
    bool open = false;
    bool inQuotes = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                current.text += exec.at(++i);
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                current.text += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (open)
                out << current;
            current = Token();
            open = false;
        } else if (c == QLatin1Char('"')) {
            inQuotes = current.quoted = open = true;
        } else {
            current.text += c;
            open = true;
        }
    }
    if (open)
        out << current;
    return out;
}

// %% becomes %, %c and %k their values, every other code goes.
QString expandWithin(const QString& text, const ExecCommandLine::Fields& f) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('%') || i + 1 >= text.size()) {
            out += text.at(i);
            continue;
        }
        const QChar code = text.at(++i);
        if (code == QLatin1Char('%'))
            out += code;
        else if (code == QLatin1Char('c'))
            out += f.name;
        else if (code == QLatin1Char('k'))
            out += f.entryFile;
    }
    return out;
}

} // namespace

namespace ExecCommandLine {

QStringList split(const QString& exec, const Fields& fields) {
    static const QStringList kDropped = {
        QStringLiteral("%f"), QStringLiteral("%F"), QStringLiteral("%u"), QStringLiteral("%U"),
        QStringLiteral("%d"), QStringLiteral("%D"), QStringLiteral("%n"), QStringLiteral("%N"),
        QStringLiteral("%v"), QStringLiteral("%m")};
    QStringList out;
    for (const Token& t : tokens(exec)) {
        if (!t.quoted && kDropped.contains(t.text))
            continue;
        if (!t.quoted && t.text == QLatin1String("%i")) {
            if (!fields.icon.isEmpty())
                out << QStringLiteral("--icon") << fields.icon;
            continue;
        }
        out << expandWithin(t.text, fields);
    }
    return out;
}

} // namespace ExecCommandLine
