#pragma once
// The connection log files shared by the monitor (appends) and the companion
// (reads, purges): UTF-8 text with CR LF line ends. An append is one write
// under an exclusive lock; a read holds a shared lock; a rewrite rewrites the
// file in place under the exclusive lock, through a journal beside it, so no
// line is lost or cut in half whatever the two programs do at the same moment
// and the file keeps its owner, mode and links.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

// A failure after the file was opened (write, rename); carries errno.
class LogFileError : public std::runtime_error {
public:
    LogFileError(const QString& message, int error)
        : std::runtime_error(message.toStdString()), m_error(error) {}
    int error() const { return m_error; }

private:
    int m_error;
};

namespace LogFile {

// How long an append waits at most for another program's lock.
constexpr int kAppendLockWaitMs = 1500;

// Appends text and CR LF. Returns 0, or an error number when nothing was
// written: the system's when the file can neither be opened nor created,
// EISDIR or EINVAL when the path names a folder or anything else that is not
// a regular file (a FIFO, a device), EWOULDBLOCK when another program held
// the lock for longer than lockWaitMs. Opening never blocks. A failed write
// throws LogFileError.
int appendLine(const QString& path, const QString& text, int lockWaitMs = kAppendLockWaitMs);

// As appendLine, but nothing is written when the line is already among the
// last lines of the file (64 KiB): for a line that a run ended before it
// could tell whether it was written.
int appendLineUnlessPresent(const QString& path, const QString& text,
                            int lockWaitMs = kAppendLockWaitMs);

// The largest log a read or a rewrite accepts: four million lines, a
// connection every minute for eight years; anything larger is no log.
constexpr qint64 kMaxSize = qint64(256) << 20;

// How long a read or a rewrite waits for a lock another process holds: it
// tries every stepMs until limitMs have passed, pausing through pause (a
// real sleep when empty), then gives up with EWOULDBLOCK.
struct LockWait {
    int limitMs = 2000;
    int stepMs = 50;
    std::function<void(int milliseconds)> pause;
};

// The whole content of a regular file of at most kMaxSize bytes, read under
// a shared lock into a buffer of its final size. An interrupted rewrite is
// completed first. Throws LogFileError with the error number: the open's,
// EINVAL for a file that is not a regular file, EFBIG for one too large,
// EWOULDBLOCK when the lock was not free in time.
QByteArray readAll(const QString& path, const LockWait& wait = {});

// The moments of a rewrite, for whoever wants to watch one.
enum class RewriteStep {
    JournalHalfWritten,
    JournalWritten,
    FileHalfWritten,
    FileWritten,
    Truncated,
    Done
};

struct RewriteOptions {
    LockWait wait;
    std::function<void(RewriteStep)> onStep;
};

// Holds the exclusive lock, hands the current content to transform and
// writes what it returns over the file in place: the new content first goes
// to a journal beside the file, so that a crash at any moment leaves the old
// or the new content whole (whoever locks the file next completes it). The
// file keeps its inode, owner, group, mode and links. Refused with
// LogFileError: a file the caller may not write or that is marked read-only
// (EACCES), a symbolic link to a file of another owner than the link's
// (EPERM), and everything readAll refuses. The original stays intact on
// failure.
void rewrite(const QString& path, const std::function<QByteArray(const QByteArray&)>& transform,
             const RewriteOptions& options = {});

// Splits content into lines, accepting CR LF or LF; a last line without an
// end is kept, the empty piece after a final line end is not.
QList<QByteArray> splitLines(const QByteArray& content);

} // namespace LogFile
