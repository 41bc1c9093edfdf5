#include "PromptDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

PromptDialog::PromptDialog(const QString& caption, const QStringList& labels,
                           const QStringList& initial, const QList<int>& passwordFields,
                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption);
    auto* form = new QFormLayout(this);
    for (int i = 0; i < labels.size(); ++i) {
        auto* edit = new QLineEdit(i < initial.size() ? initial.at(i) : QString(), this);
        if (passwordFields.contains(i))
            edit->setEchoMode(QLineEdit::Password);
        form->addRow(labels.at(i), edit);
        m_fields << edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QStringList PromptDialog::values() const {
    QStringList out;
    for (const QLineEdit* edit : m_fields)
        out << edit->text();
    return out;
}
