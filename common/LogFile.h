#pragma once
// The connection log files shared by the monitor (appends) and the companion
// (reads, purges): UTF-8 text with CR LF line ends. An append is one write
// under an exclusive lock; a read holds a shared lock; a rewrite replaces the
// file by a complete new one under the exclusive lock, so no line is lost or
// cut in half whatever the two programs do at the same moment.

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

// The whole content, read under a shared lock; throws LogFileError (with the
// error number) when the file cannot be opened.
QByteArray readAll(const QString& path);

// Holds the exclusive lock, hands the current content to transform and
// replaces the file (or the target of a symbolic link) with what it returns:
// a temporary file in the same folder with the same permissions, renamed over
// the original. Throws LogFileError; the original stays intact on failure.
void rewrite(const QString& path, const std::function<QByteArray(const QByteArray&)>& transform);

// Splits content into lines, accepting CR LF or LF; a last line without an
// end is kept, the empty piece after a final line end is not.
QList<QByteArray> splitLines(const QByteArray& content);

} // namespace LogFile
