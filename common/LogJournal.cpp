#include "LogJournal.h"

#include "LockedLogFile.h"

#include <QString>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace LogJournal {

namespace {

constexpr char kMagic[8] = {'T', 'W', 'L', 'O', 'G', 'J', '1', '\n'};

struct Header {
    char magic[8];
    quint64 device;
    quint64 inode;
    quint64 size;
    quint64 checksum;
};

[[noreturn]] void fail(const QByteArray& path, const QString& what, int error) {
    throw LogFileError(
        QStringLiteral("%1: %2 (%3)")
            .arg(QString::fromLocal8Bit(path), what, QString::fromLocal8Bit(std::strerror(error))),
        error);
}

// Eight bytes at a time: a cut or damaged journal is what it must catch.
quint64 checksumOf(const Header& h, const char* data, qsizetype size) {
    quint64 hash = 14695981039346656037ULL;
    const auto mix = [&hash](quint64 word) {
        hash ^= word;
        hash *= 1099511628211ULL;
        hash ^= hash >> 29;
    };
    mix(h.device);
    mix(h.inode);
    mix(h.size);
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        mix(word);
    }
    for (; i < size; ++i)
        mix(quint8(data[i]));
    return hash;
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// Makes a creation or removal in the folder survive a crash.
void syncFolder(const QByteArray& path) {
    const int dir = ::open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    ::fsync(dir);
    ::close(dir);
}

void writeAt(int fd, const char* data, qsizetype size, qint64 offset, const QByteArray& path) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(path, QStringLiteral("cannot be written"), n < 0 ? errno : EIO);
        data += n;
        size -= n;
        offset += n;
    }
}

bool inGroup(uid_t uid, gid_t gid) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return false;
    if (found->pw_gid == gid)
        return true;
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(size_t(count));
        if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    for (int i = 0; i < count; ++i)
        if (groups[size_t(i)] == gid)
            return true;
    return false;
}

// Only a journal its owner could have written into the log itself is
// applied, so nobody can put content into a log through one.
bool couldWrite(uid_t uid, const struct stat& log) {
    if (uid == 0)
        return true;
    if (uid == log.st_uid)
        return (log.st_mode & S_IWUSR) != 0;
    if (inGroup(uid, log.st_gid))
        return (log.st_mode & S_IWGRP) != 0;
    return (log.st_mode & S_IWOTH) != 0;
}

void step(const std::function<void(LogFile::RewriteStep)>& onStep, LogFile::RewriteStep s) {
    if (onStep)
        onStep(s);
}

// The log's new content, from a journal that is whole and belongs to it.
std::optional<QByteArray> contentOf(const QByteArray& journal, const struct stat& log) {
    Header h{};
    if (journal.size() < qsizetype(sizeof h))
        return std::nullopt;
    std::memcpy(&h, journal.constData(), sizeof h);
    const qsizetype size = journal.size() - qsizetype(sizeof h);
    const char* data = journal.constData() + sizeof h;
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.size != quint64(size) ||
        h.checksum != checksumOf(h, data, size) || h.device != quint64(log.st_dev) ||
        h.inode != quint64(log.st_ino))
        return std::nullopt;
    return QByteArray(data, size);
}

void writeInPlace(int fd, const QByteArray& content, const QByteArray& path,
                  const std::function<void(LogFile::RewriteStep)>& onStep) {
    const qsizetype half = content.size() / 2;
    writeAt(fd, content.constData(), half, 0, path);
    step(onStep, LogFile::RewriteStep::FileHalfWritten);
    writeAt(fd, content.constData() + half, content.size() - half, half, path);
    step(onStep, LogFile::RewriteStep::FileWritten);
    if (::ftruncate(fd, content.size()) != 0)
        fail(path, QStringLiteral("cannot be shortened"), errno);
    step(onStep, LogFile::RewriteStep::Truncated);
    if (::fsync(fd) != 0)
        fail(path, QStringLiteral("cannot be written"), errno);
}

QByteArray readJournal(int fd, const QByteArray& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        fail(path, QStringLiteral("cannot be read"), errno);
    if (st.st_size > LogFile::kMaxSize + qint64(sizeof(Header)))
        return QByteArray(); // no journal of ours
    QByteArray out(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype have = 0;
    while (have < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + have, size_t(out.size() - have), have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(path, QStringLiteral("cannot be read"), errno);
        if (n == 0)
            break;
        have += n;
    }
    out.truncate(have);
    return out;
}

void applyJournal(const QByteArray& content, const QByteArray& realPath, const struct stat& log) {
    const int fd = ::open(realPath.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail(realPath, QStringLiteral("has an unfinished rewrite and cannot be written"), errno);
    FdGuard guard(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != log.st_dev || st.st_ino != log.st_ino)
        fail(realPath, QStringLiteral("was replaced while it was repaired"), EAGAIN);
    writeInPlace(fd, content, realPath, {});
}

// A content longer than the old one needs blocks the old one did not have;
// running out of them must happen before the log is touched, not halfway.
void reserveSpace(int fd, const struct stat& log, qsizetype size, const QByteArray& path) {
    if (size <= log.st_size)
        return;
    const int rc = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size);
    if (rc != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
        fail(path, QStringLiteral("has no room for its new content"), errno);
}

} // namespace

QByteArray realPathOf(int fd, const QByteArray& fallback) {
    char buffer[PATH_MAX + 1];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(link.constData(), buffer, PATH_MAX);
    if (n > 0 && buffer[0] == '/')
        return QByteArray(buffer, n);
    char* resolved = ::realpath(fallback.constData(), nullptr);
    if (!resolved)
        return fallback;
    const QByteArray out(resolved);
    std::free(resolved);
    return out;
}

QByteArray pathFor(const QByteArray& realPath) {
    const qsizetype slash = realPath.lastIndexOf('/');
    return realPath.left(slash + 1) + '.' + realPath.mid(slash + 1) + ".rewrite";
}

bool exists(const QByteArray& realPath) {
    struct stat st {};
    return ::lstat(pathFor(realPath).constData(), &st) == 0;
}

void settle(const QByteArray& realPath, const struct stat& log) {
    const QByteArray journalPath = pathFor(realPath);
    const int journal =
        ::open(journalPath.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (journal < 0) {
        if (errno == ENOENT || errno == ELOOP)
            return; // none, or a link that is no journal of ours
        fail(journalPath, QStringLiteral("cannot be read"), errno);
    }
    FdGuard guard(journal);
    struct stat st {};
    if (::fstat(journal, &st) != 0 || !S_ISREG(st.st_mode) || !couldWrite(st.st_uid, log))
        return;
    const QByteArray bytes = readJournal(journal, journalPath);
    // A file of that name that is no journal of ours is nobody's to delete.
    if (bytes.size() >= qsizetype(sizeof kMagic) &&
        std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return;
    const auto content = contentOf(bytes, log);
    if (content)
        applyJournal(*content, realPath, log);
    if (::unlink(journalPath.constData()) != 0 && errno != ENOENT) {
        if (content) // applied again next time, which a line appended meanwhile would not survive
            fail(journalPath, QStringLiteral("cannot be removed"), errno);
        return;
    }
    syncFolder(journalPath);
}

void settleOpen(int fd, const QByteArray& path) {
    const QByteArray realPath = realPathOf(fd, path);
    struct stat st {};
    if (exists(realPath) && ::fstat(fd, &st) == 0)
        settle(realPath, st);
}

void replace(int fd, const QByteArray& realPath, const struct stat& log, const QByteArray& content,
             const std::function<void(LogFile::RewriteStep)>& onStep) {
    reserveSpace(fd, log, content.size(), realPath);
    const QByteArray journalPath = pathFor(realPath);
    const int journal =
        ::open(journalPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (journal < 0)
        fail(journalPath, QStringLiteral("cannot be created"), errno);
    FdGuard guard(journal);
    try {
        // The log's owner must be able to complete the journal after a crash.
        if (::geteuid() == 0 && log.st_uid != 0 && ::fchown(journal, log.st_uid, log.st_gid) != 0)
            fail(journalPath, QStringLiteral("cannot be given to the log's owner"), errno);
        Header h{};
        std::memcpy(h.magic, kMagic, sizeof kMagic);
        h.device = quint64(log.st_dev);
        h.inode = quint64(log.st_ino);
        h.size = quint64(content.size());
        h.checksum = checksumOf(h, content.constData(), content.size());
        writeAt(journal, reinterpret_cast<const char*>(&h), sizeof h, 0, journalPath);
        const qsizetype half = content.size() / 2;
        writeAt(journal, content.constData(), half, sizeof h, journalPath);
        step(onStep, LogFile::RewriteStep::JournalHalfWritten);
        writeAt(journal, content.constData() + half, content.size() - half, qint64(sizeof h) + half,
                journalPath);
        if (::fsync(journal) != 0)
            fail(journalPath, QStringLiteral("cannot be written"), errno);
        syncFolder(journalPath);
    } catch (...) {
        ::unlink(journalPath.constData());
        throw;
    }
    step(onStep, LogFile::RewriteStep::JournalWritten);
    writeInPlace(fd, content, realPath, onStep);
    if (::unlink(journalPath.constData()) != 0)
        fail(journalPath, QStringLiteral("cannot be removed"), errno);
    syncFolder(journalPath);
    step(onStep, LogFile::RewriteStep::Done);
}

} // namespace LogJournal
