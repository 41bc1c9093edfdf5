#pragma once
// Where the settings dialogs appear: over their opener when it is showing,
// else in the middle of the screen (the wizard at first start opens before
// the status window does).

class QWidget;

namespace DialogPlacement {

void centreOnScreen(QWidget& dialog);
// Over the parent when it is visible, else centred on the screen.
void place(QWidget& dialog);

} // namespace DialogPlacement
