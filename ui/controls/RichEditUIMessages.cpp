#include <windows.h>

#include <windowsx.h>

#include "ui/controls/RichEditUI.h"

#include "ui/controls/TextHost.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

namespace {

const UINT kFirstMouseMessage = WM_MOUSEMOVE; // 0x200
const UINT kLastMouseMessage = 0x020D;        // WM_XBUTTONDBLCLK
const UINT kFirstKeyMessage = WM_KEYDOWN;     // 0x100
const UINT kLastKeyMessage = 0x0108;

bool IsMouseMessage(UINT msg) {
    return msg >= kFirstMouseMessage && msg <= kLastMouseMessage;
}

bool IsKeyMessage(UINT msg) {
    return msg >= kFirstKeyMessage && msg <= kLastKeyMessage;
}

// Engine notices that go on to the window as WM_NOTIFY.
bool IsForwardedNotice(DWORD code) {
    return code == EN_MSGFILTER || (code >= EN_SELCHANGE && code <= EN_PROTECTED) ||
           code == EN_STOPNOUNDO || (code >= EN_SAVECLIPBOARD && code <= EN_DRAGDROPDONE);
}

} // namespace

HRESULT CRichEditUI::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam,
                                   LRESULT* plresult) const {
    auto* self = const_cast<CRichEditUI*>(this);
    ITextServices* services = m_pTwh != nullptr ? m_pTwh->GetTextServices() : nullptr;
    if (services == nullptr) {
        return S_FALSE;
    }
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
        if (!m_bWantReturn || (ctrl && !m_bWantCtrlReturn)) {
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(self, L"return");
            }
            self->m_bSwallowReturnChar = true;
            return S_OK;
        }
    }
    if (msg == WM_CHAR && (wParam == L'\r' || wParam == L'\n') && m_bSwallowReturnChar) {
        // The character of an Enter that went to "return" instead.
        self->m_bSwallowReturnChar = false;
        return S_OK;
    }
    if (msg == WM_KEYDOWN || msg == WM_CHAR) {
        self->m_bSwallowReturnChar = false;
    }
    LRESULT result = 0;
    const HRESULT hr = services->TxSendMessage(msg, wParam, lParam, &result);
    if (plresult != nullptr) {
        *plresult = result;
    }
    return hr;
}

bool CRichEditUI::OnTxViewChanged() {
    return true;
}

void CRichEditUI::OnTxNotify(DWORD iNotify, void* pv) {
    if (!IsForwardedNotice(iNotify) || pv == nullptr || m_pManager == nullptr) {
        return;
    }
    HWND hwnd = m_pManager->GetPaintWindow();
    if (hwnd == nullptr) {
        return;
    }
    auto* header = static_cast<NMHDR*>(pv);
    header->hwndFrom = hwnd;
    header->idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(hwnd, GWLP_ID));
    header->code = iNotify;
    ::SendMessageW(hwnd, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(pv));
}

void CRichEditUI::OnScrollBarShown() {
    // A bar shown or hidden by the engine changes the text rectangle; during
    // SetPos that pass deals with it itself.
    if (!m_bInSetPos) {
        MarkNeedsUpdate();
    }
}

// ---- The message filter ------------------------------------------------------------------

bool CRichEditUI::UnderPoint(POINT pt) const {
    return m_pManager->FindControlAt(pt) == this;
}

bool CRichEditUI::MouseInside(UINT uMsg, LPARAM lParam) const {
    if (m_pTwh->IsCaptured()) {
        return true;
    }
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (uMsg == WM_SETCURSOR) {
        // Its lParam holds a hit-test code, not a point.
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    } else if (uMsg == WM_MOUSEWHEEL) {
        ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    }
    const RECT rc = m_pTwh->GetControlRect();
    return ::PtInRect(&rc, pt) && !m_pManager->IsCaptured();
}

LRESULT CRichEditUI::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    return MessageHandler(uMsg, wParam, lParam, bHandled);
}

LRESULT CRichEditUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    if (!IsVisible() || !IsEnabled() || m_pTwh == nullptr || m_pManager == nullptr) {
        return 0;
    }
    const bool mouse = IsMouseMessage(uMsg);
    if (mouse && !IsMouseEnabled()) {
        return 0;
    }
    if (uMsg == WM_MOUSEWHEEL && (LOWORD(wParam) & MK_CONTROL) == 0) {
        return 0;
    }
    bool handledIfAccepted = true;
    if (mouse || uMsg == WM_SETCURSOR) {
        if (!m_pTwh->IsCaptured() && uMsg >= WM_LBUTTONDOWN && uMsg <= WM_RBUTTONUP) {
            if (!UnderPoint(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
                return 0;
            }
        }
        if (!MouseInside(uMsg, lParam)) {
            return 0;
        }
        if (uMsg == WM_SETCURSOR) {
            handledIfAccepted = false;
        } else if (uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONDBLCLK || uMsg == WM_RBUTTONDOWN) {
            SetFocus();
        }
    } else if (IsKeyMessage(uMsg)) {
        if (!IsFocused()) {
            return 0;
        }
    } else if (uMsg == WM_CONTEXTMENU) {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
        if (!UnderPoint(pt)) {
            return 0;
        }
    } else if (uMsg == WM_HELP) {
        handledIfAccepted = false;
    } else {
        return 0;
    }
    const bool captured = m_pTwh->IsCaptured();
    LRESULT result = 0;
    const HRESULT hr = TxSendMessage(uMsg, wParam, lParam, &result);
    if (hr == S_OK || IsKeyMessage(uMsg) || uMsg == WM_IME_CHAR || (mouse && captured)) {
        bHandled = handledIfAccepted;
    }
    return result;
}

// ---- Events ------------------------------------------------------------------------------

void CRichEditUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled() && m_pTwh != nullptr && m_pTwh->DoSetCursor(nullptr, &event.ptMouse)) {
            return;
        }
        break;
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS: {
        const bool focus = event.Type == UIEVENT_SETFOCUS;
        if (m_pTwh != nullptr) {
            m_pTwh->OnTxInPlaceActivate(nullptr);
            TxSendMessage(focus ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0, nullptr);
        }
        m_bFocused = focus;
        Invalidate();
        return;
    }
    case UIEVENT_TIMER:
        if (m_pTwh != nullptr) {
            TxSendMessage(WM_TIMER, event.wParam, event.lParam, nullptr);
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if ((event.wKeyState & UIKEYSTATE_CONTROL) != 0) {
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
    case UIEVENT_KEYDOWN:
    case UIEVENT_KEYUP:
    case UIEVENT_CHAR:
    case UIEVENT_SYSKEY:
        return;
    default:
        break;
    }
    CContainerUI::HandleEvent(event);
}

} // namespace SkinUI
