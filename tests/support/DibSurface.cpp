#include <windows.h>

#include "tests/support/DibSurface.h"

#include <algorithm>
#include <cstdlib>

namespace TestSupport {

DibSurface::DibSurface(int width, int height, uint32_t fill) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    old_ = ::SelectObject(dc_, bitmap_);
    Fill(fill);
}

DibSurface::~DibSurface() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
}

uint32_t DibSurface::Pixel(int x, int y) const {
    ::GdiFlush();
    return bits_[static_cast<size_t>(y) * width_ + x];
}

void DibSurface::SetPixel(int x, int y, uint32_t value) {
    ::GdiFlush();
    bits_[static_cast<size_t>(y) * width_ + x] = value;
}

void DibSurface::Fill(uint32_t value) {
    ::GdiFlush();
    std::fill(bits_, bits_ + static_cast<size_t>(width_) * height_, value);
}

ArgbImage DibSurface::Snapshot() const {
    ::GdiFlush();
    ArgbImage image(width_, height_);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = bits_[i] | 0xFF000000u;
    }
    return image;
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d =
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        worst = std::max(worst, d);
    }
    return worst;
}

std::unique_ptr<DibSurface> CopyWindowPixels(HWND hwnd, const RECT& rc) {
    auto surface = std::make_unique<DibSurface>(rc.right - rc.left, rc.bottom - rc.top);
    const HDC dc = ::GetDC(hwnd);
    ::BitBlt(surface->DC(), 0, 0, surface->Width(), surface->Height(), dc, rc.left, rc.top,
             SRCCOPY);
    ::ReleaseDC(hwnd, dc);
    return surface;
}

std::pair<int, int> InkColumns(const DibSurface& surface, const RECT& rc, uint32_t background,
                               int tolerance) {
    std::pair<int, int> ink{rc.right, rc.left - 1};
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (ChannelDistance(surface.Rgb(x, y), background) > tolerance) {
                ink.first = std::min(ink.first, x);
                ink.second = std::max(ink.second, x);
            }
        }
    }
    return ink;
}

} // namespace TestSupport
