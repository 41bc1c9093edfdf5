#pragma once
// The Monitor Wizard's pages and the rules that move between them: which page
// Next and Previous lead to for each kind of tariff, when Previous is
// enabled, when Next reads Done, and whether the amounts page shows the cheap
// rates. Knows nothing of the store or the widgets.

enum class WizardPage { Noll, First, Second, Third, Fourth };
enum class TariffKind { Fixed, Different, TimeOnly };

class WizardFlow {
public:
    enum class Step {
        Moved,        // another page is shown
        LanguageLeft, // the language page was left: store the language, re-caption
        Done,         // Next on the last page: save and close
    };

    // The language page only when no language was chosen before.
    explicit WizardFlow(bool firstRun);

    WizardPage page() const { return m_page; }
    bool previousEnabled() const { return m_previousEnabled; }
    // The Next button reads "&Done" rather than "&Next >".
    bool nextIsDone() const { return m_nextIsDone; }
    // The amounts page shows the cheap rate and the cheap-day rate.
    bool cheapEditsShown() const { return m_cheapEditsShown; }

    Step next(TariffKind kind);
    void previous(TariffKind kind);

private:
    void show(WizardPage page, bool previousEnabled, bool nextIsDone);

    WizardPage m_page;
    bool m_previousEnabled = false;
    bool m_nextIsDone = false;
    bool m_cheapEditsShown = true;
};
