// The baseline of the start-to-first-paint benchmark: the least a Win32 program does to show one
// picture. It decodes "one.png" beside itself with stb_image into a DIB (as the renderer keeps a
// skin image) and blits it in WM_PAINT,
// in a window of the uninstaller's size, centred as the uninstaller's is. Built a second time
// with ONE_PNG_RELAUNCH, it first relaunches itself as the uninstaller does and shows the picture
// in the relaunched copy.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "bench/PngBitmap.h"

#include <string>

namespace {

const int kWidth = 800;
const int kHeight = 495;
HBITMAP g_picture = nullptr;

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring file(path);
    return file.substr(0, file.rfind(L'\\'));
}

#ifdef ONE_PNG_RELAUNCH
// The relaunching variant does what the uninstaller's start does before its window: copies
// itself to the local application data folder and starts the copy there, naming the folder
// it came from.
void RelaunchFromLocalAppData() {
    wchar_t folder[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, TRUE);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = std::wstring(folder) + L"\\one_png_relaunch.exe";
    if (::CopyFileW(self, copy.c_str(), FALSE)) {
        ::ShellExecuteW(nullptr, L"open", copy.c_str(), ModuleFolder().c_str(), folder, SW_HIDE);
    }
}
#endif

HBITMAP DecodeIn(const std::wstring& folder, const wchar_t* name) {
    const std::wstring file = folder + L"\\" + name;
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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR arguments, int) {
#ifdef ONE_PNG_RELAUNCH
    if (*arguments == L'\0') {
        RelaunchFromLocalAppData();
        return 0;
    }
    g_picture = DecodeIn(arguments, L"one.png");
#else
    (void)arguments;
    g_picture = DecodeIn(ModuleFolder(), L"one.png");
#endif
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
