#include "HeadlessMailView.h"

#include "HeadlessView.h"

void HeadlessMailView::appendMailLog(const QString& line) {
    m_view.record(QStringLiteral("mail"), {line});
}

void HeadlessMailView::newMailChanged(int count, const QString& caption) {
    QStringList fields{QString::number(count)};
    if (count > 0)
        fields << caption;
    m_view.record(QStringLiteral("newmail"), fields);
}

MailView::Confirmation HeadlessMailView::confirmMailClient(const ConfirmTexts& texts) {
    const BoxAnswer answer = m_view.messageBox(texts.caption, texts.text, BoxButtons::OkCancel,
                                               BoxIcon::Information, BoxAnswer::Ok);
    return {answer == BoxAnswer::Ok, false};
}
