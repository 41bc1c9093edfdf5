#include "RegFile.h"

#include "LegacyText.h"
#include "RegistryPath.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace RegFile {

SyntaxError::SyntaxError(int line, const QString& message)
    : std::runtime_error(QStringLiteral("line %1: %2").arg(line).arg(message).toStdString()),
      m_line(line) {}

KeyName parseKeyName(const QString& text) {
    const QString t = RegistryPath::normalise(text);
    const int at = t.indexOf(QLatin1Char('\\'));
    const auto root = rootFromName(at < 0 ? t : t.left(at));
    if (!root)
        throw std::invalid_argument(
            QStringLiteral("unknown root in \"%1\"").arg(text.left(200)).toStdString());
    const QString path = at < 0 ? QString() : t.mid(at + 1);
    if (!path.isEmpty() && path.count(QLatin1Char('\\')) + 1 > kMaxKeyDepth)
        throw std::invalid_argument(
            QStringLiteral("a key more than %1 levels deep").arg(kMaxKeyDepth).toStdString());
    return {*root, path};
}

QString decodeFile(const QByteArray& bytes) {
    const auto utf16 = [&bytes](bool littleEndian) {
        QString out;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = quint8(bytes[i]);
            const auto b = quint8(bytes[i + 1]);
            out += QChar(char16_t(littleEndian ? a | b << 8 : b | a << 8));
        }
        return out;
    };
    if (bytes.startsWith("\xFF\xFE"))
        return utf16(true);
    if (bytes.startsWith("\xFE\xFF"))
        return utf16(false);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return LegacyText::decode(bytes);
}

namespace {

QString quote(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

void exportSection(const RegistryStore& store, RegRoot root, const QString& path, QString& out) {
    out += QLatin1Char('[') + rootName(root);
    if (!path.isEmpty())
        out += QLatin1Char('\\') + path;
    out += QLatin1String("]\r\n");
    for (const QString& name : store.valueNames(root, path)) {
        const auto v = store.readValue(root, path, name);
        if (!v)
            continue;
        out += (name.isEmpty() ? QStringLiteral("@") : quote(name)) + QLatin1Char('=') +
               formatData(*v) + QLatin1String("\r\n");
    }
    out += QLatin1String("\r\n");
}

// The key, then each sub-key with everything below it, in the store's order.
// A list of keys still to write instead of recursion: a store may hold a key
// thousands of levels deep (written before imports had a limit).
void exportKey(const RegistryStore& store, RegRoot root, const QString& top, QString& out) {
    std::vector<QString> pending{top};
    while (!pending.empty()) {
        const QString path = std::move(pending.back());
        pending.pop_back();
        exportSection(store, root, path, out);
        const QStringList subs = store.subKeyNames(root, path);
        for (auto it = subs.crbegin(); it != subs.crend(); ++it)
            pending.push_back(RegistryPath::join(path, *it));
    }
}

// One parsed change of the file, applied after the whole file parsed.
struct Change {
    enum Kind { DeleteKey, CreateKey, SetValue, DeleteValue } kind;
    RegRoot root;
    QString path;
    QString name;
    RegValue value;
};

// Reads a quoted string starting at pos (at the opening quote).
QString readQuoted(const QString& line, int& pos, int lineNo) {
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line.at(pos);
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c == QLatin1Char('\\') && pos + 1 < line.size())
            out += line.at(++pos);
        else
            out += c;
    }
    throw SyntaxError(lineNo, QStringLiteral("unterminated string"));
}

QByteArray parseHex(const QString& text, int lineNo) {
    QByteArray out;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint b = part.trimmed().toUInt(&ok, 16);
        if (!ok || b > 0xff)
            throw SyntaxError(lineNo, QStringLiteral("bad hex byte \"%1\"").arg(part.trimmed()));
        out.append(char(b));
    }
    return out;
}

QString fromUtf16Le(const QByteArray& bytes, int lineNo) {
    if (bytes.size() % 2 != 0)
        throw SyntaxError(lineNo, QStringLiteral("text data of an odd number of bytes"));
    QString out(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = QChar(char16_t(quint8(bytes[2 * i]) | quint8(bytes[2 * i + 1]) << 8));
    return out;
}

// hex(N): data of the registry's other types. Texts (1), expandable texts (2,
// kept as written) and lists of texts (7, one a line) become strings; 3 is
// binary and 4 a little-endian dword. Other types have no place in the store.
RegValue typedHex(uint type, const QByteArray& bytes, int lineNo) {
    switch (type) {
    case 1:
    case 2: {
        QString text = fromUtf16Le(bytes, lineNo);
        if (text.endsWith(QChar(0)))
            text.chop(1);
        return RegValue::fromString(text);
    }
    case 7: {
        QStringList items = fromUtf16Le(bytes, lineNo).split(QChar(0));
        while (!items.isEmpty() && items.last().isEmpty())
            items.removeLast();
        return RegValue::fromString(items.join(QLatin1Char('\n')));
    }
    case 3:
        return RegValue::fromBinary(bytes);
    case 4:
        if (bytes.size() != 4)
            throw SyntaxError(lineNo, QStringLiteral("a dword of %1 bytes").arg(bytes.size()));
        return RegValue::fromDWord(quint8(bytes[0]) | quint8(bytes[1]) << 8 |
                                   quint8(bytes[2]) << 16 | std::uint32_t(quint8(bytes[3])) << 24);
    default:
        throw SyntaxError(
            lineNo, QStringLiteral("values of type hex(%1) cannot be stored").arg(type, 0, 16));
    }
}

RegValue parseData(const QString& data, int lineNo) {
    if (data.startsWith(QLatin1Char('"'))) {
        int pos = 0;
        const QString s = readQuoted(data, pos, lineNo);
        if (!data.mid(pos).trimmed().isEmpty())
            throw SyntaxError(lineNo, QStringLiteral("text after the closing quote"));
        return RegValue::fromString(s);
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        bool ok = false;
        const QString digits = data.mid(6).trimmed();
        const uint v = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            throw SyntaxError(lineNo, QStringLiteral("bad dword \"%1\"").arg(digits));
        return RegValue::fromDWord(v);
    }
    if (data.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive))
        return RegValue::fromBinary(parseHex(data.mid(4), lineNo));
    static const QRegularExpression typed(QStringLiteral("^hex\\(([0-9a-f]+)\\):"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = typed.match(data);
    if (m.hasMatch())
        return typedHex(m.captured(1).toUInt(nullptr, 16),
                        parseHex(data.mid(m.capturedLength()), lineNo), lineNo);
    throw SyntaxError(lineNo, QStringLiteral("expected \"text\", dword: or hex: data"));
}

void parseValueLine(const QString& line, int lineNo, const std::optional<KeyName>& key,
                    std::vector<Change>& changes) {
    if (!key)
        throw SyntaxError(lineNo, QStringLiteral("value outside a [key] section"));
    QString name;
    int pos = 0;
    if (line.startsWith(QLatin1Char('@')))
        pos = 1;
    else
        name = readQuoted(line, pos, lineNo);
    while (pos < line.size() && line.at(pos).isSpace())
        ++pos;
    if (pos >= line.size() || line.at(pos) != QLatin1Char('='))
        throw SyntaxError(lineNo, QStringLiteral("expected \"=\" after the value name"));
    const QString data = line.mid(pos + 1).trimmed();
    if (data == QLatin1String("-")) {
        changes.push_back({Change::DeleteValue, key->root, key->path, name, {}});
        return;
    }
    changes.push_back({Change::SetValue, key->root, key->path, name, parseData(data, lineNo)});
}

// Only hex data ("name"=hex:.. or @=hex(7):..) continues on the next line
// after a trailing backslash. Value lines start with a quote too, so the test
// looks at the data; a comment or a string ending in a backslash stays whole.
bool isHexValueLine(const QString& line) {
    static const QRegularExpression hexValue(
        QStringLiteral(R"(^\s*(@|"([^"\\]|\\.)*")\s*=\s*hex(\([0-9a-f]+\))?:)"),
        QRegularExpression::CaseInsensitiveOption);
    return hexValue.match(line).hasMatch();
}

// Joins hex data continued over several lines with a trailing backslash.
QStringList logicalLines(const QString& text, std::vector<int>& numbers) {
    QStringList out;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (int i = 0; i < raw.size(); ++i) {
        QString line = raw.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int first = i + 1;
        while (line.endsWith(QLatin1Char('\\')) && isHexValueLine(line) && i + 1 < raw.size()) {
            line.chop(1);
            line += raw.at(++i).trimmed();
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
        out << line;
        numbers.push_back(first);
    }
    return out;
}

std::vector<Change> parse(const QString& text) {
    std::vector<int> numbers;
    const QStringList lines = logicalLines(text, numbers);
    std::vector<Change> changes;
    std::optional<KeyName> key;
    bool header = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        const int lineNo = numbers[size_t(i)];
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (!header) {
            QString h = line;
            if (h.startsWith(QChar(0xfeff)))
                h.remove(0, 1);
            if (h != QLatin1String("REGEDIT4") &&
                h != QLatin1String("Windows Registry Editor Version 5.00"))
                throw SyntaxError(lineNo, QStringLiteral("expected the REGEDIT4 or \"Windows "
                                                         "Registry Editor Version 5.00\" header"));
            header = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                throw SyntaxError(lineNo, QStringLiteral("expected \"]\" at the end of the key"));
            const bool remove = line.startsWith(QLatin1String("[-"));
            try {
                key = parseKeyName(line.mid(remove ? 2 : 1, line.size() - (remove ? 3 : 2)));
            } catch (const std::invalid_argument& e) {
                throw SyntaxError(lineNo, QString::fromStdString(e.what()));
            }
            changes.push_back(
                {remove ? Change::DeleteKey : Change::CreateKey, key->root, key->path, {}, {}});
            if (remove)
                key.reset();
            continue;
        }
        parseValueLine(line, lineNo, key, changes);
    }
    if (!header)
        throw SyntaxError(1, QStringLiteral("empty file"));
    return changes;
}

} // namespace

namespace {
QString hexBytes(const QByteArray& bytes) {
    QStringList out;
    for (char c : bytes)
        out << QStringLiteral("%1").arg(uint(uchar(c)), 2, 16, QLatin1Char('0'));
    return out.join(QLatin1Char(','));
}

bool needsHex(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
           text.contains(QChar(0));
}

QByteArray utf16LeWithNul(const QString& text) {
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (QChar c : text + QChar(0)) {
        out += char(c.unicode() & 0xff);
        out += char(c.unicode() >> 8);
    }
    return out;
}
} // namespace

QString formatData(const RegValue& value) {
    switch (value.type) {
    case RegType::String:
        // A line break would end the line of a quoted string.
        if (needsHex(value.text))
            return QStringLiteral("hex(1):") + hexBytes(utf16LeWithNul(value.text));
        return quote(value.text);
    case RegType::DWord:
        return QStringLiteral("dword:%1").arg(value.dword, 8, 16, QLatin1Char('0'));
    case RegType::Binary:
        return QStringLiteral("hex:") + hexBytes(value.binary);
    }
    return QString();
}

QString exportText(const RegistryStore& store, const std::optional<KeyName>& key) {
    QString out = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    if (key) {
        exportKey(store, key->root, key->path, out);
        return out;
    }
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
        // Values set at the root itself ("tollreg set HKCU name data") too.
        if (!store.valueNames(root, QString()).isEmpty()) {
            exportKey(store, root, QString(), out);
            continue;
        }
        for (const QString& sub : store.subKeyNames(root, QString()))
            exportKey(store, root, sub, out);
    }
    return out;
}

void importText(RegistryStore& store, const QString& text) {
    const std::vector<Change> changes = parse(text);
    store.transaction([&] {
        for (const Change& c : changes) {
            switch (c.kind) {
            case Change::DeleteKey:
                store.deleteKey(c.root, c.path);
                break;
            case Change::CreateKey:
                store.createKey(c.root, c.path);
                break;
            case Change::SetValue:
                store.writeValue(c.root, c.path, c.name, c.value);
                break;
            case Change::DeleteValue:
                store.deleteValue(c.root, c.path, c.name);
                break;
            }
        }
    });
}

} // namespace RegFile
