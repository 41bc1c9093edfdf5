#pragma once
// The settings store's file on disk, apart from its content: which file a
// path names (its identity, the same through every link to it), keeping it
// private to its owner, setting a damaged one aside, and the lock that lets
// one process alone run on a store however it reaches the file.

#include <QString>

#include <optional>
#include <utility>

namespace StoreFile {

// The device and inode of a file.
struct Identity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const Identity& o) const { return device == o.device && inode == o.inode; }
    bool operator!=(const Identity& o) const { return !(*this == o); }
};

// The file that path names now (links followed); nullopt when there is none.
std::optional<Identity> identityOf(const QString& path);

// Drops the group and other permission bits of the store, where the current
// user owns it, and then matches its journals to it.
void keepPrivate(const QString& path);

// Gives the store's -wal and -shm files (the user's own) the store's mode.
// SQLite makes them with that mode; ones left by a run that could not write
// the store would otherwise keep it unwritable after its mode was mended.
void matchJournals(const QString& path);

// Renames a damaged store (and its -wal and -shm files) to path.damaged, or
// path.damaged-2 and so on when that is taken. Returns the new name; throws
// RegistryError when it cannot be renamed.
QString setAside(const QString& path);

// An exclusive lock tied to the file itself, held until destroyed. It takes a
// byte far from the bytes SQLite locks, so SQLite in other processes is never
// held up by it, even where the file system maps whole-file locks onto
// byte ranges.
class SoleUseLock {
public:
    SoleUseLock() = default;
    ~SoleUseLock();
    SoleUseLock(const SoleUseLock&) = delete;
    SoleUseLock& operator=(const SoleUseLock&) = delete;

    // true when taken (or already held); false when another holds it.
    // Throws RegistryError when the file cannot be opened.
    bool take(const QString& path);
    bool held() const { return m_fd >= 0; }
    // The file the lock is on.
    std::optional<Identity> identity() const;
    // Gives the lock up. Closing the descriptor would also drop the locks
    // SQLite holds on the same file, so the store closes its connection first.
    void release();
    void swap(SoleUseLock& other) { std::swap(m_fd, other.m_fd); }

private:
    int m_fd = -1;
};

} // namespace StoreFile
