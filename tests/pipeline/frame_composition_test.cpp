#include "pipeline/frame_composition.h"

#include <gtest/gtest.h>

#include "platform/canvas.h"
#include "tests/test_support.h"

namespace {

// The three drawings the one pass replaces: fill, photo, see-through overlay.
void DrawnInTurn(TBitmap& picture, int width, int height, TColor background, const TBitmap& photo, int left, int top,
                 TBitmap* overlay, TColor key)
{
    picture.SetSize(width, height);
    picture.Fill(background);
    picture.Canvas()->Draw(left, top, photo);
    if (!overlay)
        return;
    overlay->Transparent = true;
    overlay->SetTransparentColor(key);
    picture.Canvas()->Draw(0, 0, *overlay);
}

}  // namespace

// Photos inside, across every edge and off the picture; overlays of the
// picture's size, smaller and larger; grey and coloured backgrounds and keys;
// rows split over threads and not.
TEST(FrameComposition, OnePassEqualsFillPhotoAndOverlayDrawnInTurn)
{
    TBitmap photo;
    FillBitmap(photo, 230, 170, [](int x, int y) { return RGB(x % 251, (x * y) % 253, y % 7 == 0 ? 0 : 90); });
    // A frame with a black area, a few black pixels in the frame and
    // pixels one channel (each of the three in turn) off the key.
    const auto frame = [](int w, int h, TColor key) {
        return [w, h, key](int x, int y) {
            if (x > w / 5 && x < w * 4 / 5 && y > h / 6 && y < h * 5 / 6)
                return key;
            if ((x * 13 + y * 7) % 97 == 0)
                return key;
            return (x + y) % 11 == 0 ? TColor(key ^ (1u << 8 * (x % 3))) : RGB(255, 255, 250 - x % 3);
        };
    };
    const struct {
        int left, top;
    } places[] = {{40, 30}, {-50, -20}, {250, 140}, {-300, 10}, {10, 400}, {0, 0}};
    for (int threads : {1, 4})
        for (TColor background : {clWhite, TColor(RGB(10, 200, 30))})
            for (TColor key : {clBlack, TColor(RGB(0, 0, 255))})
                for (TPoint overlaySize : {TPoint{320, 240}, TPoint{200, 100}, TPoint{400, 300}})
                    for (const auto& at : places) {
                        SCOPED_TRACE(testing::Message() << threads << " threads, photo at " << at.left << ","
                                                        << at.top << ", overlay " << overlaySize.x);
                        ScopedWorkerThreads scope(threads);
                        TBitmap overlay;
                        FillBitmap(overlay, overlaySize.x, overlaySize.y, frame(overlaySize.x, overlaySize.y, key));
                        TBitmap expected;
                        DrawnInTurn(expected, 320, 240, background, photo, at.left, at.top, &overlay, key);
                        TBitmap composed;
                        const SeeThroughOverlay see{&overlay, key};
                        ComposeFramePicture(composed, 320, 240, background, photo, at.left, at.top, &see);
                        EXPECT_TRUE(SameBitmap(composed, expected));
                        DrawnInTurn(expected, 320, 240, background, photo, at.left, at.top, nullptr, key);
                        ComposeFramePicture(composed, 320, 240, background, photo, at.left, at.top, nullptr);
                        EXPECT_TRUE(SameBitmap(composed, expected));
                    }
}

// A picture large enough to be split over the threads, against one thread.
TEST(FrameComposition, SplitRowsGiveTheSinglePassPicture)
{
    TBitmap photo, overlay;
    FillBitmap(photo, 1500, 1000, [](int x, int y) { return RGB(x % 256, y % 256, (x ^ y) % 256); });
    FillBitmap(overlay, 2000, 1400, [](int x, int y) {
        return x >= 250 && x < 1750 && y >= 200 && y < 1200 ? clBlack : clWhite;
    });
    const SeeThroughOverlay see{&overlay, clBlack};
    TBitmap one, many;
    {
        ScopedWorkerThreads scope(1);
        ComposeFramePicture(one, 2000, 1400, clWhite, photo, 250, 200, &see);
    }
    ScopedWorkerThreads scope(6);
    ComposeFramePicture(many, 2000, 1400, clWhite, photo, 250, 200, &see);
    EXPECT_TRUE(SameBitmap(one, many));
    EXPECT_EQ(one.Pixel(250, 200), photo.Pixel(0, 0));
    EXPECT_EQ(one.Pixel(249, 200), clWhite);
}
