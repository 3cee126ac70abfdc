// Drag geometry on the preview.
#include "pipeline/preview_drag.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "pipeline/correction_steps.h"

namespace {

// The degree factor with the value of pi the angles are defined with.
constexpr double kDegreesPerRadian = 180 / 3.141592;

// A line whose run is this many times its rise or more counts as level.
constexpr double kLevelTolerance = 10000;

// Truncation toward zero that holds the result within [low, high] (NaN
// gives 0).
template <typename Int>
Int TruncateWithin(double value, Int low, Int high)
{
    if (std::isnan(value))
        return 0;
    return static_cast<Int>(std::clamp<double>(std::trunc(value), static_cast<double>(low), static_cast<double>(high)));
}

constexpr long long kMoveDistanceLimit = 1LL << 62;

// Step shared by the drag and the release: a pointer below the area goes up
// to its bottom edge and slides along the aspect line from start.
void ClampToArea(const PreviewArea& a, TPoint start, TPoint& p)
{
    const int right = a.left + a.width;
    const int bottom = a.top + a.height;
    p.x = std::min(p.x, right);
    if (p.y > bottom) {
        p.y = bottom;
        if ((p.x - start.x) * a.height != (p.y - start.y) * a.width)
            p.x = std::min((p.y - start.y) * a.width / a.height + start.x, right);
    }
}

// The pointer's height to the area's aspect (its own when already in it).
int AspectHeight(const PreviewArea& a, int w, int h)
{
    return w * a.height == h * a.width ? h : w * a.height / a.width;
}

}  // namespace

long long MoveDragDistance(int previewDelta, int frameSize, int previewSize, float zoom)
{
    if (previewSize <= 0)
        return 0;
    const long long frame = static_cast<long long>(previewDelta) * frameSize / previewSize;
    return TruncateWithin(static_cast<float>(frame) / zoom, -kMoveDistanceLimit, kMoveDistanceLimit);
}

RotateLine RotateLineAngle(TPoint start, TPoint end)
{
    RotateLine line;
    const double dx = end.x - start.x;
    const double dy = start.y - end.y;  // upward positive
    line.dx = dx;
    if (std::fabs(dx) <= 0.1) {
        line.vertical = true;
        line.angle = dy >= 0 ? 90.0f : -90.0f;
        return line;
    }
    double a;
    if (dx >= 0) {
        a = (dy * kLevelTolerance > dx || -dy * kLevelTolerance > dx) ? std::atan(dy / dx) * kDegreesPerRadian : 0;
    } else if (dy * kLevelTolerance > -dx) {
        a = std::atan(dy / dx) * kDegreesPerRadian + 180;
    } else if (-dy * kLevelTolerance > -dx) {
        a = std::atan(dy / dx) * kDegreesPerRadian - 180;
    } else {
        a = 180;
    }
    line.angle = TruncateToThousandth(static_cast<float>(a));
    return line;
}

float AddRotateLine(float angle, float line)
{
    angle = TruncateToThousandth(angle + line);
    if (angle > 360.0f)
        angle -= 360.0f;
    if (angle < -360.0f)
        angle += 360.0f;
    return angle;
}

TPoint ZoomRectangleStart(const PreviewArea& area, TPoint press)
{
    return {std::max(press.x, area.left), std::max(press.y, area.top)};
}

ZoomRectangle TrackZoomRectangle(const PreviewArea& a, TPoint start, TPoint pointer, float zoom)
{
    ZoomRectangle r;
    if (a.width <= 0 || a.height <= 0)
        return r;
    const int right = a.left + a.width;
    const int bottom = a.top + a.height;
    TPoint p = pointer;
    ClampToArea(a, start, p);
    p.x = std::min(p.x, right);
    p.y = std::min(p.y, bottom);
    r.shape = {start.x, start.y, p.x, p.y};
    r.width = p.x - start.x;
    r.height = AspectHeight(a, r.width, p.y - start.y);
    // The drawn rectangle follows the width, or the bottom edge when the
    // width would take it below the area.
    if ((p.x - start.x) * a.height != (p.y - start.y) * a.width) {
        const int aspectBottom = (p.x - start.x) * a.height / a.width + start.y;
        if (aspectBottom <= bottom) {
            p.y = aspectBottom;
        } else {
            p.y = bottom;
            p.x = std::min((p.y - start.y) * a.width / a.height + start.x, right);
            r.shape.Right = p.x;
        }
        r.shape.Bottom = p.y;
    }
    r.end = p;
    r.zoom = p.x - start.x > 0 ? static_cast<float>(a.width) * zoom / static_cast<float>(p.x - start.x) : zoom;
    r.drawn = true;
    return r;
}

ZoomRelease ReleaseZoomRectangle(const PreviewArea& a, TPoint start, TPoint pointer, float zoom, int photoWidth,
                                 int photoHeight)
{
    ZoomRelease r;
    if (a.width <= 0 || a.height <= 0)
        return r;
    TPoint p = pointer;
    ClampToArea(a, start, p);
    r.end = p;
    r.width = p.x - start.x;
    r.height = AspectHeight(a, r.width, p.y - start.y);
    if (r.width <= 0)
        return r;
    const int zoomBefore = TruncateWithin(zoom * 1000.0f, std::numeric_limits<int>::min(),
                                          std::numeric_limits<int>::max());
    r.applied = true;
    r.zoom = TruncateToThousandth(static_cast<float>(a.width) * zoom / static_cast<float>(r.width));
    if (zoomBefore == 0)
        return r;
    // Frame pixels per preview pixel of the photo area, at the zoom before.
    const long long kx = photoWidth * 1000LL / zoomBefore;
    const long long ky = photoHeight * 1000LL / zoomBefore;
    const int cx = r.width / 2 + start.x - a.left;
    const int cy = r.height / 2 + start.y - a.top;
    // At most the preview's size times a frame side times 1000: far within
    // 64 bits.
    r.offsetXChange = (a.width / 2 - cx) * kx / a.width;
    r.offsetYChange = (a.height / 2 - cy) * ky / a.height;
    return r;
}

float ZoomOfFrameWidth(int width, int previewWidth)
{
    float zoom = static_cast<float>(width) / static_cast<float>(previewWidth);
    if (!(zoom > 0.5f))
        zoom = 0.5f;
    if (zoom >= 2.0f)
        zoom = 2.0f;
    return TruncateToThousandth(zoom);
}

TPoint ResizeFrameOverlaySize(int frameWidth, int frameHeight, int photoWidth, int photoHeight)
{
    // The frame reaches 7 pixels beyond the control on each side.
    const int w = frameWidth - 14;
    int h = frameHeight - 14;
    if (photoWidth > 0 && w * photoHeight != h * photoWidth)
        h = w * photoHeight / photoWidth;
    return {w, h};
}
