#pragma once
// The test fake of the password prompt: answers from a queue (nullopt is
// Cancel) and notes every request it was shown. Header only, for the test
// programs that link the settings features.

#include "PasswordPrompt.h"

#include <QList>

class ScriptedPasswordPrompt : public PasswordPrompt {
public:
    std::optional<QString> ask(const PasswordRequest& request) override {
        requests << request;
        if (answers.isEmpty())
            return QString();
        return answers.takeFirst();
    }

    // The next entries; an empty queue answers OK with nothing typed.
    QList<std::optional<QString>> answers;
    QList<PasswordRequest> requests;
};
