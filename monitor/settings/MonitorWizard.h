#pragma once
// The Monitor Wizard without its widgets: what it loads when it opens, the
// page flow, the language stored when the language page is left, and the
// tariff, cost mode and start-with-the-session entry saved by Done. The
// window's TfrmWizard and the headless run both drive it.

#include "RatesEditor.h"
#include "WizardFlow.h"

#include <QString>

class IntlStrings;
class RunEntry;
class Settings;

struct WizardValues {
    // Index in the language list.
    int language = 2;
    TariffKind kind = TariffKind::Fixed;
    // The cheap-hour bounds, cheap days and amounts, as texts of their edits.
    RatesValues tariff;
    // Start with the session.
    bool autoload = false;
};

class MonitorWizard {
public:
    MonitorWizard(Settings& settings, const IntlStrings& intl, RunEntry& runEntry,
                  QString programPath);

    const WizardFlow& flow() const { return m_flow; }
    const IntlStrings& intl() const { return m_intl; }
    // The views copy their controls in before Next and Previous and show
    // them again afterwards (leaving the language page reloads the amounts).
    WizardValues& values() { return m_values; }
    const WizardValues& values() const { return m_values; }

    // true once Done has saved everything: the wizard closes with OK.
    bool next();
    void previous() { m_flow.previous(m_values.kind); }

    // The texts of the amounts as stored, with the wizard's defaults.
    void LoadIntl();

private:
    void loadChoices();
    void save();

    Settings& m_settings;
    const IntlStrings& m_intl;
    RunEntry& m_runEntry;
    QString m_programPath;
    WizardFlow m_flow;
    WizardValues m_values;
};
