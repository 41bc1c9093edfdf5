#include "TfrmCredentialsPrompt.h"

#include "TfrmPassword.h"

#include <QWidget>

std::optional<DialCredentials> TfrmCredentialsPrompt::ask(const CredentialsPromptTexts& texts,
                                                          const QString& userName) {
    // A dial from the tray while only the icon shows has no window to sit on.
    QWidget* parent = m_owner && m_owner->isVisible() ? m_owner : nullptr;
    TfrmPassword form(texts, userName, parent);
    if (!parent)
        form.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.credentials();
}
