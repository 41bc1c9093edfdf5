#include "SpinEdit.h"

#include <QLineEdit>

#include <algorithm>

SpinEdit::SpinEdit(int minimum, int maximum, int step, QWidget* parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum), m_step(step) {
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::edited);
    // Wide enough for the largest number and a little more.
    const int digits = QString::number(maximum).size() + 3;
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0'))) + 24);
}

QString SpinEdit::value() const {
    return lineEdit()->text();
}

void SpinEdit::setValue(const QString& text) {
    lineEdit()->setText(text);
}

void SpinEdit::stepBy(int steps) {
    bool ok = false;
    const qint64 now = value().trimmed().toLongLong(&ok);
    // A text that is no number starts the spinner from its lowest value.
    const qint64 next = ok ? now + qint64(steps) * m_step : m_minimum;
    setValue(QString::number(std::clamp<qint64>(next, m_minimum, m_maximum)));
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State SpinEdit::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

void SpinEdit::fixup(QString&) const {}
