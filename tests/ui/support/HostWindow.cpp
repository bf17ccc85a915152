#include <windows.h>

#include "tests/ui/support/HostWindow.h"

#include "tests/ui/support/DesktopPump.h"

namespace UiTest {

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        pm.Init(m_hWnd);
        return 0;
    }
    Seen(message, wParam, lParam);
    LRESULT result = 0;
    if (pm.HandleWindowMessage(message, wParam, lParam, result)) {
        return result;
    }
    if (PassedOn(message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_CLOSE) {
        return 0;
    }
    return SkinUI::CWindowWnd::HandleMessage(message, wParam, lParam);
}

void HostWindow::Open(LPCWSTR title, int left, int top, int width, int height) {
    SkinUI::CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    Create(nullptr, title, WS_POPUP | WS_VISIBLE, 0, left, top, width, height);
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    PumpFor(50);
}

std::unique_ptr<TestSupport::DibSurface> CaptureClient(HWND hwnd, int width, int height) {
    auto surface = std::make_unique<TestSupport::DibSurface>(width, height);
    HDC dc = ::GetDC(hwnd);
    ::BitBlt(surface->DC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, dc);
    return surface;
}

} // namespace UiTest
