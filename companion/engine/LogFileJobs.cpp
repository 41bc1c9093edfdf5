#include "LogFileJobs.h"

#include <algorithm>
#include <chrono>

LogFileJobs::LogFileJobs(int count, Work work, int threads)
    : m_work(std::move(work)), m_results(size_t(std::max(count, 0))) {
    const int n = std::max(1, std::min(threads, count));
    for (int i = 0; i < n && count > 0; ++i)
        m_threads.emplace_back([this] { run(); });
}

LogFileJobs::~LogFileJobs() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    for (std::thread& t : m_threads)
        t.join();
}

int LogFileJobs::threadsFor(int files) {
    const int cores = int(std::thread::hardware_concurrency());
    return std::max(1, std::min(cores > 0 ? cores : 1, files));
}

void LogFileJobs::run() {
    for (;;) {
        int index;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping || m_next >= int(m_results.size()))
                return;
            index = m_next++;
        }
        LogFileResult result;
        try {
            result = m_work(index);
        } catch (...) {
            result = LogFileResult(); // reported as a file that could not be read
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_results[size_t(index)] = std::move(result);
        }
        m_done.notify_all();
    }
}

std::optional<LogFileResult> LogFileJobs::take(int index, int waitMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    auto& slot = m_results[size_t(index)];
    const auto ready = [&slot] {
        return slot.has_value();
    };
    if (waitMs < 0)
        m_done.wait(lock, ready);
    else if (!m_done.wait_for(lock, std::chrono::milliseconds(waitMs), ready))
        return std::nullopt;
    std::optional<LogFileResult> out = std::move(slot);
    slot.reset();
    return out;
}
