#include "Scenario.h"

#include "ScenarioTokenizer.h"

#include <QFile>
#include <QRegularExpression>

namespace {

const QString kTimeForms =
    QStringLiteral("a time (HH:MM:SS, YYYY-MM-DD HH:MM:SS, +N, +Ns, +Nm or +Nh)");
const QString kMaxBytes = QStringLiteral("18446744073709551615");

// Relative times need a start even without a clock line; this fixed day keeps
// them independent of when and where the file is parsed.
QDateTime nominalOrigin() {
    return QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
}

const QRegularExpression& datePattern() {
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return pattern;
}

bool allDigits(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString describe(const ScenarioToken* token) {
    if (!token)
        return QStringLiteral("the end of the line");
    if (token->quoted)
        return QStringLiteral("\"%1\"").arg(token->text);
    return QStringLiteral("'%1'").arg(token->text);
}

class ScenarioParser {
public:
    explicit ScenarioParser(const QString& fileName) : m_fileName(fileName) {}

    Scenario parse(const QString& text);
    QDateTime origin() const { return m_origin; }

private:
    void parseLine();
    void parseClock();
    void parseEntry();
    void parseDial();
    void parseAnswer();
    int parseWait(const QString& text);
    void parseAt();
    void parseConnectionDirective(TimedDirective& directive);
    void parseBytes(TimedDirective& directive);

    QDateTime parseTime();
    QDateTime parseDateTime();
    QDate parseDate();
    QTime parseClockTime();
    QDateTime parseRelative(const QString& text);
    QDateTime parseTimeOfDay(const QString& text);
    int parseNumber(const QString& what);
    std::uint64_t parseByteCount();
    QString parseName(const QString& what);

    const ScenarioToken* peek() const;
    bool peekWord(const QString& word) const;
    const ScenarioToken& take(const QString& what);
    void expectEnd();
    [[noreturn]] void expected(const QString& what) const;
    [[noreturn]] void fail(const QString& message) const;

    QString m_fileName;
    int m_line = 0;
    QList<ScenarioToken> m_tokens;
    int m_pos = 0;
    Scenario m_scenario;
    QDateTime m_origin = nominalOrigin();
    QDateTime m_previous = m_origin;
    bool m_timed = false;
    ByteCounters m_bytes;
};

Scenario ScenarioParser::parse(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        m_line = i + 1;
        QString error;
        if (!ScenarioTokenizer::tokenize(lines[i], m_tokens, error))
            fail(error);
        m_pos = 0;
        if (!m_tokens.isEmpty())
            parseLine();
    }
    return m_scenario;
}

void ScenarioParser::parseLine() {
    const ScenarioToken& first = m_tokens.first();
    const QString keyword = first.quoted ? QString() : first.text;
    ++m_pos;
    if (keyword == QLatin1String("clock"))
        parseClock();
    else if (keyword == QLatin1String("entry"))
        parseEntry();
    else if (keyword == QLatin1String("dial"))
        parseDial();
    else if (keyword == QLatin1String("answer"))
        parseAnswer();
    else if (keyword == QLatin1String("at"))
        parseAt();
    else {
        m_pos = 0;
        expected(QStringLiteral("a directive (clock, entry, dial, answer or at)"));
    }
}

void ScenarioParser::parseClock() {
    if (m_scenario.clockStart)
        fail(QStringLiteral("expected a single clock line"));
    if (m_timed)
        fail(QStringLiteral("expected the clock line before the first \"at\" line"));
    const QDate date = parseDate();
    const QTime time = parseClockTime();
    expectEnd();
    m_origin = QDateTime(date, time);
    m_previous = m_origin;
    m_scenario.clockStart = m_origin;
}

void ScenarioParser::parseEntry() {
    RasEntry entry;
    entry.name = parseName(QStringLiteral("an entry name in quotes"));
    for (const RasEntry& known : m_scenario.entries) {
        if (known.name == entry.name)
            fail(QStringLiteral("expected a new entry name; \"%1\" is already listed")
                     .arg(entry.name));
    }
    bool hasUser = false;
    while (peek()) {
        if (peekWord(QStringLiteral("user")) && !hasUser) {
            ++m_pos;
            entry.userName = parseName(QStringLiteral("a user name in quotes"));
            hasUser = true;
        } else if (peekWord(QStringLiteral("password")) && !entry.passwordStored) {
            ++m_pos;
            entry.password = parseName(QStringLiteral("a password in quotes"));
            entry.passwordStored = true;
        } else {
            expected(QStringLiteral("user \"U\", password \"P\" or the end of the line"));
        }
    }
    m_scenario.entries.append(entry);
}

void ScenarioParser::parseDial() {
    DialScript script;
    script.entryName = parseName(QStringLiteral("an entry name in quotes"));
    const bool known = std::any_of(m_scenario.entries.cbegin(), m_scenario.entries.cend(),
                                   [&](const RasEntry& e) { return e.name == script.entryName; });
    if (!known)
        fail(QStringLiteral("expected the name of an entry listed above, found \"%1\"")
                 .arg(script.entryName));
    if (m_scenario.dialScripts.contains(script.entryName))
        fail(QStringLiteral("expected one dial line per entry; \"%1\" has one already")
                 .arg(script.entryName));
    while (peek() && !peekWord(QStringLiteral("error")))
        script.states.append(parseNumber(QStringLiteral("a state number or error E")));
    if (peekWord(QStringLiteral("error"))) {
        ++m_pos;
        script.error = parseNumber(QStringLiteral("an error code"));
    }
    if (script.states.isEmpty() && script.error == 0)
        expected(QStringLiteral("at least one state number"));
    expectEnd();
    m_scenario.dialScripts.insert(script.entryName, script);
}

void ScenarioParser::parseAnswer() {
    ScenarioAnswer answer;
    bool any = false;
    bool waiting = false;
    while (const ScenarioToken* token = peek()) {
        ++m_pos;
        if (token->quoted) {
            answer.texts.append(token->text);
            continue;
        }
        if (token->text.startsWith(QLatin1Char('+')) && !waiting) {
            answer.waitSeconds = parseWait(token->text);
            waiting = true;
            continue;
        }
        static const QStringList words{QStringLiteral("ok"), QStringLiteral("cancel"),
                                       QStringLiteral("yes"), QStringLiteral("no")};
        const int index = words.indexOf(token->text);
        if (index < 0) {
            --m_pos;
            expected(QStringLiteral("ok, cancel, yes, no, a text in quotes or a wait (+N)"));
        }
        answer.button = static_cast<ScenarioAnswer::Button>(index);
        m_scenario.answers.append(answer);
        answer = ScenarioAnswer();
        waiting = false;
        any = true;
    }
    if (!answer.texts.isEmpty() || waiting)
        expected(QStringLiteral("ok, cancel, yes or no after the texts and the wait"));
    if (!any)
        expected(QStringLiteral("ok, cancel, yes, no or a text in quotes"));
}

// "+N", "+Ns", "+Nm" or "+Nh": how long a box stays open, at most a day.
int ScenarioParser::parseWait(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\+(\\d{1,5})([smh]?)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    const int factor = match.captured(2) == QLatin1String("h")   ? 3600
                       : match.captured(2) == QLatin1String("m") ? 60
                                                                 : 1;
    const int seconds = match.hasMatch() ? match.captured(1).toInt() * factor : -1;
    if (seconds < 0 || seconds > 86400) {
        --m_pos;
        expected(QStringLiteral("a wait of at most a day (+N, +Ns, +Nm or +Nh)"));
    }
    return seconds;
}

void ScenarioParser::parseAt() {
    TimedDirective directive;
    directive.line = m_line;
    directive.at = parseTime();
    const ScenarioToken* token = peek();
    const QString what = QStringLiteral(
        "an entry name in quotes, bytes, enum-error, click, exit, crash or await-status after the "
        "time");
    if (!token)
        expected(what);
    if (token->quoted) {
        parseConnectionDirective(directive);
    } else if (token->text == QLatin1String("bytes")) {
        ++m_pos;
        parseBytes(directive);
    } else if (token->text == QLatin1String("enum-error")) {
        ++m_pos;
        directive.kind = TimedDirective::Kind::EnumError;
        directive.error = parseNumber(QStringLiteral("an error code (0 ends the failure)"));
    } else if (token->text == QLatin1String("click")) {
        ++m_pos;
        directive.kind = TimedDirective::Kind::Click;
        directive.command = take(QStringLiteral("a command name")).text;
        if (directive.command.isEmpty())
            fail(QStringLiteral("expected a command name that is not empty"));
    } else if (token->text == QLatin1String("exit")) {
        ++m_pos;
        directive.kind = TimedDirective::Kind::Exit;
    } else if (token->text == QLatin1String("crash")) {
        ++m_pos;
        directive.kind = TimedDirective::Kind::Crash;
    } else if (token->text == QLatin1String("await-status")) {
        ++m_pos;
        // Only a virtual clock can stand still.
        if (!m_scenario.clockStart)
            fail(QStringLiteral("expected a clock line before await-status"));
        directive.kind = TimedDirective::Kind::AwaitStatus;
    } else {
        expected(what);
    }
    expectEnd();
    m_previous = directive.at;
    m_timed = true;
    m_scenario.directives.append(directive);
}

void ScenarioParser::parseConnectionDirective(TimedDirective& directive) {
    directive.entryName = take(QString()).text;
    if (peekWord(QStringLiteral("state"))) {
        ++m_pos;
        directive.kind = TimedDirective::Kind::ConnectionState;
        directive.state = parseNumber(QStringLiteral("a state number"));
        if (peekWord(QStringLiteral("error"))) {
            ++m_pos;
            directive.error = parseNumber(QStringLiteral("an error code"));
        }
    } else if (peekWord(QStringLiteral("error"))) {
        ++m_pos;
        directive.kind = TimedDirective::Kind::ConnectionError;
        directive.error = parseNumber(QStringLiteral("an error code"));
    } else if (peekWord(QStringLiteral("gone"))) {
        ++m_pos;
        directive.kind = TimedDirective::Kind::Gone;
    } else {
        expected(QStringLiteral("state N, error E or gone after the entry name"));
    }
}

void ScenarioParser::parseBytes(TimedDirective& directive) {
    directive.kind = TimedDirective::Kind::Bytes;
    directive.sent = parseByteCount();
    directive.received = parseByteCount();
    if (directive.sent < m_bytes.sent || directive.received < m_bytes.received)
        fail(QStringLiteral("expected byte counters that never go down (they were %1 and %2)")
                 .arg(m_bytes.sent)
                 .arg(m_bytes.received));
    m_bytes = {directive.sent, directive.received};
}

QDateTime ScenarioParser::parseTime() {
    const ScenarioToken& token = take(kTimeForms);
    if (!token.quoted) {
        if (token.text.startsWith(QLatin1Char('+')))
            return parseRelative(token.text);
        static const QRegularExpression timePattern(QStringLiteral("^\\d{1,2}:\\d{2}:\\d{2}$"));
        if (timePattern.match(token.text).hasMatch())
            return parseTimeOfDay(token.text);
        if (datePattern().match(token.text).hasMatch()) {
            --m_pos;
            return parseDateTime();
        }
    }
    --m_pos;
    expected(kTimeForms);
}

QDateTime ScenarioParser::parseDateTime() {
    if (!m_scenario.clockStart)
        expected(QStringLiteral("HH:MM:SS or +N without a clock line; a date needs one"));
    const QDate date = parseDate();
    const QDateTime result(date, parseClockTime());
    if (result < m_previous)
        fail(QStringLiteral("expected a time at or after %1")
                 .arg(m_previous.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    return result;
}

QDate ScenarioParser::parseDate() {
    const ScenarioToken* token = peek();
    const QDate date = token && !token->quoted && datePattern().match(token->text).hasMatch()
                           ? QDate::fromString(token->text, QStringLiteral("yyyy-MM-dd"))
                           : QDate();
    if (!date.isValid())
        expected(QStringLiteral("a date (YYYY-MM-DD)"));
    ++m_pos;
    return date;
}

QTime ScenarioParser::parseClockTime() {
    const ScenarioToken* token = peek();
    const QTime time = token && !token->quoted
                           ? QTime::fromString(token->text, QStringLiteral("HH:mm:ss"))
                           : QTime();
    if (!time.isValid())
        expected(QStringLiteral("a time of day (HH:MM:SS) after the date"));
    ++m_pos;
    return time;
}

QDateTime ScenarioParser::parseRelative(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\+(\\d{1,9})([smh]?)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        --m_pos;
        expected(kTimeForms);
    }
    qint64 seconds = match.captured(1).toLongLong();
    const QString unit = match.captured(2);
    if (unit == QLatin1String("m"))
        seconds *= 60;
    else if (unit == QLatin1String("h"))
        seconds *= 3600;
    const QDateTime result = m_previous.addSecs(seconds);
    if (!result.isValid()) {
        --m_pos;
        expected(QStringLiteral("a shorter time"));
    }
    return result;
}

QDateTime ScenarioParser::parseTimeOfDay(const QString& text) {
    const QTime time = QTime::fromString(text.size() == 7 ? QLatin1Char('0') + text : text,
                                         QStringLiteral("HH:mm:ss"));
    if (!time.isValid()) {
        --m_pos;
        expected(QStringLiteral("a valid time of day (HH:MM:SS)"));
    }
    QDateTime result(m_previous.date(), time, m_origin.timeSpec());
    if (result < m_previous)
        result = QDateTime(m_previous.date().addDays(1), time, m_origin.timeSpec());
    return result;
}

int ScenarioParser::parseNumber(const QString& what) {
    const ScenarioToken* token = peek();
    bool ok = false;
    const int value =
        token && !token->quoted && allDigits(token->text) ? token->text.toInt(&ok) : 0;
    if (!ok)
        expected(what);
    ++m_pos;
    return value;
}

std::uint64_t ScenarioParser::parseByteCount() {
    const QString what = QStringLiteral("a byte count from 0 to ") + kMaxBytes;
    const ScenarioToken* token = peek();
    bool ok = false;
    const qulonglong value =
        token && !token->quoted && allDigits(token->text) ? token->text.toULongLong(&ok) : 0;
    if (!ok)
        expected(what);
    ++m_pos;
    return value;
}

QString ScenarioParser::parseName(const QString& what) {
    const ScenarioToken* token = peek();
    if (!token || !token->quoted)
        expected(what);
    ++m_pos;
    return token->text;
}

const ScenarioToken* ScenarioParser::peek() const {
    return m_pos < m_tokens.size() ? &m_tokens[m_pos] : nullptr;
}

bool ScenarioParser::peekWord(const QString& word) const {
    const ScenarioToken* token = peek();
    return token && !token->quoted && token->text == word;
}

const ScenarioToken& ScenarioParser::take(const QString& what) {
    if (!peek())
        expected(what);
    return m_tokens[m_pos++];
}

void ScenarioParser::expectEnd() {
    if (peek())
        expected(QStringLiteral("the end of the line"));
}

void ScenarioParser::expected(const QString& what) const {
    fail(QStringLiteral("expected %1, found %2").arg(what, describe(peek())));
}

void ScenarioParser::fail(const QString& message) const {
    throw ScenarioError(m_fileName, m_line, message);
}

QString errorText(const QString& fileName, int line, const QString& message) {
    if (line > 0)
        return QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(message);
    return QStringLiteral("%1: %2").arg(fileName, message);
}

} // namespace

ScenarioError::ScenarioError(const QString& fileName, int line, const QString& message)
    : std::runtime_error(errorText(fileName, line, message).toStdString()), m_fileName(fileName),
      m_line(line), m_message(message) {}

bool TimedDirective::concernsConnectionSource() const {
    return kind != Kind::Click && kind != Kind::Exit && kind != Kind::Crash &&
           kind != Kind::AwaitStatus;
}

Scenario Scenario::parse(const QString& text, const QString& fileName) {
    ScenarioParser parser(fileName);
    Scenario scenario = parser.parse(text);
    scenario.m_origin = parser.origin();
    return scenario;
}

Scenario Scenario::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ScenarioError(
            path, 0,
            QStringLiteral("expected a readable scenario file (%1)").arg(file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return parse(text, path);
}

QDateTime Scenario::origin() const {
    if (clockStart)
        return *clockStart;
    return m_origin.isValid() ? m_origin : nominalOrigin();
}

Scenario Scenario::rebased(const QDateTime& start) const {
    const QDateTime from = origin();
    Scenario moved = *this;
    for (TimedDirective& directive : moved.directives)
        directive.at = start.addSecs(from.secsTo(directive.at));
    if (moved.clockStart)
        moved.clockStart = start;
    moved.m_origin = start;
    return moved;
}
