// High-quality reduction. The first pass reads the bitmap's rows directly and
// writes the plane; the bitmap is resized only after it, so nothing is copied
// beforehand. Weight lists depend on one axis only and are built once per call.
#include "pipeline/area_reduction.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/exact_division.h"
#include "platform/parallel_rows.h"
#include "platform/row_weighing.h"

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

// Every divisor below is a cover's weight sum, at least 99 (a reduction
// covers more than one whole cell per target pixel), and every dividend at
// most such a sum times 255 times another: far inside the exact range.

// Runs rowFn(y) over the h rows of a w-wide target, work being the source
// pixels read. A single thread checks the abort before every pixel of a row
// (so the pumps come as often as pixel by pixel) and before the row; split
// across threads, the workers stop before their next row once the calling
// thread, pumping every ~20 ms, has seen the abort. Returns false when aborted.
template <typename RowFn>
bool ForEachTargetRow(int w, int h, std::int64_t work, WorkControl& control, const RowFn& rowFn)
{
    if (!SplitsRows(h, work)) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                if (control.ShouldAbort())
                    return false;
            rowFn(y);
        }
        return true;
    }
    if (control.ShouldAbort())
        return false;
    return ForEachRowPolled(h, work, rowFn, PollOf(&control));
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
    // along y per target row over whole source rows (plain sums of products
    // the compiler does many at a time) and then along x per target pixel
    // (integer sums, so the same means as cell by cell). A column's sum is at
    // most 101 cells of weight 100 times 255 (32 bits); a block's sum is at
    // most both weight sums times 255, which fits 32 bits for the usual
    // reductions and needs 64 for the steepest.
    const AxisCover columns = CoverAxis(sW, tW);
    const AxisCover rows = CoverAxis(sH, tH);
    std::uint32_t widestX = 0, widestY = 0;
    for (const Cover& c : columns.covers)
        widestX = std::max(widestX, c.weightSum);
    for (const Cover& c : rows.covers)
        widestY = std::max(widestY, c.weightSum);
    const bool narrowBlock = std::uint64_t{widestX} * widestY * 255 <= 0xFFFFFFFFu;
    std::vector<Reciprocal> perColumn;
    perColumn.reserve(static_cast<std::size_t>(tW));
    for (const Cover& c : columns.covers)
        perColumn.emplace_back(c.weightSum);
    workPlane.Resize(tW, tH);
    const std::size_t lineValues = static_cast<std::size_t>(sW) * 3;
    // Target rows [from, to) in order. pixelDone is called before each
    // target pixel is written and may stop the work (false).
    const auto reduceRows = [&](int from, int to, const auto& pixelDone, auto blockZero) {
        using Sum = decltype(blockZero);
        std::vector<std::uint32_t> weighed(lineValues);
        std::uint32_t* column = weighed.data();
        for (int ty = from; ty < to; ++ty) {
            const Cover& cy = rows.covers[static_cast<std::size_t>(ty)];
            WeighRows(picture, window.Top + cy.first, cy.count, rows.weights.data() + cy.weights, window.Left,
                      lineValues, column);
            // sum / (wx * wy) as (sum / wy) / wx.
            const Reciprocal perRow(cy.weightSum);
            std::uint32_t* out = workPlane.Row(ty);
            const std::uint32_t* weights = columns.weights.data();
            for (int tx = 0; tx < tW; ++tx) {
                const Cover& cx = columns.covers[static_cast<std::size_t>(tx)];
                const std::uint32_t* c = column + static_cast<std::size_t>(cx.first) * 3;
                const std::uint32_t* w = weights + cx.weights;
                Sum b = 0, g = 0, r = 0;
                for (int i = 0; i < cx.count; ++i, c += 3) {
                    b += Sum{w[i]} * c[0];
                    g += Sum{w[i]} * c[1];
                    r += Sum{w[i]} * c[2];
                }
                if (!pixelDone())
                    return false;
                // A weighted mean of bytes is itself at most 255.
                const Reciprocal& perCol = perColumn[static_cast<std::size_t>(tx)];
                const auto mean = [&](Sum n) {
                    return static_cast<std::uint32_t>(perCol.Divide(perRow.Divide(n)));
                };
                out[tx] = mean(r) << 16 | mean(g) << 8 | mean(b);
            }
        }
        return true;
    };
    const auto reduceBand = [&](int from, int to, const auto& pixelDone) {
        return narrowBlock ? reduceRows(from, to, pixelDone, std::uint32_t{0})
                           : reduceRows(from, to, pixelDone, std::uint64_t{0});
    };
    bool reduced = true;
    const std::int64_t work = std::int64_t{sW} * sH;
    if (!SplitsRows(tH, work)) {
        reduced = reduceBand(0, tH, [&] { return !control.ShouldAbort(); });
    } else if (control.ShouldAbort()) {
        reduced = false;
    } else {
        const int bandRows = RowsPerBand(tH);
        reduced = ForEachRowPolled(
            (tH + bandRows - 1) / bandRows, work,
            [&](int band) { reduceBand(band * bandRows, std::min(tH, (band + 1) * bandRows), [] { return true; }); },
            PollOf(&control));
    }
    if (!reduced)
        return -2;

    bitmap.SetSize(tW, tH);
    control.PumpNow();
    if (control.AbortSet()) {
        bitmap.Fill(clWhite);
        return -2;
    }

    // Second pass: border pixels as they are; inside, the colour scaled to the
    // target luminance, which is the pixel's own unless sharpening pushes it
    // away from the 1 2 1 / 2 8 2 / 1 2 1 mean of its neighbourhood. Pixels
    // of luminance 0 turn black either way.
    const PixelPlane& plane = workPlane;
    const auto copyPixel = [](std::uint32_t c, std::uint8_t* out) {
        out[0] = static_cast<std::uint8_t>(c & 0xFF);
        out[1] = static_cast<std::uint8_t>(c >> 8 & 0xFF);
        out[2] = static_cast<std::uint8_t>(c >> 16 & 0xFF);
    };
    const auto secondPassRow = [&](int ty) {
        const std::uint32_t* row = plane.Row(ty);
        std::uint8_t* out = bitmap.ScanLine(ty);
        if (ty == 0 || ty == tH - 1) {
            for (int tx = 0; tx < tW; ++tx)
                copyPixel(row[tx], out + tx * 3);
            return;
        }
        copyPixel(row[0], out);
        copyPixel(row[tW - 1], out + (tW - 1) * 3);
        for (int tx = 1; tx < tW - 1; ++tx) {
            const std::uint32_t centre = row[tx];
            std::uint8_t* px = out + tx * 3;
            const int r0 = static_cast<int>(centre >> 16 & 0xFF);
            const int g0 = static_cast<int>(centre >> 8 & 0xFF);
            const int b0 = static_cast<int>(centre & 0xFF);
            const int l0 = Luminance(r0, g0, b0);
            if (l0 == 0) {
                px[0] = px[1] = px[2] = 0;
                continue;
            }
            if (!sharpen) {
                // The target luminance is the pixel's own: c * l0 / l0 is c.
                copyPixel(centre, px);
                continue;
            }
            static constexpr int kernel[3][3] = {{1, 2, 1}, {2, 8, 2}, {1, 2, 1}};
            int sumR = 0, sumG = 0, sumB = 0;
            for (int j = 0; j < 3; ++j) {
                const std::uint32_t* near = plane.Row(ty - 1 + j) + tx - 1;
                for (int i = 0; i < 3; ++i) {
                    const int k = kernel[j][i];
                    sumR += k * static_cast<int>(near[i] >> 16 & 0xFF);
                    sumG += k * static_cast<int>(near[i] >> 8 & 0xFF);
                    sumB += k * static_cast<int>(near[i] & 0xFF);
                }
            }
            // Sharpening pushes the luminance away from the neighbourhood's mean.
            const int l = Luminance(sumR / 20, sumG / 20, sumB / 20);
            const int target = l0 - (l - l0) / 2;
            px[0] = static_cast<std::uint8_t>(std::clamp(b0 * target / l0, 0, 255));
            px[1] = static_cast<std::uint8_t>(std::clamp(g0 * target / l0, 0, 255));
            px[2] = static_cast<std::uint8_t>(std::clamp(r0 * target / l0, 0, 255));
        }
    };
    const bool finished = ForEachTargetRow(tW, tH, std::int64_t{tW} * tH * (sharpen ? 9 : 1), control,
                                           std::function<void(int)>(secondPassRow));
    return finished ? 0 : -2;
}
