#include "RegFile.h"

#include "RegistryPath.h"

#include <QRegularExpression>
#include <QStringList>

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
            QStringLiteral("unknown root in \"%1\"").arg(text).toStdString());
    return {*root, at < 0 ? QString() : t.mid(at + 1)};
}

namespace {

QString quote(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

void exportKey(const RegistryStore& store, RegRoot root, const QString& path, QString& out) {
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
    for (const QString& sub : store.subKeyNames(root, path))
        exportKey(store, root, RegistryPath::join(path, sub), out);
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

QString formatData(const RegValue& value) {
    switch (value.type) {
    case RegType::String:
        return quote(value.text);
    case RegType::DWord:
        return QStringLiteral("dword:%1").arg(value.dword, 8, 16, QLatin1Char('0'));
    case RegType::Binary: {
        QStringList bytes;
        for (char c : value.binary)
            bytes << QStringLiteral("%1").arg(uint(uchar(c)), 2, 16, QLatin1Char('0'));
        return QStringLiteral("hex:") + bytes.join(QLatin1Char(','));
    }
    }
    return QString();
}

QString exportText(const RegistryStore& store, const std::optional<KeyName>& key) {
    QString out = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    if (key) {
        exportKey(store, key->root, key->path, out);
        return out;
    }
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine})
        for (const QString& sub : store.subKeyNames(root, QString()))
            exportKey(store, root, sub, out);
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
