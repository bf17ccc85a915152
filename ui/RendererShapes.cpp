#include <windows.h>

#include "ui/Win32Handles.h"
#include "ui/GdiBlend.h"
#include "ui/RendererInternal.h"
#include "ui/RendererUI.h"

#include <cstdint>

namespace SkinUI {

namespace {

inline BYTE Alpha(DWORD argb) {
    return static_cast<BYTE>(argb >> 24);
}

void FillSolid(HDC hDC, const RECT& rc, COLORREF color) {
    CGdiObject<HBRUSH> brush(::CreateSolidBrush(color));
    if (brush) {
        ::FillRect(hDC, &rc, brush.Get());
    }
}

} // namespace

void FillGradientBands(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                       int steps) {
    int k = 1;
    if (steps >= 64) {
        k = 6;
    } else if (steps >= 32) {
        k = 5;
    } else if (steps >= 16) {
        k = 4;
    } else if (steps >= 8) {
        k = 3;
    } else if (steps >= 4) {
        k = 2;
    }
    const int n = 1 << k;
    const int extent = vertical ? rc.bottom - rc.top : rc.right - rc.left;
    for (int i = 0; i < n; ++i) {
        const auto mix = [&](int shift) {
            const int a = (first >> shift) & 0xFF;
            const int b = (second >> shift) & 0xFF;
            return static_cast<BYTE>((b * (n - i) + a * i) >> k);
        };
        // Band 0 lies at the far edge and has the second colour.
        const int nearEdge = static_cast<int>((static_cast<int64_t>(extent) * i) >> k);
        const int farEdge = static_cast<int>((static_cast<int64_t>(extent) * (i + 1)) >> k);
        if (farEdge <= nearEdge) {
            continue;
        }
        RECT band = rc;
        if (vertical) {
            band.top = rc.bottom - farEdge;
            band.bottom = rc.bottom - nearEdge;
        } else {
            band.left = rc.right - farEdge;
            band.right = rc.right - nearEdge;
        }
        FillSolid(hDC, band, RGB(mix(16), mix(8), mix(0)));
    }
}

namespace {

void FillGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps) {
    static const GdiBlend::GradientFillFunc gradientFill = GdiBlend::GradientFillFunction();
    if (gradientFill == nullptr) {
        FillGradientBands(hDC, rc, first, second, vertical, steps);
        return;
    }
    const auto vertex = [](LONG x, LONG y, DWORD color) {
        TRIVERTEX v;
        v.x = x;
        v.y = y;
        v.Red = static_cast<COLOR16>(((color >> 16) & 0xFF) << 8);
        v.Green = static_cast<COLOR16>(((color >> 8) & 0xFF) << 8);
        v.Blue = static_cast<COLOR16>((color & 0xFF) << 8);
        v.Alpha = 0xFF00;
        return v;
    };
    TRIVERTEX vertices[2] = {vertex(rc.left, rc.top, first), vertex(rc.right, rc.bottom, second)};
    GRADIENT_RECT rect = {0, 1};
    gradientFill(hDC, vertices, 2, &rect, 1,
                 vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

} // namespace

void CRendererUI::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
    const BYTE alpha = Alpha(color);
    if (hDC == nullptr || alpha == 0) {
        return;
    }
    if (alpha == 255) {
        ::SetBkColor(hDC, ToColorRef(color));
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        return;
    }
    // Blending expects premultiplied pixels: storing the colour as it is
    // would add full-strength channels to the background and wrap them.
    void* bits = nullptr;
    CGdiObject<HBITMAP> pixel(CreateDib32(hDC, 1, 1, &bits));
    if (!pixel) {
        return;
    }
    const auto premultiply = [alpha](DWORD channel) { return (channel & 0xFF) * alpha / 255; };
    *static_cast<DWORD*>(bits) = (static_cast<DWORD>(alpha) << 24) |
                                 (premultiply(color >> 16) << 16) | (premultiply(color >> 8) << 8) |
                                 premultiply(color);
    const RECT rcSource = {0, 0, 1, 1};
    const RECT rcCorners = {0, 0, 0, 0};
    DrawImage(hDC, pixel.Get(), rc, rc, rcSource, rcCorners, true, 255);
}

void CRendererUI::DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                               int steps) {
    const BYTE alpha = static_cast<BYTE>((Alpha(first) + Alpha(second)) >> 1);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (hDC == nullptr || alpha == 0 || cx <= 0 || cy <= 0) {
        return;
    }
    if (alpha == 255) {
        FillGradient(hDC, rc, first, second, vertical, steps);
        return;
    }
    // Off-screen first, then blended on with the mean alpha as the constant.
    CMemoryDC memoryDC(hDC);
    void* bits = nullptr;
    CGdiObject<HBITMAP> bitmap(CreateDib32(hDC, cx, cy, &bits));
    if (!memoryDC || !bitmap) {
        return;
    }
    CSelectObject select(memoryDC.Get(), bitmap.Get());
    const RECT rcLocal = {0, 0, cx, cy};
    FillGradient(memoryDC.Get(), rcLocal, first, second, vertical, steps);
    ::GdiFlush();
    // GDI fills leave the alpha bytes as they like (0 for solid fills); the
    // gradient is opaque before the constant alpha applies.
    uint32_t* pixels = static_cast<uint32_t*>(bits);
    const size_t count = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    for (size_t i = 0; i < count; ++i) {
        pixels[i] |= 0xFF000000u;
    }
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    RendererAlphaBlend()(hDC, rc.left, rc.top, cx, cy, memoryDC.Get(), 0, 0, cx, cy, blend);
}

void CRendererUI::DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style) {
    if (hDC == nullptr) {
        return;
    }
    LOGPEN logPen = {};
    logPen.lopnStyle = static_cast<UINT>(style);
    logPen.lopnWidth.x = size;
    logPen.lopnColor = ToColorRef(color);
    CGdiObject<HPEN> pen(::CreatePenIndirect(&logPen));
    if (!pen) {
        return;
    }
    CSelectObject selectPen(hDC, pen.Get());
    POINT old;
    ::MoveToEx(hDC, rc.left, rc.top, &old);
    ::LineTo(hDC, rc.right, rc.bottom);
}

void CRendererUI::DrawRect(HDC hDC, const RECT& rc, int size, DWORD color) {
    if (hDC == nullptr) {
        return;
    }
    CGdiObject<HPEN> pen(::CreatePen(PS_INSIDEFRAME, size, ToColorRef(color)));
    if (!pen) {
        return;
    }
    CSelectObject selectPen(hDC, pen.Get());
    CSelectObject selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
}

void CRendererUI::DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height,
                                DWORD color) {
    if (hDC == nullptr) {
        return;
    }
    CGdiObject<HPEN> pen(::CreatePen(PS_INSIDEFRAME, size, ToColorRef(color)));
    if (!pen) {
        return;
    }
    CSelectObject selectPen(hDC, pen.Get());
    CSelectObject selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
}

} // namespace SkinUI
