// Run inside a network namespace holding a link named ppp0: reads the ppp
// source's view of it before and after real traffic, hangs it up and reads
// it after the link is gone, one "key values..." line each, for
// PppNetnsTest. A child of its own stands in for the link's pppd (run as
// "pppd call isp", known by a pid file where pppd 2.5 writes it).

#include "PppRasApi.h"

#include <QCoreApplication>
#include <QProcess>

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void print(const QString& line) {
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

void printCounters(const char* key, const ByteCounters& c) {
    print(QStringLiteral("%1 %2 %3").arg(QLatin1String(key)).arg(c.sent).arg(c.received));
}

void printLinks(const char* key, PppRasApi& api) {
    QList<RasConnection> links;
    QString line = QString::fromLatin1(key) + QStringLiteral(" %1").arg(api.enumConnections(links));
    for (const RasConnection& link : links) {
        RasConnStatus status;
        api.connectStatus(link.handle, status);
        line += QStringLiteral(" %1:%2").arg(link.entryName).arg(status.state);
    }
    print(line);
}

// A process whose command line reads "/usr/sbin/pppd call isp", until a
// signal ends it.
pid_t startStandIn() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        char* const argv[] = {const_cast<char*>("/usr/sbin/pppd"), const_cast<char*>("call"),
                              const_cast<char*>("isp"), nullptr};
        ::execv("/proc/self/exe", argv);
        ::_exit(127);
    }
    return pid;
}

QString endOf(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return QStringLiteral("unknown");
    return WIFSIGNALED(status) ? QStringLiteral("signal %1").arg(WTERMSIG(status))
                               : QStringLiteral("exit %1").arg(WEXITSTATUS(status));
}

} // namespace

// Arguments: an empty folder (for /run), the peer's address.
int main(int argc, char** argv) {
    if (std::strstr(argv[0], "pppd")) {
        ::pause();
        return 0;
    }
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    const pid_t pppd = startStandIn();
    QDir(args.at(1)).mkpath(QStringLiteral("pppd"));
    QFile pidFile(args.at(1) + QStringLiteral("/pppd/ppp0.pid"));
    if (!pidFile.open(QIODevice::WriteOnly))
        return 3;
    pidFile.write(QByteArray::number(pppd) + '\n');
    pidFile.close();
    PppOptions options;
    options.pppNamedLinks = true; // the kernel here makes no real ppp links
    options.runDir = args.at(1);
    options.peersDir = args.at(1);
    options.secretsDir = args.at(1);
    PppRasApi api(options);
    // The stand-in has replaced its program by the time /proc shows it so.
    for (int i = 0; i < 500; ++i) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pppd));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().startsWith("/usr/sbin/pppd"))
            break;
        ::usleep(10000);
    }

    printLinks("listed", api);
    printCounters("before", api.byteCounters());
    const int ping = QProcess::execute(QStringLiteral("ping"),
                                       {QStringLiteral("-c"), QStringLiteral("3"),
                                        QStringLiteral("-i"), QStringLiteral("0.2"),
                                        QStringLiteral("-W"), QStringLiteral("5"), args.at(2)});
    print(QStringLiteral("ping %1").arg(ping));
    printCounters("after", api.byteCounters());
    QList<RasConnection> links;
    api.enumConnections(links);
    const int hungUp = links.isEmpty() ? -1 : api.hangUp(links.constFirst().handle);
    print(QStringLiteral("hungup %1 %2").arg(hungUp).arg(endOf(pppd)));
    const int removed =
        QProcess::execute(QStringLiteral("ip"),
                          {QStringLiteral("link"), QStringLiteral("del"), QStringLiteral("ppp0")});
    print(QStringLiteral("removed %1").arg(removed));
    printLinks("ended", api);
    printCounters("total", api.byteCounters());
    return 0;
}
