// Rotation by any angle and by quarter turns, reading the source bitmap's rows
// directly; threads split the destination rows.
#include "pipeline/rotation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/parallel_rows.h"

namespace {

struct Turn {
    double c;
    double s;
};

Turn TurnFor(double angle)
{
    const double pi = 3.141592;
    const double radians = pi * angle / 180;
    return {std::cos(radians), std::sin(radians)};
}

// From this many pixels in a side the rotation smooths with the 3 x 3 mean.
constexpr int kSmoothingSide = 1200;

// Rows of a source picture, held in locals so that byte stores elsewhere do
// not force the compiler to reload them for every pixel.
struct SourceRows {
    const std::uint8_t* origin;
    std::ptrdiff_t stride;
    int w;
    int h;
    const std::uint8_t* Row(int y) const { return origin + y * stride; }
};

// 1 2 1 / 2 4 2 / 1 2 1 mean around (x, y); neighbours outside are left out.
void WeightedMean(const SourceRows& src, int x, int y, std::uint8_t* out)
{
    if (x > 0 && y > 0 && x < src.w - 1 && y < src.h - 1) {
        const std::uint8_t* above = src.Row(y - 1) + (x - 1) * 3;
        const std::uint8_t* here = above + src.stride;
        const std::uint8_t* below = here + src.stride;
        for (int ch = 0; ch < 3; ++ch) {
            const unsigned sum = above[ch] + 2u * above[ch + 3] + above[ch + 6]
                + 2u * (here[ch] + 2u * here[ch + 3] + here[ch + 6])
                + below[ch] + 2u * below[ch + 3] + below[ch + 6];
            out[ch] = static_cast<std::uint8_t>(sum / 16);
        }
        return;
    }
    unsigned sum[3] = {0, 0, 0};
    unsigned weights = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        const int sy = y + dy;
        if (sy < 0 || sy >= src.h)
            continue;
        for (int dx = -1; dx <= 1; ++dx) {
            const int sx = x + dx;
            if (sx < 0 || sx >= src.w)
                continue;
            const unsigned weight = (dx == 0 ? 2u : 1u) * (dy == 0 ? 2u : 1u);
            const std::uint8_t* p = src.Row(sy) + sx * 3;
            sum[0] += weight * p[0];
            sum[1] += weight * p[1];
            sum[2] += weight * p[2];
            weights += weight;
        }
    }
    for (int ch = 0; ch < 3; ++ch)
        out[ch] = static_cast<std::uint8_t>(sum[ch] / weights);
}

// Destination (j, i) reads source (colJ*j + colI*i + col0, rowJ*j + rowI*i + row0).
struct QuarterMap {
    int colJ, colI, col0;
    int rowJ, rowI, row0;
};

QuarterMap QuarterMapFor(double angle, int dW, int dH)
{
    if (angle < 0)
        angle += 360;
    if (angle == 90)
        return {0, 1, 0, -1, 0, dW - 1};
    if (angle == 180)
        return {-1, 0, dW - 1, 0, -1, dH - 1};
    if (angle == 270)
        return {0, -1, dH - 1, 1, 0, 0};
    return {1, 0, 0, 0, 1, 0};
}

// Square tiles keep both the rows read and the rows written in cache when
// a quarter turn walks the source down its columns.
constexpr int kTile = 64;

}  // namespace

TPoint RotatePoint(int x, int y, int w, int h, double angle)
{
    const Turn t = TurnFor(angle);
    const int cx = w / 2;
    const int cy = h / 2;
    const double dx = x - cx;
    const double dy = y - cy;
    return {static_cast<int>(std::trunc(dx * t.c - dy * t.s)) + cx,
            static_cast<int>(std::trunc(dx * t.s + dy * t.c)) + cy};
}

TRect RotatedRectBounds(const TRect& r, double angle)
{
    const int w = r.Right - r.Left;
    const int h = r.Bottom - r.Top;
    const TPoint corners[4] = {
        RotatePoint(r.Left, r.Top, w, h, angle),
        RotatePoint(r.Right, r.Top, w, h, angle),
        RotatePoint(r.Left, r.Bottom, w, h, angle),
        RotatePoint(r.Right, r.Bottom, w, h, angle),
    };
    TRect bounds{10000, 10000, -10000, -10000};
    for (const TPoint& p : corners) {
        bounds.Left = std::min(bounds.Left, p.x);
        bounds.Right = std::max(bounds.Right, p.x);
        bounds.Top = std::min(bounds.Top, p.y);
        bounds.Bottom = std::max(bounds.Bottom, p.y);
    }
    return bounds;
}

int RotateByAngle(const TBitmap& source, TBitmap& destination, double angle)
{
    const int w = source.Width();
    const int h = source.Height();
    destination.SetSize(w, h);
    const Turn t = TurnFor(angle);
    const int cx = w / 2;
    const int cy = h / 2;
    const bool smooth = w >= kSmoothingSide || h >= kSmoothingSide;

    // dx*c and dx*s depend only on the column, dy*s and dy*c only on the row:
    // computed once each, they are the very doubles the per-pixel formula
    // u = dx*c - dy*s, v = dx*s + dy*c would produce.
    std::vector<double> columnC(static_cast<std::size_t>(w));
    std::vector<double> columnS(static_cast<std::size_t>(w));
    for (int j = 0; j < w; ++j) {
        const double dx = j - cx;
        columnC[j] = dx * t.c;
        columnS[j] = dx * t.s;
    }

    const SourceRows src{source.ScanLine(0), source.RowStride(), w, h};
    const double* cosX = columnC.data();
    const double* sinX = columnS.data();
    std::uint8_t* const outOrigin = destination.ScanLine(0);
    const std::ptrdiff_t outStride = destination.RowStride();
    ForEachRow(h, std::int64_t{w} * h * (smooth ? 9 : 1), [=](int i) {
        const double dy = h - i - cy;
        const double rowS = dy * t.s;
        const double rowC = dy * t.c;
        std::uint8_t* out = outOrigin + i * outStride;
        for (int j = 0; j < w; ++j, out += 3) {
            const double u = cosX[j] - rowS;
            const double v = sinX[j] + rowC;
            const int sx = static_cast<int>(u) + cx;
            const int sy = h - static_cast<int>(v) - cy;
            if (sx < 0 || sy < 0 || sx >= w || sy >= h) {
                out[0] = out[1] = out[2] = 0;
            } else if (smooth) {
                WeightedMean(src, sx, sy, out);
            } else {
                std::memcpy(out, src.Row(sy) + sx * 3, 3);
            }
        }
    });
    return 0;
}

int RotateQuarterTurns(const TBitmap& source, TBitmap& destination, double angle)
{
    const int sW = source.Width();
    const int sH = source.Height();
    const int dW = destination.Width();
    const int dH = destination.Height();
    const QuarterMap m = QuarterMapFor(angle, dW, dH);
    const int stride = source.RowStride();
    // Bytes the source position moves for one destination column.
    const std::ptrdiff_t stepJ = static_cast<std::ptrdiff_t>(m.colJ) * 3 + static_cast<std::ptrdiff_t>(m.rowJ) * stride;
    const std::uint8_t* origin = source.ScanLine(0);

    const int bands = (dH + kTile - 1) / kTile;
    ForEachRow(bands, std::int64_t{dW} * dH, [&](int band) {
        const int iEnd = std::min(dH, (band + 1) * kTile);
        for (int j0 = 0; j0 < dW; j0 += kTile) {
            const int jEnd = std::min(dW, j0 + kTile);
            for (int i = band * kTile; i < iEnd; ++i) {
                int sx = m.colJ * j0 + m.colI * i + m.col0;
                int sy = m.rowJ * j0 + m.rowI * i + m.row0;
                std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(sy) * stride + static_cast<std::ptrdiff_t>(sx) * 3;
                std::uint8_t* out = destination.ScanLine(i) + j0 * 3;
                // Positions are never negative; only a destination larger than
                // the turned source reaches past its right or bottom edge.
                for (int j = j0; j < jEnd; ++j, out += 3, offset += stepJ, sx += m.colJ, sy += m.rowJ) {
                    if (sx < sW && sy < sH)
                        std::memcpy(out, origin + offset, 3);
                    else
                        out[0] = out[1] = out[2] = 0;
                }
            }
        }
    });
    return 0;
}
