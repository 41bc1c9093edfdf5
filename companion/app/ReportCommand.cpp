#include "ReportCommand.h"

#include "CompanionEngine.h"
#include "ConsoleObserver.h"
#include "SqliteRegistryStore.h"

#include <QFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The report is written exactly as "Save report" writes it (CR LF); chart
// lines are plain lines for scripts.
QByteArray outputText(const CompanionEngine& engine, const CommandLine& line) {
    if (!line.chart) {
        QByteArray text;
        for (const QString& l : engine.report().lines)
            text += l.toUtf8() + "\r\n";
        return text;
    }
    QByteArray text;
    for (const QString& l : engine.chart().lines)
        text += l.toUtf8() + '\n';
    return text;
}

// A write is only done once it has left the buffers: a full disk (or
// /dev/full) often refuses at the flush or the close, not at the write.
bool writeOut(const QByteArray& text, const QString& output) {
    if (output.isEmpty()) {
        if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size()) &&
            std::fflush(stdout) == 0 && !std::ferror(stdout))
            return true;
        std::fprintf(stderr, "companion: cannot write the standard output: %s\n",
                     std::strerror(errno));
        return false;
    }
    QFile file(output);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size() &&
        file.flush()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    std::fprintf(stderr, "companion: cannot write %s: %s\n", qPrintable(output),
                 qPrintable(file.errorString()));
    return false;
}

} // namespace

int runReportCommand(const CommandLine& line, const QString& registryFile) {
#ifdef __GLIBC__
    // Each file's bytes are freed once its rows are added up; keeping that
    // memory in the heap (rather than giving it back to the system and
    // faulting fresh pages in for the next file) saves a third of the run.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    try {
        SqliteRegistryStore store(registryFile);
        SystemClock clock;
        ConsoleObserver observer;
        CompanionEngine engine(store, clock, FormatSettings::system(), observer);
        engine.setLogFiles(line.files);
        engine.setKeepRows(false); // the report needs the rows' sums, not the rows
        if (line.chart)
            engine.setChartKind(*line.chart);
        engine.UpdateListWindow();
        if (line.chart && !engine.LoadChartData())
            std::fprintf(stderr, "companion: the chart has no data (its total is zero)\n");
        if (!writeOut(outputText(engine, line), line.output))
            return 1;
        return observer.failed() ? 1 : 0;
    } catch (const RegistryError& e) {
        std::fprintf(stderr, "companion: %s\n", e.what());
        return 1;
    }
}
