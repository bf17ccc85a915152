#include <windows.h>

#include "ui/WindowManagerUI.h"

#include "ui/ControlUI.h"
#include "ui/WindowManagerState.h"

namespace SkinUI {

namespace {

CControlUI* CALLBACK FindControlsFromUpdate(CControlUI* control, LPVOID data) {
    (void)data;
    return control->IsUpdateNeeded() ? control : nullptr;
}

// A memory device context with a bitmap of the client size, compatible with
// the window's device context.
bool CreateSurface(HDC hDcPaint, const RECT& rcClient, HDC& hDC, HBITMAP& hBitmap) {
    hDC = ::CreateCompatibleDC(hDcPaint);
    hBitmap = ::CreateCompatibleBitmap(hDcPaint, rcClient.right - rcClient.left,
                                       rcClient.bottom - rcClient.top);
    if (hDC != nullptr && hBitmap != nullptr) {
        return true;
    }
    if (hDC != nullptr) {
        ::DeleteDC(hDC);
        hDC = nullptr;
    }
    if (hBitmap != nullptr) {
        ::DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    return false;
}

bool SurfaceCovers(HBITMAP hBitmap, const RECT& rcClient) {
    BITMAP info = {};
    if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(info), &info) == 0) {
        return false;
    }
    return info.bmWidth >= rcClient.right - rcClient.left &&
           info.bmHeight >= rcClient.bottom - rcClient.top;
}

// Black, as a surface the platform has just made.
void BlankSurface(HDC hDC, HBITMAP hBitmap, const RECT& rcClient) {
    HGDIOBJ old = ::SelectObject(hDC, hBitmap);
    ::PatBlt(hDC, 0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top, BLACKNESS);
    ::SelectObject(hDC, old);
}

} // namespace

void CWindowManagerUI::SetUpdateNeeded() {
    m_bUpdateNeeded = true;
}

bool CWindowManagerUI::IsUpdateNeeded() const {
    return m_bUpdateNeeded;
}

void CWindowManagerUI::Invalidate(const RECT& rcItem) {
    // A control without a window position yet has nothing on screen.
    if (m_hWndPaint == nullptr || ::IsRectEmpty(&rcItem)) {
        return;
    }
    if (m_dwLayoutThread == ::GetCurrentThreadId()) {
        ::UnionRect(&m_rcLayoutInvalid, &m_rcLayoutInvalid, &rcItem);
        return;
    }
    RequestRedraw(&rcItem);
}

void CWindowManagerUI::RequestRedraw(const RECT* rc) {
    if (m_hWndPaint != nullptr) {
        ::InvalidateRect(m_hWndPaint, rc, FALSE);
    }
}

void CWindowManagerUI::LayoutTree(const RECT& rcClient) {
    // Every control placed in this pass asks for its old and new places;
    // the window is asked once for all of them.
    // A pass started inside another (a paint forced during layout) adds to
    // the outer pass's rectangle.
    const bool outermost = m_dwLayoutThread != ::GetCurrentThreadId();
    if (outermost) {
        ::SetRectEmpty(&m_rcLayoutInvalid);
        m_dwLayoutThread = ::GetCurrentThreadId();
    }
    LayoutControls(rcClient);
    if (outermost) {
        m_dwLayoutThread = 0;
        if (!::IsRectEmpty(&m_rcLayoutInvalid)) {
            RequestRedraw(&m_rcLayoutInvalid);
        }
    }
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, L"windowinit");
    }
}

void CWindowManagerUI::LayoutControls(const RECT& rcClient) {
    if (m_pRoot->IsUpdateNeeded()) {
        m_pRoot->SetPos(rcClient);
        // The client size may have changed: the off-screen surface stays
        // while it still covers the client area, blank as a new one.
        if (!SurfaceCovers(m_hbmpOffscreen, rcClient)) {
            DeleteOffscreen();
        } else {
            BlankSurface(m_hDcOffscreen, m_hbmpOffscreen, rcClient);
        }
        DeleteBackground();
    } else {
        CControlUI* previous = nullptr;
        for (;;) {
            CControlUI* control = m_pRoot->FindControl(FindControlsFromUpdate, nullptr,
                                                       UIFIND_VISIBLE | UIFIND_ME_FIRST);
            // A control whose layout leaves it flagged would be found forever.
            if (control == nullptr || control == previous) {
                break;
            }
            control->SetPos(control->GetPos());
            previous = control;
        }
    }
}

bool CWindowManagerUI::OnPaint() {
    RECT rcPaint = {};
    if (!::GetUpdateRect(m_hWndPaint, &rcPaint, FALSE)) {
        return true;
    }
    if (m_pRoot == nullptr) {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return true;
    }
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (m_bUpdateNeeded) {
        m_bUpdateNeeded = false;
        if (!::IsRectEmpty(&rcClient)) {
            LayoutTree(rcClient);
        }
    }
    if (m_bFocusNeeded) {
        SetNextTabControl();
    }
    // The root may have gone during layout or focus handling.
    if (m_pRoot == nullptr) {
        ::ValidateRect(m_hWndPaint, nullptr);
        return true;
    }
    if (m_bOffscreenPaint && m_hbmpOffscreen == nullptr) {
        CreateSurface(m_hDcPaint, rcClient, m_hDcOffscreen, m_hbmpOffscreen);
    }
    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);
    if (!m_bOffscreenPaint || m_hbmpOffscreen == nullptr) {
        const int saved = ::SaveDC(ps.hdc);
        m_pRoot->Paint(ps.hdc, ps.rcPaint);
        ::RestoreDC(ps.hdc, saved);
    } else {
        PaintOffscreen(ps.hdc, ps.rcPaint, rcClient);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) {
        RequestRedraw(nullptr);
    }
    return true;
}

void CWindowManagerUI::PaintOffscreen(HDC hDcTarget, const RECT& rcPaint, const RECT& rcClient) {
    HGDIOBJ oldBitmap = ::SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
    const int saved = ::SaveDC(m_hDcOffscreen);
    const int x = rcPaint.left;
    const int y = rcPaint.top;
    const int cx = rcPaint.right - rcPaint.left;
    const int cy = rcPaint.bottom - rcPaint.top;
    if (m_bAlphaBackground) {
        if (m_hbmpBackground == nullptr &&
            CreateSurface(m_hDcPaint, rcClient, m_hDcBackground, m_hbmpBackground)) {
            ::SelectObject(m_hDcBackground, m_hbmpBackground);
            ::BitBlt(m_hDcBackground, x, y, cx, cy, hDcTarget, x, y, SRCCOPY);
        }
        if (m_hDcBackground != nullptr) {
            ::BitBlt(m_hDcOffscreen, x, y, cx, cy, m_hDcBackground, x, y, SRCCOPY);
        }
    }
    m_pRoot->Paint(m_hDcOffscreen, rcPaint);
    for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i) {
        static_cast<CControlUI*>(m_aPostPaintControls[i])->PaintOverlay(m_hDcOffscreen, rcPaint);
    }
    ::RestoreDC(m_hDcOffscreen, saved);
    ::BitBlt(hDcTarget, x, y, cx, cy, m_hDcOffscreen, x, y, SRCCOPY);
    ::SelectObject(m_hDcOffscreen, oldBitmap);
    if (m_bShowUpdateRect) {
        HGDIOBJ oldPen = ::SelectObject(hDcTarget, ManagerState().updateRectPen);
        HGDIOBJ oldBrush = ::SelectObject(hDcTarget, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(hDcTarget, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
        ::SelectObject(hDcTarget, oldBrush);
        ::SelectObject(hDcTarget, oldPen);
    }
}

} // namespace SkinUI
