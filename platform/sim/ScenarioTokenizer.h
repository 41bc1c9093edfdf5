#pragma once
// Splits one scenario line into words and quoted names, dropping a comment
// that starts with # outside quotes.

#include <QList>
#include <QString>

struct ScenarioToken {
    QString text;
    bool quoted = false;
};

class ScenarioTokenizer {
public:
    // Returns false and sets error (what was expected) on a malformed line.
    static bool tokenize(const QString& line, QList<ScenarioToken>& tokens, QString& error);
};
