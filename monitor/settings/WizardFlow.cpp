#include "WizardFlow.h"

WizardFlow::WizardFlow(bool firstRun) : m_page(firstRun ? WizardPage::Noll : WizardPage::First) {}

void WizardFlow::show(WizardPage page, bool previousEnabled, bool nextIsDone) {
    m_page = page;
    m_previousEnabled = previousEnabled;
    m_nextIsDone = nextIsDone;
}

WizardFlow::Step WizardFlow::next(TariffKind kind) {
    switch (m_page) {
    case WizardPage::Fourth:
        return Step::Done;
    case WizardPage::Third:
        show(WizardPage::Fourth, true, true);
        return Step::Moved;
    case WizardPage::Second:
        show(WizardPage::Third, true, false);
        return Step::Moved;
    case WizardPage::First:
        // A fixed rate has no cheap periods: their page is skipped and the
        // cheap rates are hidden; time only needs no amounts at all.
        if (kind == TariffKind::TimeOnly) {
            show(WizardPage::Fourth, true, true);
        } else {
            m_cheapEditsShown = kind == TariffKind::Different;
            show(kind == TariffKind::Fixed ? WizardPage::Third : WizardPage::Second, true, false);
        }
        return Step::Moved;
    case WizardPage::Noll:
        // The language page cannot be reached again, so Previous stays off.
        show(WizardPage::First, false, false);
        return Step::LanguageLeft;
    }
    return Step::Moved;
}

void WizardFlow::previous(TariffKind kind) {
    switch (m_page) {
    case WizardPage::Second:
        show(WizardPage::First, false, false);
        break;
    case WizardPage::Third:
        if (kind == TariffKind::Different)
            show(WizardPage::Second, true, false);
        else
            show(WizardPage::First, false, false);
        break;
    case WizardPage::Fourth:
        if (kind == TariffKind::TimeOnly)
            show(WizardPage::First, false, false);
        else
            show(WizardPage::Third, true, false);
        break;
    case WizardPage::Noll:
    case WizardPage::First:
        break;
    }
}
