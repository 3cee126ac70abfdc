// High-quality reduction. The first pass reads the bitmap's rows directly and
// writes the plane; the bitmap is resized only after it, so nothing is copied
// beforehand. Weight lists depend on one axis only and are built once per call.
#include "pipeline/area_reduction.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/parallel_rows.h"

namespace {

constexpr int kLargestSide = 4800;

std::string SizeText(int w, int h)
{
    return "(幅 " + std::to_string(w) + "  高さ" + std::to_string(h) + ")";
}

std::string LargestSideText()
{
    return "\n最大サイズは幅　" + std::to_string(kLargestSide) + "px　高さ" + std::to_string(kLargestSide) + "pxです。";
}

// The source cells one target column (or row) covers along one axis, with
// their weights in hundredths of a cell.
struct Cover {
    int first = 0;
    int count = 0;
    int weights = 0;  // index of the first weight in the axis' weight list
    std::uint32_t weightSum = 0;
};

struct AxisCover {
    std::vector<Cover> covers;
    std::vector<std::uint32_t> weights;
};

// Extent of target cell k in hundredths: start k*s*100/t, inclusive end
// (k*100 + 100)*s/t - 1, which drops one hundredth at the far side. 64-bit
// products: k*s*100 passes 2^31 for the largest pictures.
AxisCover CoverAxis(int source, int target)
{
    AxisCover axis;
    axis.covers.resize(static_cast<std::size_t>(target));
    for (int k = 0; k < target; ++k) {
        const auto startH = static_cast<int>(std::int64_t{k} * source * 100 / target);
        const auto endH = static_cast<int>((std::int64_t{k} * 100 + 100) * source / target - 1);
        // endH < 100 * source, so the last cell is always inside the picture.
        const int first = startH / 100;
        const int last = endH / 100;
        Cover& cover = axis.covers[k];
        cover.first = first;
        cover.count = last - first + 1;
        cover.weights = static_cast<int>(axis.weights.size());
        if (last > first) {
            axis.weights.push_back(static_cast<std::uint32_t>((first + 1) * 100 - startH));
            for (int i = first + 1; i < last; ++i)
                axis.weights.push_back(100);
        }
        axis.weights.push_back(static_cast<std::uint32_t>(endH - last * 100));
        for (int i = 0; i < cover.count; ++i)
            cover.weightSum += axis.weights[cover.weights + i];
    }
    return axis;
}

int Luminance(int r, int g, int b)
{
    return (77 * r + 151 * g + 28 * b) / 255;
}

// One source row weighted along x: per target column, the sums of blue,
// green and red over its cover.
void WeighSourceRow(const std::uint8_t* line, const AxisCover& columns, std::uint32_t* sums)
{
    for (const Cover& cover : columns.covers) {
        const std::uint8_t* p = line + cover.first * 3;
        const std::uint32_t* w = columns.weights.data() + cover.weights;
        std::uint32_t b = 0, g = 0, r = 0;
        for (int i = 0; i < cover.count; ++i, p += 3) {
            b += w[i] * p[0];
            g += w[i] * p[1];
            r += w[i] * p[2];
        }
        sums[0] = b;
        sums[1] = g;
        sums[2] = r;
        sums += 3;
    }
}

// Runs pixelFn(x, y) over a w x h target, work being the source pixels read.
// A single thread checks the abort before every pixel; split across threads,
// the workers stop before their next row once the calling thread, pumping
// every ~20 ms, has seen the abort. Returns false when aborted.
template <typename PixelFn>
bool ForEachTargetPixel(int w, int h, std::int64_t work, WorkControl& control, const PixelFn& pixelFn)
{
    if (!SplitsRows(h, work)) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (control.ShouldAbort())
                    return false;
                pixelFn(x, y);
            }
        }
        return true;
    }
    if (control.ShouldAbort())
        return false;
    return ForEachRowPolled(
        h, work,
        [&](int y) {
            for (int x = 0; x < w; ++x)
                pixelFn(x, y);
        },
        [&] {
            control.PumpNow();
            return control.AbortSet();
        });
}

}  // namespace

int ShrinkHighQuality(TBitmap& bitmap, int targetW, int targetH, bool sharpen, PixelPlane& workPlane,
                      WorkControl& control, std::string& message)
{
    return ShrinkHighQualityInto(bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, bitmap, targetW, targetH, sharpen,
                                 workPlane, control, message);
}

int ShrinkHighQualityInto(const TBitmap& picture, const TRect& window, TBitmap& bitmap, int targetW, int targetH,
                          bool sharpen, PixelPlane& workPlane, WorkControl& control, std::string& message)
{
    message.clear();
    const int sW = window.Width();
    const int sH = window.Height();
    const int tW = targetW;
    const int tH = targetH;
    // Empty pictures would divide by zero in the aspect test below.
    if (sW <= 0 || sH <= 0) {
        message = "拡大なので高画質圧縮を中断しました。";
        return -15;
    }
    if (tW <= 0 || tH <= 0) {
        message = "縮小率が大きすぎるので高画質圧縮を中断しました。最大1/100です。";
        return -14;
    }
    if (std::abs(sW * 100 / sH - tW * 100 / tH) > 3) {
        message = "比率が違うので高画質圧縮を中断しました。" + SizeText(tW, tH);
        return -10;
    }
    if (sW == tW && sH == tH) {
        message = "画像サイズが同じなので高画質圧縮を中断しました。" + SizeText(tW, tH);
        if (&picture != &bitmap) {
            bitmap.SetSize(tW, tH);
            for (int y = 0; y < tH; ++y)
                std::memcpy(bitmap.ScanLine(y), picture.ScanLine(window.Top + y) + window.Left * 3,
                            static_cast<std::size_t>(tW) * 3);
        }
        return 0;
    }
    if (sW > kLargestSide || sH > kLargestSide) {
        message = "元画像が大きすぎるので高画質圧縮を中断しました。" + SizeText(sW, sH) + LargestSideText();
        return -12;
    }
    if (tW > kLargestSide || tH > kLargestSide) {
        message = "縮小後画像が大きすぎるので高画質圧縮を中断しました。" + SizeText(tW, tH) + LargestSideText();
        return -13;
    }
    if (tW * 100 < sW || tH * 100 < sH) {
        message = "縮小率が大きすぎるので高画質圧縮を中断しました。最大1/100です。";
        return -14;
    }
    if (sW <= tW || sH <= tH) {
        message = "拡大なので高画質圧縮を中断しました。";
        return -15;
    }

    // First pass: area-weighted mean of the covered source cells, weighed
    // along x once per source row and then along y per target row (integer
    // sums, so the same means as cell by cell). A row's sum for one target
    // column is at most 101 cells of weight 100 times 255 (32 bits); the
    // block's needs 64.
    const AxisCover columns = CoverAxis(sW, tW);
    const AxisCover rows = CoverAxis(sH, tH);
    workPlane.Resize(tW, tH);
    const std::size_t sumCount = static_cast<std::size_t>(tW) * 3;
    // Target rows [from, to) in order; rows of source sums shared by two
    // target rows are weighed once. pixelDone is called before each target
    // pixel is written and may stop the work (false).
    const auto reduceRows = [&](int from, int to, const auto& pixelDone) {
        std::vector<std::vector<std::uint32_t>> weighed;
        std::vector<int> weighedRows;
        std::vector<std::uint64_t> block(static_cast<std::size_t>(tW) * 3);
        for (int ty = from; ty < to; ++ty) {
            const Cover& cy = rows.covers[static_cast<std::size_t>(ty)];
            std::vector<std::vector<std::uint32_t>> next(static_cast<std::size_t>(cy.count));
            for (int j = 0; j < cy.count; ++j) {
                const int sy = cy.first + j;
                auto& sums = next[static_cast<std::size_t>(j)];
                if (!weighedRows.empty() && weighedRows.back() == sy) {
                    sums = std::move(weighed.back());
                } else {
                    sums.resize(sumCount);
                    WeighSourceRow(picture.ScanLine(window.Top + sy) + window.Left * 3, columns, sums.data());
                }
            }
            weighed = std::move(next);
            weighedRows.clear();
            for (int j = 0; j < cy.count; ++j)
                weighedRows.push_back(cy.first + j);
            std::fill(block.begin(), block.end(), std::uint64_t{0});
            const std::uint32_t* wy = rows.weights.data() + cy.weights;
            for (int j = 0; j < cy.count; ++j) {
                const std::uint32_t* sums = weighed[static_cast<std::size_t>(j)].data();
                for (std::size_t i = 0; i < block.size(); ++i)
                    block[i] += std::uint64_t{wy[j]} * sums[i];
            }
            std::uint32_t* out = workPlane.Row(ty);
            for (int tx = 0; tx < tW; ++tx) {
                if (!pixelDone())
                    return false;
                // A weighted mean of bytes is itself at most 255.
                const std::uint64_t weightSum
                    = std::uint64_t{columns.covers[static_cast<std::size_t>(tx)].weightSum} * cy.weightSum;
                const std::uint64_t* sum = block.data() + static_cast<std::size_t>(tx) * 3;
                out[tx] = static_cast<std::uint32_t>(sum[2] / weightSum) << 16
                    | static_cast<std::uint32_t>(sum[1] / weightSum) << 8 | static_cast<std::uint32_t>(sum[0] / weightSum);
            }
        }
        return true;
    };
    bool reduced = true;
    const std::int64_t work = std::int64_t{sW} * sH;
    if (!SplitsRows(tH, work)) {
        reduced = reduceRows(0, tH, [&] { return !control.ShouldAbort(); });
    } else if (control.ShouldAbort()) {
        reduced = false;
    } else {
        // Bands of target rows, a few per thread, each weighed in order.
        const int bands = std::min(tH, WorkerThreadCount() * 4);
        reduced = ForEachRowPolled(
            bands, work,
            [&](int band) { reduceRows(tH * band / bands, tH * (band + 1) / bands, [] { return true; }); },
            [&] {
                control.PumpNow();
                return control.AbortSet();
            });
    }
    if (!reduced)
        return -2;

    bitmap.SetSize(tW, tH);
    bitmap.Fill(clWhite);
    control.PumpNow();

    // Second pass: border pixels as they are; inside, the colour scaled to the
    // target luminance, which is the pixel's own unless sharpening pushes it
    // away from the 1 2 1 / 2 8 2 / 1 2 1 mean of its neighbourhood.
    const PixelPlane& plane = workPlane;
    const bool finished = ForEachTargetPixel(tW, tH, std::int64_t{tW} * tH * (sharpen ? 9 : 1), control, [&](int tx, int ty) {
        const std::uint32_t centre = plane.At(tx, ty);
        std::uint8_t* out = bitmap.ScanLine(ty) + tx * 3;
        const int r0 = static_cast<int>(centre >> 16 & 0xFF);
        const int g0 = static_cast<int>(centre >> 8 & 0xFF);
        const int b0 = static_cast<int>(centre & 0xFF);
        const bool border = tx == 0 || ty == 0 || tx == tW - 1 || ty == tH - 1;
        if (border) {
            out[0] = static_cast<std::uint8_t>(b0);
            out[1] = static_cast<std::uint8_t>(g0);
            out[2] = static_cast<std::uint8_t>(r0);
            return;
        }
        const int l0 = Luminance(r0, g0, b0);
        if (l0 == 0) {
            out[0] = out[1] = out[2] = 0;
            return;
        }
        if (!sharpen) {
            // The target luminance is the pixel's own: c * l0 / l0 is c.
            out[0] = static_cast<std::uint8_t>(b0);
            out[1] = static_cast<std::uint8_t>(g0);
            out[2] = static_cast<std::uint8_t>(r0);
            return;
        }
        static constexpr int kernel[3][3] = {{1, 2, 1}, {2, 8, 2}, {1, 2, 1}};
        int sumR = 0, sumG = 0, sumB = 0;
        for (int j = 0; j < 3; ++j) {
            const std::uint32_t* row = plane.Row(ty - 1 + j) + tx - 1;
            for (int i = 0; i < 3; ++i) {
                const int k = kernel[j][i];
                sumR += k * static_cast<int>(row[i] >> 16 & 0xFF);
                sumG += k * static_cast<int>(row[i] >> 8 & 0xFF);
                sumB += k * static_cast<int>(row[i] & 0xFF);
            }
        }
        // Sharpening pushes the luminance away from the neighbourhood's mean.
        const int l = Luminance(sumR / 20, sumG / 20, sumB / 20);
        const int target = l0 - (l - l0) / 2;
        out[0] = static_cast<std::uint8_t>(std::clamp(b0 * target / l0, 0, 255));
        out[1] = static_cast<std::uint8_t>(std::clamp(g0 * target / l0, 0, 255));
        out[2] = static_cast<std::uint8_t>(std::clamp(r0 * target / l0, 0, 255));
    });
    return finished ? 0 : -2;
}
