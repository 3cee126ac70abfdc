#include "pipeline/histogram.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

std::int64_t ChannelTotal(const HistogramSet& set, int channel)
{
    std::int64_t total = 0;
    for (const auto& level : set.counts)
        total += level[channel];
    return total;
}

}  // namespace

TEST(Histogram, CountsBrightnessAndEachChannel)
{
    TBitmap bitmap;
    FillBitmap(bitmap, 5, 3, [](int x, int) { return x == 0 ? RGB(30, 60, 91) : clWhite; });
    HistogramSet set;
    BuildHistogramSet(bitmap, set);
    // (30 + 60 + 91) / 3 = 60
    EXPECT_EQ(set.counts[60][0], 3);
    EXPECT_EQ(set.counts[30][1], 3);
    EXPECT_EQ(set.counts[60][2], 3);
    EXPECT_EQ(set.counts[91][3], 3);
    EXPECT_EQ(set.counts[255][0], 12);
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_EQ(ChannelTotal(set, channel), 15);

    // A rebuild replaces the counts.
    FillBitmap(bitmap, 2, 2, [](int, int) { return clBlack; });
    BuildHistogramSet(bitmap, set);
    for (int channel = 0; channel < 4; ++channel) {
        EXPECT_EQ(set.counts[0][channel], 4);
        EXPECT_EQ(ChannelTotal(set, channel), 4);
    }
    EXPECT_EQ(HistogramMedian(set), 0);
}

TEST(Histogram, MedianIsWhereTheRunningCountPassesHalf)
{
    HistogramSet set{};
    EXPECT_EQ(HistogramMedian(set), 128);

    TBitmap bitmap;
    FillBitmap(bitmap, 4, 2, [](int x, int) { return x < 2 ? clBlack : clWhite; });
    BuildHistogramSet(bitmap, set);
    EXPECT_EQ(HistogramMedian(set), 255);

    FillBitmap(bitmap, 5, 1, [](int x, int) { return RGB(x * 10, x * 10, x * 10); });
    BuildHistogramSet(bitmap, set);
    EXPECT_EQ(HistogramMedian(set), 20);
}
