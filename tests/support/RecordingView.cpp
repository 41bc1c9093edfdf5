#include "RecordingView.h"

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

void RecordingView::setPictures(EventKind kind) {
    pictures << kind;
    journal << QStringLiteral("picture:%1").arg(int(kind));
}

void RecordingView::addHistoryRow(const QString& text, const QString& time, EventKind kind) {
    rows.append({text, time, kind});
    journal << QStringLiteral("row:") + text;
}

void RecordingView::setStatusLine(int line, const QString& text) {
    if (line >= 1 && line <= 3)
        lines[line] = text;
}

void RecordingView::setStatusLineVisible(int line, bool shown) {
    if (line >= 1 && line <= 3)
        lineVisible[line] = shown;
}

void RecordingView::setTrayHint(const QString& text) {
    trayHint = text;
}

void RecordingView::setApplicationTitle(const QString& text) {
    title = text;
}

void RecordingView::setCommandCaption(const QString& name, const QString& caption) {
    captions[name] = caption;
}

BoxAnswer RecordingView::messageBox(const QString& caption, const QString& text, BoxButtons buttons,
                                    BoxIcon icon, BoxAnswer defaultAnswer) {
    const Box box{caption, text, icon, buttons};
    boxes << box;
    journal << QStringLiteral("box:") + caption;
    if (onBox)
        onBox(box);
    return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}

std::optional<QStringList> RecordingView::prompt(const QString& caption, const QStringList& labels,
                                                 const QStringList& initial,
                                                 const QList<int>& passwordFields) {
    prompts.append({caption, labels, initial, passwordFields});
    boxes.append({caption, QString(), BoxIcon::None, BoxButtons::OkCancel});
    journal << QStringLiteral("prompt:") + caption;
    if (!answers.isEmpty() && answers.takeFirst() == BoxAnswer::Cancel)
        return std::nullopt;
    return promptValues.isEmpty() ? initial : promptValues.takeFirst();
}

void RecordingView::beep(BeepKind kind) {
    beeps << kind;
    journal << QStringLiteral("beep");
}

void RecordingView::playSound(const QString& file) {
    sounds << file;
    journal << QStringLiteral("sound:") + file;
}

void RecordingView::setCommandChecked(const QString& name, bool on) {
    if (on)
        checked.insert(name);
    else
        checked.remove(name);
}

void RecordingView::restoreWindow() {
    ++windowShows;
    journal << QStringLiteral("show");
}

void RecordingView::hideToTray() {
    ++hides;
    journal << QStringLiteral("hide");
}

QStringList RecordingView::rowTexts() const {
    QStringList out;
    for (const Row& r : rows)
        out << r.text;
    return out;
}
