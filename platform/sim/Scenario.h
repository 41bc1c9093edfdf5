#pragma once
// A scenario file, parsed: the simulated phone book, dial scripts, timed
// directives and prepared answers that drive a deterministic monitor run.

#include "RasApi.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <stdexcept>

// A scenario that cannot be used: where, and what was expected there.
class ScenarioError : public std::runtime_error {
public:
    // line is 0 when the problem is the file as a whole (it cannot be read).
    ScenarioError(const QString& fileName, int line, const QString& message);

    QString fileName() const { return m_fileName; }
    int line() const { return m_line; }
    QString message() const { return m_message; }
    // "file:line: message" (or "file: message" without a line).
    QString text() const { return QString::fromUtf8(what()); }

private:
    QString m_fileName;
    int m_line = 0;
    QString m_message;
};

// How a dial of one entry proceeds: one state a second, then either stays
// listed with the last state or fails with error.
struct DialScript {
    QString entryName;
    QList<int> states;
    int error = 0; // 0: the dial ends in the last state
};

// One "at TIME ..." line.
struct TimedDirective {
    enum class Kind {
        ConnectionState, // entryName listed with state and error
        ConnectionError, // entryName keeps its state, error changes
        Gone,            // entryName no longer listed
        Bytes,           // cumulative counters are sent / received
        EnumError,       // enumeration fails with error (0: works again)
        Click,           // the user uses command
        Exit,            // the Exit command
        Crash,           // the process ends at once with status 99
        AwaitStatus,     // the virtual clock waits for a status request
    };

    Kind kind = Kind::ConnectionState;
    QDateTime at;
    int line = 0; // line in the scenario file
    QString entryName;
    int state = 0;
    int error = 0;
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
    QString command;

    // Directives that SimRasApi::apply handles; the others are the runner's.
    bool concernsConnectionSource() const;
};

// One prepared answer to a message box or prompt.
struct ScenarioAnswer {
    enum class Button { Ok, Cancel, Yes, No };
    QStringList texts; // a prompt's fields, in order
    Button button = Button::Ok;
    int waitSeconds = 0; // how long the box stays open before the answer
};

class Scenario {
public:
    // Exit status of the process after a "crash" directive.
    static constexpr int CrashExitStatus = 99;

    // Throws ScenarioError naming fileName and the line at the first problem.
    static Scenario parse(const QString& text, const QString& fileName);
    // Reads and parses a UTF-8 file; an unreadable file is a ScenarioError too.
    static Scenario load(const QString& path);

    // Set by a "clock" line: the run uses a virtual clock starting there.
    // Without it, times count from origin(), which rebased() moves to the
    // program's start.
    std::optional<QDateTime> clockStart;
    QList<RasEntry> entries;                // file order
    QHash<QString, DialScript> dialScripts; // by entry name
    QList<TimedDirective> directives;       // file order; times never go down
    QList<ScenarioAnswer> answers;          // in the order they are used

    // The moment that relative times of the file are counted from: the clock
    // start, or a fixed day at 00:00:00 when the file has no clock.
    QDateTime origin() const;
    // The same scenario with every time moved so that origin() is start; for
    // runs on the real clock.
    Scenario rebased(const QDateTime& start) const;

private:
    QDateTime m_origin;
};
