#include <windows.h>

#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/UninstallerFrameWnd.h"

namespace {
const wchar_t kClassName[] = L"UninstallerFrameWnd";
}

CUninstallerFrameWnd::CUninstallerFrameWnd(const wchar_t* commandLine)
    : session_(new UninstallSession(commandLine)) {
    LoadEmbeddedFont(*session_);
}

HWND CUninstallerFrameWnd::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle,
                                  int x, int y, int cx, int cy) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    if (!GetClassInfoW(instance, kClassName, &wc)) {
        wc.lpfnWndProc = WndProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassW(&wc))
            return nullptr;
    }
    return CreateWindowExW(exStyle, kClassName, title, style, x, y, cx, cy, parent, nullptr,
                           instance, this);
}

void CUninstallerFrameWnd::CenterWindow() {
    RECT rc, work;
    GetWindowRect(hwnd_, &rc);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CUninstallerFrameWnd::CloseAndExit() {
    OrderlyClose(hwnd_, *session_, wizardStep_);
}

LRESULT CALLBACK CUninstallerFrameWnd::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CUninstallerFrameWnd* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<CUninstallerFrameWnd*>(
            reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CUninstallerFrameWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT CUninstallerFrameWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        RegisterUninstExitMessage();
        session_->SetFrameWindow(hwnd_);
        return 0;
    case WM_CLOSE:
        CloseAndExit();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}
