#include "ViewCredentialsPrompt.h"

#include "MonitorView.h"

std::optional<DialCredentials> ViewCredentialsPrompt::ask(const CredentialsPromptTexts& texts,
                                                          const QString& userName) {
    const auto fields = m_view.prompt(texts.caption, {texts.userLabel, texts.passwordLabel},
                                      {userName, QString()}, {1});
    if (!fields)
        return std::nullopt;
    return DialCredentials{fields->value(0), fields->value(1)};
}
