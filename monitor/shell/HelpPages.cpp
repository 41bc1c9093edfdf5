#include "HelpPages.h"

#include <QFileInfo>

namespace {
const char* const kCodes[] = {"en", "sv", "de", "fr", "nl", "it", "es", "pt", "da"};
constexpr int kLanguages = 9;
} // namespace

QString HelpPages::languageCode(int languageOffset) {
    if (languageOffset < 0 || languageOffset >= kLanguages)
        return QStringLiteral("en");
    return QString::fromLatin1(kCodes[languageOffset]);
}

QUrl HelpPages::page(int languageOffset, const QString& anchor) const {
    QString file =
        m_folder + QStringLiteral("/tollwatch-%1.html").arg(languageCode(languageOffset));
    if (!QFileInfo::exists(file))
        file = m_folder + QStringLiteral("/tollwatch-en.html");
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}
