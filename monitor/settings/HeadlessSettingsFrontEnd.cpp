#include "HeadlessSettingsFrontEnd.h"

#include "FormatSettings.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "MonitorWizard.h"
#include "SettingsDialog.h"
#include "SettingsPageFields.h"
#include "WizardPageFields.h"

HeadlessSettingsFrontEnd::HeadlessSettingsFrontEnd(MonitorView& view, LineRecorder record)
    : m_view(view), m_record(std::move(record)), m_password(view) {}

void HeadlessSettingsFrontEnd::runWizard(MonitorWizard& wizard, const TariffDialogContext&) {
    // Every Next shows another page or ends with Done, and Previous is never
    // taken here, so at most five prompts are asked.
    for (;;) {
        const auto typed =
            m_view.prompt(wizard.intl().IntlStr(680), WizardPageFields::labels(wizard),
                          WizardPageFields::values(wizard), {});
        if (!typed)
            return;
        WizardPageFields::apply(wizard, *typed);
        const QString page = WizardPageFields::pageName(wizard.flow().page());
        m_record(QStringLiteral("wizard"), QStringList{page} + WizardPageFields::values(wizard));
        if (wizard.next())
            return;
    }
}

void HeadlessSettingsFrontEnd::runSettings(SettingsDialog& dialog, SettingsPage first) {
    dialog.Show();
    for (int i = 0; i < kSettingsPageCount; ++i) {
        if (!askPage(dialog, SettingsPage((int(first) + i) % kSettingsPageCount)))
            return;
    }
    // A failed Apply has been reported; with nobody to mend the value the
    // dialog closes as it is.
    dialog.Apply();
}

bool HeadlessSettingsFrontEnd::askPage(SettingsDialog& dialog, SettingsPage page) {
    SettingsValues& values = dialog.values();
    const QList<int> secret = SettingsPageFields::passwordFields(page);
    const auto typed =
        m_view.prompt(dialog.intl().IntlStr(3500),
                      SettingsPageFields::labels(page, dialog.intl(),
                                                 dialog.context().tariff.formats.currencyString),
                      SettingsPageFields::values(page, values), secret);
    if (!typed)
        return false;
    const bool protectedBefore[] = {values.protectSettings, values.protectExit};
    SettingsPageFields::apply(page, values, *typed);
    if (!protectedBefore[0] && values.protectSettings)
        dialog.ProtectionTicked(true);
    if (!protectedBefore[1] && values.protectExit)
        dialog.ProtectionTicked(true);
    QStringList shown = SettingsPageFields::values(page, values);
    for (int i : secret)
        shown[i] = QStringLiteral("******");
    m_record(QStringLiteral("settings"), QStringList{SettingsPageFields::pageName(page)} + shown);
    return true;
}
