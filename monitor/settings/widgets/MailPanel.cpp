#include "MailPanel.h"

#include "IntlStrings.h"
#include "PopSecurity.h"
#include "SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

namespace {
// The security choices in the order of PopSecurityText::names(), by caption.
const int kSecurityCaptions[] = {8440, 8450, 8460};
constexpr int kKnownSecurities = 3;
} // namespace

MailPanel::MailPanel(SettingsDialog& dialog, QWidget* parent)
    : SettingsPanel(dialog, "TabSheet8", parent) {
    m_checkBox12 = named<QCheckBox>("CheckBox12");
    auto* all = new QVBoxLayout(this);
    all->addWidget(m_checkBox12);
    all->addWidget(buildServer());
    all->addWidget(buildClient());
    all->addWidget(buildTimeout());
    all->addStretch(1);
    connect(m_trackBar1, &QSlider::valueChanged, this, &MailPanel::showTimeout);
    watchChanges();
}

QWidget* MailPanel::buildServer() {
    m_server = group("GroupBox6");
    m_edit11 = named<QLineEdit>("Edit11", m_server);
    m_hostLabel = label("Label20", m_edit11, m_server);
    m_edit12 = named<QLineEdit>("Edit12", m_server);
    m_userLabel = label("Label21", m_edit12, m_server);
    m_edit13 = named<QLineEdit>("Edit13", m_server);
    m_edit13->setEchoMode(QLineEdit::Password);
    m_passwordLabel = label("Label22", m_edit13, m_server);
    m_security = namesCombo("cmbSecurity", m_server);
    m_securityLabel = label("Label27", m_security, m_server);
    auto* grid = new QGridLayout(m_server);
    QWidget* const rows[][2] = {{m_hostLabel, m_edit11},
                                {m_userLabel, m_edit12},
                                {m_passwordLabel, m_edit13},
                                {m_securityLabel, m_security}};
    for (int r = 0; r < 4; ++r) {
        grid->addWidget(rows[r][0], r, 0);
        grid->addWidget(rows[r][1], r, 1);
    }
    grid->setColumnStretch(1, 1);
    return m_server;
}

QWidget* MailPanel::buildClient() {
    m_client = group("GroupBox7");
    m_comboBox2 = namesCombo("ComboBox2", m_client);
    m_clientLabel = label("Label23", m_comboBox2, m_client);
    m_clientLabel->setWordWrap(true);
    auto* v = new QVBoxLayout(m_client);
    v->addWidget(m_clientLabel);
    v->addWidget(m_comboBox2);
    return m_client;
}

QWidget* MailPanel::buildTimeout() {
    m_timeout = group("GroupBox8");
    m_trackBar1 = named<QSlider>("TrackBar1", m_timeout);
    m_trackBar1->setOrientation(Qt::Horizontal);
    m_trackBar1->setRange(1, 10);
    m_trackBar1->setValue(3);
    m_trackBar1->setTickPosition(QSlider::TicksBelow);
    m_short = named<QLabel>("Label24", m_timeout);
    m_long = named<QLabel>("Label25", m_timeout);
    auto* h = new QHBoxLayout(m_timeout);
    h->addWidget(m_short);
    h->addWidget(m_trackBar1, 1);
    h->addWidget(m_long);
    return m_timeout;
}

void MailPanel::caption(const IntlStrings& intl) {
    m_checkBox12->setText(intl.IntlStr(8130));
    m_server->setTitle(intl.IntlStr(8350).trimmed());
    m_hostLabel->setText(intl.IntlStr(8140));
    m_userLabel->setText(intl.IntlStr(8150));
    m_passwordLabel->setText(intl.IntlStr(8160));
    m_securityLabel->setText(intl.IntlStr(8430));
    for (int i = 0; i < kKnownSecurities && i < m_security->count(); ++i)
        m_security->setItemText(i, intl.IntlStr(kSecurityCaptions[i]));
    m_client->setTitle(intl.IntlStr(8360).trimmed());
    m_clientLabel->setText(intl.IntlStr(8170));
    m_timeout->setTitle(intl.IntlStr(8370).trimmed());
    m_short->setText(intl.IntlStr(8380));
    showTimeout();
}

void MailPanel::showTimeout() {
    const IntlStrings& intl = m_dialog.intl();
    m_long->setText(QStringLiteral("%1  (%2 %3)")
                        .arg(intl.IntlStr(8390))
                        .arg(m_trackBar1->value())
                        .arg(intl.IntlStr(8400)));
}

void MailPanel::load(const SettingsValues& v) {
    m_checkBox12->setChecked(v.monitorMail);
    m_edit11->setText(v.popHost);
    m_edit12->setText(v.popUser);
    m_edit13->setText(v.popPassword);
    m_security->clear();
    const QStringList known = PopSecurityText::names();
    for (int i = 0; i < kKnownSecurities; ++i)
        m_security->addItem(m_dialog.intl().IntlStr(kSecurityCaptions[i]), known.at(i));
    // A stored choice of another kind is shown as it stands and kept.
    if (!known.contains(v.popSecurity))
        m_security->addItem(v.popSecurity, v.popSecurity);
    m_security->setCurrentIndex(m_security->findData(v.popSecurity));
    m_comboBox2->clear();
    m_comboBox2->addItems(v.mailClients);
    m_comboBox2->setCurrentIndex(int(v.mailClients.indexOf(v.mailClient)));
    m_trackBar1->setValue(v.popTimeout);
    showTimeout();
}

void MailPanel::read(SettingsValues& v) const {
    v.monitorMail = m_checkBox12->isChecked();
    v.popHost = m_edit11->text();
    v.popUser = m_edit12->text();
    v.popPassword = m_edit13->text();
    v.popSecurity = m_security->currentData().toString();
    v.mailClient = m_comboBox2->currentText();
    v.popTimeout = m_trackBar1->value();
}

void MailPanel::enable(const SettingsEnabling& e) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_server, m_client, m_timeout})
        w->setEnabled(e.mail);
}
