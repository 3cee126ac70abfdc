// Line splitting, block height and the placement of turned text blocks.
#include "pipeline/text_layout.h"

#include <algorithm>
#include <cmath>

#include "pipeline/rotation.h"
#include "platform/utf8_text.h"

namespace {

const std::string kSeparator = "\\n";
// Degrees to radians with the value of pi the layout has always used.
constexpr double kPi = 3.141592;

}  // namespace

TextLines SplitTextLines(const std::string& text)
{
    TextLines lines;
    std::string rest = text;
    for (std::size_t at = rest.find(kSeparator); at != std::string::npos; at = rest.find(kSeparator)) {
        lines.separated = true;
        lines.pieces.push_back(rest.substr(0, at));
        rest.erase(0, at + kSeparator.size());
        rest.resize(Utf8PrefixBytes(rest, kTextRestLimit));
    }
    if (lines.separated && !rest.empty())
        lines.pieces.push_back(rest);
    return lines;
}

int CountTextLines(const std::string& text)
{
    return SplitTextLines(text).Count();
}

int BlockHeight(int lineH, int n, float s)
{
    return static_cast<int>(static_cast<double>(lineH * (n - 1)) * (static_cast<double>(s) - 1)
                            + static_cast<double>(lineH * n));
}

int NextLineTop(int top, int lineH, float s)
{
    return static_cast<int>(top + lineH * static_cast<double>(s));
}

int NormaliseAngle(int angle)
{
    return angle % 360;
}

TextPlacement PlaceTextBlock(int maxW, int blockH, int lineH, float s, int angle)
{
    TextPlacement placement;
    if (angle == 0) {
        placement.width = maxW;
        placement.height = blockH;
        return placement;
    }
    // The rotation turns clockwise for positive angles; text turns the other way.
    const TRect bounds = RotatedRectBounds(Rect(0, 0, maxW, blockH), -angle);
    const TPoint topCentre = RotatePoint(maxW / 2, 0, maxW, blockH, -angle);
    placement.start = {topCentre.x - bounds.Left, topCentre.y - bounds.Top};
    placement.width = bounds.Right - bounds.Left;
    placement.height = bounds.Bottom - bounds.Top;
    const double radians = angle * kPi / 180;
    placement.stepX = static_cast<int>(std::sin(radians) * s * lineH);
    placement.stepY = static_cast<int>(std::cos(radians) * s * lineH);
    return placement;
}

TPoint KeepBlockInside(TPoint at, int width, int height, int frameWidth, int frameHeight)
{
    return {std::max(0, std::min(at.x, frameWidth - width)), std::max(0, std::min(at.y, frameHeight - height))};
}
