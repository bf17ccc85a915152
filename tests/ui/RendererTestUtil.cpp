#include <windows.h>

#include "tests/ui/RendererTestUtil.h"

#include <cstdio>

using TestSupport::ArgbImage;
using TestSupport::ChannelDistance;
using TestSupport::DibSurface;

namespace RendererTest {

uint32_t Premultiply(uint32_t argb) {
    const uint32_t a = argb >> 24;
    if (a == 255) {
        return argb;
    }
    const uint32_t r = ((argb >> 16) & 0xFF) * a / 255;
    const uint32_t g = ((argb >> 8) & 0xFF) * a / 255;
    const uint32_t b = (argb & 0xFF) * a / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

HBITMAP MakeBitmap(const ArgbImage& image) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    uint32_t* pixels = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        pixels[i] = Premultiply(image.pixels[i]);
    }
    return bitmap;
}

std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int* width, int* height) {
    DIBSECTION section = {};
    if (::GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) ||
        section.dsBm.bmBits == nullptr || section.dsBm.bmBitsPixel != 32) {
        return {};
    }
    ::GdiFlush();
    const int w = section.dsBm.bmWidth;
    const int h = section.dsBm.bmHeight;
    if (width != nullptr) {
        *width = w;
    }
    if (height != nullptr) {
        *height = h;
    }
    const uint32_t* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(w) * h);
}

::testing::AssertionResult NearRgb(uint32_t actual, uint32_t expected, int tolerance) {
    if (ChannelDistance(actual, expected) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    char text[96];
    std::snprintf(text, sizeof text, "pixel %06X, expected %06X (+-%d)",
                  static_cast<unsigned>(actual & 0xFFFFFF),
                  static_cast<unsigned>(expected & 0xFFFFFF), tolerance);
    return ::testing::AssertionFailure() << text;
}

::testing::AssertionResult AreaIs(const DibSurface& surface, const RECT& rc, uint32_t expected,
                                  int tolerance) {
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const uint32_t actual = surface.Pixel(x, y);
            if (ChannelDistance(actual, expected) > tolerance) {
                char text[128];
                std::snprintf(text, sizeof text, "at (%d,%d): pixel %06X, expected %06X (+-%d)", x,
                              y, static_cast<unsigned>(actual & 0xFFFFFF),
                              static_cast<unsigned>(expected & 0xFFFFFF), tolerance);
                return ::testing::AssertionFailure() << text;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

int CountChanged(const DibSurface& surface, const RECT& rc, uint32_t background) {
    int changed = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (ChannelDistance(surface.Pixel(x, y), background) > 2) {
                ++changed;
            }
        }
    }
    return changed;
}

} // namespace RendererTest
