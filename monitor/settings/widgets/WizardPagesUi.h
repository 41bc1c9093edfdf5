#pragma once
// The controls of the Monitor Wizard's five pages and its buttons, built in
// one place: their captions from the string table, and the copying of
// WizardValues into the controls and back.

#include "MonitorWizard.h"

#include <QString>

class IntlStrings;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QWidget;

class WizardPagesUi {
public:
    // Builds the pages and buttons as children of dialog.
    WizardPagesUi(QWidget* dialog, const QString& currency);

    void caption(const IntlStrings& intl);
    // The page, the buttons' states and every control's value.
    void show(const WizardValues& values, const WizardFlow& flow, const IntlStrings& intl);
    void read(WizardValues& values) const;

    QStackedWidget* pages = nullptr;
    QPushButton* Button1 = nullptr; // < Previous
    QPushButton* Button2 = nullptr; // Next > / Done
    QPushButton* Button3 = nullptr; // Cancel
    QPushButton* Button4 = nullptr; // More... (holidays)

private:
    QWidget* buildNoll();
    QWidget* buildFirst();
    QWidget* buildSecond();
    QWidget* buildThird();
    QWidget* buildFourth();
    QLineEdit* amountRow(class QGridLayout* grid, int row, QLabel*& label, const char* name);

    QWidget* m_dialog;
    QString m_currency;
    QLabel* m_welcome = nullptr;
    QComboBox* m_cmbLanguage = nullptr;
    QLabel* m_kindQuestion = nullptr;
    QRadioButton* m_radio[3] = {};
    QLabel* m_cheapQuestion = nullptr;
    QLabel* m_before = nullptr;
    QLabel* m_morning = nullptr;
    QLabel* m_after = nullptr;
    QLabel* m_evening = nullptr;
    QLabel* m_weekends = nullptr;
    QLabel* m_hint = nullptr;
    QLineEdit* m_edit4 = nullptr;
    QLineEdit* m_edit5 = nullptr;
    QCheckBox* m_fridays = nullptr;
    QCheckBox* m_saturdays = nullptr;
    QCheckBox* m_sundays = nullptr;
    QLabel* m_rateQuestion = nullptr;
    QLabel* m_feeQuestion = nullptr;
    QLabel* m_minimumQuestion = nullptr;
    QLabel* m_lblNormal = nullptr;
    QLabel* m_lblCheap = nullptr;
    QLabel* m_lblWeekend = nullptr;
    QLabel* m_lblFee = nullptr;
    QLabel* m_lblMinimum = nullptr;
    QLineEdit* m_edit6 = nullptr;
    QLineEdit* m_edit7 = nullptr;
    QLineEdit* m_edit3 = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QWidget* m_cheapUnits[2] = {};
    QLabel* m_finished = nullptr;
    QLabel* m_later = nullptr;
    QCheckBox* m_autoload = nullptr;
};
