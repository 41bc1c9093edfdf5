#pragma once
// A small modal form with one field per label (credentials and the like).

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;

class PromptDialog : public QDialog {
    Q_OBJECT
public:
    PromptDialog(const QString& caption, const QStringList& labels, const QStringList& initial,
                 const QList<int>& passwordFields, QWidget* parent = nullptr);

    QStringList values() const;

private:
    QList<QLineEdit*> m_fields;
};
