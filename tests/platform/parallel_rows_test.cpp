#include "platform/parallel_rows.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

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
