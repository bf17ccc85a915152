#include <windows.h>

#include "ui/RendererUI.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

struct Hsl {
    double h; // degrees
    double s;
    double l;
};

// The three bytes are read in GDI order: the low byte is treated as red.
Hsl ToHsl(double r, double g, double b) {
    const double lo = std::min({r, g, b});
    const double hi = std::max({r, g, b});
    Hsl hsl = {0.0, 0.0, (lo + hi) / 2.0};
    if (lo == hi) {
        return hsl;
    }
    double d;
    double k;
    if (lo == r) {
        d = g - b;
        k = 3;
    } else if (lo == g) {
        d = b - r;
        k = 5;
    } else {
        d = r - g;
        k = 1;
    }
    double h = k - d / (hi - lo);
    if (h >= 6) {
        h -= 6;
    }
    hsl.h = h * 60.0;
    hsl.s = 2.0 * hsl.l <= 1.0 ? (hi - lo) / (hi + lo) : (hi - lo) / (2.0 - hi - lo);
    return hsl;
}

double HueToChannel(double p, double q, double t) {
    t -= std::floor(t);
    if (t < 1.0 / 6.0) {
        return p + (q - p) * 6.0 * t;
    }
    if (t < 0.5) {
        return q;
    }
    if (t < 2.0 / 3.0) {
        return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    }
    return p;
}

DWORD ToByte(double value) {
    return static_cast<DWORD>(std::clamp(value * 255.0, 0.0, 255.0));
}

double ByteToUnit(DWORD color, int shift) {
    return static_cast<double>((color >> shift) & 0xFF) / 255.0;
}

} // namespace

DWORD CRendererUI::AdjustColorHsl(DWORD color, short hue, short saturation, short lightness) {
    if (hue == 180 && saturation == 100 && lightness == 100) {
        return color;
    }
    const Hsl hsl = ToHsl(ByteToUnit(color, 0), ByteToUnit(color, 8), ByteToUnit(color, 16));
    double h = hsl.h + (hue - 180);
    if (h <= 0) {
        h += 360;
    }
    const double s = hsl.s * saturation / 100.0;
    const double l = hsl.l * lightness / 100.0;

    const double q = 2.0 * l < 1.0 ? l * (1.0 + s) : l + s - l * s;
    const double p = 2.0 * l - q;
    const double turn = h / 360.0;
    const DWORD low = ToByte(HueToChannel(p, q, turn + 1.0 / 3.0));
    const DWORD mid = ToByte(HueToChannel(p, q, turn));
    const DWORD high = ToByte(HueToChannel(p, q, turn - 1.0 / 3.0));
    return (color & 0xFF000000u) | (high << 16) | (mid << 8) | low;
}

} // namespace SkinUI
