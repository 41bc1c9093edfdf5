#include "MailClientStarter.h"

#include "DosPath.h"
#include "IntlStrings.h"
#include "MailPrograms.h"
#include "MailView.h"
#include "MonitorParts.h"
#include "MonitorView.h"
#include "Settings.h"
#include "Shell.h"

namespace {
const QString kConfirm = QStringLiteral("Confirm e-mail client");
} // namespace

MailClientStarter::MailClientStarter(MonitorParts& parts, MailView& view, Shell& shell)
    : m_parts(parts), m_view(view), m_shell(shell) {}

void MailClientStarter::mnuReadMailClick() {
    const QString name = m_parts.settings.ReadText(kSettingsKey, QStringLiteral("Mail client"),
                                                   QStringLiteral("Exchange"));
    const MailProgram mail = MailPrograms::find(m_parts.store, name);
    if (!confirmed())
        return;
    // The old program started it in "C:\", which is the home folder here
    // unless the store maps drive C: elsewhere.
    const QString folder = DosPathMapper::fromStore(m_parts.store).toNative(QStringLiteral("C:\\"));
    const ShellResult started = mail.program.isEmpty()
                                    ? ShellResult::failure(QString())
                                    : m_shell.startProgram(mail.program, mail.arguments, folder);
    if (started.ok)
        return;
    m_parts.view.messageBox(QStringLiteral("Tollwatch"),
                            m_parts.intl.IntlStr(8310) + QStringLiteral("\r\n") + mail.program,
                            BoxButtons::Ok, BoxIcon::Warning, BoxAnswer::Ok);
}

bool MailClientStarter::confirmed() {
    if (!m_parts.settings.ReadFlag(kSettingsKey, kConfirm, true))
        return true;
    const IntlStrings& intl = m_parts.intl;
    const MailView::Confirmation answer =
        m_view.confirmMailClient({QStringLiteral("Tollwatch"), intl.IntlStr(8330),
                                  intl.IntlStr(8320), intl.IntlStr(1000), intl.IntlStr(1010)});
    if (!answer.ok)
        return false;
    if (answer.skipInFuture)
        m_parts.settings.WriteFlag(kSettingsKey, kConfirm, false);
    return true;
}
