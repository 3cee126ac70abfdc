// Drag geometry on the preview: the move in frame pixels, the rotate line,
// the zoom rectangle and its release.
#include "pipeline/preview_drag.h"

#include <gtest/gtest.h>

namespace {

float LineFrom100(int x, int y)
{
    return RotateLineAngle({100, 100}, {x, y}).angle;
}

// A photo area 600 x 400 at (10, 20) of the preview.
const PreviewArea kArea{10, 20, 600, 400};

}  // namespace

TEST(PreviewDrag, MoveIsMeasuredInFramePixelsOverTheZoom)
{
    // 10 preview pixels on a 993-wide preview of a frame 1800 wide.
    EXPECT_EQ(MoveDragDistance(10, 1800, 993, 1.0f), 18);
    EXPECT_EQ(MoveDragDistance(-10, 1800, 993, 1.0f), -18);
    EXPECT_EQ(MoveDragDistance(10, 1800, 993, 2.0f), 9);
    EXPECT_EQ(MoveDragDistance(10, 1800, 993, 1.5f), 12);
    // Integer division first: 1 pixel is 1 frame pixel, not 1.8.
    EXPECT_EQ(MoveDragDistance(1, 1800, 993, 1.0f), 1);
    EXPECT_EQ(MoveDragDistance(10, 1800, 0, 1.0f), 0);
    // Held where doubling it and adding an offset stay within 64 bits.
    EXPECT_EQ(MoveDragDistance(10, 1800, 993, 1e-9f), 18000001024LL);  // 18 / 1e-9 in float
    EXPECT_EQ(MoveDragDistance(-10, 1800, 993, 1e-30f), -(1LL << 62));
}

TEST(PreviewDrag, RotateLineAngleInEveryQuadrant)
{
    EXPECT_FLOAT_EQ(LineFrom100(200, 100), 0.0f);
    EXPECT_FLOAT_EQ(LineFrom100(200, 0), 45.0f);
    EXPECT_FLOAT_EQ(LineFrom100(200, 200), -45.0f);
    EXPECT_FLOAT_EQ(LineFrom100(0, 100), 180.0f);
    // 3.141592 for pi makes the degree factor slightly large: 134.99999
    // truncates to 134.999.
    EXPECT_FLOAT_EQ(LineFrom100(0, 0), 134.999f);
    EXPECT_FLOAT_EQ(LineFrom100(0, 200), -134.999f);
    // Within 1/10000 of horizontal is exactly level, either way.
    EXPECT_FLOAT_EQ(LineFrom100(50100, 99), 0.0f);
    EXPECT_FLOAT_EQ(LineFrom100(50100, 101), 0.0f);
    EXPECT_FLOAT_EQ(LineFrom100(-49900, 99), 180.0f);
    EXPECT_FLOAT_EQ(LineFrom100(-49900, 101), 180.0f);
    EXPECT_FLOAT_EQ(LineFrom100(10100, 99), 0.0f) << "1 in 10000 is still level";
    EXPECT_FLOAT_EQ(LineFrom100(9100, 99), 0.006f) << "1 in 9000 is not";

    const RotateLine up = RotateLineAngle({100, 100}, {100, 0});
    EXPECT_TRUE(up.vertical);
    EXPECT_FLOAT_EQ(up.angle, 90.0f);
    EXPECT_FLOAT_EQ(LineFrom100(100, 200), -90.0f);
    EXPECT_FLOAT_EQ(LineFrom100(100, 100), 90.0f) << "a point is an upward line";
    const RotateLine left = RotateLineAngle({100, 100}, {0, 100});
    EXPECT_FALSE(left.vertical);
    EXPECT_DOUBLE_EQ(left.dx, -100.0);
}

TEST(PreviewDrag, RotateLineAddsAndWrapsOnceAt360)
{
    EXPECT_FLOAT_EQ(AddRotateLine(350.0f, 20.0f), 10.0f);
    EXPECT_FLOAT_EQ(AddRotateLine(-350.0f, -20.0f), -10.0f);
    EXPECT_FLOAT_EQ(AddRotateLine(0.0f, 134.999f), 134.999f);
    EXPECT_FLOAT_EQ(AddRotateLine(180.0f, 180.0f), 360.0f) << "360 itself stays";
    EXPECT_FLOAT_EQ(AddRotateLine(10.0f, 0.0004f), 10.0f) << "truncated to 0.001";
}

TEST(PreviewDrag, ZoomPressStartsInsideThePhotoArea)
{
    EXPECT_EQ(ZoomRectangleStart(kArea, {5, 15}), (TPoint{10, 20}));
    EXPECT_EQ(ZoomRectangleStart(kArea, {50, 60}), (TPoint{50, 60}));
}

TEST(PreviewDrag, ZoomRectangleKeepsTheAreaAspectInsideTheArea)
{
    // Too tall for its width: drawn to the width's aspect height.
    const ZoomRectangle tall = TrackZoomRectangle(kArea, {10, 20}, {160, 400}, 1.0f);
    ASSERT_TRUE(tall.drawn);
    EXPECT_EQ(tall.shape, (TRect{10, 20, 160, 120}));
    EXPECT_EQ(tall.width, 150);
    EXPECT_EQ(tall.height, 100);
    EXPECT_FLOAT_EQ(tall.zoom, 4.0f);

    // Its aspect height would leave the area: the bottom edge limits it and
    // the width follows.
    const ZoomRectangle low = TrackZoomRectangle(kArea, {10, 300}, {600, 350}, 1.0f);
    EXPECT_EQ(low.shape, (TRect{10, 300, 190, 420}));
    EXPECT_EQ(low.end, (TPoint{190, 420}));
    EXPECT_EQ(low.width, 590);
    EXPECT_EQ(low.height, 393);

    // Beyond the right edge and below the area.
    const ZoomRectangle outside = TrackZoomRectangle(kArea, {10, 20}, {900, 900}, 1.5f);
    EXPECT_EQ(outside.shape, (TRect{10, 20, 610, 420}));
    EXPECT_FLOAT_EQ(outside.zoom, 1.5f);

    // Left of the start: no zoom of its own.
    EXPECT_FLOAT_EQ(TrackZoomRectangle(kArea, {300, 20}, {200, 100}, 1.25f).zoom, 1.25f);
    EXPECT_FALSE(TrackZoomRectangle({10, 20, 0, 400}, {10, 20}, {100, 100}, 1.0f).drawn);
}

TEST(PreviewDrag, ZoomReleaseAsWideAsTheAreaKeepsTheZoom)
{
    const ZoomRelease whole = ReleaseZoomRectangle(kArea, {10, 20}, {610, 420}, 1.0f, 1500, 1000);
    ASSERT_TRUE(whole.applied);
    EXPECT_FLOAT_EQ(whole.zoom, 1.0f);
    EXPECT_EQ(whole.offsetXChange, 0);
    EXPECT_EQ(whole.offsetYChange, 0);
    // The zoom before, truncated to 0.001.
    EXPECT_FLOAT_EQ(ReleaseZoomRectangle(kArea, {10, 20}, {610, 420}, 1.2345f, 1500, 1000).zoom, 1.234f);
}

TEST(PreviewDrag, ZoomReleaseHalfAsWideDoublesAndCentresOnTheRectangle)
{
    const ZoomRelease half = ReleaseZoomRectangle(kArea, {10, 20}, {310, 220}, 1.0f, 1500, 1000);
    ASSERT_TRUE(half.applied);
    EXPECT_FLOAT_EQ(half.zoom, 2.0f);
    EXPECT_EQ(half.width, 300);
    EXPECT_EQ(half.height, 200);
    // Centre (150, 100) of the area against (300, 200), in frame pixels.
    EXPECT_EQ(half.offsetXChange, (300 - 150) * 1500 / 600);
    EXPECT_EQ(half.offsetYChange, (200 - 100) * 1000 / 400);
    // No limit at 2.0.
    EXPECT_FLOAT_EQ(ReleaseZoomRectangle(kArea, {10, 20}, {310, 220}, 1.5f, 1500, 1000).zoom, 3.0f);
}

TEST(PreviewDrag, ZoomReleaseWithoutWidthOrAreaAppliesNothing)
{
    EXPECT_FALSE(ReleaseZoomRectangle(kArea, {300, 20}, {300, 200}, 1.0f, 1500, 1000).applied);
    EXPECT_FALSE(ReleaseZoomRectangle(kArea, {300, 20}, {100, 200}, 1.0f, 1500, 1000).applied);
    EXPECT_FALSE(ReleaseZoomRectangle({10, 20, 0, 0}, {10, 20}, {100, 100}, 1.0f, 1500, 1000).applied);
    // A typed zoom below 0.001 is 0 thousandths: the zoom doubles, and the
    // offsets, which divide by those thousandths, stay.
    const ZoomRelease tiny = ReleaseZoomRectangle(kArea, {10, 20}, {310, 220}, 0.0005f, 1500, 1000);
    EXPECT_TRUE(tiny.applied);
    EXPECT_FLOAT_EQ(tiny.zoom, 0.001f);
    EXPECT_EQ(tiny.offsetXChange, 0);
}

TEST(PreviewDrag, ResizeFrameZoomAndOverlay)
{
    EXPECT_FLOAT_EQ(ZoomOfFrameWidth(617, 500), 1.234f);
    EXPECT_FLOAT_EQ(ZoomOfFrameWidth(250, 500), 0.5f);
    EXPECT_FLOAT_EQ(ZoomOfFrameWidth(100, 500), 0.5f);
    EXPECT_FLOAT_EQ(ZoomOfFrameWidth(1000, 500), 2.0f);
    EXPECT_FLOAT_EQ(ZoomOfFrameWidth(100, 0), 2.0f);
    // The grips' 7-pixel margins come off; the height follows a 4:3 photo.
    EXPECT_EQ(ResizeFrameOverlaySize(414, 300, 400, 300), (TPoint{400, 300}));
    EXPECT_EQ(ResizeFrameOverlaySize(414, 314, 400, 300), (TPoint{400, 300}));
    EXPECT_EQ(ResizeFrameOverlaySize(214, 500, 400, 300), (TPoint{200, 150}));
}
