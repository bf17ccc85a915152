#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/WindowWnd.h"
#include "ui/controls/RichEditUI.h"

#include "tests/support/DibSurface.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// One shown window whose manager holds a white root container; each test
// puts its rich edits into a fresh root, drives them with real input
// (SendInput) and reads texts and painted pixels back.
namespace RichEditTest {

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::CRichEditUI;
using SkinUI::CWindowManagerUI;

constexpr int kLeft = 80;
constexpr int kTop = 80;
constexpr int kWidth = 480;
constexpr int kHeight = 360;

class HostWnd : public SkinUI::CWindowWnd {
public:
    CWindowManagerUI pm;
    // Codes of the WM_NOTIFY messages the window received.
    std::vector<UINT> notifyCodes;

    LPCWSTR GetWindowClassName() const override { return L"RichEditTestHost"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) {
            pm.Init(m_hWnd);
            return 0;
        }
        if (message == WM_NOTIFY && lParam != 0) {
            notifyCodes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
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
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

inline HostWnd& Host() {
    static HostWnd* host = nullptr;
    if (host == nullptr) {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        host = new HostWnd();
        host->Create(nullptr, L"rich edit test", WS_POPUP | WS_VISIBLE, 0, kLeft, kTop, kWidth,
                     kHeight);
        ::SetForegroundWindow(*host);
        ::SetFocus(*host);
        PumpFor(50);
    }
    return *host;
}

inline CWindowManagerUI& Manager() {
    return Host().pm;
}

// A floating rich edit at the given client rectangle, with skin attributes.
inline CRichEditUI* NewRichEdit(const RECT& rc, LPCWSTR attributes = nullptr) {
    auto* edit = new CRichEditUI();
    edit->SetFloating(true);
    edit->SetFixedXY(SIZE{rc.left, rc.top});
    edit->SetFixedWidth(rc.right - rc.left);
    edit->SetFixedHeight(rc.bottom - rc.top);
    if (attributes != nullptr) {
        edit->ApplyAttributeList(attributes);
    }
    return edit;
}

// A fresh white root holding the given controls, laid out and painted.
inline CContainerUI* NewRoot(std::initializer_list<CControlUI*> children) {
    auto* root = new CContainerUI();
    root->SetBkColor(0xFFFFFFFF);
    for (CControlUI* child : children) {
        root->Add(child);
    }
    Manager().AttachRootControl(root);
    ::InvalidateRect(Host(), nullptr, FALSE);
    Pump();
    ::UpdateWindow(Host());
    Pump();
    return root;
}

// Lays out and paints what is pending.
inline void Settle() {
    Pump();
    ::UpdateWindow(Host());
    Pump();
}

// ---- Real input ----------------------------------------------------------------------------

inline void SendMouse(DWORD flags, int screenX = 0, int screenY = 0, DWORD data = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    if ((flags & MOUSEEVENTF_ABSOLUTE) != 0) {
        const int cx = ::GetSystemMetrics(SM_CXSCREEN);
        const int cy = ::GetSystemMetrics(SM_CYSCREEN);
        // Rounded up: the system scales back down by truncation.
        input.mi.dx = static_cast<LONG>((screenX * 65536LL + cx - 1) / cx);
        input.mi.dy = static_cast<LONG>((screenY * 65536LL + cy - 1) / cy);
    }
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

inline void MoveTo(int clientX, int clientY) {
    const int x = kLeft + clientX;
    const int y = kTop + clientY;
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    PumpUntil([&] {
        POINT pt = {};
        ::GetCursorPos(&pt);
        return pt.x == x && pt.y == y;
    });
    Pump();
}

// A click that the system never takes for half of a double click.
inline void Click(int clientX, int clientY) {
    static ULONGLONG lastTick = 0;
    MoveTo(clientX, clientY);
    const ULONGLONG wait = ::GetDoubleClickTime() + 50;
    const ULONGLONG since = ::GetTickCount64() - lastTick;
    if (since < wait) {
        ::Sleep(static_cast<DWORD>(wait - since));
    }
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    lastTick = ::GetTickCount64();
    PumpFor(30);
}

inline void Wheel(int delta) {
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta));
    PumpFor(30);
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
    PumpFor(20);
}

inline void PressWith(WORD modifier, WORD vk) {
    Key(modifier);
    Key(vk);
    Key(vk, true);
    Key(modifier, true);
    PumpFor(20);
}

// Types letters, digits and blanks as virtual keys (upper-case letters with
// Shift), and every other character as a Unicode keystroke.
inline void Type(const std::wstring& text) {
    for (wchar_t ch : text) {
        if ((ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9') || ch == L' ') {
            Press(static_cast<WORD>(ch >= L'a' ? ch - L'a' + 'A' : ch));
        } else if (ch >= L'A' && ch <= L'Z') {
            PressWith(VK_SHIFT, static_cast<WORD>(ch));
        } else {
            INPUT input[2] = {};
            for (INPUT& in : input) {
                in.type = INPUT_KEYBOARD;
                in.ki.wScan = ch;
                in.ki.dwFlags = KEYEVENTF_UNICODE;
            }
            input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
            ::SendInput(2, input, sizeof(INPUT));
            PumpFor(20);
        }
    }
    PumpFor(30);
}

// ---- Reading back --------------------------------------------------------------------------

inline std::wstring TextOf(const CRichEditUI* edit) {
    const SkinUI::CUIString text = edit->GetText();
    return std::wstring(text.GetData(), static_cast<size_t>(text.GetLength()));
}

// The window's client area as painted now.
inline std::unique_ptr<TestSupport::DibSurface> Capture() {
    Settle();
    auto surface = std::make_unique<TestSupport::DibSurface>(kWidth, kHeight);
    HDC dc = ::GetDC(Host());
    ::BitBlt(surface->DC(), 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(Host(), dc);
    return surface;
}

// Pixels inside rc that differ between two captures.
inline int ChangedPixels(const TestSupport::DibSurface& a, const TestSupport::DibSurface& b,
                         const RECT& rc) {
    int changed = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            changed += a.Rgb(x, y) != b.Rgb(x, y) ? 1 : 0;
        }
    }
    return changed;
}

// Pixels inside rc that are not the given colour (0xRRGGBB).
inline int PixelsNot(const TestSupport::DibSurface& s, const RECT& rc, uint32_t rgb) {
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            count += s.Rgb(x, y) != rgb ? 1 : 0;
        }
    }
    return count;
}

// Notifications of one type, counted.
class Listener : public SkinUI::INotifyUI {
public:
    void Notify(SkinUI::TNoticeUI& msg) override {
        types.emplace_back(msg.sType.GetData());
        senders.push_back(msg.pSender);
    }
    int Count(const wchar_t* type, const CControlUI* sender = nullptr) const {
        int n = 0;
        for (size_t i = 0; i < types.size(); ++i) {
            if (types[i] == type && (sender == nullptr || senders[i] == sender)) {
                ++n;
            }
        }
        return n;
    }
    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
};

inline Listener& Notices() {
    static Listener* listener = nullptr;
    if (listener == nullptr) {
        listener = new Listener();
        Manager().AddNotifyListener(listener);
    }
    return *listener;
}

} // namespace RichEditTest
