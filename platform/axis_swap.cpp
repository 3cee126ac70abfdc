// Tiles of kTile x kTile pixels: each source row of a tile gives a short
// run, gathered in a small block and written out a destination row at a
// time, while the lines of the next tile's source rows are on their way.
#include "platform/axis_swap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/bitmap.h"
#include "platform/parallel_rows.h"

namespace {

constexpr int kTile = 16;

}  // namespace

void GatherSwappedAxes(const TBitmap& source, TBitmap& destination, int columnStep, int firstColumn, int rowStep,
                       int firstRow)
{
    const int dW = destination.Width();
    const int dH = destination.Height();
    const std::ptrdiff_t stride = source.RowStride();
    const std::uint8_t* origin = source.ScanLine(0);
    const auto rowOf = [&](int j) { return origin + static_cast<std::ptrdiff_t>(firstRow + rowStep * j) * stride; };
    const int bands = (dH + kTile - 1) / kTile;
    ForEachRow(bands, std::int64_t{dW} * dH, [&](int band) {
        const int i0 = band * kTile;
        const int rows = std::min(kTile, dH - i0);
        // Destination row i0 + k reads source column first + columnStep * k.
        const int first = firstColumn + columnStep * i0;
        const int lowest = std::min(first, first + columnStep * (rows - 1));
        std::uint8_t block[kTile][kTile * 3];
        for (int j0 = 0; j0 < dW; j0 += kTile) {
            const int columns = std::min(kTile, dW - j0);
            for (int j = j0 + kTile; j < std::min(j0 + 2 * kTile, dW); ++j) {
                const std::uint8_t* run = rowOf(j) + lowest * 3;
                __builtin_prefetch(run);
                __builtin_prefetch(run + rows * 3 - 1);
            }
            for (int c = 0; c < columns; ++c) {
                const std::uint8_t* line = rowOf(j0 + c) + first * 3;
                for (int k = 0; k < rows; ++k)
                    std::memcpy(&block[k][c * 3], line + columnStep * k * 3, 3);
            }
            for (int k = 0; k < rows; ++k)
                std::memcpy(destination.ScanLine(i0 + k) + j0 * 3, block[k], static_cast<std::size_t>(columns) * 3);
        }
    });
}
