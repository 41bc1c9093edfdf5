#include "TfrmSupervisorPW.h"

#include "DialogPlacement.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TfrmSupervisorPW::TfrmSupervisorPW(const PasswordRequest& request, QWidget* parent)
    : QDialog(parent), m_label1(new QLabel(request.label, this)), m_edit2(new QLineEdit(this)),
      m_button1(new QPushButton(request.okText, this)),
      m_button2(new QPushButton(request.cancelText, this)) {
    setObjectName(QStringLiteral("TfrmSupervisorPW"));
    setWindowTitle(request.caption);
    auto* picture = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    picture->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(side, side));
    picture->setAlignment(Qt::AlignTop);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setWordWrap(true);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->setEchoMode(QLineEdit::Password);
    // Each character shows as an asterisk, whatever the style's choice.
    m_edit2->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setDefault(true);
    m_button2->setObjectName(QStringLiteral("Button2"));
    connect(m_button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* text = new QVBoxLayout;
    text->addWidget(m_label1);
    text->addWidget(m_edit2);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_button1);
    buttons->addWidget(m_button2);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    setMinimumWidth(360);
    m_edit2->setFocus();
    DialogPlacement::centreOnScreen(*this);
}

QString TfrmSupervisorPW::password() const {
    return m_edit2->text();
}
