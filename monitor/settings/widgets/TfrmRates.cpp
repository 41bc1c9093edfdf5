#include "TfrmRates.h"

#include "DialogPlacement.h"
#include "FormatSettings.h"
#include "IntlStrings.h"
#include "LimitedEdit.h"
#include "RatesEditor.h"
#include "TfrmHolidays.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kBoundLength = 8;

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}
} // namespace

TfrmRates::TfrmRates(const TariffDialogContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("TfrmRates"));
    setWindowTitle(m_context.intl.IntlStr(800));
    auto* more = new QPushButton(m_context.intl.IntlStr(4110), this);
    more->setObjectName(QStringLiteral("Button1"));
    auto* ok = new QPushButton(m_context.intl.IntlStr(1000), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(m_context.intl.IntlStr(1010), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(more, &QPushButton::clicked, this, &TfrmRates::Button1Click);
    connect(ok, &QPushButton::clicked, this, &TfrmRates::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(more);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* all = new QVBoxLayout(this);
    all->addWidget(buildRates());
    all->addWidget(buildCosts());
    all->addLayout(buttons);
    load();
    DialogPlacement::place(*this);
}

QLineEdit* TfrmRates::amountRow(QGridLayout* grid, int row, const char* name, int text,
                                const char* editName) {
    QWidget* owner = grid->parentWidget();
    QLabel* l = label(owner, name, m_context.intl.IntlStr(text));
    QLineEdit* e = edit(owner, editName);
    l->setBuddy(e);
    grid->addWidget(l, row, 0);
    grid->addWidget(e, row, 1);
    // The unit is the locale's currency string, not a text of the table.
    grid->addWidget(new QLabel(m_context.formats.currencyString, owner), row, 2);
    return e;
}

QWidget* TfrmRates::buildRates() {
    const IntlStrings& intl = m_context.intl;
    auto* box = new QGroupBox(intl.IntlStr(800), this);
    box->setObjectName(QStringLiteral("lblRates"));
    auto* grid = new QGridLayout(box);
    auto* bounds = new QHBoxLayout;
    QLabel* before = label(box, "lbl1", intl.IntlStr(830));
    QLabel* after = label(box, "lbl2", intl.IntlStr(840));
    m_edit4 = edit(box, "Edit4");
    m_edit5 = edit(box, "Edit5");
    for (QLineEdit* e : {m_edit4, m_edit5})
        e->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00.000")) + 12);
    before->setBuddy(m_edit4);
    after->setBuddy(m_edit5);
    for (QWidget* w : std::initializer_list<QWidget*>{before, m_edit4, after, m_edit5})
        bounds->addWidget(w);
    bounds->addStretch(1);
    grid->addLayout(bounds, 0, 0, 1, 3);
    m_fridays = new QCheckBox(intl.IntlStr(850), box);
    m_fridays->setObjectName(QStringLiteral("Fridays"));
    m_saturdays = new QCheckBox(intl.IntlStr(860), box);
    m_saturdays->setObjectName(QStringLiteral("Saturdays"));
    m_sundays = new QCheckBox(intl.IntlStr(870), box);
    m_sundays->setObjectName(QStringLiteral("Sundays"));
    grid->addWidget(m_fridays, 1, 0, 1, 3);
    grid->addWidget(m_saturdays, 2, 0, 1, 3);
    grid->addWidget(m_sundays, 3, 0, 1, 3);
    m_edit6 = amountRow(grid, 4, "lbl5", 880, "Edit6");
    m_edit7 = amountRow(grid, 5, "lbl6", 890, "Edit7");
    m_edit3 = amountRow(grid, 6, "Label6", 3280, "Edit3");
    return box;
}

QWidget* TfrmRates::buildCosts() {
    auto* box = new QGroupBox(m_context.intl.IntlStr(810), this);
    box->setObjectName(QStringLiteral("lblCost"));
    auto* grid = new QGridLayout(box);
    m_edit1 = amountRow(grid, 0, "lblFee", 820, "Edit1");
    m_edit2 = amountRow(grid, 1, "Label1", 900, "Edit2");
    return box;
}

void TfrmRates::load() {
    const RatesValues v = RatesEditor(m_context.settings).load();
    LimitedEdit::show(*m_edit4, v.cheapBefore, kBoundLength);
    LimitedEdit::show(*m_edit5, v.cheapAfter, kBoundLength);
    m_fridays->setChecked(v.fridays);
    m_saturdays->setChecked(v.saturdays);
    m_sundays->setChecked(v.sundays);
    m_edit6->setText(v.standardRate);
    m_edit7->setText(v.cheapRate);
    m_edit3->setText(v.weekendRate);
    m_edit1->setText(v.connectionFee);
    m_edit2->setText(v.minimumCost);
}

void TfrmRates::OKBtnClick() {
    RatesValues v;
    v.cheapBefore = m_edit4->text();
    v.cheapAfter = m_edit5->text();
    v.fridays = m_fridays->isChecked();
    v.saturdays = m_saturdays->isChecked();
    v.sundays = m_sundays->isChecked();
    v.standardRate = m_edit6->text();
    v.cheapRate = m_edit7->text();
    v.weekendRate = m_edit3->text();
    v.connectionFee = m_edit1->text();
    v.minimumCost = m_edit2->text();
    RatesEditor(m_context.settings).save(v);
    accept();
}

void TfrmRates::Button1Click() {
    TfrmHolidays holidays(m_context, this);
    holidays.exec();
}
