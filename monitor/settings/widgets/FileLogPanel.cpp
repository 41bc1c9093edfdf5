#include "FileLogPanel.h"

#include "DosPath.h"
#include "IntlStrings.h"
#include "Settings.h"
#include "SettingsDialog.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The string table's filter reads "Text files (*.txt)|*.txt|...": each
// description, which names its patterns, is followed by the patterns.
QString qtFilter(const QString& tableFilter) {
    const QStringList parts = tableFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts.at(i);
    return out.join(QStringLiteral(";;"));
}

} // namespace

FileLogPanel::FileLogPanel(SettingsDialog& dialog, QWidget* parent)
    : SettingsPanel(dialog, "TabSheet6", parent) {
    m_log = group("GroupBox5");
    m_logFile = named<QLineEdit>("LogFile", m_log);
    m_fileLabel = label("Label15", m_logFile, m_log);
    m_button4 = named<QPushButton>("Button4", m_log);
    m_button2 = named<QPushButton>("Button2", m_log);
    auto* file = new QHBoxLayout;
    file->addWidget(m_logFile, 1);
    file->addWidget(m_button4);
    auto* v = new QVBoxLayout(m_log);
    v->addWidget(m_fileLabel);
    v->addLayout(file);
    v->addWidget(m_button2, 0, Qt::AlignLeft);
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_log);
    all->addStretch(1);
    connect(m_button4, &QPushButton::clicked, this, &FileLogPanel::Button4Click);
    connect(m_button2, &QPushButton::clicked, this, [this] { m_dialog.ViewLog(); });
    watchChanges();
}

void FileLogPanel::caption(const IntlStrings& intl) {
    m_log->setTitle(intl.IntlStr(1470).trimmed());
    m_fileLabel->setText(intl.IntlStr(1500));
    m_button4->setText(intl.IntlStr(1460));
    m_button2->setText(intl.IntlStr(1510));
}

void FileLogPanel::load(const SettingsValues& v) {
    m_logFile->setText(v.logFile);
}

void FileLogPanel::read(SettingsValues& v) const {
    v.logFile = m_logFile->text();
}

void FileLogPanel::Button4Click() {
    const QString start = DosPathMapper::fromStore(m_dialog.context().tariff.settings.store())
                              .toNative(m_logFile->text());
    const QString file = QFileDialog::getSaveFileName(
        this, m_button4->text().remove(QLatin1Char('&')), start,
        qtFilter(m_dialog.intl().IntlStr(3660)), nullptr, QFileDialog::DontConfirmOverwrite);
    if (!file.isEmpty())
        m_logFile->setText(file);
}
