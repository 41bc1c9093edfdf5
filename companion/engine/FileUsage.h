#pragma once
// One file's rows read into what the usage tables add up: each row's numbers,
// and its user, connection name and month as ids among the file's own keys
// in order of first appearance. Files are read on worker threads, one each;
// the tables then add them up in slot order, so that every sum is made in
// the order of the rows, as if one thread had read them all.

#include "ConnectionTable.h"
#include "DateTimeReader.h"
#include "NumberReader.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <vector>

struct RowValues {
    enum Has : std::uint8_t { LengthInt = 1, LengthDecimal = 2, Cost = 4, Send = 8, Receive = 16 };
    double lengthDecimal = 0;
    double cost = 0;
    double send = 0;
    double receive = 0;
    std::int32_t lengthInt = 0;
    std::uint8_t has = 0; // the fields that converted
    std::int32_t user = 0;
    std::int32_t provider = 0;
    std::int32_t month = 0;
};

struct FileUsage {
    std::vector<RowValues> values;
    std::vector<QByteArray> users;     // UTF-8, cut to UsageTables::kKeyLength
    std::vector<QByteArray> providers; // the same
    std::vector<int> months;           // year * 100 + month, -1 for "err"
};

// Reads the rows of one file, one by one in file order, into its FileUsage.
class FileUsageReader {
public:
    FileUsageReader(const NumberReader& numbers, const DateTimeReader& dates);
    ~FileUsageReader();
    FileUsageReader(const FileUsageReader&) = delete;
    FileUsageReader& operator=(const FileUsageReader&) = delete;

    // Room for this many rows.
    void reserve(size_t rows) { m_usage.values.reserve(rows); }
    // A row of the content at base.
    void add(const char* base, const ConnectionTable::Row& row);
    // What the rows added so far make.
    FileUsage take();

    // Every row of a chunk.
    static FileUsage read(const ConnectionTable::Chunk& chunk, const NumberReader& numbers,
                          const DateTimeReader& dates);

private:
    struct Keys;
    void fieldsOf(const char* base, const ConnectionTable::Row& row, QByteArrayView (&fields)[8]);
    const NumberReader& m_numbers;
    const DateTimeReader& m_dates;
    std::unique_ptr<Keys> m_keys;
    FileUsage m_usage;
};
