#pragma once
// Registry text files ("Windows Registry Editor Version 5.00" / "REGEDIT4"):
// export of keys with their values, and import of a whole file in one
// transaction, including "name"=- and [-KEY] deletions. Files come in
// UTF-16LE with a byte-order mark (version 5, as the registry editor writes
// them), in UTF-8, or in the Windows code page (REGEDIT4).

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

// No real key is more than a few levels deep; a file with a deeper one is
// refused whole, so that a hostile file cannot grow the store without bound.
constexpr int kMaxKeyDepth = 512;

// "HKEY_CURRENT_USER\path" (or HKCU, HKLM, ...) split into its root and path.
struct KeyName {
    RegRoot root;
    QString path;
};
// Throws std::invalid_argument for an unknown root or a path of more than
// kMaxKeyDepth levels.
KeyName parseKeyName(const QString& text);

// The text of a file's bytes: UTF-16 after its byte-order mark, UTF-8 (with
// or without a mark), else Windows-1252.
QString decodeFile(const QByteArray& bytes);

// The key and everything below it, at any depth; with no key, both user and
// machine roots, values set at a root included.
QString exportText(const RegistryStore& store, const std::optional<KeyName>& key);

// Parses the whole text first; only a text without errors is applied, all of
// it in one transaction.
void importText(RegistryStore& store, const QString& text);

// The data part of a value as written in a file: "text", dword:0000000a,
// hex:.. ; a text with a line break or a NUL, which a quoted string cannot
// carry, as hex(1): (its UTF-16LE bytes with the closing NUL).
QString formatData(const RegValue& value);

} // namespace RegFile
