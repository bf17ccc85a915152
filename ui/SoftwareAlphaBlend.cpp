#include <windows.h>

#include "ui/Win32Handles.h"
#include "ui/RendererUI.h"

#include <cstdint>

namespace SkinUI {

namespace {

inline uint32_t Scale(uint32_t value, uint32_t factor) {
    // value * factor / 255, rounded.
    const uint32_t product = value * factor + 128;
    return (product + (product >> 8)) >> 8;
}

// One pixel as AlphaBlend blends it: the source is premultiplied, so its
// channels are only scaled by the constant alpha, and the destination keeps
// the share the source leaves uncovered.
inline uint32_t BlendPixel(uint32_t src, uint32_t dst, uint32_t constant, bool perPixel) {
    const uint32_t coverage = perPixel ? Scale(src >> 24, constant) : constant;
    const uint32_t keep = 255 - coverage;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t s = (src >> shift) & 0xFF;
        const uint32_t d = (dst >> shift) & 0xFF;
        uint32_t channel = Scale(s, constant) + Scale(d, keep);
        if (channel > 255) {
            channel = 255;
        }
        result |= channel << shift;
    }
    return result;
}

} // namespace

BOOL WINAPI SoftwareAlphaBlend(HDC hDest, int xDest, int yDest, int cxDest, int cyDest, HDC hSrc,
                               int xSrc, int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend) {
    if (cxDest <= 0 || cyDest <= 0 || cxSrc <= 0 || cySrc <= 0) {
        return FALSE;
    }
    CMemoryDC srcDC(hDest);
    CMemoryDC dstDC(hDest);
    if (!srcDC || !dstDC) {
        return FALSE;
    }
    void* srcBits = nullptr;
    void* dstBits = nullptr;
    CGdiObject<HBITMAP> srcBitmap(CreateDib32(hDest, cxDest, cyDest, &srcBits));
    CGdiObject<HBITMAP> dstBitmap(CreateDib32(hDest, cxDest, cyDest, &dstBits));
    if (!srcBitmap || !dstBitmap) {
        return FALSE;
    }
    CSelectObject selectSrc(srcDC.Get(), srcBitmap.Get());
    CSelectObject selectDst(dstDC.Get(), dstBitmap.Get());

    // Plain pixel copies keep the alpha bytes; halftoning would not.
    const int oldMode = ::SetStretchBltMode(srcDC.Get(), COLORONCOLOR);
    const BOOL copied =
        ::StretchBlt(srcDC.Get(), 0, 0, cxDest, cyDest, hSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY) &&
        ::BitBlt(dstDC.Get(), 0, 0, cxDest, cyDest, hDest, xDest, yDest, SRCCOPY);
    ::SetStretchBltMode(srcDC.Get(), oldMode);
    if (!copied) {
        return FALSE;
    }
    ::GdiFlush();

    const uint32_t* src = static_cast<const uint32_t*>(srcBits);
    uint32_t* dst = static_cast<uint32_t*>(dstBits);
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const size_t count = static_cast<size_t>(cxDest) * static_cast<size_t>(cyDest);
    for (size_t i = 0; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], blend.SourceConstantAlpha, perPixel);
    }
    return ::BitBlt(hDest, xDest, yDest, cxDest, cyDest, dstDC.Get(), 0, 0, SRCCOPY);
}

} // namespace SkinUI
