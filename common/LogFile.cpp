#include "LogFile.h"

#include "LogJournal.h"

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

// True when fd is still the file that path names (a rewrite may have renamed
// a new file over it while we waited for the lock).
bool stillAtPath(int fd, const QByteArray& path) {
    struct stat open {};
    struct stat named {};
    if (::fstat(fd, &open) != 0 || ::stat(path.constData(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
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

// Opens path for appending under the exclusive lock, reopening until the
// locked file is the one at the path (a rewrite may have renamed a new file
// over it while we waited): regular files only, the lock waited for a
// bounded time. Returns -errno on failure.
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

} // namespace

int appendLine(const QString& path, const QString& text, int lockWaitMs) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = openForAppend(name, lockWaitMs);
    if (fd < 0)
        return -fd;
    Fd guard(fd);
    // A purge that died halfway is completed before the line goes after it.
    LogJournal::settleOpen(fd, name);
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
    LogJournal::settleOpen(fd, name);
    const QByteArray line = text.toUtf8() + "\r\n";
    if (!amongLastLines(fd, line))
        writeAll(fd, line, path);
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
