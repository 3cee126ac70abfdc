// Division by a divisor known ahead, as a multiplication: the pixel loops
// divide millions of sums by a few divisors, and a hardware division costs
// tens of cycles each.
#pragma once

#include <cstdint>

// With m = ceil(2^64 / d), the high half of n * m is exactly n / d (rounded
// down) whenever n * d < 2^64; the caller makes sure of that bound.
struct Reciprocal {
    std::uint64_t m = 0;
    explicit Reciprocal(std::uint64_t d = 2) : m(~std::uint64_t{0} / d + 1) {}
    std::uint64_t Divide(std::uint64_t n) const
    {
        return static_cast<std::uint64_t>((static_cast<unsigned __int128>(n) * m) >> 64);
    }
};
