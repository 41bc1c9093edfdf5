#pragma once
// PasswordPrompt in the window: TfrmSupervisorPW, shown modally.

#include "PasswordPrompt.h"

class QWidget;

class SupervisorPasswordPrompt : public PasswordPrompt {
public:
    explicit SupervisorPasswordPrompt(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<QString> ask(const PasswordRequest& request) override;

private:
    QWidget* m_parent;
};
