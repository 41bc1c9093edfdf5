#include "TRegistryEnhanced.h"

#include "RegistryPath.h"

#include <QDateTime>

#include <cstring>

namespace {
constexpr int kMaxBinary = 2048;

QByteArray doubleBytes(double d) {
    QByteArray b(sizeof d, '\0');
    std::memcpy(b.data(), &d, sizeof d);
    return b;
}

// A date as the days since 30 December 1899 with the time as fraction.
double serialDate(const QDateTime& dt) {
    const QDate epoch(1899, 12, 30);
    return double(epoch.daysTo(dt.date())) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}
} // namespace

RegRoot TRegistryEnhanced::root() const {
    switch (RootKey) {
    case TRootKey::hkClassesRoot:
        return RegRoot::ClassesRoot;
    case TRootKey::hkCurrentConfig:
        return RegRoot::CurrentConfig;
    case TRootKey::hkDynData:
        return RegRoot::DynData;
    case TRootKey::hkLocalMachine:
        return RegRoot::LocalMachine;
    case TRootKey::hkUsers:
        return RegRoot::Users;
    case TRootKey::hkCurrentUser:
        break;
    }
    return RegRoot::CurrentUser;
}

RegistryStore& TRegistryEnhanced::storeFor() const {
    return (RootKey == TRootKey::hkDynData && m_dynData) ? *m_dynData : *m_store;
}

QString TRegistryEnhanced::basePath() const {
    return RegistryPath::normalise(Key);
}

void TRegistryEnhanced::splitName(const QString& name, QString& path, QString& value) const {
    const int at = name.lastIndexOf(QLatin1Char('\\'));
    path = at < 0 ? basePath() : RegistryPath::join(basePath(), name.left(at));
    value = at < 0 ? name : name.mid(at + 1);
}

void TRegistryEnhanced::requireWrite() const {
    if (Access != TAccess::kWrite && Access != TAccess::kAllAccess)
        throw RegistryError("Access denied: the registry key was opened for reading");
}

void TRegistryEnhanced::WriteValue(const QString& name, const QVariant& value) {
    requireWrite();
    QString path, valueName;
    splitName(name, path, valueName);
    RegValue v;
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        v = RegValue::fromDWord(std::uint32_t(value.toLongLong()));
        break;
    case QMetaType::Bool:
        v = RegValue::fromDWord(value.toBool() ? 1 : 0);
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        v = RegValue::fromBinary(doubleBytes(value.toDouble()));
        break;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        v = RegValue::fromBinary(doubleBytes(serialDate(value.toDateTime())));
        break;
    case QMetaType::QByteArray:
        v = RegValue::fromBinary(value.toByteArray());
        break;
    default:
        v = RegValue::fromString(value.toString());
        break;
    }
    storeFor().writeValue(root(), path, valueName, v);
}

QVariant TRegistryEnhanced::ReadValue(const QString& name) const {
    QString path, valueName;
    splitName(name, path, valueName);
    const auto v = storeFor().readValue(root(), path, valueName);
    if (!v)
        return QVariant();
    switch (v->type) {
    case RegType::String:
        return v->text;
    case RegType::DWord:
        return qint64(v->dword);
    case RegType::Binary:
        return v->binary.size() <= kMaxBinary ? QVariant(v->binary) : QVariant();
    }
    return QVariant();
}

QVariant TRegistryEnhanced::ReadValueDef(const QString& name, const QVariant& def) const {
    try {
        const QVariant v = ReadValue(name);
        return v.isValid() ? v : def;
    } catch (const RegistryError&) {
        return def;
    }
}

void TRegistryEnhanced::DeleteValue(const QString& name) {
    requireWrite();
    if (!storeFor().keyExists(root(), basePath()))
        return;
    QString path, valueName;
    splitName(name, path, valueName);
    storeFor().deleteValue(root(), path, valueName);
}

void TRegistryEnhanced::DeleteKey(const QString& name) {
    requireWrite();
    if (!storeFor().keyExists(root(), basePath()))
        return;
    storeFor().deleteKey(root(), RegistryPath::join(basePath(), name));
}

void TRegistryEnhanced::GetKeyNames(const QString& subKey, QStringList& list) const {
    list = storeFor().subKeyNames(root(), RegistryPath::join(basePath(), subKey));
}

void TRegistryEnhanced::GetValueNames(const QString& subKey, QStringList& list) const {
    list = storeFor().valueNames(root(), RegistryPath::join(basePath(), subKey));
}

void TRegistryEnhanced::Search(const QString& start, const QString& text, int mode) {
    searchKey(RegistryPath::join(basePath(), start), text, mode);
}

void TRegistryEnhanced::searchKey(const QString& path, const QString& text, int mode) {
    for (const QString& value : storeFor().valueNames(root(), path)) {
        const bool inKey = path.contains(text, Qt::CaseInsensitive);
        const bool inName = value.contains(text, Qt::CaseInsensitive);
        const bool hit = text.isEmpty() || (mode == 0 && inKey) || (mode == 1 && inName) ||
                         (mode == 2 && (inKey || inName));
        if (hit)
            EntriesFound << path + QLatin1Char('\\') + value;
    }
    for (const QString& sub : storeFor().subKeyNames(root(), path))
        searchKey(RegistryPath::join(path, sub), text, mode);
}
