#pragma once
#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/controls/ScrollBarUI.h"

#include <algorithm>
#include <climits>

// Arithmetic shared by the layouts. Sums are kept in 64 bits so that huge
// sizes from a skin cannot overflow; what reaches a rectangle saturates at
// the 32-bit limits.
namespace SkinUI {
namespace LayoutMath {

// Into [minimum, maximum]; the maximum wins when the two cross.
inline long long Clamp(long long value, long long minimum, long long maximum) {
    if (value < minimum) {
        value = minimum;
    }
    if (value > maximum) {
        value = maximum;
    }
    return value;
}

inline bool IsShown(const CScrollBarUI* bar) {
    return bar != nullptr && bar->IsVisible();
}

// The bar's position when it shows, else 0.
inline long long ShownScrollPos(const CScrollBarUI* bar) {
    return IsShown(bar) ? bar->GetScrollPos() : 0;
}

// The bar's range when it shows, else 0.
inline long long ShownScrollRange(const CScrollBarUI* bar) {
    return IsShown(bar) ? bar->GetScrollRange() : 0;
}

inline RECT MakeRect(long long left, long long top, long long right, long long bottom) {
    return RECT{SaturateToInt(left), SaturateToInt(top), SaturateToInt(right),
                SaturateToInt(bottom)};
}

inline SIZE MakeSize(long long cx, long long cy) {
    return SIZE{SaturateToInt(cx), SaturateToInt(cy)};
}

} // namespace LayoutMath
} // namespace SkinUI
