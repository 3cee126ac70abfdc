// Separable box filter in integers. Along an axis of s source and d target
// pixels, target pixel t covers [t*s, (t+1)*s) and source pixel k covers
// [k*d, (k+1)*d), both in units of 1/d source pixel; the overlaps are the
// weights, which sum to s. Growing axes use one source pixel of weight 1.
// The keyed stretch sums the weights of the ink pixels instead of colours.
#include "platform/stretch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/exact_division.h"
#include "platform/parallel_rows.h"
#include "platform/row_weighing.h"

namespace {

struct AxisWeights {
    std::vector<int> first;          // first source pixel of each target pixel
    std::vector<int> count;          // number of source pixels it covers
    std::vector<int> offset;         // index of its first weight in weights
    std::vector<std::uint32_t> weights;
    std::uint32_t total = 1;         // sum of the weights of every target pixel
    std::uint32_t perPixel = 1;      // the weight of a whole source pixel
};

// Weights for target pixels [from, to) of an axis of s source and d target
// pixels.
AxisWeights WeighAxis(int s, int d, int from, int to)
{
    AxisWeights axis;
    const auto n = static_cast<std::size_t>(to - from);
    axis.first.reserve(n);
    axis.count.reserve(n);
    axis.offset.reserve(n);
    if (d >= s) {
        for (int t = from; t < to; ++t) {
            // Centre of the target pixel, mapped back.
            axis.first.push_back(static_cast<int>((2 * std::int64_t{t} + 1) * s / (2 * std::int64_t{d})));
            axis.count.push_back(1);
            axis.offset.push_back(static_cast<int>(axis.weights.size()));
            axis.weights.push_back(1);
        }
        return axis;
    }
    axis.total = static_cast<std::uint32_t>(s);
    axis.perPixel = static_cast<std::uint32_t>(d);
    for (int t = from; t < to; ++t) {
        const std::int64_t start = std::int64_t{t} * s;
        const std::int64_t end = start + s;
        const int k0 = static_cast<int>(start / d);
        const int k1 = static_cast<int>((end - 1) / d);
        axis.first.push_back(k0);
        axis.count.push_back(k1 - k0 + 1);
        axis.offset.push_back(static_cast<int>(axis.weights.size()));
        for (int k = k0; k <= k1; ++k) {
            const std::int64_t overlap = std::min(std::int64_t{k + 1} * d, end) - std::max(std::int64_t{k} * d, start);
            axis.weights.push_back(static_cast<std::uint32_t>(overlap));
        }
    }
    return axis;
}

// The visible part of dest on target, in dest's own coordinates, and the
// weights of its columns and rows.
struct StretchPlan {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    AxisWeights columns, rows;
    // Every visible target pixel, and the source area they cover.
    std::int64_t visible = 0, covered = 0;
};

bool PlanStretch(const TBitmap& source, const TBitmap& target, const TRect& dest, StretchPlan& plan)
{
    const int sW = source.Width();
    const int sH = source.Height();
    const int dW = dest.Right - dest.Left;
    const int dH = dest.Bottom - dest.Top;
    if (sW <= 0 || sH <= 0 || dW <= 0 || dH <= 0)
        return false;
    plan.x0 = std::max(0, -dest.Left);
    plan.x1 = std::min(dW, target.Width() - dest.Left);
    plan.y0 = std::max(0, -dest.Top);
    plan.y1 = std::min(dH, target.Height() - dest.Top);
    if (plan.x0 >= plan.x1 || plan.y0 >= plan.y1)
        return false;
    plan.columns = WeighAxis(sW, dW, plan.x0, plan.x1);
    plan.rows = WeighAxis(sH, dH, plan.y0, plan.y1);
    const int outW = plan.x1 - plan.x0;
    plan.visible = std::int64_t{outW} * (plan.y1 - plan.y0);
    plan.covered = std::int64_t{sW} * sH * outW / dW * (plan.y1 - plan.y0) / dH;
    return true;
}

}  // namespace

bool StretchBitmap(const TBitmap& source, TBitmap& target, const TRect& dest, const std::function<bool()>& poll)
{
    StretchPlan plan;
    if (!PlanStretch(source, target, dest, plan))
        return true;
    const AxisWeights& columns = plan.columns;
    const AxisWeights& rows = plan.rows;
    const int x0 = plan.x0;
    const int y0 = plan.y0;
    const int outW = plan.x1 - x0;
    if (columns.total == 1 && rows.total == 1) {
        // Growing both ways: every target pixel is one source pixel.
        return ForEachRowUntil(plan.y1 - y0, plan.visible, [&](int r) {
            const std::uint8_t* line = source.ScanLine(rows.first[r]);
            std::uint8_t* out = target.ScanLine(dest.Top + y0 + r) + (dest.Left + x0) * 3;
            for (int c = 0; c < outW; ++c, out += 3)
                std::memcpy(out, line + columns.first[c] * 3, 3);
        }, poll);
    }
    const std::uint64_t total = std::uint64_t{columns.total} * rows.total;
    // Only the source columns the visible target columns read are weighed.
    const int c0 = columns.first.front();
    const int c1 = columns.first.back() + columns.count.back();
    const std::size_t values = static_cast<std::size_t>(c1 - c0) * 3;
    // A rounded mean is (sum + total / 2) / total; with a reciprocal when
    // that sum, at most total * 256, times total stays below 2^64.
    const bool exactByReciprocal = total < (std::uint64_t{1} << 28);
    const Reciprocal perBlock(total);
    const int outRows = plan.y1 - y0;
    const int bandRows = RowsPerBand(outRows);
    return ForEachRowUntil((outRows + bandRows - 1) / bandRows, plan.visible + plan.covered, [&](int band) {
        // Weighed along y over whole source rows first (a column's sum is at
        // most sH * 255, 32 bits for any real picture), then along x per
        // target pixel (at most total * 255, 64 bits): the same integer sums
        // as pixel by pixel, in loops the compiler does many values at a time.
        std::vector<std::uint32_t> column(values);
        const int last = std::min(outRows, (band + 1) * bandRows);
        for (int r = band * bandRows; r < last; ++r) {
            WeighRows(source, rows.first[r], rows.count[r], rows.weights.data() + rows.offset[r], c0, values,
                      column.data());
            std::uint8_t* out = target.ScanLine(dest.Top + y0 + r) + (dest.Left + x0) * 3;
            for (int c = 0; c < outW; ++c, out += 3) {
                const std::uint32_t* p = column.data() + static_cast<std::size_t>(columns.first[c] - c0) * 3;
                const std::uint32_t* wx = columns.weights.data() + columns.offset[c];
                std::uint64_t b = 0, g = 0, rr = 0;
                for (int i = 0; i < columns.count[c]; ++i, p += 3) {
                    b += std::uint64_t{wx[i]} * p[0];
                    g += std::uint64_t{wx[i]} * p[1];
                    rr += std::uint64_t{wx[i]} * p[2];
                }
                const auto mean = [&](std::uint64_t sum) {
                    sum += total / 2;
                    return static_cast<std::uint8_t>(exactByReciprocal ? perBlock.Divide(sum) : sum / total);
                };
                out[0] = mean(b);
                out[1] = mean(g);
                out[2] = mean(rr);
            }
        }
    }, poll);
}

void StretchKeyedBitmap(const TBitmap& source, TBitmap& target, const TRect& dest, TColor key)
{
    StretchPlan plan;
    if (!PlanStretch(source, target, dest, plan))
        return;
    const AxisWeights& columns = plan.columns;
    const AxisWeights& rows = plan.rows;
    const int outW = plan.x1 - plan.x0;
    const TColor rgb = ColorToRGB(key);
    const std::uint8_t keyBytes[3] = {static_cast<std::uint8_t>(GetBValue(rgb)),
                                      static_cast<std::uint8_t>(GetGValue(rgb)),
                                      static_cast<std::uint8_t>(GetRValue(rgb))};
    // Half a one-pixel line across the shorter side of a target pixel's area,
    // doubled, in the units of a column weight times a row weight.
    const std::uint64_t needed = std::min(std::uint64_t{columns.total} * rows.perPixel,
                                          std::uint64_t{rows.total} * columns.perPixel);
    ForEachRow(plan.y1 - plan.y0, plan.visible + plan.covered, [&](int r) {
        // The ink of each target pixel's area and its heaviest ink pixel.
        std::vector<std::uint64_t> ink(static_cast<std::size_t>(outW), 0);
        std::vector<std::uint64_t> heaviest(static_cast<std::size_t>(outW), 0);
        std::vector<const std::uint8_t*> colour(static_cast<std::size_t>(outW), nullptr);
        const std::uint32_t* wy = rows.weights.data() + rows.offset[r];
        for (int j = 0; j < rows.count[r]; ++j) {
            const std::uint8_t* sourceLine = source.ScanLine(rows.first[r] + j);
            for (int c = 0; c < outW; ++c) {
                const std::uint8_t* p = sourceLine + columns.first[c] * 3;
                const std::uint32_t* wx = columns.weights.data() + columns.offset[c];
                for (int i = 0; i < columns.count[c]; ++i, p += 3) {
                    if (p[0] == keyBytes[0] && p[1] == keyBytes[1] && p[2] == keyBytes[2])
                        continue;
                    const std::uint64_t w = std::uint64_t{wy[j]} * wx[i];
                    ink[c] += w;
                    if (w > heaviest[c]) {
                        heaviest[c] = w;
                        colour[c] = p;
                    }
                }
            }
        }
        std::uint8_t* out = target.ScanLine(dest.Top + plan.y0 + r) + (dest.Left + plan.x0) * 3;
        for (int c = 0; c < outW; ++c, out += 3)
            std::memcpy(out, ink[c] > 0 && 2 * ink[c] >= needed ? colour[c] : keyBytes, 3);
    });
}
