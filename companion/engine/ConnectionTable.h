#pragma once
// The connection rows of a compile run, seven texts each, kept exactly as cut
// from the log lines. Rows are positions in the files' bytes, so a million
// rows cost little more than the files themselves; texts are decoded on demand,
// as UTF-8, or as Windows-1252 for a line that is not UTF-8 (older programs
// wrote their logs in that code page).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
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

    void clear();
    // Classifies every line of one file's content in order: seven or more ";"
    // make a row; a shorter line that starts with abnormalExit (the UTF-8 text)
    // is an abnormal termination, any other one an invalid entry.
    void appendFile(const QByteArray& content, QByteArrayView abnormalExit, RunCounters& counters);

    int rowCount() const { return int(m_rows.size()); }
    // The text of a column, decoded from UTF-8.
    QString text(int row, int column) const;
    // The raw bytes of one log field (Field), valid while the table lives.
    QByteArrayView field(int row, int logField) const;
    // The same field as UTF-8: the raw bytes themselves unless the row's line
    // is in Windows-1252, when scratch holds them converted.
    QByteArrayView utf8Field(int row, int logField, QByteArray& scratch) const;
    // True when the row's line is not UTF-8 (and so read as Windows-1252).
    bool isLegacy(int row) const { return m_rows[size_t(row)].legacy; }

private:
    struct Row {
        std::uint32_t buffer;
        std::uint32_t length;   // of the whole line
        std::uint32_t semis[7]; // offsets of the first seven ";" in the line
        bool legacy;            // the line is not UTF-8
        qsizetype start;        // of the line in its buffer
    };
    struct AbnormalExit {
        QByteArrayView utf8;
        QByteArray windows1252;
    };
    void addLine(std::uint32_t buffer, qsizetype start, QByteArrayView line,
                 const AbnormalExit& abnormalExit, RunCounters& counters);
    QString decoded(int row, int logField) const;

    std::vector<QByteArray> m_buffers;
    std::vector<Row> m_rows;
};
