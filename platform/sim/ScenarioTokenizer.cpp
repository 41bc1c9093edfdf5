#include "ScenarioTokenizer.h"

namespace {

bool isSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

bool endsToken(const QString& line, int i) {
    return i >= line.size() || isSpace(line[i]) || line[i] == QLatin1Char('#');
}

// Reads a quoted name starting at the opening quote; i ends after the closing one.
bool readQuoted(const QString& line, int& i, QString& out, QString& error) {
    ++i;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            ++i;
            if (!endsToken(line, i)) {
                error = QStringLiteral("expected a space after the closing quote");
                return false;
            }
            return true;
        }
        if (c == QLatin1Char('\\')) {
            const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
            if (next != QLatin1Char('"') && next != QLatin1Char('\\')) {
                error = QStringLiteral("expected \\\" or \\\\ after a backslash in a quoted name");
                return false;
            }
            out += next;
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    error = QStringLiteral("expected a closing quote");
    return false;
}

} // namespace

bool ScenarioTokenizer::tokenize(const QString& line, QList<ScenarioToken>& tokens,
                                 QString& error) {
    tokens.clear();
    int i = 0;
    while (i < line.size()) {
        const QChar c = line[i];
        if (isSpace(c)) {
            ++i;
        } else if (c == QLatin1Char('#')) {
            break;
        } else if (c == QLatin1Char('"')) {
            ScenarioToken token{QString(), true};
            if (!readQuoted(line, i, token.text, error))
                return false;
            tokens.append(token);
        } else {
            ScenarioToken token;
            while (!endsToken(line, i)) {
                if (line[i] == QLatin1Char('"')) {
                    error = QStringLiteral("expected a space before the opening quote");
                    return false;
                }
                token.text += line[i++];
            }
            tokens.append(token);
        }
    }
    return true;
}
