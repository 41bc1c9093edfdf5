#pragma once
// A log file opened and locked for a read or a rewrite: only a regular file
// is opened, the lock is waited for a bounded time, and the locked file is
// checked to be still the one at the path. A rewrite opens only what the
// caller may write, and follows a symbolic link only to a file of the link's
// own owner. Closing drops the lock.

#include "LogFile.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

class LockedLogFile {
public:
    enum class Mode { Read, Rewrite };

    // Throws LogFileError.
    LockedLogFile(const QString& path, Mode mode, const LogFile::LockWait& wait);
    ~LockedLogFile();
    LockedLogFile(const LockedLogFile&) = delete;
    LockedLogFile& operator=(const LockedLogFile&) = delete;

    int fd() const { return m_fd; }
    const struct stat& status() const { return m_status; }
    // Where the file really is, links resolved: its journal lives beside it.
    const QByteArray& realPath() const { return m_realPath; }

    // Swaps the lock for a shared (LOCK_SH) or exclusive (LOCK_EX) one, with
    // the same bounded wait; the file is checked again afterwards.
    void relock(int operation);
    // The whole content, at most LogFile::kMaxSize bytes.
    QByteArray readContent() const;

    [[noreturn]] void fail(const QString& what, int error) const;

private:
    void open();
    void openForReading(const QByteArray& name);
    void openForRewriting(const QByteArray& name);
    void lock(int operation);
    bool stillAtPath() const;
    void close();

    QString m_path;
    Mode m_mode;
    LogFile::LockWait m_wait;
    int m_fd = -1;
    struct stat m_status {};
    QByteArray m_realPath;
};

// Closes a descriptor when leaving a scope.
class FdGuard {
public:
    explicit FdGuard(int fd = -1) : m_fd(fd) {}
    ~FdGuard();
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};
