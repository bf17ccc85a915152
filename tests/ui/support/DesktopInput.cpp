#include <windows.h>

#include "tests/ui/support/DesktopInput.h"

#include "tests/ui/support/DesktopPump.h"

#include <cstdlib>

namespace UiTest {

void SendMouse(DWORD flags, int screenX, int screenY, DWORD data) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    if ((flags & MOUSEEVENTF_ABSOLUTE) != 0) {
        const int cx = ::GetSystemMetrics(SM_CXSCREEN);
        const int cy = ::GetSystemMetrics(SM_CYSCREEN);
        // Rounded up: the system scales back down by truncation, so this
        // lands on the pixel itself and not on the one before it.
        input.mi.dx = static_cast<LONG>((screenX * 65536LL + cx - 1) / cx);
        input.mi.dy = static_cast<LONG>((screenY * 65536LL + cy - 1) / cy);
    }
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

void MoveScreen(int x, int y) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    PumpUntil([&] {
        POINT pt = {};
        ::GetCursorPos(&pt);
        return pt.x == x && pt.y == y;
    });
    Pump();
}

void LeftDown() {
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

void LeftUp() {
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void Wheel(int delta) {
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta));
}

bool HasKeyboard(HWND hwnd) {
    return PumpUntil([&] { return ::GetForegroundWindow() == hwnd && ::GetFocus() == hwnd; });
}

bool TakeKeyboard(HWND hwnd) {
    ::SetForegroundWindow(hwnd);
    ::SetFocus(hwnd);
    return HasKeyboard(hwnd);
}

void Key(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

void Press(WORD vk) {
    Key(vk);
    Key(vk, true);
}

} // namespace UiTest
