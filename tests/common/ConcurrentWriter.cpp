// Helper process of the concurrency and rewrite tests.
//   concurrent_writer append FILE TAG COUNT    appends COUNT log lines
//   concurrent_writer registry FILE TAG COUNT  writes COUNT settings values
//   concurrent_writer rewrite FILE PREFIX STEP rewrites FILE without the lines
//                                              starting with PREFIX and kills
//                                              itself at STEP (a RewriteStep
//                                              number; -1: never)
// Each line or value carries TAG and its number, so the test can tell that
// none was lost. A failed append or rewrite prints its error number.

#include "LogFile.h"
#include "SqliteRegistryStore.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <exception>

namespace {

// Long enough that a torn write would show as a cut line.
const QString kPadding(200, QLatin1Char('x'));

int appendLines(const QString& file, const QString& tag, int count) {
    for (int i = 0; i < count; ++i) {
        const QString line = QStringLiteral("%1;%2;%3").arg(tag).arg(i).arg(kPadding);
        if (const int error = LogFile::appendLine(file, line)) {
            std::fprintf(stderr, "errno %d\n", error);
            return 1;
        }
    }
    return 0;
}

int writeValues(const QString& file, const QString& tag, int count) {
    SqliteRegistryStore store(file);
    for (int i = 0; i < count; ++i)
        store.writeValue(RegRoot::CurrentUser, QStringLiteral("Software\\Varnholt\\Concurrent"),
                         QStringLiteral("%1 %2").arg(tag).arg(i),
                         RegValue::fromString(QString::number(i)));
    return 0;
}

int rewriteWithout(const QString& file, const QByteArray& prefix, int crashStep) {
    LogFile::RewriteOptions options;
    options.onStep = [crashStep](LogFile::RewriteStep step) {
        if (int(step) == crashStep)
            std::raise(SIGKILL);
    };
    try {
        LogFile::rewrite(
            file,
            [&prefix](const QByteArray& content) {
                QByteArray out;
                for (const QByteArray& line : LogFile::splitLines(content))
                    if (!line.startsWith(prefix))
                        out += line + "\r\n";
                return out;
            },
            options);
    } catch (const LogFileError& e) {
        std::fprintf(stderr, "errno %d: %s\n", e.error(), e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fputs("usage: concurrent_writer append|registry|rewrite FILE TAG COUNT\n", stderr);
        return 2;
    }
    try {
        const int count = args.at(4).toInt();
        if (args.at(1) == QLatin1String("append"))
            return appendLines(args.at(2), args.at(3), count);
        if (args.at(1) == QLatin1String("registry"))
            return writeValues(args.at(2), args.at(3), count);
        if (args.at(1) == QLatin1String("rewrite"))
            return rewriteWithout(args.at(2), args.at(3).toUtf8(), count);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "concurrent_writer: %s\n", e.what());
        return 1;
    }
    return 2;
}
