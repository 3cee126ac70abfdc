// The first half of a separable box filter: whole source rows, each times
// its weight, summed value by value. Done over whole rows, the loop is one
// the compiler does many values at a time; the sums are those of weighing
// pixel by pixel, integers being exact in any order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

// sums[i] = the sum over j < count of weights[j] * byte i of row firstRow + j,
// for the values bytes from column left on. The caller keeps every sum within
// 32 bits (the weights times 255).
inline void WeighRows(const TBitmap& picture, int firstRow, int count, const std::uint32_t* weights, int left,
                      std::size_t values, std::uint32_t* sums)
{
    for (int j = 0; j < count; ++j) {
        const std::uint8_t* line = picture.ScanLine(firstRow + j) + left * 3;
        const std::uint32_t weight = weights[j];
        if (j == 0) {
            for (std::size_t i = 0; i < values; ++i)
                sums[i] = weight * line[i];
        } else {
            for (std::size_t i = 0; i < values; ++i)
                sums[i] += weight * line[i];
        }
    }
}
