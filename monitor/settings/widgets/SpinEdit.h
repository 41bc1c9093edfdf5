#pragma once
// An edit with a spinner beside it: the text is free (a stored value that
// is no number is shown and saved as it stands, and Apply reports it), the
// arrows step a number within a range.

#include <QAbstractSpinBox>

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, int step, QWidget* parent = nullptr);

    QString value() const;
    void setValue(const QString& text);
    void stepBy(int steps) override;

signals:
    void edited();

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    int m_minimum;
    int m_maximum;
    int m_step;
};
