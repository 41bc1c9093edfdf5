#include "MemoryRegistryStore.h"

#include "RegistryPath.h"

#include <vector>

struct MemoryRegistryStore::Node {
    QString name;
    std::vector<std::unique_ptr<Node>> children;
    QList<QPair<QString, RegValue>> values;

    Node* child(const QString& n) const {
        for (const auto& c : children)
            if (RegistryPath::fold(c->name) == RegistryPath::fold(n))
                return c.get();
        return nullptr;
    }
    int valueIndex(const QString& n) const {
        for (int i = 0; i < values.size(); ++i)
            if (RegistryPath::fold(values[i].first) == RegistryPath::fold(n))
                return i;
        return -1;
    }
    std::unique_ptr<Node> clone() const {
        auto c = std::make_unique<Node>();
        c->name = name;
        c->values = values;
        for (const auto& ch : children)
            c->children.push_back(ch->clone());
        return c;
    }
};

MemoryRegistryStore::MemoryRegistryStore() {
    for (auto& r : m_roots)
        r = std::make_unique<Node>();
}

MemoryRegistryStore::~MemoryRegistryStore() = default;

MemoryRegistryStore::Node* MemoryRegistryStore::find(RegRoot root, const QString& path) const {
    Node* n = m_roots[int(root)].get();
    for (const QString& part : RegistryPath::split(path)) {
        n = n->child(part);
        if (!n)
            return nullptr;
    }
    return n;
}

MemoryRegistryStore::Node* MemoryRegistryStore::make(RegRoot root, const QString& path) {
    Node* n = m_roots[int(root)].get();
    for (const QString& part : RegistryPath::split(path)) {
        Node* c = n->child(part);
        if (!c) {
            n->children.push_back(std::make_unique<Node>());
            c = n->children.back().get();
            c->name = part;
        }
        n = c;
    }
    return n;
}

void MemoryRegistryStore::checkWritable() const {
    if (m_failWrites)
        throw RegistryError("memory store: writes fail");
}

bool MemoryRegistryStore::keyExists(RegRoot root, const QString& path) const {
    return find(root, path) != nullptr;
}

void MemoryRegistryStore::createKey(RegRoot root, const QString& path) {
    checkWritable();
    make(root, path);
}

bool MemoryRegistryStore::deleteKey(RegRoot root, const QString& path) {
    const QStringList parts = RegistryPath::split(path);
    if (parts.isEmpty())
        return false;
    Node* parent = find(root, RegistryPath::parent(path));
    if (!parent || !parent->child(parts.last()))
        return false;
    checkWritable();
    auto& kids = parent->children;
    for (auto it = kids.begin(); it != kids.end(); ++it) {
        if (RegistryPath::fold((*it)->name) == RegistryPath::fold(parts.last())) {
            kids.erase(it);
            break;
        }
    }
    return true;
}

std::optional<RegValue> MemoryRegistryStore::readValue(RegRoot root, const QString& path,
                                                       const QString& name) const {
    const Node* n = find(root, path);
    const int i = n ? n->valueIndex(name) : -1;
    if (i < 0)
        return std::nullopt;
    return n->values[i].second;
}

void MemoryRegistryStore::writeValue(RegRoot root, const QString& path, const QString& name,
                                     const RegValue& value) {
    checkWritable();
    Node* n = make(root, path);
    const int i = n->valueIndex(name);
    if (i < 0)
        n->values.append({name, value});
    else
        n->values[i].second = value;
}

bool MemoryRegistryStore::deleteValue(RegRoot root, const QString& path, const QString& name) {
    Node* n = find(root, path);
    const int i = n ? n->valueIndex(name) : -1;
    if (i < 0)
        return false;
    checkWritable();
    n->values.removeAt(i);
    return true;
}

QStringList MemoryRegistryStore::subKeyNames(RegRoot root, const QString& path) const {
    QStringList out;
    if (const Node* n = find(root, path))
        for (const auto& c : n->children)
            out << c->name;
    return out;
}

QStringList MemoryRegistryStore::valueNames(RegRoot root, const QString& path) const {
    QStringList out;
    if (const Node* n = find(root, path))
        for (const auto& v : n->values)
            out << v.first;
    return out;
}

void MemoryRegistryStore::transaction(const std::function<void()>& work) {
    // Snapshot and restore: the fake keeps the all-or-nothing promise.
    std::unique_ptr<Node> saved[6];
    for (int i = 0; i < 6; ++i)
        saved[i] = m_roots[i]->clone();
    try {
        work();
    } catch (...) {
        for (int i = 0; i < 6; ++i)
            m_roots[i] = std::move(saved[i]);
        throw;
    }
}
