#pragma once
// The credentials form as a prompt of the monitor's view: the headless run
// answers it from the scenario's answer lines, tests from their queue.

#include "CredentialsPrompt.h"

class MonitorView;

class ViewCredentialsPrompt : public CredentialsPrompt {
public:
    explicit ViewCredentialsPrompt(MonitorView& view) : m_view(view) {}

    std::optional<DialCredentials> ask(const CredentialsPromptTexts& texts,
                                       const QString& userName) override;

private:
    MonitorView& m_view;
};
