#pragma once
// The confirmation before the e-mail program starts: a note, OK and Cancel,
// and "Skip this message in the future".

#include "MailView.h"

#include <QDialog>

class QCheckBox;

class TfrmConfirm : public QDialog {
    Q_OBJECT
public:
    TfrmConfirm(const MailView::ConfirmTexts& texts, QWidget* parent = nullptr);

    bool skipInFuture() const;

private:
    QCheckBox* m_chkNoConfirm = nullptr;
};
