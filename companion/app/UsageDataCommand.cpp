#include "UsageDataCommand.h"

#include "UsageExport.h"

#include <QFile>

#include <cstdio>

MessageAnswer MessageFilter::showMessage(const MessageBoxRequest& request) {
    if (m_leftOut.contains(request.text))
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    return m_next.showMessage(request);
}

QStringList reportMessages(const CompanionEngine& engine) {
    return {engine.strings().IntlStr(StringId::NoValidEntries),
            engine.strings().IntlStr(StringId::InvalidLogEntries)};
}

bool writeUsageData(const CompanionEngine& engine, const CommandLine& line,
                    const QDateTime& compiled) {
    QFile out;
    const bool opened =
        line.output.isEmpty()
            ? out.open(stdout, QIODevice::WriteOnly)
            : (out.setFileName(line.output), out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const UsageExport::Sink sink = [&out](const QByteArray& piece) {
        return out.write(piece) == piece.size();
    };
    const UsageFigures figures =
        UsageFigures::of(engine.tables(), engine.counters(), engine.rowCount(), engine.formats());
    const RowFigureReader rows(engine.rows(), engine.formats(), compiled.date().year());
    const RowFigureReader* withRows = line.rows ? &rows : nullptr;
    const bool written = opened &&
                         (line.format == CommandLine::Format::Csv
                              ? UsageExport::writeCsv(figures, withRows, sink)
                              : UsageExport::writeJson(figures, compiled, withRows, sink)) &&
                         out.flush();
    if (!written)
        std::fprintf(stderr, "companion: cannot write %s: %s\n",
                     line.output.isEmpty() ? "the standard output" : qPrintable(line.output),
                     qPrintable(out.errorString()));
    return written;
}
