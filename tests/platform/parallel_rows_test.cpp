#include "platform/parallel_rows.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <mutex>
#include <new>
#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

// That every row runs once is shown by the threaded routines' comparisons
// with their single-threaded results; here, that polling stops the work.
TEST(ParallelRows, PollingStopsTheRowsNotYetStarted)
{
    ScopedWorkerThreads scope(2);
    std::atomic<int> done{0};
    int polls = 0;
    const bool finished = ForEachRowPolled(
        2000, std::int64_t{1} << 40,
        [&](int) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++done;
        },
        [&] { return ++polls == 2; });
    EXPECT_FALSE(finished);
    EXPECT_EQ(polls, 2);
    EXPECT_LT(done.load(), 2000);
}

// The pool serves one split at a time: a split started from the poll of a
// polled one (the window's events pumped during a reduction), splits from
// two threads at once (a decode ahead turning its photo upright) and splits
// started from rows still run every row exactly once.
TEST(ParallelRows, SplitsThatFindThePoolBusyRunEveryRowOnce)
{
    ScopedWorkerThreads scope(4);
    constexpr int kRows = 300;
    const std::int64_t big = std::int64_t{1} << 40;
    std::vector<std::atomic<int>> outer(kRows);
    std::vector<std::atomic<int>> inner(kRows);
    bool nested = false;
    const bool finished = ForEachRowPolled(
        kRows, big,
        [&](int y) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            ++outer[y];
        },
        [&] {
            if (!nested) {
                nested = true;
                ForEachRow(kRows, big, [&](int y) { ++inner[y]; });
            }
            return false;
        });
    EXPECT_TRUE(finished);
    EXPECT_TRUE(nested);

    std::vector<std::atomic<int>> first(kRows);
    std::vector<std::atomic<int>> second(kRows);
    std::thread other([&] {
        for (int round = 0; round < 50; ++round)
            ForEachRow(kRows, big, [&](int y) { ++second[y]; });
    });
    for (int round = 0; round < 50; ++round)
        ForEachRow(kRows, big, [&](int y) { ++first[y]; });
    other.join();

    // Rows that split work of their own, on the pool's threads and on the
    // caller's: those splits run on the thread that asks.
    std::vector<std::atomic<int>> nestedRows(kRows);
    ForEachRow(kRows, big, [&](int y) { ForEachRow(4, big, [&](int) { ++nestedRows[y]; }); });
    for (int y = 0; y < kRows; ++y) {
        EXPECT_EQ(nestedRows[y].load(), 4);
        EXPECT_EQ(outer[y].load(), 1);
        EXPECT_EQ(inner[y].load(), 1);
        EXPECT_EQ(first[y].load(), 50);
        EXPECT_EQ(second[y].load(), 50);
    }
}

// A core is left to background work: splits meanwhile run on one thread
// fewer however much such work runs, and on all again once it has ended.
TEST(ParallelRows, AHeldCoreIsLeftToTheBackgroundWork)
{
    const auto threadsUsed = [] {
        std::mutex mutex;
        std::set<std::thread::id> ids;
        ForEachRow(150, std::int64_t{1} << 40, [&](int) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            const std::lock_guard lock(mutex);
            ids.insert(std::this_thread::get_id());
        });
        return ids.size();
    };
    {
        ScopedWorkerThreads scope(3);
        {
            const CoreReservation decode;
            EXPECT_LE(threadsUsed(), 2u);
            const CoreReservation second;
            EXPECT_EQ(threadsUsed(), 2u);
        }
        EXPECT_EQ(threadsUsed(), 3u);
    }
    ScopedWorkerThreads scope(1);
    const CoreReservation decode;
    EXPECT_EQ(threadsUsed(), 1u);
}

// Narrowed to fewer cores (as taskset does), the pool counts those, not the
// machine's: more threads would only take turns on them.
TEST(ParallelRows, CountsTheCoresTheProcessMayRunOn)
{
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    int first = 0;
    while (!CPU_ISSET(first, &before))
        ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const int narrowed = WorkerThreadCount();
    ASSERT_EQ(sched_setaffinity(0, sizeof before, &before), 0);
    EXPECT_EQ(narrowed, 1);
    EXPECT_EQ(WorkerThreadCount(), std::min(CPU_COUNT(&before), 16));
}

// A row that throws, on a pool thread or on the caller's, ends its split with
// that exception once the rows started have ended, and leaves the pool free:
// a split from another thread then runs (it waited for ever when the caller's
// row had thrown; a pool thread's ended the program).
TEST(ParallelRows, AThrowingRowReachesTheCallerAndLeavesThePoolFree)
{
    ScopedWorkerThreads scope(4);
    const std::int64_t big = std::int64_t{1} << 40;
    std::atomic<int> calls{0};
    EXPECT_THROW(ForEachRow(400, big, [&](int) {
        ++calls;
        throw std::bad_alloc();
    }), std::bad_alloc);
    EXPECT_LT(calls.load(), 400) << "rows not yet started are dropped";
    EXPECT_THROW(ForEachRowPolled(400, big, [](int y) { if (y % 3 == 0) throw std::bad_alloc(); }, [] { return false; }),
                 std::bad_alloc);

    std::atomic<int> rows{0};
    std::promise<void> finished;
    std::thread other([&] {
        ForEachRow(400, big, [&](int) { ++rows; });
        finished.set_value();
    });
    const bool done = finished.get_future().wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    if (!done) {
        ADD_FAILURE() << "the pool stayed taken";
        std::_Exit(1);
    }
    other.join();
    EXPECT_EQ(rows.load(), 400);
}
