#pragma once

#include <climits>
#include <cstdint>

namespace SkinUI {

// Skin numbers, scroll ranges and item sizes may come close to the int limit:
// sums and differences are taken in 64 bits and saturate into int instead of
// wrapping around.
inline int SaturateToInt(long long value) {
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
}

// a * b / c rounded toward zero, for progress and slider arithmetic: item
// sizes and value spans each reach 2^32 - 1, so their product needs all 64
// bits of an unsigned number. c must not be 0.
inline int64_t MulDivTowardZero(int64_t a, int64_t b, int64_t c) {
    const bool negative = ((a < 0) != (b < 0)) != (c < 0);
    const uint64_t ua = a < 0 ? 0 - static_cast<uint64_t>(a) : static_cast<uint64_t>(a);
    const uint64_t ub = b < 0 ? 0 - static_cast<uint64_t>(b) : static_cast<uint64_t>(b);
    const uint64_t uc = c < 0 ? 0 - static_cast<uint64_t>(c) : static_cast<uint64_t>(c);
    const uint64_t q = ua * ub / uc;
    return negative ? -static_cast<int64_t>(q) : static_cast<int64_t>(q);
}

} // namespace SkinUI
