#include "WindowMailView.h"

#include "TfrmConfirm.h"

#include <QPlainTextEdit>

WindowMailView::WindowMailView(QPlainTextEdit& memoMailLog, QWidget* owner)
    : m_memo(memoMailLog), m_owner(owner) {}

void WindowMailView::appendMailLog(const QString& line) {
    m_memo.appendPlainText(line);
}

void WindowMailView::setMailLogVisible(bool visible) {
    m_memo.setVisible(visible);
    if (visible)
        m_memo.raise();
}

MailView::Confirmation WindowMailView::confirmMailClient(const ConfirmTexts& texts) {
    TfrmConfirm form(texts, m_owner && m_owner->isVisible() ? m_owner : nullptr);
    const bool ok = form.exec() == QDialog::Accepted;
    return {ok, form.skipInFuture()};
}
