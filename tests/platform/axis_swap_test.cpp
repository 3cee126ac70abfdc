#include "platform/axis_swap.h"

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "tests/test_support.h"

// Every pixel lands where the two steps put it, for the four directions of
// the quarter turns and diagonal mirrors, for sizes that are and are not
// whole tiles, split over threads and not.
TEST(AxisSwap, EveryPixelComesFromItsRowAndColumn)
{
    TBitmap source, out;
    for (const TPoint size : {TPoint{53, 37}, TPoint{32, 48}, TPoint{1, 17}})
        for (int columnStep : {1, -1})
            for (int rowStep : {1, -1})
                for (int threads : {1, 6}) {
                    ScopedWorkerThreads scope(threads);
                    FillBitmap(source, size.x, size.y, [](int x, int y) { return RGB(x * 7 % 256, y * 5 % 256, x ^ y); });
                    out.SetSize(size.y, size.x);
                    const int firstColumn = columnStep > 0 ? 0 : size.x - 1;
                    const int firstRow = rowStep > 0 ? 0 : size.y - 1;
                    GatherSwappedAxes(source, out, columnStep, firstColumn, rowStep, firstRow);
                    int wrong = 0;
                    for (int i = 0; i < out.Height(); ++i)
                        for (int j = 0; j < out.Width(); ++j)
                            wrong += out.Pixel(j, i) != source.Pixel(firstColumn + columnStep * i, firstRow + rowStep * j);
                    EXPECT_EQ(wrong, 0) << size.x << "x" << size.y << " steps " << columnStep << "," << rowStep << ", "
                                        << threads << " threads";
                }
}
