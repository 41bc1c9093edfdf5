#include "ViewPasswordPrompt.h"

#include "MonitorView.h"

std::optional<QString> ViewPasswordPrompt::ask(const PasswordRequest& request) {
    const auto fields = m_view.prompt(request.caption, {request.label}, {QString()}, {0});
    if (!fields)
        return std::nullopt;
    return fields->value(0);
}
