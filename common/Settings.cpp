#include "Settings.h"

#include "Converters.h"

QString Settings::ReadText(const QString& key, const QString& name, const QString& def) const {
    try {
        if (!m_store.keyExists(RegRoot::CurrentUser, key))
            m_store.createKey(RegRoot::CurrentUser, key);
        const auto v = m_store.readValue(RegRoot::CurrentUser, key, name);
        if (!v || v->type != RegType::String || v->text.isEmpty())
            return def;
        return v->text;
    } catch (const RegistryError&) {
        // A per-user read never reports: the caller's default stands in.
        return def;
    }
}

bool Settings::ReadFlag(const QString& key, const QString& name, bool def) const {
    const QString text = ReadText(key, name, QString());
    return text.isEmpty() ? def : FlagFromText(text);
}

void Settings::WriteText(const QString& key, const QString& name, const QString& text) {
    m_store.writeValue(RegRoot::CurrentUser, key, name, RegValue::fromString(text));
}

void Settings::WriteFlag(const QString& key, const QString& name, bool flag) {
    WriteText(key, name, flag ? QStringLiteral("true") : QStringLiteral("false"));
}
