#pragma once
// Asks for a password with a masked field: the administrator's gate and the
// set-password sequence use it. The window shows TfrmSupervisorPW; a headless
// run answers from the scenario.

#include <QString>

#include <optional>

struct PasswordRequest {
    QString caption;
    QString label;
    QString okText;
    QString cancelText;
};

class PasswordPrompt {
public:
    virtual ~PasswordPrompt() = default;
    // The text entered (perhaps empty); nullopt when the user cancelled.
    virtual std::optional<QString> ask(const PasswordRequest& request) = 0;
};
