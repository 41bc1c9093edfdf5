#include "TestFormats.h"

namespace TestFormats {

FormatSettings forLocale(const char* name) {
    return FormatSettings::fromLocale(QLocale(QString::fromLatin1(name)));
}

FormatSettings enUS() {
    return forLocale("en_US");
}

FormatSettings svSE() {
    return forLocale("sv_SE");
}

} // namespace TestFormats
