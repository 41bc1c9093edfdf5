#pragma once
// The credentials form of a dial (TfrmPassword): asks for the user name and
// password of an entry that has no stored password. The window shows a form;
// headless runs and tests answer through the view's prompt.

#include <QString>

#include <optional>

struct DialCredentials {
    QString userName;
    QString password;
};

// The form's texts in the user's language.
struct CredentialsPromptTexts {
    QString caption; // the entry name
    QString userLabel;
    QString passwordLabel;
    QString okText;
    QString cancelText;
};

class CredentialsPrompt {
public:
    virtual ~CredentialsPrompt() = default;
    // Shows the form modally with userName filled in and an empty, masked
    // password; nullopt when the user cancelled.
    virtual std::optional<DialCredentials> ask(const CredentialsPromptTexts& texts,
                                               const QString& userName) = 0;
};
