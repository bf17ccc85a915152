#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "ui/WindowManagerUI.h"

#include "ui/ControlUI.h"
#include "ui/WindowManagerState.h"

namespace SkinUI {

namespace {

const UINT kDelayedCleanupMessage = WM_APP + 1;
// Controls of native child windows answer reflected messages.
const UINT kReflectOffset = 0x2000;
const UINT kDefaultHoverTime = 400;

POINT PointFromLParam(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

void CWindowManagerUI::FireEvent(CControlUI* control, int type, CControlUI* sender, WPARAM wParam,
                                 LPARAM lParam, WORD keyState, wchar_t key) {
    if (control == nullptr) {
        return;
    }
    TInputEventUI event = {};
    event.Type = type;
    event.pSender = sender;
    event.dwTimestamp = ::GetTickCount();
    event.chKey = key;
    event.wKeyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    switch (type) {
    case UIEVENT_KILLFOCUS:
    case UIEVENT_SETFOCUS:
    case UIEVENT_WINDOWSIZE:
    case UIEVENT_TIMER:
        break;
    default:
        event.ptMouse = m_ptLastMousePos;
        break;
    }
    control->DispatchEvent(event);
}

bool CWindowManagerUI::HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    if (m_hWndPaint == nullptr) {
        return false;
    }
    DrainNotices();
    for (int i = 0; i < m_aMessageFilters.GetSize(); ++i) {
        bool handled = false;
        auto* filter = static_cast<IMessageFilterUI*>(m_aMessageFilters[i]);
        const LRESULT result = filter->FilterMessage(uMsg, wParam, lParam, handled);
        if (handled) {
            lRes = result;
            return true;
        }
    }
    switch (uMsg) {
    case WM_SIZE:
        FireEvent(m_pFocus, UIEVENT_WINDOWSIZE, m_pFocus);
        if (m_pRoot != nullptr) {
            m_pRoot->MarkNeedsUpdate();
        }
        lRes = 0;
        return true;
    case WM_PAINT:
        OnPaint();
        lRes = 0;
        return true;
    case WM_ERASEBKGND:
        lRes = 1;
        return true;
    case WM_CLOSE: {
        FireEvent(m_pEventHover, UIEVENT_MOUSELEAVE, m_pEventHover);
        FireEvent(m_pEventClick, UIEVENT_BUTTONUP, m_pEventClick);
        SetFocus(nullptr);
        HWND owner = ::GetWindow(m_hWndPaint, GW_OWNER);
        if (owner != nullptr) {
            ::SetFocus(owner);
        }
        break;
    }
    case WM_SETCURSOR:
        if (OnSetCursor(wParam, lParam)) {
            lRes = 0;
            return true;
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info != nullptr) {
            if (m_szMinWindow.cx > 0) {
                info->ptMinTrackSize.x = m_szMinWindow.cx;
            }
            if (m_szMinWindow.cy > 0) {
                info->ptMinTrackSize.y = m_szMinWindow.cy;
            }
            if (m_szMaxWindow.cx > 0) {
                info->ptMaxTrackSize.x = m_szMaxWindow.cx;
            }
            if (m_szMaxWindow.cy > 0) {
                info->ptMaxTrackSize.y = m_szMaxWindow.cy;
            }
        }
        break;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        lRes = header != nullptr
                   ? ::SendMessageW(header->hwndFrom, WM_NOTIFY + kReflectOffset, wParam, lParam)
                   : 0;
        return true;
    }
    case WM_COMMAND:
        if (lParam == 0) {
            break;
        }
        lRes = ::SendMessageW(reinterpret_cast<HWND>(lParam), WM_COMMAND + kReflectOffset, wParam,
                              lParam);
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) {
            break;
        }
        lRes =
            ::SendMessageW(reinterpret_cast<HWND>(lParam), uMsg + kReflectOffset, wParam, lParam);
        return true;
    case WM_CONTEXTMENU:
        OnContextMenu(wParam, lParam);
        break;
    case WM_KEYDOWN:
        if (m_pFocus != nullptr) {
            m_pEventKey = m_pFocus;
            FireEvent(m_pFocus, UIEVENT_KEYDOWN, nullptr, 0, 0, MapKeyState(),
                      static_cast<wchar_t>(wParam));
        }
        break;
    case WM_KEYUP:
        if (m_pEventKey != nullptr) {
            CControlUI* key = m_pEventKey;
            FireEvent(key, UIEVENT_KEYUP, nullptr, 0, 0, MapKeyState(),
                      static_cast<wchar_t>(wParam));
            m_pEventKey = nullptr;
        }
        break;
    case WM_CHAR:
        FireEvent(m_pFocus, UIEVENT_CHAR, nullptr, 0, 0, MapKeyState(),
                  static_cast<wchar_t>(wParam));
        break;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        OnButtonDown(uMsg, wParam, lParam);
        break;
    case WM_LBUTTONUP:
        OnButtonUp(wParam, lParam);
        break;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        break;
    case WM_MOUSEHOVER:
        if (OnMouseHover(lParam)) {
            lRes = 0;
            return true;
        }
        break;
    case WM_MOUSELEAVE:
        HideToolTip();
        // A hover ends the tracking flag but not the leave tracking: after
        // one, the hover control still has to hear that the mouse left.
        if (m_bMouseTracking || m_pEventHover != nullptr) {
            ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
        }
        m_bMouseTracking = false;
        break;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        break;
    case kDelayedCleanupMessage:
        DeleteCleanupControls();
        break;
    default:
        break;
    }
    DrainNotices();
    return false;
}

bool CWindowManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) != HTCLIENT) {
        return false;
    }
    if (m_bMouseCapture) {
        return true;
    }
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* control = OwnControlAt(pt);
    if (control == nullptr || (control->GetControlFlags() & UIFLAG_SETCURSOR) == 0) {
        return false;
    }
    TInputEventUI event = {};
    event.Type = UIEVENT_SETCURSOR;
    event.pSender = nullptr;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse = pt;
    event.wKeyState = MapKeyState();
    event.wParam = wParam;
    event.lParam = lParam;
    control->DispatchEvent(event);
    return true;
}

void CWindowManagerUI::OnTimer(WPARAM wParam) {
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const auto* timer = static_cast<const TTimerRecordUI*>(m_aTimers[i]);
        if (timer->hWnd == m_hWndPaint && timer->uWinTimer == LOWORD(wParam) && !timer->bKilled) {
            FireEvent(timer->pSender, UIEVENT_TIMER, timer->pSender, timer->nLocalID);
            return;
        }
    }
}

bool CWindowManagerUI::OnMouseMove(LPARAM lParam) {
    if (!m_bMouseTracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWndPaint;
        track.dwHoverTime = m_hwndTooltip == nullptr
                                ? kDefaultHoverTime
                                : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME,
                                                                    TTDT_INITIAL, 0));
        ::TrackMouseEvent(&track);
        m_bMouseTracking = true;
    }
    m_ptLastMousePos = PointFromLParam(lParam);
    CControlUI* control = FindControlAt(m_ptLastMousePos);
    if (control != nullptr && control->GetManager() != this) {
        return false;
    }
    if (control != m_pEventHover && m_pEventHover != nullptr) {
        CControlUI* old = m_pEventHover;
        m_pEventHover = nullptr;
        FireEvent(old, UIEVENT_MOUSELEAVE, old);
        HideToolTip();
    }
    if (control != m_pEventHover && control != nullptr) {
        FireEvent(control, UIEVENT_MOUSEENTER, control);
        m_pEventHover = control;
    }
    if (m_pEventClick != nullptr) {
        FireEvent(m_pEventClick, UIEVENT_MOUSEMOVE, m_pEventClick);
    } else if (control != nullptr) {
        FireEvent(control, UIEVENT_MOUSEMOVE, control);
    }
    return true;
}

void CWindowManagerUI::OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    ::SetFocus(m_hWndPaint);
    m_ptLastMousePos = PointFromLParam(lParam);
    CControlUI* control = OwnControlAt(m_ptLastMousePos);
    if (control == nullptr) {
        return;
    }
    m_pEventClick = control;
    if (uMsg != WM_LBUTTONDBLCLK) {
        control->SetFocus();
    }
    SetCapture();
    const int type = uMsg == WM_LBUTTONDOWN   ? UIEVENT_BUTTONDOWN
                     : uMsg == WM_RBUTTONDOWN ? UIEVENT_RBUTTONDOWN
                                              : UIEVENT_DBLCLICK;
    // The focus change above may have removed the control.
    if (m_pEventClick == control) {
        FireEvent(control, type, control, wParam, lParam, LOWORD(wParam));
    }
}

void CWindowManagerUI::OnButtonUp(WPARAM wParam, LPARAM lParam) {
    m_ptLastMousePos = PointFromLParam(lParam);
    if (m_pEventClick == nullptr) {
        return;
    }
    CControlUI* control = m_pEventClick;
    ReleaseCapture();
    FireEvent(control, UIEVENT_BUTTONUP, control, wParam, lParam, LOWORD(wParam));
    m_pEventClick = nullptr;
}

void CWindowManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    CControlUI* control = OwnControlAt(pt);
    if (control == nullptr) {
        return;
    }
    const WPARAM towardUser = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
    FireEvent(control, UIEVENT_SCROLLWHEEL, control, towardUser, lParam, MapKeyState());
    ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0,
                   MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
}

void CWindowManagerUI::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    if (m_pEventClick == nullptr) {
        return;
    }
    CControlUI* control = m_pEventClick;
    ReleaseCapture();
    FireEvent(control, UIEVENT_CONTEXTMENU, control, 0, reinterpret_cast<LPARAM>(control),
              LOWORD(wParam));
    m_pEventClick = nullptr;
}

bool CWindowManagerUI::OnMouseHover(LPARAM lParam) {
    m_bMouseTracking = false;
    const POINT pt = PointFromLParam(lParam);
    CControlUI* control = OwnControlAt(pt);
    if (control == nullptr) {
        return false;
    }
    if (m_pEventHover != nullptr) {
        FireEvent(m_pEventHover, UIEVENT_MOUSEHOVER, m_pEventHover);
    }
    // The hover handler may have removed the control under the mouse.
    if (OwnControlAt(pt) == control && !control->GetToolTip().IsEmpty()) {
        ShowToolTip(control);
    }
    return true;
}

void CWindowManagerUI::ShowToolTip(CControlUI* control) {
    const CUIString text = control->GetToolTip();
    m_ToolTip = TOOLINFOW();
    m_ToolTip.cbSize = TTTOOLINFOW_V2_SIZE;
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = GetInstance();
    m_ToolTip.lpszText = const_cast<LPWSTR>(text.GetData());
    m_ToolTip.rect = control->GetPos();
    if (m_hwndTooltip == nullptr) {
        PrepareCommonControls();
        m_hwndTooltip =
            ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              m_hWndPaint, nullptr, GetInstance(), nullptr);
        if (m_hwndTooltip == nullptr) {
            return;
        }
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
    // The tooltip copied the text; the record must not point at it later.
    m_ToolTip.lpszText = nullptr;
}

void CWindowManagerUI::HideToolTip() {
    if (m_hwndTooltip != nullptr) {
        ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE,
                       reinterpret_cast<LPARAM>(&m_ToolTip));
    }
}

void CWindowManagerUI::OnPrintClient(HDC hDC, LPARAM lParam) {
    if (m_pRoot == nullptr || hDC == nullptr) {
        return;
    }
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    const int saved = ::SaveDC(hDC);
    m_pRoot->Paint(hDC, rcClient);
    ::RestoreDC(hDC, saved);
    if ((lParam & PRF_CHILDREN) == 0) {
        return;
    }
    for (HWND child = ::GetWindow(m_hWndPaint, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rcPos = {};
        ::GetWindowRect(child, &rcPos);
        ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
        POINT oldOrigin = {};
        ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, &oldOrigin);
        ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        ::SetWindowOrgEx(hDC, oldOrigin.x, oldOrigin.y, nullptr);
    }
}

} // namespace SkinUI
