#include "DialogRig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace {

QString describe(const QWidget& w, const QString& text, const QSize& has, const QSize& needs) {
    return QStringLiteral("%1 \"%2\": %3x%4 < %5x%6")
        .arg(w.objectName(), text)
        .arg(has.width())
        .arg(has.height())
        .arg(needs.width())
        .arg(needs.height());
}

// A label that wraps needs its height at its width; any other text needs
// its whole preferred width.
bool fits(const QWidget& w, QSize& needs) {
    if (const auto* label = qobject_cast<const QLabel*>(&w); label && label->wordWrap()) {
        needs = QSize(0, label->heightForWidth(label->width()));
        return label->height() >= needs.height();
    }
    // A group box only needs room for its title and its contents' minimum.
    needs = qobject_cast<const QGroupBox*>(&w) ? w.minimumSizeHint() : w.sizeHint();
    return w.width() >= needs.width() && w.height() >= w.minimumSizeHint().height();
}

} // namespace

namespace DialogFit {

void showAndSettle(QWidget& window) {
    window.show();
    QApplication::processEvents();
    QApplication::processEvents();
}

QStringList clippedTexts(QWidget& window) {
    QStringList out;
    const auto check = [&](QWidget* w, const QString& text) {
        if (!w->isVisible() || text.isEmpty())
            return;
        QSize needs;
        if (!fits(*w, needs))
            out << describe(*w, text, w->size(), needs);
    };
    for (QLabel* l : window.findChildren<QLabel*>())
        check(l, l->text());
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        check(b, b->text());
    for (QGroupBox* g : window.findChildren<QGroupBox*>())
        check(g, g->title());
    return out;
}

} // namespace DialogFit
