#include "SettingsPanel.h"

#include "SpinEdit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace {
// Room for a usual connection or program name before the layout widens it.
constexpr int kNamesComboChars = 16;
} // namespace

SettingsPanel::SettingsPanel(SettingsDialog& dialog, const char* name, QWidget* parent)
    : QWidget(parent), m_dialog(dialog) {
    setObjectName(QString::fromLatin1(name));
}

QGroupBox* SettingsPanel::group(const char* name) {
    return named<QGroupBox>(name);
}

QComboBox* SettingsPanel::namesCombo(const char* name, QWidget* parent) {
    auto* c = named<QComboBox>(name, parent);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(kNamesComboChars);
    return c;
}

QLabel* SettingsPanel::label(const char* name, QWidget* buddy, QWidget* parent) {
    auto* l = named<QLabel>(name, parent);
    l->setBuddy(buddy);
    return l;
}

void SettingsPanel::watchChanges() {
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        // A spinner's own edit is reported by the spinner.
        if (!qobject_cast<SpinEdit*>(e->parentWidget()))
            connect(e, &QLineEdit::textChanged, this, &SettingsPanel::changed);
    }
    for (SpinEdit* s : findChildren<SpinEdit*>())
        connect(s, &SpinEdit::edited, this, &SettingsPanel::changed);
    for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
        if (b->isCheckable())
            connect(b, &QAbstractButton::toggled, this, &SettingsPanel::changed);
    }
    for (QComboBox* c : findChildren<QComboBox*>())
        connect(c, &QComboBox::currentIndexChanged, this, &SettingsPanel::changed);
    for (QSlider* s : findChildren<QSlider*>())
        connect(s, &QSlider::valueChanged, this, &SettingsPanel::changed);
}
