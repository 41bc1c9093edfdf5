#include "SupervisorPasswordPrompt.h"

#include "TfrmSupervisorPW.h"

std::optional<QString> SupervisorPasswordPrompt::ask(const PasswordRequest& request) {
    TfrmSupervisorPW form(request, m_parent);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.password();
}
