#include "TfrmConfirm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kTextWidth = 320;
} // namespace

TfrmConfirm::TfrmConfirm(const MailView::ConfirmTexts& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmConfirm"));
    setWindowTitle(texts.caption);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(texts.text, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setMinimumWidth(kTextWidth);
    layout->addWidget(label);
    m_chkNoConfirm = new QCheckBox(texts.skip, this);
    m_chkNoConfirm->setObjectName(QStringLiteral("chkNoConfirm"));
    layout->addWidget(m_chkNoConfirm);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(texts.ok, this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(texts.cancel, this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmConfirm::skipInFuture() const {
    return m_chkNoConfirm->isChecked();
}
