#pragma once
// The window's credentials form: TfrmPassword, modal, over the status window
// when it is showing.

#include "PasswordPrompt.h"

class QWidget;

class TfrmPasswordPrompt : public PasswordPrompt {
public:
    // owner: the status window; it outlives the prompt.
    explicit TfrmPasswordPrompt(QWidget* owner) : m_owner(owner) {}

    std::optional<DialCredentials> ask(const PasswordPromptTexts& texts,
                                       const QString& userName) override;

private:
    QWidget* m_owner;
};
