#pragma once
#include <windows.h>

#include "stb_image.h"

#include <string>

// A PNG decoded by stb_image into a 32-bit top-down DIB with premultiplied alpha, as the renderer
// keeps a skin image (an opaque image comes out unchanged). Null when the bytes do not decode.
inline HBITMAP DecodePngToDib(const std::string& png) {
    int w = 0, h = 0, components = 0;
    unsigned char* rgba =
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                              static_cast<int>(png.size()), &w, &h, &components, 4);
    if (rgba == nullptr) {
        return nullptr;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        auto* out = static_cast<unsigned char*>(bits);
        for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
            const unsigned alpha = rgba[i * 4 + 3];
            out[i * 4] = static_cast<unsigned char>(rgba[i * 4 + 2] * alpha / 255);
            out[i * 4 + 1] = static_cast<unsigned char>(rgba[i * 4 + 1] * alpha / 255);
            out[i * 4 + 2] = static_cast<unsigned char>(rgba[i * 4] * alpha / 255);
            out[i * 4 + 3] = static_cast<unsigned char>(alpha);
        }
    }
    stbi_image_free(rgba);
    return bitmap;
}
