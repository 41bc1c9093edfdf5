#include "ConsoleObserver.h"

#include <cstdio>

MessageAnswer ConsoleObserver::showMessage(const MessageBoxRequest& request) {
    if (request.icon == MessageIcon::Warning)
        m_failed = true;
    const QByteArray text = (request.caption + QStringLiteral(": ") + request.text).toUtf8();
    std::fprintf(stderr, "%s\n", text.constData());
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::optional<QString> ConsoleObserver::askReportFileName(const SaveDialogRequest&) {
    return std::nullopt; // nobody to ask: nothing is saved
}
