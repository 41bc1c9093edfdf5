#include "ChimesPanel.h"

#include "IntlStrings.h"
#include "QtSoundPlayer.h"
#include "SettingsDialog.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kLongestPeriod = 120;
constexpr int kStep = 5;
constexpr int kIndent = 24;
} // namespace

ChimesPanel::ChimesPanel(SettingsDialog& dialog, QWidget* parent)
    : SettingsPanel(dialog, "TabSheet4", parent),
      m_player(new QtSoundPlayer({}, QtSoundPlayer::DefaultLoadingTimeoutMs, this)) {
    m_checkBox2 = named<QCheckBox>("CheckBox2");
    m_edit1 = new SpinEdit(1, kLongestPeriod, kStep, this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_every = label("Label8", m_edit1);
    m_minutes = named<QLabel>("Label9");
    m_remindme = named<QCheckBox>("Remindme");
    m_txtChimeFile = named<QLineEdit>("txtChimeFile");
    m_fileLabel = label("Label10", m_txtChimeFile);
    m_button3 = named<QPushButton>("Button3");
    m_button5 = named<QPushButton>("Button5");

    auto* period = new QHBoxLayout;
    period->addSpacing(kIndent);
    period->addWidget(m_every);
    period->addWidget(m_edit1);
    period->addWidget(m_minutes);
    period->addStretch(1);
    auto* remind = new QHBoxLayout;
    remind->addSpacing(kIndent);
    remind->addWidget(m_remindme);
    auto* file = new QHBoxLayout;
    file->addWidget(m_txtChimeFile, 1);
    file->addWidget(m_button3);
    file->addWidget(m_button5);
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_checkBox2);
    all->addLayout(period);
    all->addLayout(remind);
    all->addSpacing(8);
    all->addWidget(m_fileLabel);
    all->addLayout(file);
    all->addStretch(1);
    connect(m_button3, &QPushButton::clicked, this, &ChimesPanel::Button3Click);
    connect(m_button5, &QPushButton::clicked, this, &ChimesPanel::Button5Click);
    watchChanges();
}

void ChimesPanel::caption(const IntlStrings& intl) {
    m_checkBox2->setText(intl.IntlStr(1580).trimmed());
    m_every->setText(intl.IntlStr(1430));
    m_minutes->setText(intl.IntlStr(1570));
    m_remindme->setText(intl.IntlStr(1440));
    m_fileLabel->setText(intl.IntlStr(1590));
    m_button3->setText(intl.IntlStr(1460));
    m_button5->setText(intl.IntlStr(1450));
}

void ChimesPanel::load(const SettingsValues& v) {
    m_checkBox2->setChecked(v.chime);
    // An emptied period reads as none at all.
    m_edit1->setValue(v.chimePeriod.isEmpty() ? QStringLiteral("0") : v.chimePeriod);
    m_remindme->setChecked(v.remindBox);
    m_txtChimeFile->setText(v.chimeFile);
}

void ChimesPanel::read(SettingsValues& v) const {
    v.chime = m_checkBox2->isChecked();
    v.chimePeriod = m_edit1->value();
    v.remindBox = m_remindme->isChecked();
    v.chimeFile = m_txtChimeFile->text();
}

void ChimesPanel::enable(const SettingsEnabling& e) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_every, m_edit1, m_minutes, m_remindme,
                                                      m_fileLabel, m_txtChimeFile})
        w->setEnabled(e.chime);
}

void ChimesPanel::Button3Click() {
    const QString filter = m_dialog.intl().IntlStr(3650) + QStringLiteral(" (*.wav)");
    // A sound named without a folder lies among the program's sounds.
    QString start = m_txtChimeFile->text();
    if (!start.contains(QLatin1Char('/')))
        start = QDir(m_dialog.context().soundFolder).filePath(start);
    const QString file = QFileDialog::getOpenFileName(
        this, m_button3->text().remove(QLatin1Char('&')), start, filter);
    if (file.isEmpty())
        return;
    m_dialog.ChimeFileChosen(file);
    m_txtChimeFile->setText(file);
}

void ChimesPanel::Button5Click() {
    m_dialog.PlayChime(*m_player);
}
