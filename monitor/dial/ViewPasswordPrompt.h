#pragma once
// The credentials form as a prompt of the monitor's view: the headless run
// answers it from the scenario's answer lines, tests from their queue.

#include "PasswordPrompt.h"

class MonitorView;

class ViewPasswordPrompt : public PasswordPrompt {
public:
    explicit ViewPasswordPrompt(MonitorView& view) : m_view(view) {}

    std::optional<DialCredentials> ask(const PasswordPromptTexts& texts,
                                       const QString& userName) override;

private:
    MonitorView& m_view;
};
