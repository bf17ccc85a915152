#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/controls/ScrollBarUI.h"

#include "ui/ContainerUI.h"
#include "ui/WindowManagerUI.h"

#include <algorithm>
#include <climits>

namespace SkinUI {

void CScrollBarUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        PassOn(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            OnButtonDown(event);
        }
        return;
    case UIEVENT_BUTTONUP:
        OnButtonUp();
        return;
    case UIEVENT_MOUSEMOVE:
        OnMouseMove(event);
        return;
    case UIEVENT_TIMER:
        if (event.wParam == kRepeatTimerId) {
            OnTimer();
            return;
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            OnMouseEnter(event);
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            OnMouseLeave();
        }
        return;
    default:
        break;
    }
    PassOn(event);
}

void CScrollBarUI::PassOn(TInputEventUI& event) {
    if (m_pOwner != nullptr) {
        m_pOwner->HandleEvent(event);
    } else {
        CControlUI::HandleEvent(event);
    }
}

void CScrollBarUI::OnButtonDown(const TInputEventUI& event) {
    m_nLastScrollOffset = 0;
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr) {
        m_pManager->SetTimer(this, kRepeatTimerId, kRepeatElapse);
    }
    const POINT pt = event.ptMouse;
    if (::PtInRect(&m_rcButton1, pt)) {
        m_uButton1State |= kStatePushed;
        LineBack();
    } else if (::PtInRect(&m_rcButton2, pt)) {
        m_uButton2State |= kStatePushed;
        LineForward();
    } else if (::PtInRect(&m_rcThumb, pt)) {
        m_uThumbState |= kStatePushed | kStateCaptured;
        m_ptLastMouse = pt;
        m_nLastScrollPos = m_nScrollPos;
    } else if (BeforeThumb(pt)) {
        PageBack();
    } else if (AfterThumb(pt)) {
        PageForward();
    }
    NotifyScroll();
}

void CScrollBarUI::OnButtonUp() {
    m_nLastScrollOffset = 0;
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr) {
        m_pManager->KillTimer(this, kRepeatTimerId);
    }
    if ((m_uThumbState & kStateCaptured) != 0) {
        m_uThumbState &= ~(kStatePushed | kStateCaptured);
    } else if ((m_uButton1State & kStatePushed) != 0) {
        m_uButton1State &= ~kStatePushed;
    } else if ((m_uButton2State & kStatePushed) != 0) {
        m_uButton2State &= ~kStatePushed;
    } else {
        return;
    }
    Invalidate();
}

// The drag is measured against the free track (between the buttons that
// are shown, less the thumb), so a bar without buttons follows the mouse
// as closely as one with them.
void CScrollBarUI::OnMouseMove(const TInputEventUI& event) {
    if ((m_uThumbState & kStateCaptured) != 0) {
        const long long track = m_bHorizontal ? m_rcButton2.left - m_rcButton1.right
                                              : m_rcButton2.top - m_rcButton1.bottom;
        const long long thumb =
            m_bHorizontal ? m_rcThumb.right - m_rcThumb.left : m_rcThumb.bottom - m_rcThumb.top;
        const long long divisor = track - thumb;
        if (divisor <= 0) {
            return;
        }
        long long moved = m_bHorizontal ? static_cast<long long>(event.ptMouse.x) - m_ptLastMouse.x
                                        : static_cast<long long>(event.ptMouse.y) - m_ptLastMouse.y;
        // Beyond a whole track the position is at an end anyway.
        moved = std::min(std::max(moved, -divisor), divisor);
        m_nLastScrollOffset = SaturateToInt(moved * m_nRange / divisor);
        return;
    }
    const bool over = ::PtInRect(&m_rcThumb, event.ptMouse) != FALSE;
    const UINT before = m_uThumbState;
    if (over && IsEnabled()) {
        m_uThumbState |= kStateHot;
    } else if (!over) {
        m_uThumbState &= ~kStateHot;
    }
    if (m_uThumbState != before) {
        Invalidate();
    }
}

void CScrollBarUI::OnTimer() {
    ++m_nScrollRepeatDelay;
    if ((m_uThumbState & kStateCaptured) != 0) {
        MoveTo(static_cast<long long>(m_nLastScrollPos) + m_nLastScrollOffset);
        Invalidate();
        NotifyScroll();
        return;
    }
    if ((m_uButton1State & kStatePushed) != 0 || (m_uButton2State & kStatePushed) != 0) {
        if (m_nScrollRepeatDelay < kFirstRepeatTick) {
            return;
        }
        if ((m_uButton1State & kStatePushed) != 0) {
            LineBack();
        } else {
            LineForward();
        }
        NotifyScroll();
        return;
    }
    if (m_nScrollRepeatDelay < kFirstRepeatTick || m_pManager == nullptr) {
        return;
    }
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    if (BeforeThumb(pt)) {
        PageBack();
    } else if (AfterThumb(pt)) {
        PageForward();
    }
    NotifyScroll();
}

void CScrollBarUI::OnMouseEnter(const TInputEventUI& event) {
    m_uButton1State |= kStateHot;
    m_uButton2State |= kStateHot;
    if (::PtInRect(&m_rcThumb, event.ptMouse)) {
        m_uThumbState |= kStateHot;
    }
    Invalidate();
}

void CScrollBarUI::OnMouseLeave() {
    m_uButton1State &= ~kStateHot;
    m_uButton2State &= ~kStateHot;
    m_uThumbState &= ~kStateHot;
    Invalidate();
}

bool CScrollBarUI::BeforeThumb(POINT pt) const {
    return m_bHorizontal ? pt.x < m_rcThumb.left : pt.y < m_rcThumb.top;
}

bool CScrollBarUI::AfterThumb(POINT pt) const {
    return m_bHorizontal ? pt.x >= m_rcThumb.right : pt.y >= m_rcThumb.bottom;
}

void CScrollBarUI::LineBack() {
    if (m_pOwner == nullptr) {
        MoveTo(static_cast<long long>(m_nScrollPos) - m_nLineSize);
    } else if (m_bHorizontal) {
        m_pOwner->LineLeft();
    } else {
        m_pOwner->LineUp();
    }
}

void CScrollBarUI::LineForward() {
    if (m_pOwner == nullptr) {
        MoveTo(static_cast<long long>(m_nScrollPos) + m_nLineSize);
    } else if (m_bHorizontal) {
        m_pOwner->LineRight();
    } else {
        m_pOwner->LineDown();
    }
}

void CScrollBarUI::PageBack() {
    if (m_pOwner == nullptr) {
        MoveTo(static_cast<long long>(m_nScrollPos) - Extent());
    } else if (m_bHorizontal) {
        m_pOwner->PageLeft();
    } else {
        m_pOwner->PageUp();
    }
}

void CScrollBarUI::PageForward() {
    if (m_pOwner == nullptr) {
        MoveTo(static_cast<long long>(m_nScrollPos) + Extent());
    } else if (m_bHorizontal) {
        m_pOwner->PageRight();
    } else {
        m_pOwner->PageDown();
    }
}

// A position for the bar, through the owner when there is one.
void CScrollBarUI::MoveTo(long long pos) {
    const int clamped =
        static_cast<int>(std::min<long long>(std::max<long long>(pos, 0), m_nRange));
    if (m_pOwner == nullptr) {
        SetScrollPos(clamped);
        return;
    }
    SIZE sz = m_pOwner->GetScrollPos();
    if (m_bHorizontal) {
        sz.cx = clamped;
    } else {
        sz.cy = clamped;
    }
    m_pOwner->SetScrollPos(sz);
}

void CScrollBarUI::NotifyScroll() {
    if (m_pManager != nullptr && m_pOwner == nullptr) {
        m_pManager->SendNotify(this, L"scroll");
    }
}

} // namespace SkinUI
