// Bitmap storage: sizes, rows and handing pixels between bitmaps.
#include "platform/bitmap.h"

#include <utility>

#include <gtest/gtest.h>

#include "tests/test_support.h"

TEST(Bitmap, ExchangingPixelsLeavesEachBitmapItsTransparency)
{
    TBitmap photo;
    TBitmap layer;
    FillBitmap(photo, 3, 2, [](int x, int y) { return TColor(x * 16 + y); });
    FillBitmap(layer, 5, 4, [](int, int) { return clWhite; });
    layer.Transparent = true;
    layer.SetTransparentColor(clWhite);

    photo.ExchangePixels(layer);
    EXPECT_EQ(photo.Width(), 5);
    EXPECT_EQ(photo.Height(), 4);
    EXPECT_EQ(photo.Pixel(4, 3), clWhite);
    EXPECT_FALSE(photo.Transparent);
    EXPECT_EQ(photo.TransparentMode, TTransparentMode::tmAuto);
    EXPECT_EQ(layer.Width(), 3);
    EXPECT_EQ(layer.Pixel(2, 1), TColor(33));
    EXPECT_TRUE(layer.Transparent);
    EXPECT_EQ(layer.TransparentColor(), clWhite);
    EXPECT_EQ(layer.RowStride(), 12);
    EXPECT_EQ(photo.RowStride(), 16);
}

// Storage grows without keeping old pixels but every row stays writable and
// separate: a bitmap shrunk and grown again past its first size holds what
// was written after the last change.
TEST(Bitmap, GrowingAfterShrinkingGivesWholeRowsOfTheNewSize)
{
    TBitmap bitmap;
    for (const auto& [w, h] : {std::pair{7, 5}, std::pair{2, 3}, std::pair{1200, 900}, std::pair{3, 1}}) {
        FillBitmap(bitmap, w, h, [w](int x, int y) { return TColor(x + y * w); });
        EXPECT_EQ(bitmap.RowStride(), (w * 3 + 3) & ~3);
        EXPECT_EQ(bitmap.Pixel(w - 1, h - 1), TColor(w - 1 + (h - 1) * w));
        EXPECT_EQ(bitmap.Pixel(0, 0), TColor(0));
    }
}
