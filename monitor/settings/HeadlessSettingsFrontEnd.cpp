#include "HeadlessSettingsFrontEnd.h"

#include "IntlStrings.h"
#include "MonitorView.h"
#include "MonitorWizard.h"
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
