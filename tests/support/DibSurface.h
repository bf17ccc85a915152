#pragma once
#include <windows.h>

#include "tests/support/ImageFiles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace TestSupport {

// A 32-bit top-down DIB selected into its own memory device context: the
// target that drawing tests paint into and read back pixel by pixel.
class DibSurface {
public:
    DibSurface(int width, int height, uint32_t fill = 0xFFFFFFFFu);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC DC() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT Rect() const { return {0, 0, width_, height_}; }

    // Raw 32-bit value: BGRA bytes, 0xAARRGGBB as an integer.
    uint32_t Pixel(int x, int y) const;
    uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0x00FFFFFFu; }
    void SetPixel(int x, int y, uint32_t value);
    void Fill(uint32_t value);

    // Opaque copy (alpha forced to 255), for saving as a picture.
    ArgbImage Snapshot() const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_;
    int height_;
};

// The pixels a window (of any process) shows in the rectangle of its client area.
std::unique_ptr<DibSurface> CopyWindowPixels(HWND hwnd, const RECT& rc);

// The first and last columns of rc where a pixel differs from the background by more than
// tolerance in some channel; {rc.right, rc.left - 1} when none does.
std::pair<int, int> InkColumns(const DibSurface& surface, const RECT& rc, uint32_t background,
                               int tolerance = 40);

// Largest per-channel difference of the colour channels (alpha ignored).
int ChannelDistance(uint32_t a, uint32_t b);

} // namespace TestSupport
