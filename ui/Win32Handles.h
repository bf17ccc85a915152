#pragma once
#include <windows.h>

namespace SkinUI {

// Small owners for every kind of Win32 handle the program holds, so that no
// handle leaks when an exception leaves a function early.

// One handle closed by Traits::Close; Traits::Invalid() is "no handle".
template <typename Traits> class CUniqueHandle {
public:
    typedef typename Traits::Handle Handle;

    explicit CUniqueHandle(Handle handle = Traits::Invalid()) : m_handle(handle) {}
    ~CUniqueHandle() { Reset(); }
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    void Reset(Handle handle = Traits::Invalid()) {
        if (m_handle != Traits::Invalid()) {
            Traits::Close(m_handle);
        }
        m_handle = handle;
    }
    Handle Release() {
        const Handle handle = m_handle;
        m_handle = Traits::Invalid();
        return handle;
    }
    Handle Get() const { return m_handle; }
    bool IsValid() const { return m_handle != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

private:
    Handle m_handle;
};

// Files and folders opened with CreateFileW.
struct FileHandleTraits {
    typedef HANDLE Handle;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};
typedef CUniqueHandle<FileHandleTraits> CFileHandle;

// Processes, threads, events: null when absent.
struct KernelHandleTraits {
    typedef HANDLE Handle;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};
typedef CUniqueHandle<KernelHandleTraits> CKernelHandle;

// Directory searches of FindFirstFileW.
struct FindHandleTraits {
    typedef HANDLE Handle;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::FindClose(handle); }
};
typedef CUniqueHandle<FindHandleTraits> CFindHandle;

// Registry keys opened or created by this program.
struct RegKeyTraits {
    typedef HKEY Handle;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::RegCloseKey(handle); }
};
typedef CUniqueHandle<RegKeyTraits> CRegKeyHandle;

// One reference to a COM object.
template <typename Interface> class CComPtrUI {
public:
    explicit CComPtrUI(Interface* object = nullptr) : m_object(object) {}
    ~CComPtrUI() { Reset(); }
    CComPtrUI(const CComPtrUI&) = delete;
    CComPtrUI& operator=(const CComPtrUI&) = delete;

    void Reset(Interface* object = nullptr) {
        if (m_object != nullptr) {
            m_object->Release();
        }
        m_object = object;
    }
    Interface* Release() {
        Interface* const object = m_object;
        m_object = nullptr;
        return object;
    }
    Interface* Get() const { return m_object; }
    Interface* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    Interface* m_object;
};

// GDI: a memory device context, created objects, and a selection undone at
// the end of a scope.

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
