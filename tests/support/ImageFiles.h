#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// Pixels as 0xAARRGGBB, straight (not premultiplied), rows top to bottom.
struct ArgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    ArgbImage() = default;
    ArgbImage(int w, int h, uint32_t fill = 0xFF000000u);
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void FillRect(int left, int top, int right, int bottom, uint32_t argb);
};

// Encoded files for image-loading tests (stb_image_write).
std::string EncodePng(const ArgbImage& image);
// 24-bit BMP: alpha is dropped.
std::string EncodeBmp(const ArgbImage& image);

} // namespace TestSupport
