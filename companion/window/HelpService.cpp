#include "HelpService.h"

#include "ProgramFolders.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {
const char* const kLanguages[] = {"en", "sv", "de", "da"};
}

BrowserHelp::BrowserHelp(QString folder) : m_folder(std::move(folder)) {
    if (m_folder.isEmpty())
        m_folder = ProgramFolders::dataFolder(QStringLiteral("help"));
}

QString BrowserHelp::anchorFor(int context) {
    return context == 1 ? QStringLiteral("setup") : QStringLiteral("context-%1").arg(context);
}

QUrl BrowserHelp::url(int languageIndex, int context) const {
    const int lang = (languageIndex >= 0 && languageIndex < 4) ? languageIndex : 0;
    QString file = m_folder + QStringLiteral("/companion-%1.html").arg(kLanguages[lang]);
    if (!QFileInfo::exists(file))
        file = m_folder + QStringLiteral("/companion-en.html");
    QUrl u = QUrl::fromLocalFile(file);
    if (context > 0)
        u.setFragment(anchorFor(context));
    return u;
}

void BrowserHelp::showContents(int languageIndex) {
    QDesktopServices::openUrl(url(languageIndex, 0));
}

void BrowserHelp::showContext(int languageIndex, int context) {
    QDesktopServices::openUrl(url(languageIndex, context));
}
