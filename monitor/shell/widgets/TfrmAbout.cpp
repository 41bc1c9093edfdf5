#include "TfrmAbout.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kIconSize = 64;
constexpr int kLineChars = 44;

QLabel* line(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    // Room for a sentence on a line; word wrap alone would make the box narrow.
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * kLineChars);
    return label;
}
} // namespace

TfrmAbout::TfrmAbout(const AboutFacts& facts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmAbout"));
    setWindowTitle(facts.caption);
    auto* picture = new QLabel(this);
    picture->setPixmap(
        QIcon(QStringLiteral(":/icons/apps/tollwatch.svg")).pixmap(kIconSize, kIconSize));
    picture->setAlignment(Qt::AlignTop);
    auto* name = new QLabel(facts.program, this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* text = new QVBoxLayout;
    text->addWidget(name);
    for (const QString& t : {facts.version, facts.description, facts.licence, facts.qtVersion})
        text->addWidget(line(t, this));
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(facts.closeText);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DialogAbout::showAbout(const AboutFacts& facts) {
    TfrmAbout box(facts, m_parent && m_parent->isVisible() ? m_parent : nullptr);
    box.exec();
}
