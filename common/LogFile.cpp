#include "LogFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
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

// Opens a regular file for appending without ever blocking: O_NONBLOCK keeps
// a FIFO without a reader (or a device) from holding the caller in open(),
// and anything that is not a regular file is refused before a byte goes to it.
// Returns -errno on failure.
int openRegularForAppend(const QByteArray& path, int access) {
    const int fd = ::open(path.constData(),
                          access | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
    if (fd < 0)
        return -errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? -EISDIR : -EINVAL;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// The exclusive lock, waited for until deadline at most: a reader or a purge
// of the companion takes moments, one that hangs must not hang the monitor.
// Returns 0 or the error number.
int lockBefore(int fd, std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return errno;
        const auto left = deadline - steady_clock::now();
        if (left <= steady_clock::duration::zero())
            return EWOULDBLOCK;
        std::this_thread::sleep_for(std::min<steady_clock::duration>(left, milliseconds(10)));
    }
}

// As openLocked, for the append path: regular files only, the lock waited for
// a bounded time. Returns -errno on failure.
int openForAppend(const QByteArray& path, int lockWaitMs, int access = O_WRONLY) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(lockWaitMs);
    for (;;) {
        const int fd = openRegularForAppend(path, access);
        if (fd < 0)
            return fd;
        if (const int err = lockBefore(fd, deadline)) {
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

QByteArray readFd(int fd, const QString& path) {
    QByteArray out;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw LogFileError(QStringLiteral("Cannot read %1: %2").arg(path, errorText(errno)),
                               errno);
        if (n == 0)
            return out;
        out.append(buf, n);
    }
}

} // namespace

int appendLine(const QString& path, const QString& text, int lockWaitMs) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = openForAppend(name, lockWaitMs);
    if (fd < 0)
        return -fd;
    Fd guard(fd);
    writeAll(fd, text.toUtf8() + "\r\n", path);
    return 0;
}

// True when line (with its CR LF) is one of the lines in the last 64 KiB.
bool amongLastLines(int fd, const QByteArray& line) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    constexpr off_t kTail = 65536;
    const off_t from = std::max<off_t>(0, st.st_size - kTail);
    QByteArray tail(qsizetype(st.st_size - from), '\0');
    qsizetype got = 0;
    while (got < tail.size()) {
        const ssize_t n = ::pread(fd, tail.data() + got, size_t(tail.size() - got), from + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    tail.truncate(got);
    return tail.startsWith(line) || tail.contains("\n" + line);
}

int appendLineUnlessPresent(const QString& path, const QString& text, int lockWaitMs) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = openForAppend(name, lockWaitMs, O_RDWR);
    if (fd < 0)
        return -fd;
    Fd guard(fd);
    const QByteArray line = text.toUtf8() + "\r\n";
    if (!amongLastLines(fd, line))
        writeAll(fd, line, path);
    return 0;
}

QByteArray readAll(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = openLocked(name, O_RDONLY, LOCK_SH);
    if (fd < 0)
        throw LogFileError(QStringLiteral("Cannot open %1: %2").arg(path, errorText(-fd)), -fd);
    Fd guard(fd);
    return readFd(fd, path);
}

void rewrite(const QString& path, const std::function<QByteArray(const QByteArray&)>& transform) {
    // Work on the link's target so the link itself survives the rename.
    const QString target = QFileInfo(path).isSymLink() ? QFileInfo(path).canonicalFilePath() : path;
    const QByteArray name = QFile::encodeName(target);
    const int fd = openLocked(name, O_RDONLY, LOCK_EX);
    if (fd < 0)
        throw LogFileError(QStringLiteral("Cannot open %1: %2").arg(path, errorText(-fd)), -fd);
    Fd guard(fd);
    const QByteArray content = transform(readFd(fd, path));

    struct stat st {};
    ::fstat(fd, &st);
    QByteArray tmpl = name + ".XXXXXX";
    Fd tmp(::mkstemp(tmpl.data()));
    if (tmp.get() < 0)
        throw LogFileError(QStringLiteral("Cannot create a temporary file beside %1: %2")
                               .arg(path, errorText(errno)),
                           errno);
    try {
        ::fchmod(tmp.get(), st.st_mode & 07777);
        writeAll(tmp.get(), content, path);
        if (::fsync(tmp.get()) != 0 || ::rename(tmpl.constData(), name.constData()) != 0)
            throw LogFileError(QStringLiteral("Cannot replace %1: %2").arg(path, errorText(errno)),
                               errno);
    } catch (...) {
        ::unlink(tmpl.constData());
        throw;
    }
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
