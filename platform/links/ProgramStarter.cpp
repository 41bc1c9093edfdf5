#include "ProgramStarter.h"

#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

namespace {

QString failure(const QString& program, const QString& reason) {
    return QFileInfo(program).fileName() + QStringLiteral(": ") + reason;
}

// Owns what posix_spawn needs, released on every path.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
        // Output goes nowhere: the source reads the link's state, not the
        // helper's chatter, and a pipe nobody reads could stall a helper that
        // outlives us.
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        sigaddset(&defaults, SIGHUP);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                  POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

} // namespace

namespace ProgramStarter {

ProgramStart startDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return {false, failure(program, process.errorString()), 0};
    return {true, QString(), 0};
}

ProgramStart spawn(const QString& program, const QStringList& arguments) {
    QList<QByteArray> words{program.toLocal8Bit()};
    for (const QString& argument : arguments)
        words.append(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    SpawnSetup setup;
    pid_t pid = 0;
    // glibc reports a program that cannot be run as the result, not as an
    // exit status of 127.
    const int error =
        posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ);
    if (error != 0)
        return {false, failure(program, QString::fromLocal8Bit(std::strerror(error))), 0};
    return {true, QString(), pid};
}

std::optional<int> exitStatus(qint64 pid) {
    int status = 0;
    const pid_t ended = ::waitpid(pid_t(pid), &status, WNOHANG);
    if (ended == 0)
        return std::nullopt;
    if (ended < 0) // not ours, or collected already: it is over either way
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace ProgramStarter
