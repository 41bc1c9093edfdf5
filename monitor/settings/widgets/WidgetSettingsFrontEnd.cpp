#include "WidgetSettingsFrontEnd.h"

#include "TfrmSettings.h"
#include "TfrmWizard.h"

void WidgetSettingsFrontEnd::runWizard(MonitorWizard& wizard, const TariffDialogContext& context) {
    TfrmWizard form(wizard, context, m_parent);
    form.exec();
}

void WidgetSettingsFrontEnd::runSettings(SettingsDialog& dialog, SettingsPage page) {
    TfrmSettings form(dialog, page, m_parent);
    form.raise();
    form.activateWindow();
    form.exec();
}
