// Run inside a network namespace holding a link named ppp0: reads the ppp
// source's view of it before and after real traffic and after the link is
// gone, one "key values..." line each, for PppNetnsTest.

#include "PppRasApi.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

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

} // namespace

// Arguments: an empty folder (for /proc and /run), the peer's address.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    PppOptions options;
    options.pppNamedLinks = true; // the kernel here makes no real ppp links
    options.procDir = args.at(1);
    options.runDir = args.at(1);
    PppRasApi api(options);

    printLinks("listed", api);
    printCounters("before", api.byteCounters());
    const int ping = QProcess::execute(QStringLiteral("ping"),
                                       {QStringLiteral("-c"), QStringLiteral("3"),
                                        QStringLiteral("-i"), QStringLiteral("0.2"),
                                        QStringLiteral("-W"), QStringLiteral("5"), args.at(2)});
    print(QStringLiteral("ping %1").arg(ping));
    printCounters("after", api.byteCounters());
    const int removed =
        QProcess::execute(QStringLiteral("ip"),
                          {QStringLiteral("link"), QStringLiteral("del"), QStringLiteral("ppp0")});
    print(QStringLiteral("removed %1").arg(removed));
    printLinks("ended", api);
    printCounters("total", api.byteCounters());
    return 0;
}
