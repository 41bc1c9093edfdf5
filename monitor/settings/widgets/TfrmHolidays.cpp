#include "TfrmHolidays.h"

#include "DialogPlacement.h"
#include "IntlStrings.h"
#include "Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

TfrmHolidays::TfrmHolidays(const TariffDialogContext& context, QWidget* parent)
    : QDialog(parent), m_context(context),
      m_holidays(context.settings.store(), context.intl, context.formats),
      m_list(new QListWidget(this)), m_month(new QComboBox(this)), m_day(new QComboBox(this)) {
    setObjectName(QStringLiteral("TfrmHolidays"));
    const IntlStrings& intl = m_context.intl;
    setWindowTitle(intl.IntlStr(4130));
    auto* hint = new QLabel(intl.IntlStr(5130), this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("List"));
    m_list->setSortingEnabled(true);
    QPushButton* download = button(this, "Button1", intl.IntlStr(5170));
    QPushButton* close = button(this, "Button2", intl.IntlStr(5160));
    download->setEnabled(bool(m_context.downloadHolidays));
    connect(download, &QPushButton::clicked, this, [this] { m_context.downloadHolidays(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* side = new QHBoxLayout;
    side->addWidget(m_list, 1);
    side->addLayout(buildPicker());
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(download);
    bottom->addStretch(1);
    bottom->addWidget(close);
    auto* all = new QVBoxLayout(this);
    all->addWidget(hint);
    all->addLayout(side, 1);
    all->addLayout(bottom);
    setMinimumSize(440, 320);
    FormCreate();
    DialogPlacement::place(*this);
}

QLayout* TfrmHolidays::buildPicker() {
    m_month->setObjectName(QStringLiteral("cmbMonth"));
    m_day->setObjectName(QStringLiteral("cmbDay"));
    QPushButton* add = button(this, "Button3", m_context.intl.IntlStr(5140));
    QPushButton* remove = button(this, "Button4", m_context.intl.IntlStr(5150));
    // Add is the default button: Return in the pickers adds the date.
    add->setDefault(true);
    connect(add, &QPushButton::clicked, this, &TfrmHolidays::Button3Click);
    connect(remove, &QPushButton::clicked, this, &TfrmHolidays::Button4Click);
    auto* picker = new QVBoxLayout;
    picker->addWidget(m_month);
    picker->addWidget(m_day);
    picker->addWidget(add);
    picker->addWidget(remove);
    picker->addStretch(1);
    return picker;
}

void TfrmHolidays::FormCreate() {
    // Month names are January to December; "User defined" is no month.
    m_month->addItems(HolidayList::monthNames(m_context.intl).mid(0, 12));
    for (int day = 1; day <= 31; ++day)
        m_day->addItem(QString::number(day));
    m_month->setCurrentIndex(0);
    m_day->setCurrentIndex(0);
    m_list->addItems(m_holidays.lines());
}

void TfrmHolidays::Button3Click() {
    m_list->addItem(m_holidays.add(m_month->currentIndex(), m_day->currentIndex()));
}

// Nothing selected, or a store that refuses the change: only a beep.
void TfrmHolidays::Button4Click() {
    QListWidgetItem* selected = m_list->currentItem();
    bool removed = false;
    try {
        removed = selected && selected->isSelected() && m_holidays.remove(selected->text());
    } catch (const std::exception&) {
        removed = false;
    }
    if (!removed) {
        QApplication::beep();
        return;
    }
    delete selected;
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}
