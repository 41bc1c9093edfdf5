#pragma once
// The mail check in a headless run: each mail log line is a "mail" line,
// each change of the new-mail state a "newmail" line (the count, and the
// caption while mail waits); the confirmation before the e-mail program
// starts is a box answered like any other (OK or Cancel).

#include "MailView.h"

class HeadlessView;

class HeadlessMailView : public MailView {
public:
    explicit HeadlessMailView(HeadlessView& view) : m_view(view) {}

    void appendMailLog(const QString& line) override;
    void setMailLogVisible(bool) override {}
    void newMailChanged(int count, const QString& caption) override;
    Confirmation confirmMailClient(const ConfirmTexts& texts) override;

private:
    HeadlessView& m_view;
};
