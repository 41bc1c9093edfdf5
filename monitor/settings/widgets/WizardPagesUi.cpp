#include "WizardPagesUi.h"

#include "IntlStrings.h"
#include "LimitedEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kBoundLength = 5;

template <typename W> W* named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* wrapped(QWidget* parent, const char* name) {
    auto* l = named<QLabel>(parent, name);
    l->setWordWrap(true);
    return l;
}

QWidget* page(QStackedWidget* pages, const char* name) {
    auto* p = named<QWidget>(pages, name);
    pages->addWidget(p);
    return p;
}

} // namespace

WizardPagesUi::WizardPagesUi(QWidget* dialog, const QString& currency)
    : m_dialog(dialog), m_currency(currency) {
    pages = new QStackedWidget(dialog);
    buildNoll();
    buildFirst();
    buildSecond();
    buildThird();
    buildFourth();
    Button1 = named<QPushButton>(dialog, "Button1");
    Button2 = named<QPushButton>(dialog, "Button2");
    Button3 = named<QPushButton>(dialog, "Button3");
    Button2->setDefault(true);
}

QWidget* WizardPagesUi::buildNoll() {
    QWidget* p = page(pages, "Noll");
    m_welcome = wrapped(p, "lblWelcome");
    m_cmbLanguage = named<QComboBox>(p, "cmbLanguage");
    m_cmbLanguage->addItems(IntlStrings::languageList());
    auto* v = new QVBoxLayout(p);
    v->addWidget(m_welcome);
    v->addWidget(m_cmbLanguage);
    v->addStretch(1);
    return p;
}

QWidget* WizardPagesUi::buildFirst() {
    QWidget* p = page(pages, "First");
    m_kindQuestion = wrapped(p, "lblKind");
    auto* v = new QVBoxLayout(p);
    v->addWidget(m_kindQuestion);
    const char* names[] = {"RadioButton1", "RadioButton2", "RadioButton3"};
    for (int i = 0; i < 3; ++i) {
        m_radio[i] = named<QRadioButton>(p, names[i]);
        v->addWidget(m_radio[i]);
    }
    v->addStretch(1);
    return p;
}

QWidget* WizardPagesUi::buildSecond() {
    QWidget* p = page(pages, "Second");
    m_cheapQuestion = wrapped(p, "lblCheapQuestion");
    auto* grid = new QGridLayout;
    m_before = named<QLabel>(p, "lblBefore");
    m_edit4 = named<QLineEdit>(p, "Edit4");
    m_morning = named<QLabel>(p, "lblMorning");
    m_after = named<QLabel>(p, "lblAfter");
    m_edit5 = named<QLineEdit>(p, "Edit5");
    m_evening = named<QLabel>(p, "lblEvening");
    m_before->setBuddy(m_edit4);
    m_after->setBuddy(m_edit5);
    const int editWidth = p->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00")) + 12;
    m_edit4->setMaximumWidth(editWidth);
    m_edit5->setMaximumWidth(editWidth);
    grid->addWidget(m_before, 0, 0);
    grid->addWidget(m_edit4, 0, 1);
    grid->addWidget(m_morning, 0, 2);
    grid->addWidget(m_after, 1, 0);
    grid->addWidget(m_edit5, 1, 1);
    grid->addWidget(m_evening, 1, 2);
    grid->setColumnStretch(3, 1);
    m_weekends = named<QLabel>(p, "lblWeekends");
    m_fridays = named<QCheckBox>(p, "Fridays");
    m_saturdays = named<QCheckBox>(p, "Saturdays");
    m_sundays = named<QCheckBox>(p, "Sundays");
    m_hint = wrapped(p, "lblHint");
    Button4 = named<QPushButton>(p, "Button4");
    Button4->setAutoDefault(false);
    auto* v = new QVBoxLayout(p);
    v->addWidget(m_cheapQuestion);
    v->addLayout(grid);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_weekends, m_fridays, m_saturdays, m_sundays, m_hint})
        v->addWidget(w);
    v->addWidget(Button4, 0, Qt::AlignLeft);
    v->addStretch(1);
    return p;
}

QLineEdit* WizardPagesUi::amountRow(QGridLayout* grid, int row, QLabel*& label, const char* name) {
    QWidget* p = grid->parentWidget();
    label = new QLabel(p);
    auto* edit = named<QLineEdit>(p, name);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    // The unit is the locale's currency string, not a text of the table.
    grid->addWidget(new QLabel(m_currency, p), row, 2);
    return edit;
}

QWidget* WizardPagesUi::buildThird() {
    QWidget* p = page(pages, "Third");
    auto* grid = new QGridLayout(p);
    m_rateQuestion = wrapped(p, "lblRateQuestion");
    m_feeQuestion = wrapped(p, "lblFeeQuestion");
    m_minimumQuestion = wrapped(p, "lblMinimumQuestion");
    grid->addWidget(m_rateQuestion, 0, 0, 1, 4);
    m_edit6 = amountRow(grid, 1, m_lblNormal, "Edit6");
    m_edit7 = amountRow(grid, 2, m_lblCheap, "Edit7");
    m_edit3 = amountRow(grid, 3, m_lblWeekend, "Edit3");
    m_cheapUnits[0] = grid->itemAtPosition(2, 2)->widget();
    m_cheapUnits[1] = grid->itemAtPosition(3, 2)->widget();
    // A gap before each question sets the three questions apart.
    grid->setRowMinimumHeight(4, 8);
    grid->addWidget(m_feeQuestion, 5, 0, 1, 4);
    m_edit1 = amountRow(grid, 6, m_lblFee, "Edit1");
    grid->setRowMinimumHeight(7, 8);
    grid->addWidget(m_minimumQuestion, 8, 0, 1, 4);
    m_edit2 = amountRow(grid, 9, m_lblMinimum, "Edit2");
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(10, 1);
    return p;
}

QWidget* WizardPagesUi::buildFourth() {
    QWidget* p = page(pages, "Fourth");
    m_finished = wrapped(p, "lblFinished");
    m_later = wrapped(p, "lblLater");
    m_autoload = named<QCheckBox>(p, "Autoload");
    auto* v = new QVBoxLayout(p);
    v->addWidget(m_finished);
    v->addWidget(m_later);
    v->addSpacing(12);
    v->addWidget(m_autoload);
    v->addStretch(1);
    return p;
}

void WizardPagesUi::caption(const IntlStrings& intl) {
    // The welcome line stays English: it is read before a language is chosen.
    m_welcome->setText(QStringLiteral(
        "Welcome to Tollwatch. Choose the language in which the monitor talks to you:"));
    m_kindQuestion->setText(intl.IntlStr(3210));
    const int kinds[] = {3220, 3230, 3240};
    for (int i = 0; i < 3; ++i)
        m_radio[i]->setText(intl.IntlStr(kinds[i]));
    m_cheapQuestion->setText(intl.IntlStr(3120));
    m_before->setText(intl.IntlStr(3130));
    m_after->setText(intl.IntlStr(3140));
    m_morning->setText(intl.IntlStr(3150));
    m_evening->setText(intl.IntlStr(3160));
    m_weekends->setText(intl.IntlStr(3170));
    m_fridays->setText(intl.IntlStr(3180));
    m_saturdays->setText(intl.IntlStr(3190));
    m_sundays->setText(intl.IntlStr(3200));
    m_hint->setText(intl.IntlStr(4120));
    Button4->setText(intl.IntlStr(4110));
    m_rateQuestion->setText(intl.IntlStr(3100));
    m_lblNormal->setText(intl.IntlStr(880));
    m_lblCheap->setText(intl.IntlStr(890));
    m_lblWeekend->setText(intl.IntlStr(3280));
    m_feeQuestion->setText(intl.IntlStr(3110));
    m_lblFee->setText(intl.IntlStr(820));
    m_minimumQuestion->setText(intl.IntlStr(910));
    m_lblMinimum->setText(intl.IntlStr(900));
    m_finished->setText(intl.IntlStr(3250));
    m_later->setText(intl.IntlStr(3260));
    m_autoload->setText(intl.IntlStr(3270));
    Button1->setText(intl.IntlStr(3310));
    Button3->setText(intl.IntlStr(1010));
}

void WizardPagesUi::show(const WizardValues& v, const WizardFlow& flow, const IntlStrings& intl) {
    pages->setCurrentIndex(int(flow.page()));
    Button1->setEnabled(flow.previousEnabled());
    Button2->setText(intl.IntlStr(flow.nextIsDone() ? 3320 : 3300));
    for (QWidget* w : std::initializer_list<QWidget*>{m_lblCheap, m_edit7, m_cheapUnits[0],
                                                      m_lblWeekend, m_edit3, m_cheapUnits[1]})
        w->setVisible(flow.cheapEditsShown());
    m_cmbLanguage->setCurrentIndex(v.language);
    m_radio[int(v.kind)]->setChecked(true);
    LimitedEdit::show(*m_edit4, v.tariff.cheapBefore, kBoundLength);
    LimitedEdit::show(*m_edit5, v.tariff.cheapAfter, kBoundLength);
    m_fridays->setChecked(v.tariff.fridays);
    m_saturdays->setChecked(v.tariff.saturdays);
    m_sundays->setChecked(v.tariff.sundays);
    m_edit6->setText(v.tariff.standardRate);
    m_edit7->setText(v.tariff.cheapRate);
    m_edit3->setText(v.tariff.weekendRate);
    m_edit1->setText(v.tariff.connectionFee);
    m_edit2->setText(v.tariff.minimumCost);
    m_autoload->setChecked(v.autoload);
}

void WizardPagesUi::read(WizardValues& v) const {
    v.language = m_cmbLanguage->currentIndex();
    for (int i = 0; i < 3; ++i)
        if (m_radio[i]->isChecked())
            v.kind = TariffKind(i);
    v.tariff.cheapBefore = m_edit4->text();
    v.tariff.cheapAfter = m_edit5->text();
    v.tariff.fridays = m_fridays->isChecked();
    v.tariff.saturdays = m_saturdays->isChecked();
    v.tariff.sundays = m_sundays->isChecked();
    v.tariff.standardRate = m_edit6->text();
    v.tariff.cheapRate = m_edit7->text();
    v.tariff.weekendRate = m_edit3->text();
    v.tariff.connectionFee = m_edit1->text();
    v.tariff.minimumCost = m_edit2->text();
    v.autoload = m_autoload->isChecked();
}
