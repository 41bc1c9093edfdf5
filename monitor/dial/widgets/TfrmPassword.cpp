#include "TfrmPassword.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kFieldChars = 28;

QLabel* label(const QString& name, const QString& text, QLineEdit* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    // The ampersand of "&User name:" moves to the field with Alt and the key.
    l->setBuddy(buddy);
    return l;
}

} // namespace

TfrmPassword::TfrmPassword(const CredentialsPromptTexts& texts, const QString& userName,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmPassword"));
    setWindowTitle(texts.caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_edit1 = new QLineEdit(userName, this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit2 = new QLineEdit(this);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->setEchoMode(QLineEdit::Password);
    // Room for a typical user name and password at a glance.
    m_edit1->setMinimumWidth(m_edit1->fontMetrics().averageCharWidth() * kFieldChars);
    auto* form = new QFormLayout(this);
    form->addRow(label(QStringLiteral("Label1"), texts.userLabel, m_edit1, this), m_edit1);
    form->addRow(label(QStringLiteral("Label2"), texts.passwordLabel, m_edit2, this), m_edit2);
    auto* ok = new QPushButton(texts.okText, this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(texts.cancelText, this);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    // With the user name known, the password is what is left to type.
    (userName.isEmpty() ? m_edit1 : m_edit2)->setFocus();
}

DialCredentials TfrmPassword::credentials() const {
    return {m_edit1->text(), m_edit2->text()};
}
