#pragma once
#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/WindowWnd.h"

#include "tests/support/DibSurface.h"
#include "tests/ui/ControlsTestSupport.h"

#include <cstdlib>
#include <memory>

// One shown window with a manager for the controls' desktop tests, real
// input through SendInput, and the painted pixels read back.
namespace ControlsTest {

constexpr int kLeft = 60;
constexpr int kTop = 60;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

class HostWnd : public SkinUI::CWindowWnd {
public:
    CWindowManagerUI pm;

    LPCWSTR GetWindowClassName() const override { return L"ControlsTestHost"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) {
            pm.Init(m_hWnd);
            return 0;
        }
        LRESULT result = 0;
        if (pm.HandleWindowMessage(message, wParam, lParam, result)) {
            return result;
        }
        if (message == WM_CLOSE) {
            return 0;
        }
        return SkinUI::CWindowWnd::HandleMessage(message, wParam, lParam);
    }
};

inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            continue;
        }
        if (!CWindowManagerUI::PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

template <typename Pred> bool PumpUntil(Pred pred, DWORD timeoutMs = 3000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        Pump();
        if (pred()) {
            return true;
        }
        if (::GetTickCount64() >= end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

inline HostWnd& Host() {
    static HostWnd* host = nullptr;
    if (host == nullptr) {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        UseStateImageArchive();
        host = new HostWnd();
        host->Create(nullptr, L"controls test", WS_POPUP | WS_VISIBLE, 0, kLeft, kTop, kWidth,
                     kHeight);
        ::SetForegroundWindow(*host);
        ::SetFocus(*host);
        PumpFor(50);
    }
    return *host;
}

// ---- Real input -------------------------------------------------------------------

inline void SendMouse(DWORD flags, int screenX = 0, int screenY = 0, DWORD data = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    if ((flags & MOUSEEVENTF_ABSOLUTE) != 0) {
        const int cx = ::GetSystemMetrics(SM_CXSCREEN);
        const int cy = ::GetSystemMetrics(SM_CYSCREEN);
        // Rounded up, so that the system's mapping back lands on the pixel
        // itself and not on the one before it.
        input.mi.dx = static_cast<LONG>((screenX * 65536LL + cx - 1) / cx);
        input.mi.dy = static_cast<LONG>((screenY * 65536LL + cy - 1) / cy);
    }
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

// Moves the pointer to a screen point and waits until the system has it.
inline void MoveScreen(int x, int y) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    PumpUntil([&] {
        POINT pt = {};
        ::GetCursorPos(&pt);
        return pt.x == x && pt.y == y;
    });
    Pump();
}

inline void MoveTo(int clientX, int clientY) {
    MoveScreen(kLeft + clientX, kTop + clientY);
}

inline void MoveTo(POINT client) {
    MoveTo(client.x, client.y);
}

// A press that the system cannot take for the second half of a double
// click: one close in time and place to the previous press waits.
inline void LeftDown() {
    static ULONGLONG lastTick = 0;
    static POINT lastPoint = {-100, -100};
    POINT pt = {};
    ::GetCursorPos(&pt);
    const ULONGLONG wait = ::GetDoubleClickTime() + 50;
    const ULONGLONG since = ::GetTickCount64() - lastTick;
    if (since < wait && std::abs(pt.x - lastPoint.x) < 8 && std::abs(pt.y - lastPoint.y) < 8) {
        ::Sleep(static_cast<DWORD>(wait - since));
    }
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    lastTick = ::GetTickCount64();
    lastPoint = pt;
}

inline void LeftUp() {
    SendMouse(MOUSEEVENTF_LEFTUP);
}

inline void Key(WORD vk, bool up = false) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

inline void Press(WORD vk) {
    Key(vk);
    Key(vk, true);
}

// ---- Pixels -----------------------------------------------------------------------

// The window's client area as painted now (pending paints done first).
inline std::unique_ptr<TestSupport::DibSurface> Capture(HWND hwnd) {
    Pump();
    ::UpdateWindow(hwnd);
    auto surface = std::make_unique<TestSupport::DibSurface>(kWidth, kHeight);
    HDC dc = ::GetDC(hwnd);
    ::BitBlt(surface->DC(), 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, dc);
    return surface;
}

inline bool Near(uint32_t a, uint32_t b, int tolerance = 3) {
    return TestSupport::ChannelDistance(a, b) <= tolerance;
}

} // namespace ControlsTest
