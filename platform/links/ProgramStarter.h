#pragma once
// Starts the helper programs of the connection sources (pon, the connection
// editor) directly, never through a shell.

#include <QString>
#include <QStringList>

#include <optional>

struct ProgramStart {
    bool started = false;
    QString message; // why it could not be started: "pon: No such file or directory"
    qint64 pid = 0;  // of a program started with spawn()
};

namespace ProgramStarter {

// Starts a program that lives on by itself (an editor window).
ProgramStart startDetached(const QString& program, const QStringList& arguments);

// Starts a program in a session of its own whose end matters, without tying
// its life to ours: it goes on when this process ends (a pppd that stays in
// the foreground must outlive the monitor) and no terminal signal reaches it.
// Its exit status is collected with exitStatus().
ProgramStart spawn(const QString& program, const QStringList& arguments);

// The exit status of a program started with spawn() once it has ended (-1
// when a signal ended it); nullopt while it runs. Collects it only once.
std::optional<int> exitStatus(qint64 pid);

} // namespace ProgramStarter
