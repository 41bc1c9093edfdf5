#include "RegistryStore.h"

#include <array>

RegValue RegValue::fromString(const QString& s) {
    RegValue v;
    v.type = RegType::String;
    v.text = s;
    return v;
}

RegValue RegValue::fromDWord(std::uint32_t d) {
    RegValue v;
    v.type = RegType::DWord;
    v.dword = d;
    return v;
}

RegValue RegValue::fromBinary(const QByteArray& b) {
    RegValue v;
    v.type = RegType::Binary;
    v.binary = b;
    return v;
}

bool RegValue::operator==(const RegValue& o) const {
    if (type != o.type)
        return false;
    switch (type) {
    case RegType::String:
        return text == o.text;
    case RegType::DWord:
        return dword == o.dword;
    case RegType::Binary:
        return binary == o.binary;
    }
    return false;
}

QList<QPair<QString, RegValue>> RegistryStore::values(RegRoot root, const QString& path) const {
    QList<QPair<QString, RegValue>> out;
    for (const QString& name : valueNames(root, path))
        if (const auto v = readValue(root, path, name))
            out.append({name, *v});
    return out;
}

namespace {
struct RootNames {
    RegRoot root;
    const char* longName;
    const char* shortName;
};
constexpr std::array<RootNames, 6> kRoots{{
    {RegRoot::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RegRoot::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RegRoot::Users, "HKEY_USERS", "HKU"},
    {RegRoot::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {RegRoot::DynData, "HKEY_DYN_DATA", "HKDD"},
}};
} // namespace

QString rootName(RegRoot root) {
    for (const auto& r : kRoots)
        if (r.root == root)
            return QString::fromLatin1(r.longName);
    return QString();
}

std::optional<RegRoot> rootFromName(const QString& name) {
    for (const auto& r : kRoots) {
        if (name.compare(QLatin1String(r.longName), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(r.shortName), Qt::CaseInsensitive) == 0)
            return r.root;
    }
    return std::nullopt;
}
