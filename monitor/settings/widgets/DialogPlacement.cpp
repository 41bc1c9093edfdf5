#include "DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace DialogPlacement {

void centreOnScreen(QWidget& dialog) {
    dialog.adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
}

void place(QWidget& dialog) {
    const QWidget* parent = dialog.parentWidget();
    if (parent && parent->isVisible())
        return;
    centreOnScreen(dialog);
}

} // namespace DialogPlacement
