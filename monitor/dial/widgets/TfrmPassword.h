#pragma once
// The credentials form of a dial: the entry's name as caption, the user name
// (filled in), a masked password, OK and Cancel.

#include "CredentialsPrompt.h"

#include <QDialog>

class QLineEdit;

class TfrmPassword : public QDialog {
    Q_OBJECT
public:
    TfrmPassword(const CredentialsPromptTexts& texts, const QString& userName,
                 QWidget* parent = nullptr);

    // What the fields hold now.
    DialCredentials credentials() const;

private:
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
};
