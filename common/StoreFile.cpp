#include "StoreFile.h"

#include "RegistryStore.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace StoreFile {

namespace {

// SQLite locks the bytes from 1 GiB on; this one lies well beyond them and
// within 32 bits for lock managers that know no more.
constexpr off_t kSoleUseByte = 0x60000000;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString errorText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

Identity identityOfStat(const struct stat& st) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

} // namespace

std::optional<Identity> identityOf(const QString& path) {
    struct stat st {};
    if (::stat(native(path).constData(), &st) != 0)
        return std::nullopt;
    return identityOfStat(st);
}

void keepPrivate(const QString& path) {
    const QByteArray store = native(path);
    struct stat st {};
    if (::stat(store.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & 077) != 0)
        ::chmod(store.constData(), st.st_mode & 0700);
    matchJournals(path);
}

void matchJournals(const QString& path) {
    const QByteArray store = native(path);
    struct stat st {};
    if (::stat(store.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return;
    const mode_t mode = st.st_mode & 0777;
    for (const char* suffix : {"-wal", "-shm"}) {
        const QByteArray name = store + suffix;
        struct stat journal {};
        if (::stat(name.constData(), &journal) == 0 && S_ISREG(journal.st_mode) &&
            journal.st_uid == ::geteuid() && (journal.st_mode & 0777) != mode)
            ::chmod(name.constData(), mode);
    }
}

QString setAside(const QString& path) {
    QString target = path + QStringLiteral(".damaged");
    for (int n = 2; exists(native(target)) || exists(native(target) + "-wal"); ++n)
        target = path + QStringLiteral(".damaged-%1").arg(n);
    if (::rename(native(path).constData(), native(target).constData()) != 0) {
        const int err = errno;
        throw RegistryError(
            QStringLiteral("Cannot set the settings store %1 aside: %2").arg(path, errorText(err)),
            path, errorText(err));
    }
    // The journal files belong to the damaged copy; beside it they keep it
    // readable for whoever wants to look into it later.
    for (const char* suffix : {"-wal", "-shm"}) {
        const QByteArray from = native(path) + suffix;
        if (exists(from))
            ::rename(from.constData(), (native(target) + suffix).constData());
    }
    return target;
}

SoleUseLock::~SoleUseLock() {
    release();
}

bool SoleUseLock::take(const QString& path) {
    if (m_fd >= 0)
        return true;
    const QByteArray name = native(path);
    int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    const bool writable = fd >= 0;
    if (!writable)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        throw RegistryError(
            QStringLiteral("Cannot open settings store %1: %2").arg(path, errorText(err)), path,
            errorText(err));
    }
    bool taken = false;
    if (writable) {
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_start = kSoleUseByte;
        range.l_len = 1;
        taken = ::fcntl(fd, F_OFD_SETLK, &range) == 0;
    } else {
        // A write lock needs a descriptor open for writing; a store that
        // cannot be written still admits one run at a time.
        taken = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    }
    if (!taken) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

std::optional<Identity> SoleUseLock::identity() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return std::nullopt;
    return identityOfStat(st);
}

void SoleUseLock::release() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace StoreFile
