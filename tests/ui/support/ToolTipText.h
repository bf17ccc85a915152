#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace UiTest {

// The text of the tool a window manager keeps in its tool tip: one tool for
// the whole owner window, identified by the window itself.
inline std::wstring ToolTipText(HWND tip, HWND owner) {
    wchar_t text[80] = {};
    TTTOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(owner);
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, sizeof text / sizeof text[0],
                   reinterpret_cast<LPARAM>(&info));
    return text;
}

} // namespace UiTest
