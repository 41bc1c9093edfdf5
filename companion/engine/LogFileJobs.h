#pragma once
// Runs the per-file work of a compile run (read or purge, cut into rows, read
// the rows' numbers and keys) on worker threads, as many files at once as the
// machine has cores, while the caller takes the results in slot order. The
// work must touch nothing shared but what is safe to read from any thread.

#include "ConnectionTable.h"
#include "FileUsage.h"

#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct LogFileResult {
    bool ok = false; // false: the file could not be read (or purged)
    ConnectionTable::Chunk chunk;
    FileUsage usage;
    RunCounters counters; // of its lines that are no rows
};

class LogFileJobs {
public:
    using Work = std::function<LogFileResult(int index)>;

    // Starts work(0) ... work(count - 1) on up to threads threads (at least one).
    LogFileJobs(int count, Work work, int threads);
    // Lets running work finish, starts no more, and waits for the threads.
    ~LogFileJobs();
    LogFileJobs(const LogFileJobs&) = delete;
    LogFileJobs& operator=(const LogFileJobs&) = delete;

    // The result of work(index), waiting for it at most waitMs milliseconds
    // (for ever when negative); nullopt when it is not done by then. Each
    // result can be taken once.
    std::optional<LogFileResult> take(int index, int waitMs);

    // Threads for a run: the cores, never more than the files.
    static int threadsFor(int files);

private:
    void run();

    Work m_work;
    std::vector<std::optional<LogFileResult>> m_results;
    int m_next = 0;
    bool m_stopping = false;
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<std::thread> m_threads;
};
