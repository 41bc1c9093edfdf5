#pragma once
// Fixed locale formats for tests, so no test depends on the machine's locale.

#include "FormatSettings.h"

namespace TestFormats {

FormatSettings forLocale(const char* name); // "en_US", "de_DE", "sv_SE", ...
FormatSettings enUS();
FormatSettings svSE(); // comma decimals

} // namespace TestFormats
