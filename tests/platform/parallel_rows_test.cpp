#include "platform/parallel_rows.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// Enough work per row for every thread to be worth starting.
constexpr std::int64_t kHeavy = std::int64_t{1} << 40;

}  // namespace

TEST(ParallelRows, EveryRowRunsOnce)
{
    for (const int threads : {1, 3, 8}) {
        ScopedWorkerThreads scope(threads);
        std::vector<std::atomic<int>> visits(1000);
        ForEachRow(1000, kHeavy, [&](int y) { ++visits[y]; });
        bool allOnce = true;
        for (const auto& v : visits)
            allOnce = allOnce && v == 1;
        EXPECT_TRUE(allOnce) << threads;

        std::vector<std::atomic<int>> polledVisits(1000);
        EXPECT_TRUE(ForEachRowPolled(1000, kHeavy, [&](int y) { ++polledVisits[y]; }, [] { return false; }));
        allOnce = true;
        for (const auto& v : polledVisits)
            allOnce = allOnce && v == 1;
        EXPECT_TRUE(allOnce) << threads;
    }
}

TEST(ParallelRows, PollingStopsTheRowsNotYetStarted)
{
    ScopedWorkerThreads scope(2);
    std::atomic<int> done{0};
    int polls = 0;
    const bool finished = ForEachRowPolled(
        2000, kHeavy,
        [&](int) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++done;
        },
        [&] { return ++polls == 2; });
    EXPECT_FALSE(finished);
    EXPECT_EQ(polls, 2);
    EXPECT_LT(done.load(), 2000);
}
