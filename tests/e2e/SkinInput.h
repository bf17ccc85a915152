#pragma once
#include <windows.h>

#include "tests/ui/support/DesktopInput.h"

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
constexpr ClientPoint kCloseUnistall01{300, 110 + 305 + 22};
constexpr ClientPoint kUninstallNextStep{500, 110 + 305 + 22};
// Questionnaire page (page container at 0,75). Its rows stand one under the other from y 46,
// 52 pixels apart (a 22-pixel title over a 28-pixel row of options); the rows the survey
// leaves hidden take no room, so the free text follows the last question shown.
constexpr int kQuestionsTop = 75 + 46;
constexpr int kQuestionPitch = 52;
// The top of option n-m's row; its check box is drawn at rows 5 to 23 of the row.
constexpr ClientPoint OptionRow(int n, int m) {
    return ClientPoint{60 + (m - 1) * 174, kQuestionsTop + (n - 1) * kQuestionPitch + 22};
}
constexpr ClientPoint Option(int n, int m) {
    const ClientPoint row = OptionRow(n, m);
    return ClientPoint{row.x + 40, row.y + 14};
}
// The free-text box below the given number of questions: its rectangle, and its centre.
constexpr RECT OtherReasonRect(int questions) {
    const int top = kQuestionsTop + questions * kQuestionPitch + 26;
    return RECT{60, top, 740, top + 48};
}
constexpr ClientPoint OtherReason(int questions) {
    const RECT rc = OtherReasonRect(questions);
    return ClientPoint{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}
// The surveys that the end-to-end runs and the demo offer have two questions.
constexpr ClientPoint kOtherReason = OtherReason(2);
constexpr ClientPoint kCloseUnistall02{300, 75 + 340 + 22};
constexpr ClientPoint kBeginUnistall{500, 75 + 340 + 22};
// Final page (page container at 0,110).
constexpr ClientPoint kUnistallFinished{400, 110 + 292};

// Whether a click at the screen point reaches the window (or a popup it owns).
inline bool Reaches(HWND frame, POINT pt) {
    const HWND hit = ::WindowFromPoint(pt);
    return hit != nullptr &&
           (::GetAncestor(hit, GA_ROOT) == frame || ::GetAncestor(hit, GA_ROOTOWNER) == frame);
}

// A mouse input at the screen point. Each one carries the point: another program that reads the
// pointer's earlier motion late may move the pointer back, and a press with no point of its own
// would then land where that program put it.
inline void MouseAt(POINT pt, DWORD flags) {
    UiTest::SendMouse(flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt.x, pt.y);
}

// Moves the pointer to the point, lets the window see the hover, then presses and releases.
// Another program's window may cover the point until the window comes to the front, which on
// a busy machine can take a while: a click that landed on the other window would be lost.
inline void Click(HWND frame, ClientPoint p) {
    POINT pt{p.x, p.y};
    ::ClientToScreen(frame, &pt);
    ::SetForegroundWindow(frame);
    for (int waited = 0; !Reaches(frame, pt) && waited < 5000; waited += 50) {
        ::Sleep(50);
        ::SetForegroundWindow(frame);
    }
    MouseAt(pt, 0);
    ::Sleep(80);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    ::Sleep(40);
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
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
