#include "Settings.h"

#include "Converters.h"
#include "RegistryPath.h"

namespace {

// Names compare without regard to case. The snapshot finds them by a hash
// of their case-folded characters and a comparison without case, so that a
// read allocates nothing: a tick reads some twenty values.
quint64 foldedHash(QStringView text) {
    quint64 h = 1469598103934665603ull;
    for (const QChar c : text) {
        h ^= c.toCaseFolded().unicode();
        h *= 1099511628211ull;
    }
    return h;
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The text of a string value; empty for anything else.
QString textOf(const RegValue* v) {
    return v && v->type == RegType::String ? v->text : QString();
}

} // namespace

struct Settings::SnapshotKey {
    QString path;
    QMultiHash<quint64, QPair<QString, RegValue>> values;

    const RegValue* find(const QString& name) const {
        for (auto it = values.constFind(foldedHash(name));
             it != values.constEnd() && it.key() == foldedHash(name); ++it)
            if (sameName(it->first, name))
                return &it->second;
        return nullptr;
    }
    void put(const QString& name, const RegValue& value) {
        const quint64 h = foldedHash(name);
        for (auto it = values.find(h); it != values.end() && it.key() == h; ++it)
            if (sameName(it->first, name)) {
                it->second = value;
                return;
            }
        values.insert(h, {name, value});
    }
};

struct Settings::SnapshotData {
    QMultiHash<quint64, SnapshotKey> keys;

    SnapshotKey* find(const QString& path) {
        const QString normal = RegistryPath::normalise(path);
        const quint64 h = foldedHash(normal);
        for (auto it = keys.find(h); it != keys.end() && it.key() == h; ++it)
            if (sameName(it->path, normal))
                return &*it;
        return nullptr;
    }
};

Settings::Snapshot::Snapshot(const Settings& settings)
    : m_settings(settings), m_outer(settings.m_snapshot == nullptr) {
    if (m_outer)
        m_settings.m_snapshot = new SnapshotData;
}

Settings::Snapshot::~Snapshot() {
    if (!m_outer)
        return;
    delete m_settings.m_snapshot;
    m_settings.m_snapshot = nullptr;
}

// The key's values as the snapshot holds them, read on first use; a missing
// key is made, as a per-user read does.
const Settings::SnapshotKey& Settings::snapshotOf(const QString& key) const {
    if (const SnapshotKey* known = m_snapshot->find(key))
        return *known;
    SnapshotKey loaded;
    loaded.path = RegistryPath::normalise(key);
    const auto stored = m_store.values(RegRoot::CurrentUser, key);
    for (const auto& v : stored)
        loaded.put(v.first, v.second);
    if (stored.isEmpty() && !m_store.keyExists(RegRoot::CurrentUser, key))
        m_store.createKey(RegRoot::CurrentUser, key);
    return *m_snapshot->keys.insert(foldedHash(loaded.path), loaded);
}

QString Settings::ReadText(const QString& key, const QString& name, const QString& def) const {
    try {
        QString text;
        if (m_snapshot) {
            text = textOf(snapshotOf(key).find(name));
        } else {
            // A value that is there has its key: the key is looked for only
            // when the value is missing.
            const auto v = m_store.readValue(RegRoot::CurrentUser, key, name);
            if (!v && !m_store.keyExists(RegRoot::CurrentUser, key))
                m_store.createKey(RegRoot::CurrentUser, key);
            text = textOf(v ? &*v : nullptr);
        }
        return text.isEmpty() ? def : text;
    } catch (const RegistryError&) {
        // A per-user read never reports: the caller's default stands in.
        return def;
    }
}

bool Settings::ReadFlag(const QString& key, const QString& name, bool def) const {
    const QString text = ReadText(key, name, QString());
    return text.isEmpty() ? def : FlagFromText(text);
}

std::optional<RegValue> Settings::ReadValue(const QString& key, const QString& name) const {
    try {
        return m_store.readValue(RegRoot::CurrentUser, key, name);
    } catch (const RegistryError&) {
        return std::nullopt;
    }
}

void Settings::WriteText(const QString& key, const QString& name, const QString& text) {
    const RegValue value = RegValue::fromString(text);
    m_store.writeValue(RegRoot::CurrentUser, key, name, value);
    if (!m_snapshot)
        return;
    if (SnapshotKey* known = m_snapshot->find(key))
        known->put(name, value);
}

void Settings::WriteFlag(const QString& key, const QString& name, bool flag) {
    WriteText(key, name, flag ? QStringLiteral("true") : QStringLiteral("false"));
}
