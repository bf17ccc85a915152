// The baseline of the start-to-first-paint benchmark: the least a Win32 program does to show one
// picture. It decodes "one.png" beside itself with stb_image into a DIB (as the renderer keeps a
// skin image) and blits it in WM_PAINT,
// in a window of the uninstaller's size, centred as the uninstaller's is.
#include <windows.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "bench/PngBitmap.h"

#include <string>

namespace {

const int kWidth = 800;
const int kHeight = 495;
HBITMAP g_picture = nullptr;

HBITMAP DecodeBeside(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path);
    file = file.substr(0, file.rfind(L'\\') + 1) + name;
    const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    std::string png(::GetFileSize(handle, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(handle, &png[0], static_cast<DWORD>(png.size()), &read, nullptr);
    ::CloseHandle(handle);
    png.resize(read);
    return DecodePngToDib(png);
}

LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(hWnd, &ps);
        HDC memory = ::CreateCompatibleDC(hDC);
        HGDIOBJ old = ::SelectObject(memory, g_picture);
        ::BitBlt(hDC, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    g_picture = DecodeBeside(L"one.png");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"OnePngWindow";
    ::RegisterClassW(&wc);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"一张图", WS_POPUP | WS_VISIBLE, x, y,
                                  kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(hWnd, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::DeleteObject(g_picture);
    return 0;
}
