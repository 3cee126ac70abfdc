// Row splitting over std::thread: threads take rows one at a time from a
// shared counter, so uneven rows balance themselves.
#include "platform/parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::atomic<int> configuredThreads{0};

// Starting a thread costs about as much as touching this many pixels a few
// times over, so each thread gets at least this much work.
constexpr std::int64_t kPixelsPerThread = 1 << 17;

int ThreadsFor(int rows, std::int64_t pixels)
{
    const std::int64_t byWork = std::min<std::int64_t>(pixels / kPixelsPerThread, rows);
    return static_cast<int>(std::clamp<std::int64_t>(byWork, 1, WorkerThreadCount()));
}

}  // namespace

int WorkerThreadCount()
{
    const int configured = configuredThreads.load(std::memory_order_relaxed);
    if (configured > 0)
        return configured;
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware == 0 ? 1 : static_cast<int>(std::min(hardware, 16u));
}

void SetWorkerThreadCount(int count)
{
    configuredThreads.store(std::max(count, 0), std::memory_order_relaxed);
}

bool SplitsRows(int rows, std::int64_t pixels)
{
    return ThreadsFor(rows, pixels) > 1;
}

void ForEachRow(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn)
{
    const int threads = ThreadsFor(rows, pixels);
    if (threads <= 1) {
        for (int y = 0; y < rows; ++y)
            rowFn(y);
        return;
    }
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int y = next.fetch_add(1); y < rows; y = next.fetch_add(1))
            rowFn(y);
    };
    std::vector<std::jthread> helpers;
    helpers.reserve(static_cast<std::size_t>(threads - 1));
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
}

bool ForEachRowPolled(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn,
                      const std::function<bool()>& poll)
{
    const int threads = ThreadsFor(rows, pixels);
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finishedChanged;
    int finished = 0;
    const auto work = [&] {
        while (!stop.load(std::memory_order_relaxed)) {
            const int y = next.fetch_add(1);
            if (y >= rows)
                break;
            rowFn(y);
        }
        const std::lock_guard lock(mutex);
        ++finished;
        finishedChanged.notify_one();
    };
    std::vector<std::jthread> workers;
    workers.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work);
    std::unique_lock lock(mutex);
    while (!finishedChanged.wait_for(lock, std::chrono::milliseconds(20), [&] { return finished == threads; })) {
        lock.unlock();
        if (!stop.load(std::memory_order_relaxed) && poll())
            stop.store(true, std::memory_order_relaxed);
        lock.lock();
    }
    lock.unlock();
    workers.clear();
    // Rows taken before the stop were finished; rows never taken were not.
    return next.load() >= rows;
}
