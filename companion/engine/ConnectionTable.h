#pragma once
// The connection rows of a compile run, seven texts each, kept exactly as cut
// from the log lines. Rows are positions in the files' bytes, kept per file
// (a chunk), so a million rows cost little more than the files themselves;
// texts are decoded on demand, as UTF-8, or as Windows-1252 for a line that
// is not UTF-8 (older programs wrote their logs in that code page).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// Lines that are not connections, counted per run.
struct RunCounters {
    int abnormalTerminations = 0;
    int invalidEntries = 0;
};

class ConnectionTable {
public:
    // The seven columns of a row.
    enum Column { User, Connection, Length, Cost, Send, Recvd, ConnectedTo };
    static constexpr int kColumnCount = 7;
    // The eight fields of a log line; Connection is Date + " " + Time.
    enum Field { FUser, FDate, FTime, FLength, FCost, FSend, FRecvd, FName };

    struct Row {
        std::uint32_t start;    // of the line in its file's bytes
        std::uint32_t length;   // of the whole line
        std::uint32_t semis[7]; // offsets of the first seven ";" in the line
        bool legacy;            // the line is not UTF-8
    };
    // One log field (Field) of a row of the content at base.
    static QByteArrayView fieldOf(const char* base, const Row& row, int logField) {
        const char* line = base + row.start;
        const std::uint32_t from = logField == FUser ? 0 : row.semis[logField - 1] + 1;
        const std::uint32_t to = logField == FName ? row.length : row.semis[logField];
        return QByteArrayView(line + from, to - from);
    }

    // The rows of one file's content, and the content they point into.
    struct Chunk {
        QByteArray content;
        std::vector<Row> rows;

        QByteArrayView field(const Row& row, int logField) const {
            return fieldOf(content.constData(), row, logField);
        }
    };
    // Hears each row as it is found, while its line is still in the cache.
    using RowVisitor = std::function<void(const char* base, const Row& row)>;

    // Classifies every line of one file's content in order: seven or more ";"
    // make a row; a shorter line that starts with abnormalExit (the UTF-8 text,
    // or its Windows-1252 form in a line that is not UTF-8) is an abnormal
    // termination, any other one an invalid entry. A line ends at CR LF, LF
    // or CR; a leading UTF-8 byte-order mark is no part of the first line.
    static Chunk scan(QByteArray content, QByteArrayView abnormalExit, RunCounters& counters,
                      const RowVisitor& visitRow = {});

    void clear();
    // Appends a file's rows after those of the files before it.
    void append(Chunk chunk);
    void appendFile(const QByteArray& content, QByteArrayView abnormalExit, RunCounters& counters) {
        append(scan(content, abnormalExit, counters));
    }
    const std::vector<Chunk>& chunks() const { return m_chunks; }

    int rowCount() const { return m_rowCount; }
    // The text of a column, decoded.
    QString text(int row, int column) const;
    // The same text as UTF-8, written into out: the bytes of the line when it
    // is UTF-8 (no decoding, for sorting a million rows).
    void utf8(int row, int column, QByteArray& out) const;
    // The raw bytes of one log field (Field), valid while the table lives.
    QByteArrayView field(int row, int logField) const;
    // True when the row's line is not UTF-8 (and so read as Windows-1252).
    bool isLegacy(int row) const;

private:
    struct Place {
        const Chunk* chunk;
        const Row* row;
    };
    Place locate(int row) const;
    QString decoded(const Place& place, int logField) const;
    void appendUtf8(const Place& place, int logField, QByteArray& out) const;

    std::vector<Chunk> m_chunks;
    std::vector<int> m_firstRows; // of each chunk
    int m_rowCount = 0;
};
