#pragma once
// Bringing a settings store file into use: making a new one (private, with
// its tables, in one step), opening an existing one only after SQLite's own
// checks found it sound, and copying it to its backup.

#include <QString>

struct sqlite3;

namespace SqliteStoreSetup {

// Makes a new store at path unless a file is there: a complete store is built
// beside it and linked into place, so no other program ever sees a file
// half made, and it is readable by its owner only. Throws RegistryError.
void createIfMissing(const QString& path);

// Opens the store at path (never creating it) and checks it: a file emptied
// to nothing, one that SQLite finds damaged, or one that is not a store of
// ours is refused (DamagedStoreError or RegistryError) and left untouched.
// Returns the open connection in WAL mode with its busy time-out.
sqlite3* openChecked(const QString& path);

// Copies the open store db to target through a temporary file renamed over
// it; the copy is readable by its owner only. Throws RegistryError.
void copyTo(sqlite3* db, const QString& storePath, const QString& target);

// What a refused damaged store tells its user: the file, why, and the ways
// back (a new store with the fresh-store option, then the settings from an
// export or from the backup).
QString damagedMessage(const QString& path, const QString& reason);

} // namespace SqliteStoreSetup
