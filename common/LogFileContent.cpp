// The read and rewrite of a log's whole content (LogFile.h), on top of a
// locked file and its journal.

#include "LockedLogFile.h"
#include "LogFile.h"
#include "LogJournal.h"

#include <sys/file.h>

namespace LogFile {

QByteArray readAll(const QString& path, const LockWait& wait) {
    LockedLogFile file(path, LockedLogFile::Mode::Read, wait);
    // A rewrite that died halfway is completed before anyone reads the log;
    // that takes the exclusive lock, so readers at the same moment take turns.
    if (LogJournal::exists(file.realPath())) {
        file.relock(LOCK_EX);
        LogJournal::settle(file.realPath(), file.status());
        file.relock(LOCK_SH);
    }
    return file.readContent();
}

void rewrite(const QString& path, const std::function<QByteArray(const QByteArray&)>& transform,
             const RewriteOptions& options) {
    LockedLogFile file(path, LockedLogFile::Mode::Rewrite, options.wait);
    LogJournal::settle(file.realPath(), file.status());
    const QByteArray content = transform(file.readContent());
    LogJournal::replace(file.fd(), file.realPath(), file.status(), content, options.onStep);
}

} // namespace LogFile
