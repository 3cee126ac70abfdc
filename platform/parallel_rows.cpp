// Row splitting over one pool of threads started on first use and kept for
// the life of the program: threads take rows one at a time from a shared
// counter, so uneven rows balance themselves, and a split costs a wake-up
// rather than a thread start.
#include "platform/parallel_rows.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "platform/thread_start.h"

namespace {

std::atomic<int> configuredThreads{0};
std::atomic<int> reservedCores{0};
thread_local bool insidePoolThread = false;

std::function<bool()>& RowFault()
{
    static std::function<bool()> failWhen;
    return failWhen;
}

// Handing rows to the pool costs about as much as touching this many pixels
// a few times over, so each thread gets at least this much work.
constexpr std::int64_t kPixelsPerThread = 1 << 17;

int ThreadsFor(int rows, std::int64_t pixels)
{
    const std::int64_t byWork = std::min<std::int64_t>(pixels / kPixelsPerThread, rows);
    const int left = reservedCores.load(std::memory_order_relaxed) > 0 ? 1 : 0;
    const int free = std::max(WorkerThreadCount() - left, 1);
    return static_cast<int>(std::clamp<std::int64_t>(byWork, 1, free));
}

// One split in progress: rows taken from next, helpers join until wanted
// have joined or the split is closed.
struct Split {
    const std::function<void(int)>* rowFn = nullptr;
    int rows = 0;
    int wanted = 0;
    int joined = 0;
    int finished = 0;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    // The first exception of a row; the others are dropped.
    std::mutex failureMutex;
    std::exception_ptr failure;

    void Run()
    {
        try {
            while (!stop.load(std::memory_order_relaxed)) {
                const int y = next.fetch_add(1);
                if (y >= rows)
                    break;
                if (insidePoolThread && RowFault() && RowFault()())
                    throw std::bad_alloc();
                (*rowFn)(y);
            }
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure)
                failure = std::current_exception();
            stop.store(true, std::memory_order_relaxed);
        }
    }

    void RethrowFailure()
    {
        if (failure)
            std::rethrow_exception(failure);
    }
};

class ThreadPool {
public:
    ~ThreadPool()
    {
        {
            const std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    // Lets helpers pool threads join split (starting threads up to that
    // count). One split runs at a time: a caller on another thread waits for
    // the running split to end. A split started from inside a split (by its
    // caller, say from the poll of a polled one, or by a row on a pool
    // thread) gets false and runs its rows itself, as waiting could never end;
    // so does one for which no thread can be started.
    bool Open(Split& split, int helpers)
    {
        if (insidePoolThread)
            return false;
        std::unique_lock lock(mutex_);
        if (owner_ == std::this_thread::get_id())
            return false;
        free_.wait(lock, [&] { return owner_ == std::thread::id(); });
        try {
            threads_.reserve(static_cast<std::size_t>(helpers));
            while (static_cast<int>(threads_.size()) < helpers)
                threads_.push_back(StartThread([this] { Serve(); }));
        } catch (...) {
            // Memory or the process's limits: the threads there are do the work.
            helpers = static_cast<int>(threads_.size());
        }
        if (helpers == 0)
            return false;
        owner_ = std::this_thread::get_id();
        split.wanted = helpers;
        current_ = &split;
        wake_.notify_all();
        return true;
    }

    // Stops further joins and waits until every helper that joined is done.
    void Close(Split& split)
    {
        std::unique_lock lock(mutex_);
        current_ = nullptr;
        done_.wait(lock, [&] { return split.finished == split.joined; });
        owner_ = std::thread::id();
        free_.notify_one();
    }

    // Waits up to timeout for every row taken to be done (or the split to
    // stop with its joined helpers finished).
    bool WaitFor(Split& split, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, timeout, [&] {
            const bool allTaken = split.next.load() >= split.rows || split.stop.load();
            return allTaken && split.finished == split.joined;
        });
    }

private:
    void Serve()
    {
        insidePoolThread = true;
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return quit_ || (current_ && current_->joined < current_->wanted); });
            if (quit_)
                return;
            Split& split = *current_;
            ++split.joined;
            lock.unlock();
            split.Run();
            lock.lock();
            ++split.finished;
            done_.notify_all();
        }
    }

    // The thread whose split runs, or none.
    std::thread::id owner_;
    std::condition_variable free_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    Split* current_ = nullptr;
    bool quit_ = false;
    std::vector<std::thread> threads_;
};

ThreadPool& Pool()
{
    static ThreadPool pool;
    return pool;
}

}  // namespace

int WorkerThreadCount()
{
    const int configured = configuredThreads.load(std::memory_order_relaxed);
    if (configured > 0)
        return configured;
    // PLOVIS_WORKER_THREADS sets the count whatever the machine has (the
    // thread checks run with several threads on any machine).
    static const int fromEnvironment = [] {
        const char* text = std::getenv("PLOVIS_WORKER_THREADS");
        return text ? std::clamp(std::atoi(text), 0, 64) : 0;
    }();
    if (fromEnvironment > 0)
        return fromEnvironment;
    // The cores the calling thread may run on: the hardware's count ignores
    // a narrowed affinity, and threads beyond the cores only take turns.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int cores = sched_getaffinity(0, sizeof allowed, &allowed) == 0
                          ? CPU_COUNT(&allowed)
                          : static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, 16);
}

CoreReservation::CoreReservation()
{
    reservedCores.fetch_add(1, std::memory_order_relaxed);
}

CoreReservation::~CoreReservation()
{
    reservedCores.fetch_sub(1, std::memory_order_relaxed);
}

void SetWorkerThreadCount(int count)
{
    configuredThreads.store(std::max(count, 0), std::memory_order_relaxed);
}

int RowsPerBand(int rows)
{
    return std::clamp(rows / (WorkerThreadCount() * 8), 1, 8);
}

bool SplitsRows(int rows, std::int64_t pixels)
{
    return ThreadsFor(rows, pixels) > 1;
}

void ForEachRow(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn)
{
    const int threads = ThreadsFor(rows, pixels);
    Split split;
    split.rowFn = &rowFn;
    split.rows = rows;
    const bool shared = threads > 1 && Pool().Open(split, threads - 1);
    split.Run();
    if (shared)
        Pool().Close(split);
    split.RethrowFailure();
}

bool ForEachRowPolled(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn,
                      const std::function<bool()>& poll)
{
    Split split;
    split.rowFn = &rowFn;
    split.rows = rows;
    if (!Pool().Open(split, ThreadsFor(rows, pixels))) {
        // Started from inside a split, or no thread to be had: the rows run
        // here, polled about every 20 ms between them.
        auto nextPoll = std::chrono::steady_clock::now();
        for (int y = 0; y < rows; ++y) {
            if (std::chrono::steady_clock::now() >= nextPoll) {
                if (poll())
                    return false;
                nextPoll = std::chrono::steady_clock::now() + std::chrono::milliseconds(20);
            }
            rowFn(y);
        }
        return true;
    }
    while (!Pool().WaitFor(split, std::chrono::milliseconds(20))) {
        if (!split.stop.load(std::memory_order_relaxed) && poll())
            split.stop.store(true, std::memory_order_relaxed);
    }
    Pool().Close(split);
    split.RethrowFailure();
    // Rows taken before the stop were finished; rows never taken were not.
    return split.next.load() >= rows;
}

void SetPoolRowFaultForTesting(std::function<bool()> failWhen)
{
    RowFault() = std::move(failWhen);
}

bool ForEachRowUntil(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn,
                     const std::function<bool()>& poll)
{
    if (!poll) {
        ForEachRow(rows, pixels, rowFn);
        return true;
    }
    if (poll())
        return false;
    if (pixels >= kPixelsPerThread)
        return ForEachRowPolled(rows, pixels, rowFn, poll);
    ForEachRow(rows, pixels, rowFn);
    return true;
}
