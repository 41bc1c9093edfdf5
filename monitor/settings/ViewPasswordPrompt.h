#pragma once
// A password asked through the monitor view's prompt with one masked field:
// the headless run answers it from the scenario's answer lines (no answer
// left: OK with an empty entry).

#include "PasswordPrompt.h"

class MonitorView;

class ViewPasswordPrompt : public PasswordPrompt {
public:
    explicit ViewPasswordPrompt(MonitorView& view) : m_view(view) {}

    std::optional<QString> ask(const PasswordRequest& request) override;

private:
    MonitorView& m_view;
};
