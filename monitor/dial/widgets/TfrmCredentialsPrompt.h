#pragma once
// The window's credentials form: TfrmPassword, modal, over the status window
// when it is showing.

#include "CredentialsPrompt.h"

class QWidget;

class TfrmCredentialsPrompt : public CredentialsPrompt {
public:
    // owner: the status window; it outlives the prompt.
    explicit TfrmCredentialsPrompt(QWidget* owner) : m_owner(owner) {}

    std::optional<DialCredentials> ask(const CredentialsPromptTexts& texts,
                                       const QString& userName) override;

private:
    QWidget* m_owner;
};
