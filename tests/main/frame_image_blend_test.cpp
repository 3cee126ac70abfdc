// The frame-image blend of the main window (TForm1::BlendFrameImage) and the
// frame preview that uses it when a layout has a frame image.
#include <cstdint>

#include <gtest/gtest.h>

#include "tests/main/app_test_support.h"

namespace {

const TColor kTarget = RGB(200, 100, 40);
const TColor kFrame = RGB(50, 250, 0);

// (alpha * frame + (255 - alpha) * target) / 255 in each channel.
TColor Mixed(int alpha)
{
    auto channel = [alpha](int frame, int target) { return (alpha * frame + (255 - alpha) * target) / 255; };
    return RGB(channel(50, 200), channel(250, 100), channel(0, 40));
}

}  // namespace

// Layout 0: the full frame is 1500 x 1051.
class FrameImageBlendTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
    }

    // A width x height target and frame image of one colour each.
    void Pictures(int width, int height)
    {
        FillBitmap(target, width, height, [](int, int) { return kTarget; });
        FillBitmap(frame, width, height, [](int, int) { return kFrame; });
    }

    // The mask at full frame size: four bands of columns 375 wide.
    void BandedMask(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
    {
        PixelPlane& mask = Form1->MaskPlane;
        mask.Resize(1500, 1051);
        for (int y = 0; y < 1051; ++y)
            for (int x = 0; x < 1500; ++x)
                mask.At(x, y) = x < 375 ? a : x < 750 ? b : x < 1125 ? c : d;
    }

    TBitmap target;
    TBitmap frame;
};

TEST_F(FrameImageBlendTest, RefusesEmptyOrMismatchedPictures)
{
    Pictures(6, 4);
    EXPECT_EQ(Form1->BlendFrameImage(0, 4, target, frame), -3);
    EXPECT_EQ(Form1->BlendFrameImage(6, 0, target, frame), -3);
    TBitmap narrow;
    FillBitmap(narrow, 5, 4, [](int, int) { return kFrame; });
    EXPECT_EQ(Form1->BlendFrameImage(6, 4, target, narrow), -1);
    TBitmap low;
    FillBitmap(low, 6, 3, [](int, int) { return kFrame; });
    EXPECT_EQ(Form1->BlendFrameImage(6, 4, target, low), -2);
    EXPECT_EQ(CountPixels(target, [](TColor c) { return c != kTarget; }), 0);
}

TEST_F(FrameImageBlendTest, WhereTheMaskIsEmptyTheTargetStays)
{
    // Nothing fills the mask: no alpha anywhere, at full size and scaled.
    ASSERT_EQ(Form1->MaskPlane.Width(), 0);
    for (int width : {1500, 6}) {
        Pictures(width, 4);
        EXPECT_EQ(Form1->BlendFrameImage(width, 4, target, frame), 0);
        EXPECT_EQ(CountPixels(target, [](TColor c) { return c != kTarget; }), 0) << width;
    }
    // A mask smaller than the frame has no alpha beyond its edge.
    Form1->MaskPlane.Resize(2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            Form1->MaskPlane.At(x, y) = 255;
    Pictures(1500, 4);
    EXPECT_EQ(Form1->BlendFrameImage(1500, 4, target, frame), 0);
    EXPECT_EQ(PixelBounds(target, [](TColor c) { return c == kFrame; }), (TRect{0, 0, 2, 2}));
    EXPECT_EQ(CountPixels(target, [](TColor c) { return c != kFrame && c != kTarget; }), 0);
}

TEST_F(FrameImageBlendTest, AlphaMixesTheFrameImageIn)
{
    // Alpha of 256 or more counts as 255, however large.
    BandedMask(0, 128, 300, 0x80000000u);
    const TColor expected[4] = {kTarget, Mixed(128), kFrame, kFrame};

    // At full size each column reads its own mask column.
    Pictures(1500, 3);
    ASSERT_EQ(Form1->BlendFrameImage(1500, 3, target, frame), 0);
    for (int band = 0; band < 4; ++band)
        for (int x : {band * 375, band * 375 + 374})
            EXPECT_EQ(target.Pixel(x, 2), expected[band]) << x;

    // Scaled (a preview of 8 x 4): column x reads mask column 1500 * x / 8.
    Pictures(8, 4);
    ASSERT_EQ(Form1->BlendFrameImage(8, 4, target, frame), 0);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(target.Pixel(x, 3), expected[x / 2]) << x;

    // Only width x height (limited to the target) is blended.
    Pictures(8, 4);
    ASSERT_EQ(Form1->BlendFrameImage(6, 9, target, frame), 0);
    EXPECT_EQ(target.Pixel(5, 3), kFrame);
    EXPECT_EQ(target.Pixel(6, 3), kTarget);
}

TEST_F(FrameImageBlendTest, FramePreviewBlendsTheFrameImageOntoBlack)
{
    // The preview (685 x 480) shows the layout's frame image through the
    // blend: without a mask all black, with a full mask the frame image
    // (white band under a black photo area).
    Form1->PreviewLayout.HasFrameImage = true;
    Form1->RedrawFramePreview();
    const TBitmap& shown = Form1->Image1->Picture();
    EXPECT_EQ(CountPixels(shown, [](TColor c) { return c != clBlack; }), 0);

    BandedMask(255, 255, 255, 255);
    Form1->RedrawFramePreview();
    EXPECT_EQ(shown.Pixel(10, 10), clBlack);
    EXPECT_EQ(shown.Pixel(10, 470), clWhite);
    EXPECT_EQ(shown.Pixel(680, 470), clWhite);
}
