#pragma once
#include <windows.h>

#include "ui/UIString.h"

namespace SkinUI {

class CControlUI;

// Input event types handed to CControlUI::DispatchEvent. The values are
// fixed: controls compare ranges (keyboard events lie between
// UIEVENT__KEYBEGIN and UIEVENT__KEYEND, mouse events between
// UIEVENT__MOUSEBEGIN and UIEVENT__MOUSEEND).
enum EventTypeUI {
    UIEVENT__FIRST = 1,
    UIEVENT__KEYBEGIN = 2,
    UIEVENT_KEYDOWN = 3,
    UIEVENT_KEYUP = 4,
    UIEVENT_CHAR = 5,
    UIEVENT_SYSKEY = 6,
    UIEVENT__KEYEND = 7,
    UIEVENT__MOUSEBEGIN = 8,
    UIEVENT_MOUSEMOVE = 9,
    UIEVENT_MOUSELEAVE = 10,
    UIEVENT_MOUSEENTER = 11,
    UIEVENT_MOUSEHOVER = 12,
    UIEVENT_BUTTONDOWN = 13,
    UIEVENT_BUTTONUP = 14,
    UIEVENT_RBUTTONDOWN = 15,
    UIEVENT_DBLCLICK = 16,
    UIEVENT_CONTEXTMENU = 17,
    UIEVENT_SCROLLWHEEL = 18,
    UIEVENT__MOUSEEND = 19,
    UIEVENT_KILLFOCUS = 20,
    UIEVENT_SETFOCUS = 21,
    UIEVENT_WINDOWSIZE = 22,
    UIEVENT_SETCURSOR = 23,
    UIEVENT_TIMER = 24,
    UIEVENT__LAST = 25,
};

// Bits of the flags argument of CControlUI::FindControl.
enum FindControlFlag : UINT {
    UIFIND_ALL = 0x00000000,
    UIFIND_VISIBLE = 0x00000001,
    UIFIND_ENABLED = 0x00000002,
    UIFIND_HITTEST = 0x00000004,
    UIFIND_TOP_FIRST = 0x00000008,
    UIFIND_ME_FIRST = 0x80000000,
};

// Bits of CControlUI::GetControlFlags.
enum ControlFlagUI : UINT {
    UIFLAG_TABSTOP = 0x00000001,
    UIFLAG_SETCURSOR = 0x00000002,
};

// Bits of TInputEventUI::wKeyState for keyboard-like events (MapKeyState).
enum KeyStateUI : WORD {
    UIKEYSTATE_RBUTTON = 0x0001,
    UIKEYSTATE_LBUTTON = 0x0002,
    UIKEYSTATE_SHIFT = 0x0004,
    UIKEYSTATE_CONTROL = 0x0008,
    UIKEYSTATE_ALT = 0x0020,
};

// One input event for one control.
struct TInputEventUI {
    int Type;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    wchar_t chKey;
    WORD wKeyState;
    WPARAM wParam;
    LPARAM lParam;
};

// One notification for the window's listeners.
struct TNoticeUI {
    CUIString sType;
    CUIString sVirtualWnd;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    WPARAM wParam;
    LPARAM lParam;
};

// Receives the notifications of a window.
class INotifyUI {
public:
    virtual void Notify(TNoticeUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees every message of a window before the manager does.
class IMessageFilterUI {
public:
    virtual LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Offered every message of the message loop for its window; returns 0 when
// it consumed the message.
class ITranslateAccelerator {
public:
    virtual LRESULT TranslateAccelerator(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

// Answered by a control that may keep the Tab key for itself (the rich edit):
// its QueryInterfaceByName(L"WantTab") returns this interface. A control
// whose class name contains "RichEditUI" without it counts as wanting Tab.
class IWantTabUI {
public:
    virtual bool IsWantTab() = 0;

protected:
    ~IWantTabUI() = default;
};

} // namespace SkinUI
