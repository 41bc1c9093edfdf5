#include "WindowCaptions.h"

#include "IntlStrings.h"
#include "MonitorView.h"
#include "WindowFrame.h"

namespace {

struct Caption {
    const char* command;
    int id; // -1: the fixed text
    const char* fixed;
};

// Items that have no text of their own in the string table keep an English one.
const Caption kCaptions[] = {
    {"File1", 3000, nullptr},
    {"View1", 530, nullptr},
    {"Details1", 510, nullptr},
    {"Toolbar1", 540, nullptr},
    {"Ontop1", 7140, nullptr},
    {"Viewlog1", 620, nullptr},
    {"Maillog1", 8410, nullptr},
    {"Properties1", 610, nullptr},
    {"Companion1", -1, "&Companion"},
    {"Wizard1", 630, nullptr},
    {"Exit1", 660, nullptr},
    {"Connect1", 3010, nullptr},
    {"Dialdart1", -1, "&Dialdart"},
    {"Connect2", 3610, nullptr},
    {"Disconnect1", 3620, nullptr},
    {"Properties2", 610, nullptr},
    {"Help1", 3020, nullptr},
    {"Helpcontents1", 640, nullptr},
    {"UpdateCentral1", 8500, nullptr},
    {"WWW1", 5200, nullptr},
    {"Homepage1", 5210, nullptr},
    {"Support1", 5220, nullptr},
    {"HDef1", 5260, nullptr},
    {"VarnholtHome1", -1, "&Varnholt Software Home Page"},
    {"About1", 650, nullptr},
    {"Dialdart2", -1, "&Dialdart"},
    {"Connectusing1", 3610, nullptr},
    {"Disconnect2", 3620, nullptr},
    {"Open1", 600, nullptr},
    {"Companion2", -1, "&Companion"},
    {"Wizard2", 630, nullptr},
    {"Properties3", 610, nullptr},
    {"Helpindex1", 640, nullptr},
    {"About2", 650, nullptr},
    {"Exit2", 660, nullptr},
    {"Toolbar2", 540, nullptr},
    {"Details2", 510, nullptr},
    {"listHistoria.Event", 8200, nullptr},
    {"listHistoria.Time", 8210, nullptr},
};

struct Hint {
    const char* command;
    int id;
    const char* fixed;
};

const Hint kHints[] = {
    {"ToolbarButton973", -1, "Dialdart"},    {"ToolbarButton975", -1, "Companion"},
    {"toolMailClient", -1, "E-mail client"}, {"ToolbarButton972", 520, nullptr},
    {"ToolbarButton971", 500, nullptr},
};

QString textOf(const IntlStrings& intl, int id, const char* fixed) {
    return id >= 0 ? intl.IntlStr(id) : QString::fromLatin1(fixed);
}

} // namespace

namespace WindowCaptions {

void LoadIntlStr(MonitorView& view, WindowFrame& frame, const IntlStrings& intl) {
    for (const Caption& c : kCaptions)
        view.setCommandCaption(QString::fromLatin1(c.command), textOf(intl, c.id, c.fixed));
    for (const Hint& h : kHints)
        frame.setCommandHint(QString::fromLatin1(h.command), textOf(intl, h.id, h.fixed));
    view.setLanguage(intl.LanguageOffset());
}

} // namespace WindowCaptions
