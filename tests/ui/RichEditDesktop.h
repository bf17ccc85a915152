#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/controls/RichEditUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/support/DibSurface.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"
#include "tests/ui/support/ProbeControls.h"

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

class HostWnd : public UiTest::HostWindow {
public:
    HostWnd() : UiTest::HostWindow(L"RichEditTestHost") {}
    // Codes of the WM_NOTIFY messages the window received.
    std::vector<UINT> notifyCodes;

protected:
    void Seen(UINT message, WPARAM, LPARAM lParam) override {
        if (message == WM_NOTIFY && lParam != 0) {
            notifyCodes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        }
    }
};

using UiTest::Key;
using UiTest::LeftDown;
using UiTest::LeftUp;
using UiTest::Pump;
using UiTest::PumpFor;
using UiTest::PumpUntil;
using UiTest::SendMouse;

inline HostWnd& Host() {
    static HostWnd* host = nullptr;
    if (host == nullptr) {
        host = new HostWnd();
        host->Open(L"rich edit test", kLeft, kTop, kWidth, kHeight);
    }
    return *host;
}

inline CWindowManagerUI& Manager() {
    return Host().pm;
}

// A floating rich edit (or a probe class over it) at the given client
// rectangle, with skin attributes.
template <typename Edit = CRichEditUI>
inline Edit* NewRichEdit(const RECT& rc, LPCWSTR attributes = nullptr) {
    auto* edit = new Edit();
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

inline void MoveTo(int clientX, int clientY) {
    UiTest::MoveScreen(kLeft + clientX, kTop + clientY);
}

// A click that the system never takes for half of a double click.
inline void Click(int clientX, int clientY) {
    MoveTo(clientX, clientY);
    LeftDown();
    LeftUp();
    PumpFor(30);
}

inline void Wheel(int delta) {
    UiTest::Wheel(delta);
    PumpFor(30);
}

inline void Press(WORD vk) {
    UiTest::Press(vk);
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

// "line number 0" to "line number <count - 1>", one a line.
inline std::wstring Lines(int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += L"line number ";
        text += std::to_wstring(i);
        if (i + 1 < count) {
            text += L"\r";
        }
    }
    return text;
}

inline int VerticalPos(const CRichEditUI* edit) {
    const SkinUI::CScrollBarUI* bar = edit->GetVerticalScrollBar();
    return bar != nullptr ? bar->GetScrollPos() : -1;
}

inline bool VerticalShown(const CRichEditUI* edit) {
    const SkinUI::CScrollBarUI* bar = edit->GetVerticalScrollBar();
    return bar != nullptr && bar->IsVisible();
}

inline std::wstring TextOf(const CRichEditUI* edit) {
    const SkinUI::CUIString text = edit->GetText();
    return std::wstring(text.GetData(), static_cast<size_t>(text.GetLength()));
}

// The window's client area as painted now.
inline std::unique_ptr<TestSupport::DibSurface> Capture() {
    Settle();
    return UiTest::CaptureClient(Host(), kWidth, kHeight);
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

// Every notice of the window.
inline UiTest::NoticeLog& Notices() {
    static UiTest::NoticeLog* listener = nullptr;
    if (listener == nullptr) {
        listener = new UiTest::NoticeLog();
        Manager().AddNotifyListener(listener);
    }
    return *listener;
}

} // namespace RichEditTest
