#pragma once
// The in-memory fake of the settings store, for tests that need no file.

#include "RegistryStore.h"

#include <QList>

#include <memory>

class MemoryRegistryStore : public RegistryStore {
public:
    MemoryRegistryStore();
    ~MemoryRegistryStore() override;

    bool keyExists(RegRoot root, const QString& path) const override;
    void createKey(RegRoot root, const QString& path) override;
    bool deleteKey(RegRoot root, const QString& path) override;
    std::optional<RegValue> readValue(RegRoot root, const QString& path,
                                      const QString& name) const override;
    void writeValue(RegRoot root, const QString& path, const QString& name,
                    const RegValue& value) override;
    bool deleteValue(RegRoot root, const QString& path, const QString& name) override;
    QStringList subKeyNames(RegRoot root, const QString& path) const override;
    QStringList valueNames(RegRoot root, const QString& path) const override;
    void transaction(const std::function<void()>& work) override;

    // Makes every write from now on throw RegistryError (a full disk, say).
    void setFailWrites(bool fail) { m_failWrites = fail; }

private:
    struct Node;
    Node* find(RegRoot root, const QString& path) const;
    Node* make(RegRoot root, const QString& path);
    void checkWritable() const;

    std::unique_ptr<Node> m_roots[6];
    bool m_failWrites = false;
};
