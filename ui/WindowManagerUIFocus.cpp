#include <windows.h>

#include "ui/WindowManagerUI.h"

#include "ui/ControlUI.h"
#include "ui/WindowManagerState.h"

#include <cwchar>

namespace SkinUI {

namespace {

struct TabSearch {
    CControlUI* focus; // the control the search starts from, may be null
    CControlUI* last;  // the last tab stop seen so far
    bool forward;
    bool nextIsIt; // forward: the focus has been passed
};

CControlUI* CALLBACK FindControlFromTab(CControlUI* control, LPVOID data) {
    auto* search = static_cast<TabSearch*>(data);
    if (control == search->focus) {
        if (search->forward) {
            search->nextIsIt = true;
            return nullptr;
        }
        // Backward: the tab stop before the focus, if there was one.
        if (search->last != nullptr) {
            return search->last;
        }
    }
    if ((control->GetControlFlags() & UIFLAG_TABSTOP) == 0) {
        return nullptr;
    }
    if (search->forward) {
        if (search->focus == nullptr || search->nextIsIt) {
            return control;
        }
        return nullptr;
    }
    search->last = control;
    return nullptr;
}

struct ShortcutSearch {
    wchar_t ch;
    bool pickNext;
};

wchar_t UpperChar(wchar_t ch) {
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
        ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
}

CControlUI* CALLBACK FindControlFromShortcut(CControlUI* control, LPVOID data) {
    if (!control->IsVisible()) {
        return nullptr;
    }
    auto* search = static_cast<ShortcutSearch*>(data);
    const wchar_t shortcut = control->GetShortcut();
    if (shortcut != 0 && UpperChar(shortcut) == search->ch) {
        search->pickNext = true;
    }
    // A label's shortcut selects the control that follows it.
    if (std::wcsstr(control->GetClass(), L"LabelUI") != nullptr) {
        return nullptr;
    }
    return search->pickNext ? control : nullptr;
}

bool WantsTab(CControlUI* control) {
    if (control == nullptr || !control->IsVisible() || !control->IsEnabled() ||
        std::wcsstr(control->GetClass(), L"RichEditUI") == nullptr) {
        return false;
    }
    auto* wantTab = static_cast<IWantTabUI*>(control->QueryInterfaceByName(L"WantTab"));
    return wantTab == nullptr || wantTab->IsWantTab();
}

} // namespace

// Bits of MapKeyState as controls read them.
WORD MapKeyState() {
    WORD state = 0;
    if (::GetKeyState(VK_CONTROL) < 0) {
        state |= UIKEYSTATE_CONTROL;
    }
    if (::GetKeyState(VK_RBUTTON) < 0) {
        state |= UIKEYSTATE_RBUTTON;
    }
    if (::GetKeyState(VK_LBUTTON) < 0) {
        state |= UIKEYSTATE_LBUTTON;
    }
    if (::GetKeyState(VK_SHIFT) < 0) {
        state |= UIKEYSTATE_SHIFT;
    }
    if (::GetKeyState(VK_MENU) < 0) {
        state |= UIKEYSTATE_ALT;
    }
    return state;
}

// ---- Capture -----------------------------------------------------------------

void CWindowManagerUI::SetCapture() {
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CWindowManagerUI::ReleaseCapture() {
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CWindowManagerUI::IsCaptured() const {
    return m_bMouseCapture;
}

// ---- Focus ---------------------------------------------------------------------

CControlUI* CWindowManagerUI::GetFocus() const {
    return m_pFocus;
}

void CWindowManagerUI::SetFocus(CControlUI* control) {
    if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint && control != m_pFocus) {
        ::SetFocus(m_hWndPaint);
    }
    if (control == m_pFocus) {
        return;
    }
    if (m_pFocus != nullptr) {
        CControlUI* old = m_pFocus;
        FireEvent(old, UIEVENT_KILLFOCUS, control);
        // The kill-focus handler may have deleted the control.
        if (m_pFocus == old) {
            SendNotify(old, L"killfocus");
        }
        m_pFocus = nullptr;
    }
    if (control != nullptr && control->GetManager() == this && control->IsVisible() &&
        control->IsEnabled()) {
        m_pFocus = control;
        FireEvent(control, UIEVENT_SETFOCUS, control);
        if (m_pFocus == control) {
            SendNotify(control, L"setfocus");
        }
    }
}

void CWindowManagerUI::SetFocusNeeded(CControlUI* control) {
    if (m_hWndPaint != nullptr) {
        ::SetFocus(m_hWndPaint);
    }
    if (control == nullptr) {
        return;
    }
    if (m_pFocus != nullptr) {
        CControlUI* old = m_pFocus;
        FireEvent(old, UIEVENT_KILLFOCUS, control);
        if (m_pFocus == old) {
            SendNotify(old, L"killfocus");
        }
        m_pFocus = nullptr;
    }
    TabSearch search = {control, nullptr, false, false};
    CControlUI* before = nullptr;
    if (m_pRoot != nullptr) {
        before = m_pRoot->FindControl(FindControlFromTab, &search,
                                      UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
    }
    CControlUI* reference = before != nullptr ? before : search.last;
    // The control itself as reference would make the next paint's step
    // land on a control that already counts as focused, with no set-focus.
    m_pFocus = reference == control ? nullptr : reference;
    m_bFocusNeeded = true;
    if (m_pRoot != nullptr) {
        m_pRoot->MarkNeedsUpdate();
    }
}

bool CWindowManagerUI::SetNextTabControl(bool forward) {
    if (m_bUpdateNeeded && forward) {
        m_bFocusNeeded = true;
        RequestRedraw(nullptr);
        return true;
    }
    if (m_pRoot == nullptr) {
        return false;
    }
    const UINT flags = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;
    TabSearch search = {m_pFocus, nullptr, forward, false};
    CControlUI* next = m_pRoot->FindControl(FindControlFromTab, &search, flags);
    if (next == nullptr) {
        if (forward) {
            TabSearch wrap = {nullptr, nullptr, true, false};
            next = m_pRoot->FindControl(FindControlFromTab, &wrap, flags);
        } else {
            next = search.last;
        }
    }
    if (next != nullptr) {
        SetFocus(next);
    }
    m_bFocusNeeded = false;
    return true;
}

// ---- Keys before dispatch --------------------------------------------------------

bool CWindowManagerUI::PreTranslateKey(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    (void)lParam;
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) {
            return false;
        }
        if (WantsTab(m_pFocus)) {
            return false;
        }
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        lRes = 0;
        return true;
    case WM_SYSCHAR: {
        if (m_pRoot == nullptr) {
            return false;
        }
        ShortcutSearch search = {UpperChar(static_cast<wchar_t>(wParam)), false};
        CControlUI* control = m_pRoot->FindControl(
            FindControlFromShortcut, &search, UIFIND_ENABLED | UIFIND_ME_FIRST | UIFIND_TOP_FIRST);
        if (control == nullptr) {
            return false;
        }
        control->SetFocus();
        control->Activate();
        lRes = 0;
        return true;
    }
    case WM_SYSKEYDOWN:
        if (m_pFocus != nullptr) {
            FireEvent(m_pFocus, UIEVENT_SYSKEY, nullptr, 0, 0, MapKeyState(),
                      static_cast<wchar_t>(wParam));
        }
        return false;
    default:
        return false;
    }
}

bool CWindowManagerUI::PreTranslateMessage(const LPMSG pMsg) {
    if (pMsg == nullptr || pMsg->hwnd == nullptr) {
        return false;
    }
    CUIPtrArray& managers = ManagerState().managers;
    LRESULT lRes = 0;
    const LONG style = ::GetWindowLongW(pMsg->hwnd, GWL_STYLE);
    if ((style & WS_CHILD) == 0) {
        for (int i = 0; i < managers.GetSize(); ++i) {
            auto* manager = static_cast<CWindowManagerUI*>(managers[i]);
            if (manager->GetPaintWindow() == pMsg->hwnd) {
                if (manager->TranslateAccelerator(pMsg)) {
                    return true;
                }
                return manager->PreTranslateKey(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
            }
        }
        return false;
    }
    for (int i = managers.GetSize() - 1; i >= 0; --i) {
        auto* manager = static_cast<CWindowManagerUI*>(managers[i]);
        for (HWND ancestor = ::GetParent(pMsg->hwnd); ancestor != nullptr;
             ancestor = ::GetParent(ancestor)) {
            if (pMsg->hwnd != manager->GetPaintWindow() && ancestor != manager->GetPaintWindow()) {
                continue;
            }
            if (manager->TranslateAccelerator(pMsg)) {
                return true;
            }
            // Once per manager, so that Tab moves the focus by one stop.
            manager->PreTranslateKey(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
            break;
        }
    }
    return false;
}

void CWindowManagerUI::RunMessageLoop() {
    MSG msg = {};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!CWindowManagerUI::PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace SkinUI
