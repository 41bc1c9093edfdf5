#pragma once
// Starts the helper programs of the connection sources (pon, poff, the
// connection editor) directly, never through a shell.

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

struct ProgramStart {
    bool started = false;
    QString message; // why it could not be started: "pon: No such file or directory"
};

namespace ProgramStarter {

// Starts a program that lives on by itself (an editor window).
ProgramStart startDetached(const QString& program, const QStringList& arguments);

// Starts a program whose end matters; finished gets its exit status (-1 when
// it crashed) and its output, on context's thread. The process belongs to
// context.
ProgramStart start(const QString& program, const QStringList& arguments, QObject* context,
                   std::function<void(int exitCode, const QString& output)> finished);

} // namespace ProgramStarter
