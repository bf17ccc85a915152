#include <windows.h>

#include "tests/support/ImageFiles.h"

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

namespace TestSupport {

namespace {

void Append(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<size_t>(size));
}

std::vector<unsigned char> ToBytes(const ArgbImage& image, int components) {
    std::vector<unsigned char> bytes;
    bytes.reserve(image.pixels.size() * components);
    for (const uint32_t p : image.pixels) {
        bytes.push_back(static_cast<unsigned char>(p >> 16));
        bytes.push_back(static_cast<unsigned char>(p >> 8));
        bytes.push_back(static_cast<unsigned char>(p));
        if (components == 4) {
            bytes.push_back(static_cast<unsigned char>(p >> 24));
        }
    }
    return bytes;
}

} // namespace

ArgbImage::ArgbImage(int w, int h, uint32_t fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

void ArgbImage::FillRect(int left, int top, int right, int bottom, uint32_t argb) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            At(x, y) = argb;
        }
    }
}

std::string EncodePng(const ArgbImage& image) {
    std::string out;
    const std::vector<unsigned char> bytes = ToBytes(image, 4);
    stbi_write_png_to_func(&Append, &out, image.width, image.height, 4, bytes.data(),
                           image.width * 4);
    return out;
}

std::string EncodeBmp(const ArgbImage& image) {
    std::string out;
    const std::vector<unsigned char> bytes = ToBytes(image, 3);
    stbi_write_bmp_to_func(&Append, &out, image.width, image.height, 3, bytes.data());
    return out;
}

} // namespace TestSupport
