#include "HeadlessView.h"

#include "Clock.h"

namespace {

QString flag(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString answerName(BoxAnswer answer) {
    switch (answer) {
    case BoxAnswer::Ok:
        return QStringLiteral("OK");
    case BoxAnswer::Cancel:
        return QStringLiteral("Cancel");
    case BoxAnswer::Yes:
        return QStringLiteral("Yes");
    case BoxAnswer::No:
        return QStringLiteral("No");
    }
    return QString();
}

BoxAnswer fromScenario(ScenarioAnswer::Button button) {
    switch (button) {
    case ScenarioAnswer::Button::Ok:
        return BoxAnswer::Ok;
    case ScenarioAnswer::Button::Cancel:
        return BoxAnswer::Cancel;
    case ScenarioAnswer::Button::Yes:
        return BoxAnswer::Yes;
    case ScenarioAnswer::Button::No:
        return BoxAnswer::No;
    }
    return BoxAnswer::Ok;
}

bool offers(BoxButtons buttons, BoxAnswer answer) {
    switch (buttons) {
    case BoxButtons::Ok:
        return answer == BoxAnswer::Ok;
    case BoxButtons::OkCancel:
        return answer == BoxAnswer::Ok || answer == BoxAnswer::Cancel;
    case BoxButtons::YesNo:
        return answer == BoxAnswer::Yes || answer == BoxAnswer::No;
    case BoxButtons::YesNoCancel:
        return answer != BoxAnswer::Ok;
    }
    return false;
}

QString beepName(BeepKind kind) {
    switch (kind) {
    case BeepKind::Default:
        return QStringLiteral("Default");
    case BeepKind::Information:
        return QStringLiteral("Information");
    case BeepKind::Warning:
        return QStringLiteral("Warning");
    case BeepKind::Error:
        return QStringLiteral("Error");
    case BeepKind::Question:
        return QStringLiteral("Question");
    }
    return QString();
}

} // namespace

HeadlessView::HeadlessView(const Clock& clock, bool trace, LineSink sink)
    : m_clock(clock), m_trace(trace), m_sink(std::move(sink)) {}

void HeadlessView::line(const QString& type, const QStringList& fields) {
    QString text =
        m_clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('\t') + type;
    for (const QString& f : fields)
        text += QLatin1Char('\t') + escaped(f);
    m_sink(text);
}

void HeadlessView::traceView(const QString& name, const QString& value) {
    const auto it = m_shown.constFind(name);
    if (it != m_shown.constEnd() && it.value() == value)
        return;
    m_shown.insert(name, value);
    if (m_trace)
        line(QStringLiteral("view"), {name, value});
}

void HeadlessView::info(const QString& text) {
    line(QStringLiteral("info"), {text});
}

void HeadlessView::eventPosted(const QString& text, EventKind kind) {
    line(QStringLiteral("event"), {QString::number(int(kind)), text});
}

void HeadlessView::setStatusLine(int n, const QString& text) {
    traceView(QStringLiteral("Label") + QString::number(n), text);
}

void HeadlessView::setStatusLineVisible(int n, bool visible) {
    traceView(QStringLiteral("Label%1.Visible").arg(n), flag(visible));
}

void HeadlessView::setTrayHint(const QString& text) {
    traceView(QStringLiteral("TrayIcon1.Hint"), text);
}

void HeadlessView::setApplicationTitle(const QString& text) {
    traceView(QStringLiteral("Application.Title"), text);
}

void HeadlessView::setXferText(const QString& text) {
    traceView(QStringLiteral("lblXfer"), text);
}

void HeadlessView::setXferVisible(bool visible) {
    traceView(QStringLiteral("lblXfer.Visible"), flag(visible));
}

void HeadlessView::setXferEnabled(bool enabled) {
    traceView(QStringLiteral("lblXfer.Enabled"), flag(enabled));
}

void HeadlessView::setCommandCaption(const QString& name, const QString& caption) {
    traceView(name, caption);
}

void HeadlessView::setCommandEnabled(const QString& name, bool enabled) {
    traceView(name + QStringLiteral(".Enabled"), flag(enabled));
}

void HeadlessView::setCommandVisible(const QString& name, bool visible) {
    traceView(name + QStringLiteral(".Visible"), flag(visible));
}

void HeadlessView::setCommandItems(const QString& menuName, const QStringList& entries) {
    traceView(menuName + QStringLiteral(".Items"), entries.join(QLatin1Char('\n')));
}

void HeadlessView::setCommandChecked(const QString& name, bool checked) {
    if (checked)
        m_checked.insert(name);
    else
        m_checked.remove(name);
    traceView(name + QStringLiteral(".Checked"), flag(checked));
}

void HeadlessView::setTrayDefaultCommand(const QString& name) {
    traceView(QStringLiteral("PopupMenu1.Default"), name);
}

void HeadlessView::setFrameSize(int width, int height) {
    m_geometry.setSize({width, height});
}

void HeadlessView::restoreWindow() {
    traceView(QStringLiteral("TfrmTAPIMon.Visible"), flag(true));
}

void HeadlessView::hideToTray() {
    traceView(QStringLiteral("TfrmTAPIMon.Visible"), flag(false));
}

std::optional<ScenarioAnswer> HeadlessView::nextAnswer() {
    if (m_answers.isEmpty())
        return std::nullopt;
    return m_answers.takeFirst();
}

BoxAnswer HeadlessView::messageBox(const QString& caption, const QString& text, BoxButtons buttons,
                                   BoxIcon, BoxAnswer defaultAnswer) {
    BoxAnswer answer = defaultAnswer;
    const auto prepared = nextAnswer();
    if (prepared) {
        const BoxAnswer wanted = fromScenario(prepared->button);
        if (offers(buttons, wanted))
            answer = wanted;
    }
    line(QStringLiteral("box"), {caption, text, answerName(answer)});
    waitFor(prepared);
    return answer;
}

void HeadlessView::waitFor(const std::optional<ScenarioAnswer>& answer) {
    if (answer && answer->waitSeconds > 0 && m_boxWait)
        m_boxWait(answer->waitSeconds);
}

std::optional<QStringList> HeadlessView::prompt(const QString& caption, const QStringList& labels,
                                                const QStringList& initial, const QList<int>&) {
    QStringList fields = initial;
    BoxAnswer answer = BoxAnswer::Ok;
    const auto prepared = nextAnswer();
    if (prepared) {
        answer =
            fromScenario(prepared->button) == BoxAnswer::Cancel ? BoxAnswer::Cancel : BoxAnswer::Ok;
        for (int i = 0; i < prepared->texts.size(); ++i) {
            if (i < fields.size())
                fields[i] = prepared->texts.at(i);
            else
                fields << prepared->texts.at(i);
        }
    }
    // The fields themselves are not written: one of them may be a password.
    line(QStringLiteral("box"), {caption, labels.join(QLatin1Char('\n')), answerName(answer)});
    waitFor(prepared);
    if (answer == BoxAnswer::Cancel)
        return std::nullopt;
    return fields;
}

void HeadlessView::openDocument(const QString& path) {
    info(QStringLiteral("open ") + path);
}

void HeadlessView::beep(BeepKind kind) {
    if (m_trace)
        line(QStringLiteral("beep"), {beepName(kind)});
}

void HeadlessView::playSound(const QString& file) {
    if (m_trace)
        line(QStringLiteral("sound"), {file});
}
