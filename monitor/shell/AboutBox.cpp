#include "AboutBox.h"

#include "IntlStrings.h"
#include "MonitorView.h"

#include <QtGlobal>

AboutFacts AboutFacts::current(const IntlStrings& intl) {
    AboutFacts f;
    f.caption = intl.IntlStr(670);
    f.program = QStringLiteral("Tollwatch");
    f.version = intl.IntlStr(9450) + QStringLiteral(TOLLWATCH_VERSION);
    f.description = intl.IntlStr(9470);
    f.licence = intl.IntlStr(9460) + QStringLiteral(TOLLWATCH_LICENSE);
    // The Qt the program runs on, which may be newer than the one it was built with.
    f.qtVersion = QStringLiteral("Qt ") + QString::fromLatin1(qVersion());
    f.closeText = intl.IntlStr(5160);
    return f;
}

QString AboutFacts::text() const {
    return QStringList{program, version, description, licence, qtVersion}.join(QLatin1Char('\n'));
}

void MessageBoxAbout::showAbout(const AboutFacts& facts) {
    m_view.messageBox(facts.caption, facts.text(), BoxButtons::Ok, BoxIcon::Information,
                      BoxAnswer::Ok);
}
