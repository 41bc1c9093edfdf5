#pragma once
// LoadIntlStr: every caption, hint and column title of the status window and
// its menus in the current language. Runs at start-up and whenever the
// language may have changed.

class IntlStrings;
class MonitorView;
class WindowFrame;

namespace WindowCaptions {

void LoadIntlStr(MonitorView& view, WindowFrame& frame, const IntlStrings& intl);

} // namespace WindowCaptions
