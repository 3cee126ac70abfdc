// Rotation by any angle and by quarter turns, reading the source bitmap's rows
// directly; threads split the destination rows.
#include "pipeline/rotation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/axis_swap.h"
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

// Where the canvas' pixels are read from: the pixels of area (canvas
// coordinates) from rows of a picture, the rest of the canvas is background,
// and beyond the canvas is black.
struct Lookup {
    const std::uint8_t* origin;
    std::ptrdiff_t stride;
    TRect area;

    bool Inside(int x, int y) const
    {
        return static_cast<unsigned>(x - area.Left) < static_cast<unsigned>(area.Width()) &&
               static_cast<unsigned>(y - area.Top) < static_cast<unsigned>(area.Height());
    }
    const std::uint8_t* At(int x, int y) const
    {
        return origin + static_cast<std::ptrdiff_t>(y - area.Top) * stride + (x - area.Left) * 3;
    }
    void Copy(int x, int y, int w, int h, const std::uint8_t* background, std::uint8_t* out) const
    {
        if (Inside(x, y)) {
            std::memcpy(out, At(x, y), 3);
        } else if (static_cast<unsigned>(x) < static_cast<unsigned>(w) && static_cast<unsigned>(y) < static_cast<unsigned>(h)) {
            std::memcpy(out, background, 3);
        } else {
            out[0] = out[1] = out[2] = 0;
        }
    }
};

void FillPixels(std::uint8_t* out, int count, const std::uint8_t* colour)
{
    for (int k = 0; k < count; ++k, out += 3)
        std::memcpy(out, colour, 3);
}

TRect Intersect(const TRect& a, const TRect& b)
{
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    return r.Right > r.Left && r.Bottom > r.Top ? r : TRect{0, 0, 0, 0};
}

// The picture's pixels on the canvas, read where they are.
Lookup PlainLookup(const PlacedPicture& placed)
{
    const TBitmap& p = *placed.picture;
    const TRect area = Intersect({placed.left, placed.top, placed.left + p.Width(), placed.top + p.Height()},
                                 {0, 0, placed.canvasW, placed.canvasH});
    if (area.Width() == 0)
        return {nullptr, 0, area};
    return {p.ScanLine(area.Top - placed.top) + (area.Left - placed.left) * 3, p.RowStride(), area};
}

// The canvas smoothed with the 1 2 1 / 2 4 2 / 1 2 1 mean (neighbours beyond
// the canvas left out with their weights), as two passes of 1 2 1: each
// weight is a product of a column and a row weight, so the sums and the
// weight totals are those of the 3 x 3 mean. Away from the picture the
// canvas is background, whose mean is itself, so only the picture and a ring
// of one pixel around it (the smoothed area) need smoothing.
struct Smoothing {
    const PlacedPicture& placed;
    TRect picture;  // the picture's part of the canvas
    TRect area;     // that part and its ring

    static Smoothing Of(const PlacedPicture& placed)
    {
        const TBitmap& p = *placed.picture;
        const int w = placed.canvasW;
        const int h = placed.canvasH;
        const TRect picture = Intersect({placed.left, placed.top, placed.left + p.Width(), placed.top + p.Height()},
                                        {0, 0, w, h});
        const TRect area = picture.Width() == 0 ? picture
                                                : Intersect({picture.Left - 1, picture.Top - 1, picture.Right + 1,
                                                             picture.Bottom + 1},
                                                            {0, 0, w, h});
        return {placed, picture, area};
    }

    // The smoothed pixels of box (inside the canvas) into rows of stride
    // bytes from out, keeping the 1 2 1 sums of three canvas rows in scratch.
    void Box(const TRect& box, std::uint8_t* out0, std::ptrdiff_t stride, std::vector<std::uint8_t>& line,
             std::vector<std::uint16_t>& sums) const
    {
        const TBitmap& p = *placed.picture;
        const int w = placed.canvasW;
        const int h = placed.canvasH;
        const int bw = box.Width();
        const std::size_t rowValues = static_cast<std::size_t>(bw) * 3;
        // line: canvas columns box.Left - 1 .. box.Right, zero beyond the canvas.
        line.resize((static_cast<std::size_t>(bw) + 2) * 3);
        sums.resize(rowValues * 3);
        const std::uint8_t background[3] = {static_cast<std::uint8_t>(GetBValue(placed.background)),
                                            static_cast<std::uint8_t>(GetGValue(placed.background)),
                                            static_cast<std::uint8_t>(GetRValue(placed.background))};
        const auto rowSums = [&](int y, std::uint16_t* into) {
            if (y < 0 || y >= h) {
                std::fill(into, into + rowValues, std::uint16_t{0});
                return;
            }
            // The canvas row in runs: nothing beyond the canvas, background,
            // the picture's pixels (on its rows), background.
            const bool pictureRow = y >= picture.Top && y < picture.Bottom;
            const int left = box.Left - 1;
            const int right = box.Right + 1;
            const auto run = [&](int from, int to) { return std::max(std::min(to, right) - std::max(from, left), 0); };
            std::uint8_t* l = line.data();
            const auto zeros = [&](int n) {
                std::memset(l, 0, static_cast<std::size_t>(n) * 3);
                l += n * 3;
            };
            const auto blank = [&](int n) {
                FillPixels(l, n, background);
                l += n * 3;
            };
            zeros(run(left, 0));
            if (pictureRow) {
                blank(run(0, picture.Left));
                const int n = run(picture.Left, picture.Right);
                if (n > 0) {
                    const int first = std::max(picture.Left, left);
                    std::memcpy(l, p.ScanLine(y - placed.top) + (first - placed.left) * 3,
                                static_cast<std::size_t>(n) * 3);
                    l += n * 3;
                }
                blank(run(picture.Right, w));
            } else {
                blank(run(0, w));
            }
            zeros(run(w, right));
            const std::uint8_t* c = line.data();
            for (std::size_t v = 0; v < rowValues; ++v)
                into[v] = static_cast<std::uint16_t>(c[v] + 2 * c[v + 3] + c[v + 6]);
        };
        const auto weightOf = [](int at, int size) { return 4 - (at == 0) - (at == size - 1); };
        std::uint16_t* above = sums.data();
        std::uint16_t* here = above + rowValues;
        std::uint16_t* below = here + rowValues;
        rowSums(box.Top - 1, above);
        rowSums(box.Top, here);
        // Columns at the canvas' left and right edges have other weights.
        const int inFrom = box.Left == 0 ? 1 : 0;
        const int inTo = std::max(box.Right == w ? bw - 1 : bw, inFrom);
        for (int y = box.Top; y < box.Bottom; ++y) {
            rowSums(y + 1, below);
            std::uint8_t* out = out0 + static_cast<std::ptrdiff_t>(y - box.Top) * stride;
            const int wy = weightOf(y, h);
            const auto columns = [&](int a0, int a1, unsigned weights) {
                for (std::size_t v = static_cast<std::size_t>(a0) * 3; v < static_cast<std::size_t>(a1) * 3; ++v) {
                    const unsigned sum = above[v] + 2u * here[v] + below[v];
                    out[v] = static_cast<std::uint8_t>(sum / weights);
                }
            };
            if (wy == 4) {
                // Inside: the weights total 16; sums of at most 4080 fit 16 bits.
                for (std::size_t v = static_cast<std::size_t>(inFrom) * 3; v < static_cast<std::size_t>(inTo) * 3; ++v)
                    out[v] = static_cast<std::uint8_t>(
                        static_cast<std::uint16_t>(above[v] + 2 * here[v] + below[v]) >> 4);
            } else {
                columns(inFrom, inTo, static_cast<unsigned>(4 * wy));
            }
            if (inFrom == 1)
                columns(0, 1, static_cast<unsigned>(weightOf(box.Left, w) * wy));
            if (inTo < bw)
                columns(inTo, bw, static_cast<unsigned>(weightOf(box.Right - 1, w) * wy));
            std::uint16_t* oldest = above;
            above = here;
            here = below;
            below = oldest;
        }
    }
};

// The whole smoothed area into smoothing, in bands of rows; empty when poll
// stopped it.
std::optional<Lookup> SmoothedLookup(const Smoothing& smoothed, TBitmap& smoothing, const std::function<bool()>& poll)
{
    const TRect& area = smoothed.area;
    if (area.Width() == 0)
        return Lookup{nullptr, 0, area};
    const int aw = area.Width();
    const int ah = area.Height();
    smoothing.SetSize(aw, ah);
    constexpr int kBand = 32;
    const int bands = (ah + kBand - 1) / kBand;
    const bool done = ForEachRowUntil(bands, std::int64_t{aw} * ah * 3, [&](int band) {
        std::vector<std::uint8_t> line;
        std::vector<std::uint16_t> sums;
        const int from = band * kBand;
        const TRect box{area.Left, area.Top + from, area.Right, area.Top + std::min(ah, from + kBand)};
        smoothed.Box(box, smoothing.ScanLine(from), smoothing.RowStride(), line, sums);
    }, poll);
    if (!done)
        return std::nullopt;
    return Lookup{smoothing.ScanLine(0), smoothing.RowStride(), area};
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
    TBitmap smoothing;
    RotateWindowByAngle({&source, 0, 0, w, h, clBlack}, angle, {0, 0, w, h}, destination, smoothing);
    return 0;
}

bool RotateWindowByAngle(const PlacedPicture& placed, double angle, const TRect& window, TBitmap& destination,
                         TBitmap& smoothing, WorkControl* control)
{
    const int w = placed.canvasW;
    const int h = placed.canvasH;
    const int outW = std::max(window.Width(), 0);
    const int outH = std::max(window.Height(), 0);
    destination.SetSize(outW, outH);
    if (outW == 0 || outH == 0)
        return true;
    const Turn t = TurnFor(angle);
    const int cx = w / 2;
    const int cy = h / 2;
    const bool smooth = w >= kSmoothingSide || h >= kSmoothingSide;
    const std::function<bool()> poll = PollOf(control);
    // Bands of rows walked in tiles of a band's rows by a run of columns:
    // the source pixels one tile reads lie close together, so they stay in
    // cache from one row of the tile to the next.
    constexpr int kBand = 64;
    constexpr int kRun = 256;
    // Turned by a small angle, a tile reads a box of the canvas not much
    // larger than itself: each tile smooths its own box, in cache, rather
    // than the whole picture being smoothed, written out and read back.
    // Steeper angles make the boxes overlap too much for that.
    const Smoothing smoothed = Smoothing::Of(placed);
    const double ac = std::abs(t.c);
    const double as = std::abs(t.s);
    const bool smoothPerTile =
        smooth && (kRun * ac + kBand * as + 3) * (kBand * ac + kRun * as + 3) <= 2.0 * kRun * kBand;
    std::optional<Lookup> whole;
    if (!smooth)
        whole = PlainLookup(placed);
    else if (!smoothPerTile && !(whole = SmoothedLookup(smoothed, smoothing, poll)))
        return false;
    const std::uint8_t background[3] = {static_cast<std::uint8_t>(GetBValue(placed.background)),
                                        static_cast<std::uint8_t>(GetGValue(placed.background)),
                                        static_cast<std::uint8_t>(GetRValue(placed.background))};

    // dx*c and dx*s depend only on the column, dy*s and dy*c only on the row:
    // computed once each, they are the very doubles the per-pixel formula
    // u = dx*c - dy*s, v = dx*s + dy*c would produce.
    std::vector<double> columnC(static_cast<std::size_t>(outW));
    std::vector<double> columnS(static_cast<std::size_t>(outW));
    for (int k = 0; k < outW; ++k) {
        const double dx = window.Left + k - cx;
        columnC[k] = dx * t.c;
        columnS[k] = dx * t.s;
    }
    const double* cosX = columnC.data();
    const double* sinX = columnS.data();
    const auto sourceColumn = [&](int j, double rowS) { return static_cast<int>(cosX[j] - rowS) + cx; };
    const auto sourceRow = [&](int j, double rowC) { return h - static_cast<int>(sinX[j] + rowC) - cy; };
    // The window's columns inside the canvas; the rest is background.
    const int inFrom = std::clamp(-window.Left, 0, outW);
    const int inTo = std::clamp(w - window.Left, inFrom, outW);
    const int bands = (outH + kBand - 1) / kBand;
    return ForEachRowUntil(bands, std::int64_t{outW} * outH * 2, [&](int band) {
        const int kFrom = band * kBand;
        const int kTo = std::min(outH, kFrom + kBand);
        for (int k = kFrom; k < kTo; ++k) {
            std::uint8_t* out = destination.ScanLine(k);
            const int i = window.Top + k;
            if (i < 0 || i >= h) {
                FillPixels(out, outW, background);
                continue;
            }
            FillPixels(out, inFrom, background);
            FillPixels(out + inTo * 3, outW - inTo, background);
        }
        const int iFrom = std::max(window.Top + kFrom, 0);
        const int iTo = std::min(window.Top + kTo, h);
        std::vector<std::uint8_t> tile, line;
        std::vector<std::uint16_t> sums;
        // The source positions of a run of pixels first, then their pixels:
        // the first loop is plain arithmetic the compiler does several
        // pixels at a time.
        int sx[kRun];
        int sy[kRun];
        for (int j0 = inFrom; j0 < inTo && iFrom < iTo; j0 += kRun) {
            const int n = std::min(kRun, inTo - j0);
            Lookup lookup = whole ? *whole : Lookup{nullptr, 0, {0, 0, 0, 0}};
            if (!whole) {
                // Positions move one way along a row and along a column, so
                // the tile's corners bound what it reads.
                int x0 = INT_MAX, x1 = INT_MIN, y0 = INT_MAX, y1 = INT_MIN;
                for (const int i : {iFrom, iTo - 1}) {
                    const double dy = h - i - cy;
                    for (const int j : {j0, j0 + n - 1}) {
                        const int x = sourceColumn(j, dy * t.s);
                        const int y = sourceRow(j, dy * t.c);
                        x0 = std::min(x0, x);
                        x1 = std::max(x1, x);
                        y0 = std::min(y0, y);
                        y1 = std::max(y1, y);
                    }
                }
                const TRect box = Intersect({x0, y0, x1 + 1, y1 + 1}, smoothed.area);
                if (box.Width() > 0) {
                    tile.resize(static_cast<std::size_t>(box.Width()) * box.Height() * 3);
                    smoothed.Box(box, tile.data(), box.Width() * 3, line, sums);
                    lookup = {tile.data(), box.Width() * 3, box};
                }
            }
            for (int i = iFrom; i < iTo; ++i) {
                const double dy = h - i - cy;
                const double rowS = dy * t.s;
                const double rowC = dy * t.c;
                for (int q = 0; q < n; ++q) {
                    sx[q] = sourceColumn(j0 + q, rowS);
                    sy[q] = sourceRow(j0 + q, rowC);
                }
                // Each of the four bounds holds on a prefix or a suffix of the
                // run (positions move one way along a row), so the pixels read
                // from the area form one stretch, copied without the tests.
                int a = 0;
                int b = n;
                while (a < b && !lookup.Inside(sx[a], sy[a]))
                    ++a;
                while (b > a && !lookup.Inside(sx[b - 1], sy[b - 1]))
                    --b;
                std::uint8_t* px = destination.ScanLine(i - window.Top) + j0 * 3;
                for (int q = 0; q < a; ++q)
                    lookup.Copy(sx[q], sy[q], w, h, background, px + q * 3);
                for (int q = a; q < b; ++q)
                    std::memcpy(px + q * 3, lookup.At(sx[q], sy[q]), 3);
                for (int q = b; q < n; ++q)
                    lookup.Copy(sx[q], sy[q], w, h, background, px + q * 3);
            }
        }
    }, poll);
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

    // The usual turn, into a destination of the turned source's size.
    if (m.colJ == 0 && m.rowI == 0 && dW <= sH && dH <= sW) {
        GatherSwappedAxes(source, destination, m.colI, m.col0, m.rowJ, m.row0);
        return 0;
    }
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
