#include "WidgetSettingsFrontEnd.h"

#include "TfrmWizard.h"

void WidgetSettingsFrontEnd::runWizard(MonitorWizard& wizard, const TariffDialogContext& context) {
    TfrmWizard form(wizard, context, m_parent);
    form.exec();
}
