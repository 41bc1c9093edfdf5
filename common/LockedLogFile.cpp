#include "LockedLogFile.h"

#include "LogJournal.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A file replaced at its path while we opened it is opened again this often.
constexpr int kOpenAttempts = 4;

void pauseFor(const LogFile::LockWait& wait, int milliseconds) {
    if (wait.pause) {
        wait.pause(milliseconds);
        return;
    }
    timespec t{milliseconds / 1000, long(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

} // namespace

FdGuard::~FdGuard() {
    if (m_fd >= 0)
        ::close(m_fd);
}

LockedLogFile::LockedLogFile(const QString& path, Mode mode, const LogFile::LockWait& wait)
    : m_path(path), m_mode(mode), m_wait(wait) {
    try {
        for (int attempt = 1;; ++attempt) {
            open();
            lock(mode == Mode::Read ? LOCK_SH : LOCK_EX);
            if (stillAtPath())
                return;
            close();
            if (attempt == kOpenAttempts)
                fail(QStringLiteral("keeps being replaced"), EAGAIN);
        }
    } catch (...) {
        close();
        throw;
    }
}

LockedLogFile::~LockedLogFile() {
    close();
}

void LockedLogFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void LockedLogFile::fail(const QString& what, int error) const {
    throw LogFileError(QStringLiteral("%1: %2 (%3)")
                           .arg(m_path, what, QString::fromLocal8Bit(std::strerror(error))),
                       error);
}

void LockedLogFile::open() {
    const QByteArray name = QFile::encodeName(m_path);
    if (m_mode == Mode::Read)
        openForReading(name);
    else
        openForRewriting(name);
    m_realPath = LogJournal::realPathOf(m_fd, name);
}

// Only a regular file is opened at all: opening a FIFO would wait for a
// writer, and a device such as /dev/zero never ends.
void LockedLogFile::openForReading(const QByteArray& name) {
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        fail(QStringLiteral("cannot open"), errno);
    if (!S_ISREG(st.st_mode))
        fail(QStringLiteral("is not a regular file"), EINVAL);
    m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        fail(QStringLiteral("cannot open"), errno);
    if (::fstat(m_fd, &m_status) != 0 || !S_ISREG(m_status.st_mode))
        fail(QStringLiteral("is not a regular file"), EINVAL);
}

// A link is followed only to a file of the link's owner: a link someone put
// in their folder must not make a purge run by another user (root, say)
// rewrite a file its owner never offered.
void LockedLogFile::openForRewriting(const QByteArray& name) {
    struct stat link {};
    if (::lstat(name.constData(), &link) != 0)
        fail(QStringLiteral("cannot open"), errno);
    QByteArray target = name;
    const bool viaLink = S_ISLNK(link.st_mode);
    if (viaLink) {
        char* resolved = ::realpath(name.constData(), nullptr);
        if (!resolved)
            fail(QStringLiteral("cannot open"), errno);
        target = resolved;
        std::free(resolved);
    }
    struct stat st {};
    if (::stat(target.constData(), &st) != 0)
        fail(QStringLiteral("cannot open"), errno);
    if (!S_ISREG(st.st_mode))
        fail(QStringLiteral("is not a regular file"), EINVAL);
    m_fd = ::open(target.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        fail(QStringLiteral("cannot be written"), errno);
    if (::fstat(m_fd, &m_status) != 0 || !S_ISREG(m_status.st_mode))
        fail(QStringLiteral("is not a regular file"), EINVAL);
    if (viaLink && m_status.st_uid != link.st_uid)
        fail(QStringLiteral("is a symbolic link to a file of another owner"), EPERM);
    // Root may write anything; a file nobody may write is read-only on purpose.
    if ((m_status.st_mode & 0222) == 0)
        fail(QStringLiteral("is marked read-only"), EACCES);
}

void LockedLogFile::lock(int operation) {
    int waited = 0;
    for (;;) {
        if (::flock(m_fd, operation | LOCK_NB) == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            fail(QStringLiteral("cannot be locked"), errno);
        if (waited >= m_wait.limitMs)
            fail(QStringLiteral("is locked by another program"), EWOULDBLOCK);
        const int step = std::max(1, std::min(m_wait.stepMs, m_wait.limitMs - waited));
        pauseFor(m_wait, step);
        waited += step;
    }
    // The size may have changed while we waited.
    if (::fstat(m_fd, &m_status) != 0)
        fail(QStringLiteral("cannot open"), errno);
}

void LockedLogFile::relock(int operation) {
    ::flock(m_fd, LOCK_UN);
    lock(operation);
    if (!stillAtPath())
        fail(QStringLiteral("was replaced while it was read"), EAGAIN);
}

bool LockedLogFile::stillAtPath() const {
    struct stat named {};
    return ::stat(m_realPath.constData(), &named) == 0 && named.st_dev == m_status.st_dev &&
           named.st_ino == m_status.st_ino;
}

// One buffer of the file's size, filled by as few reads as the kernel allows;
// the probe after it finds what a writer that ignores the lock added since.
QByteArray LockedLogFile::readContent() const {
    const qint64 size = m_status.st_size;
    if (size > LogFile::kMaxSize)
        fail(QStringLiteral("is larger than a log can be"), EFBIG);
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    qsizetype have = 0;
    while (have < out.size()) {
        const ssize_t n = ::pread(m_fd, out.data() + have, size_t(out.size() - have), have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(QStringLiteral("cannot be read"), errno);
        if (n == 0)
            break;
        have += n;
    }
    out.truncate(have);
    if (have < size)
        return out;
    char probe[65536];
    for (;;) {
        const ssize_t n = ::pread(m_fd, probe, sizeof probe, out.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(QStringLiteral("cannot be read"), errno);
        if (n == 0)
            return out;
        if (out.size() + n > LogFile::kMaxSize)
            fail(QStringLiteral("is larger than a log can be"), EFBIG);
        out.append(probe, n);
    }
}
