#pragma once
// Registry text files ("Windows Registry Editor Version 5.00" / "REGEDIT4"):
// export of keys with their values, and import of a whole file in one
// transaction, including "name"=- and [-KEY] deletions.

#include "RegistryStore.h"

#include <QString>

#include <stdexcept>

namespace RegFile {

// A file that does not parse; nothing of it has been written.
class SyntaxError : public std::runtime_error {
public:
    SyntaxError(int line, const QString& message);
    int line() const { return m_line; }

private:
    int m_line;
};

// "HKEY_CURRENT_USER\path" (or HKCU, HKLM, ...) split into its root and path.
struct KeyName {
    RegRoot root;
    QString path;
};
// Throws std::invalid_argument for an unknown root.
KeyName parseKeyName(const QString& text);

// The key and everything below it; with no key, both user and machine roots.
QString exportText(const RegistryStore& store, const std::optional<KeyName>& key);

// Parses the whole text first; only a text without errors is applied, all of
// it in one transaction.
void importText(RegistryStore& store, const QString& text);

// The data part of a value as written in a file: "text", dword:0000000a, hex:..
QString formatData(const RegValue& value);

} // namespace RegFile
