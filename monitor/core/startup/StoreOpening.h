#pragma once
// Opening the monitor's settings store at start-up: as it is, or with
// --fresh-store setting a damaged one aside first; and, once the run holds
// the store alone, the backup of it as it was found.

#include "SqliteRegistryStore.h"

#include <QString>

#include <functional>
#include <memory>

namespace StoreOpening {

// Opens the store for this run's sole use. Throws StoreInUseError when
// another run holds it (nothing of the store was read then), RegistryError
// otherwise (DamagedStoreError for a damaged store without freshStore). note
// hears where a damaged store was set aside.
std::unique_ptr<SqliteRegistryStore> open(const QString& fileName, bool freshStore,
                                          const std::function<void(const QString&)>& note);

// Writes the backup beside the store, once per start, after the store was
// found sound; a failure only costs the backup and is told to note.
void backUp(const SqliteRegistryStore& store, const std::function<void(const QString&)>& note);

} // namespace StoreOpening
