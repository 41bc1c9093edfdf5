#pragma once
// The password prompt: a picture, the prompt, a masked edit and OK/Cancel,
// centred on the screen. Used by the administrator's gate and the
// set-password sequence through SupervisorPasswordPrompt.

#include "PasswordPrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmSupervisorPW : public QDialog {
    Q_OBJECT
public:
    TfrmSupervisorPW(const PasswordRequest& request, QWidget* parent = nullptr);

    QString password() const;

private:
    QLabel* m_label1;
    QLineEdit* m_edit2;
    QPushButton* m_button1;
    QPushButton* m_button2;
};
