#pragma once
// A numbered string table read from plain text: one "id<TAB>text" a line,
// with tab, CR, LF and backslash escaped as \t, \r, \n and \\.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

class StringTable {
public:
    StringTable() = default;
    // Throws std::runtime_error naming the line for a malformed table.
    static StringTable parse(const QByteArray& text);
    // A table compiled into the program (":/strings/monitor.tsv", ...).
    static const StringTable& resource(const QString& path);

    // The text of an id; nullopt when the table has none or it is empty.
    std::optional<QString> text(int id) const;
    int size() const { return int(m_texts.size()); }
    QList<int> ids() const { return m_texts.keys(); }
    void insert(int id, const QString& text) { m_texts.insert(id, text); }

    static QString unescape(const QString& text);
    static QString escape(const QString& text);

private:
    QHash<int, QString> m_texts;
};
