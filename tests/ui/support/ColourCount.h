#pragma once
#include <windows.h>

#include "tests/support/DibSurface.h"

#include <algorithm>
#include <cstdint>

namespace TestSupport {

// Pixels of rc where the colour's strong channels outweigh its weak ones by
// the margin: anti-aliased text never reaches the pure colour, and how close
// it gets depends on the face the platform picked.
inline int CountDominant(const DibSurface& surface, RECT rc, uint32_t color, int margin = 60) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            int strong = 255, weak = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const int channel = (surface.Pixel(x, y) >> shift) & 0xFF;
                if (((color >> shift) & 0xFF) >= 0x80) {
                    strong = std::min(strong, channel);
                } else {
                    weak = std::max(weak, channel);
                }
            }
            n += strong - weak >= margin ? 1 : 0;
        }
    }
    return n;
}

} // namespace TestSupport
