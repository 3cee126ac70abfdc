// The frame image and its blend.
#include "pipeline/frame_image.h"

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "tests/test_support.h"

namespace {

TFrameLayout Geometry(int fw, int fh, int pw, int ph, int left, int top)
{
    TFrameLayout layout;
    layout.Framewidth = fw;
    layout.Frameheight = fh;
    layout.Photowidth = pw;
    layout.Photoheight = ph;
    layout.Leftwidth = left;
    layout.Topheight = top;
    return layout;
}

bool IsBlack(TColor c) { return c == clBlack; }

}  // namespace

TEST(FrameImage, IsWhiteWithThePhotoAreaBlack)
{
    TBitmap image;
    ASSERT_TRUE(DrawFrameImage(image, Geometry(1500, 1051, 1430, 887, 35, 35)));
    EXPECT_EQ(image.Width(), 1500);
    EXPECT_EQ(image.Height(), 1051);
    EXPECT_EQ(PixelBounds(image, IsBlack), (TRect{35, 35, 1465, 922}));
    EXPECT_EQ(CountPixels(image, IsBlack), 1430 * 887);
    EXPECT_EQ(CountPixels(image, [](TColor c) { return c == clWhite; }), 1500 * 1051 - 1430 * 887);
}

TEST(FrameImage, PhotoAreaIsCutAtThePictureEdges)
{
    TBitmap whole;
    ASSERT_TRUE(DrawFrameImage(whole, Geometry(40, 30, 40, 30, 0, 0)));
    EXPECT_EQ(CountPixels(whole, IsBlack), 40 * 30);

    TBitmap shifted;
    ASSERT_TRUE(DrawFrameImage(shifted, Geometry(40, 30, 20, 20, -5, 25)));
    EXPECT_EQ(PixelBounds(shifted, IsBlack), (TRect{0, 25, 15, 30}));
}

TEST(FrameImage, EmptySizesDrawNothing)
{
    TBitmap image;
    FillBitmap(image, 4, 4, [](int, int) { return clRed; });
    EXPECT_FALSE(DrawFrameImage(image, Geometry(1500, 1051, 0, 887, 35, 35)));
    EXPECT_FALSE(DrawFrameImage(image, Geometry(0, 1051, 100, 887, 35, 35)));
    EXPECT_FALSE(DrawFrameImage(image, Geometry(1500, 1051, 100, -1, 35, 35)));
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Pixel(3, 3), clRed);
}

TEST(FrameImageBlend, MaskDecidesHowMuchOfTheFrameShows)
{
    TBitmap frame;
    TBitmap target;
    FillBitmap(frame, 4, 2, [](int, int) { return clWhite; });
    FillBitmap(target, 4, 2, [](int x, int) { return RGB(x * 50, 10, 20); });
    TBitmap before;
    before.Assign(target);

    PixelPlane empty;
    EXPECT_EQ(BlendFrameImage(4, 2, target, frame, empty, 4, 2), 0);
    EXPECT_TRUE(SameBitmap(target, before)) << "no mask values: alpha 0 everywhere";

    PixelPlane mask;
    mask.Resize(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            mask.At(x, y) = x == 0 ? 255 : x == 1 ? 0 : x == 2 ? 128 : 1000;
    EXPECT_EQ(BlendFrameImage(4, 2, target, frame, mask, 4, 2), 0);
    EXPECT_EQ(target.Pixel(0, 1), clWhite);
    EXPECT_EQ(target.Pixel(1, 1), before.Pixel(1, 1));
    // (128 * 255 + 127 * v) / 255, channel by channel.
    EXPECT_EQ(target.Pixel(2, 0), RGB((128 * 255 + 127 * 100) / 255, (128 * 255 + 127 * 10) / 255,
                                      (128 * 255 + 127 * 20) / 255));
    EXPECT_EQ(target.Pixel(3, 0), clWhite) << "alpha is limited to 255";
}

TEST(FrameImageBlend, ASmallerPictureReadsTheMaskAtTheScaledPlace)
{
    TBitmap frame;
    TBitmap target;
    FillBitmap(frame, 2, 1, [](int, int) { return clWhite; });
    FillBitmap(target, 2, 1, [](int, int) { return clBlack; });
    PixelPlane mask;
    mask.Resize(4, 2);
    for (int x = 0; x < 4; ++x)
        mask.At(x, 0) = mask.At(x, 1) = x >= 2 ? 255 : 0;
    EXPECT_EQ(BlendFrameImage(2, 1, target, frame, mask, 4, 2), 0);
    EXPECT_EQ(target.Pixel(0, 0), clBlack);
    EXPECT_EQ(target.Pixel(1, 0), clWhite);
}

TEST(FrameImageBlend, RefusesMismatchedOrEmptySizes)
{
    TBitmap frame;
    TBitmap target;
    PixelPlane mask;
    FillBitmap(frame, 4, 2, [](int, int) { return clWhite; });
    FillBitmap(target, 3, 2, [](int, int) { return clBlack; });
    EXPECT_EQ(BlendFrameImage(3, 2, target, frame, mask, 4, 2), -1);
    FillBitmap(target, 4, 3, [](int, int) { return clBlack; });
    EXPECT_EQ(BlendFrameImage(4, 2, target, frame, mask, 4, 2), -2);
    EXPECT_EQ(BlendFrameImage(0, 2, target, frame, mask, 4, 2), -3);
}
