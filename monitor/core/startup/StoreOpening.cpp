#include "StoreOpening.h"

namespace StoreOpening {

std::unique_ptr<SqliteRegistryStore> open(const QString& fileName, bool freshStore,
                                          const std::function<void(const QString&)>& note) {
    const auto use = SqliteRegistryStore::Use::Sole;
    if (!freshStore)
        return std::make_unique<SqliteRegistryStore>(fileName, use);
    QString aside;
    auto store = SqliteRegistryStore::openAfresh(fileName, &aside, use);
    if (!aside.isEmpty())
        note(QStringLiteral("the damaged settings store was kept as %1; a new one took its place")
                 .arg(aside));
    return store;
}

void backUp(const SqliteRegistryStore& store, const std::function<void(const QString&)>& note) {
    try {
        store.writeBackup();
    } catch (const RegistryError& e) {
        note(QString::fromUtf8(e.what()));
    }
}

} // namespace StoreOpening
