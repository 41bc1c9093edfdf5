#include "LogFile.h"

#include "LogJournal.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LogFile {

namespace {

QString errorText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// Closes the descriptor (and so drops its lock) when leaving a scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

int lockRetrying(int fd, int op) {
    int rc;
    do {
        rc = ::flock(fd, op);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

// True when fd is still the file that path names (a rewrite may have renamed
// a new file over it while we waited for the lock).
bool stillAtPath(int fd, const QByteArray& path) {
    struct stat open {};
    struct stat named {};
    if (::fstat(fd, &open) != 0 || ::stat(path.constData(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Opens path with flags and takes the lock, reopening until the locked file
// is the one at the path. Returns -errno on failure.
int openLocked(const QByteArray& path, int flags, int lockOp) {
    for (;;) {
        const int fd = ::open(path.constData(), flags | O_CLOEXEC, 0644);
        if (fd < 0)
            return -errno;
        if (lockRetrying(fd, lockOp) != 0) {
            const int err = errno;
            ::close(fd);
            return -err;
        }
        if (stillAtPath(fd, path))
            return fd;
        ::close(fd);
    }
}

void writeAll(int fd, const QByteArray& data, const QString& path) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            throw LogFileError(QStringLiteral("Cannot write %1: %2").arg(path, errorText(err)),
                               err);
        }
        p += n;
        left -= n;
    }
}

} // namespace

int appendLine(const QString& path, const QString& text) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = openLocked(name, O_WRONLY | O_APPEND | O_CREAT, LOCK_EX);
    if (fd < 0)
        return -fd;
    Fd guard(fd);
    // A purge that died halfway is completed before the line goes after it.
    LogJournal::settleOpen(fd, name);
    writeAll(fd, text.toUtf8() + "\r\n", path);
    return 0;
}

QList<QByteArray> splitLines(const QByteArray& content) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        qsizetype stop = end;
        if (stop > start && content.at(stop - 1) == '\r')
            --stop;
        lines.append(content.mid(start, stop - start));
        start = end + 1;
    }
    return lines;
}

} // namespace LogFile
