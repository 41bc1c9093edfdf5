#include "StringTable.h"

#include <QFile>
#include <QMutex>

#include <map>
#include <stdexcept>

StringTable StringTable::parse(const QByteArray& text) {
    StringTable table;
    int lineNo = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++lineNo;
        QByteArray line = raw;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const qsizetype tab = line.indexOf('\t');
        bool ok = false;
        const int id = tab > 0 ? line.left(tab).toInt(&ok) : 0;
        if (!ok)
            throw std::runtime_error("string table line " + std::to_string(lineNo) +
                                     ": expected id<TAB>text");
        table.m_texts.insert(id, unescape(QString::fromUtf8(line.mid(tab + 1))));
    }
    return table;
}

const StringTable& StringTable::resource(const QString& path) {
    // Tables are read once per process; they never change at run time.
    static QMutex mutex;
    static std::map<QString, StringTable> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.find(path);
    if (it == cache.end()) {
        QFile f(path);
        StringTable t;
        if (f.open(QIODevice::ReadOnly))
            t = parse(f.readAll());
        it = cache.emplace(path, std::move(t)).first;
    }
    return it->second;
}

std::optional<QString> StringTable::text(int id) const {
    const auto it = m_texts.constFind(id);
    if (it == m_texts.constEnd() || it->isEmpty())
        return std::nullopt;
    return *it;
}

QString StringTable::unescape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar n = text.at(++i);
        if (n == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (n == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (n == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else
            out += n;
    }
    return out;
}

QString StringTable::escape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else
            out += c;
    }
    return out;
}
