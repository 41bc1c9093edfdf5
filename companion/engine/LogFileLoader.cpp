#include "LogFileLoader.h"

#include "LogPurge.h"

LogFileLoader::LogFileLoader(const FormatSettings& fmt, int pivotYear, Options options)
    : m_numbers(fmt), m_dates(fmt, pivotYear), m_options(std::move(options)) {}

LogFileResult LogFileLoader::load(const QString& nativePath) const {
    LogFileResult result;
    try {
        QByteArray content;
        if (m_options.purge) {
            // The purge reads and rewrites the file under the exclusive lock, so
            // a line the monitor appends meanwhile waits and is never lost.
            LogFile::RewriteOptions rewrite;
            rewrite.wait = m_options.wait;
            LogFile::rewrite(
                nativePath,
                [&](const QByteArray& old) {
                    content = LogPurge::purged(old, m_options.cutOff, m_dates);
                    return content;
                },
                rewrite);
        } else {
            content = LogFile::readAll(nativePath, m_options.wait);
        }
        // Each row is read as it is found, while its line is in the cache.
        FileUsageReader usage(m_numbers, m_dates);
        usage.reserve(size_t(content.size() / 56 + 16)); // about as many as the log has lines
        result.chunk = ConnectionTable::scan(
            std::move(content), m_options.abnormalExit, result.counters,
            [&usage](const char* base, const ConnectionTable::Row& row) { usage.add(base, row); });
        result.usage = usage.take();
    } catch (const std::exception&) {
        return LogFileResult();
    }
    result.ok = true;
    return result;
}
