#pragma once
#include <windows.h>

namespace SkinUI {

// Small owners for the GDI objects the renderer creates within one call.

class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatible) : m_hDC(::CreateCompatibleDC(compatible)) {}
    ~CMemoryDC() {
        if (m_hDC != nullptr) {
            ::DeleteDC(m_hDC);
        }
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC Get() const { return m_hDC; }
    explicit operator bool() const { return m_hDC != nullptr; }

private:
    HDC m_hDC;
};

// A created GDI object (pen, brush, bitmap, region, font).
template <typename Handle> class CGdiObject {
public:
    explicit CGdiObject(Handle handle = nullptr) : m_handle(handle) {}
    ~CGdiObject() { Reset(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    void Reset(Handle handle = nullptr) {
        if (m_handle != nullptr) {
            ::DeleteObject(m_handle);
        }
        m_handle = handle;
    }
    // Gives the object up to the caller.
    Handle Release() {
        const Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    Handle m_handle;
};

// Selects an object into a device context and the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ object)
        : m_hDC(hDC), m_hOld(object != nullptr ? ::SelectObject(hDC, object) : nullptr) {}
    ~CSelectObject() {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR) {
            ::SelectObject(m_hDC, m_hOld);
        }
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// A 32-bit top-down DIB section; bits receives its pixels (BGRA).
inline HBITMAP CreateDib32(HDC hDC, int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    void* pixels = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits != nullptr) {
        *bits = bitmap != nullptr ? pixels : nullptr;
    }
    return bitmap;
}

// ARGB to a GDI colour reference: red and blue swap places, alpha goes.
inline COLORREF ToColorRef(DWORD argb) {
    return RGB(GetBValue(argb), GetGValue(argb), GetRValue(argb));
}

} // namespace SkinUI
