#pragma once
#include <windows.h>

#include <string>

// Real mouse and keyboard input for the skinned uninstaller window. The skin fixes where each
// button lies; the points below are the buttons' centres in the window's client area.
namespace SkinInput {

struct ClientPoint {
    int x;
    int y;
};

// Title row.
constexpr ClientPoint kBtnClose{777, 23};
constexpr ClientPoint kBtnMin{743, 23};
// Farewell page (page container at 0,110).
constexpr ClientPoint kCloseUnistall01{300, 110 + 272};
constexpr ClientPoint kUninstallNextStep{500, 110 + 272};
// Questionnaire page (page container at 0,75): option n-m of row n.
inline ClientPoint Option(int n, int m) {
    return ClientPoint{60 + (m - 1) * 174 + 40, 75 + 48 + (n - 1) * 58 + 24 + 14};
}
constexpr ClientPoint kOtherReason{400, 75 + 332};
constexpr ClientPoint kCloseUnistall02{300, 75 + 368 + 22};
constexpr ClientPoint kBeginUnistall{500, 75 + 368 + 22};
// Final page (page container at 0,110).
constexpr ClientPoint kUnistallFinished{400, 110 + 292};

inline void SendMouse(DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof in);
}

// Moves the pointer to the point, lets the window see the hover, then presses and releases.
inline void Click(HWND frame, ClientPoint p) {
    POINT pt{p.x, p.y};
    ::ClientToScreen(frame, &pt);
    ::SetForegroundWindow(frame);
    ::SetCursorPos(pt.x, pt.y);
    SendMouse(MOUSEEVENTF_MOVE);
    ::Sleep(80);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ::Sleep(40);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ::Sleep(120);
}

// Types the text as Unicode key strokes into the focused control.
inline void Type(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = c;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof in[0]);
    }
    ::Sleep(200);
}

} // namespace SkinInput
