#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/ContainerUI.h"

#include "ui/controls/ScrollBarUI.h"
#include "ui/WindowManagerUI.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace SkinUI {

namespace {

// The horizontal line step; the vertical one follows the default font.
const int kLineStep = 8;

} // namespace

bool CContainerUI::IsActiveBar(const CScrollBarUI* bar) const {
    return bar != nullptr && bar->IsVisible();
}

SIZE CContainerUI::GetScrollPos() const {
    SIZE sz = {0, 0};
    if (IsActiveBar(m_pVerticalScrollBar)) {
        sz.cy = m_pVerticalScrollBar->GetScrollPos();
    }
    if (IsActiveBar(m_pHorizontalScrollBar)) {
        sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    }
    return sz;
}

SIZE CContainerUI::GetScrollRange() const {
    SIZE sz = {0, 0};
    if (IsActiveBar(m_pVerticalScrollBar)) {
        sz.cy = m_pVerticalScrollBar->GetScrollRange();
    }
    if (IsActiveBar(m_pHorizontalScrollBar)) {
        sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    }
    return sz;
}

// Scrolling moves the children's rectangles by the change instead of laying
// them out again.
void CContainerUI::SetScrollPos(SIZE szPos) {
    long long dx = 0;
    long long dy = 0;
    if (IsActiveBar(m_pVerticalScrollBar)) {
        const int old = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
        dy = static_cast<long long>(m_pVerticalScrollBar->GetScrollPos()) - old;
    }
    if (IsActiveBar(m_pHorizontalScrollBar)) {
        const int old = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
        dx = static_cast<long long>(m_pHorizontalScrollBar->GetScrollPos()) - old;
    }
    if (dx == 0 && dy == 0) {
        return;
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || child->IsFloating()) {
            continue;
        }
        const RECT& rc = child->GetPos();
        child->SetPos(RECT{SaturateToInt(rc.left - dx), SaturateToInt(rc.top - dy),
                           SaturateToInt(rc.right - dx), SaturateToInt(rc.bottom - dy)});
    }
    Invalidate();
}

int CContainerUI::VerticalLineStep() const {
    if (m_pManager == nullptr) {
        return kLineStep;
    }
    return m_pManager->GetDefaultFontInfo()->tm.tmHeight + kLineStep;
}

void CContainerUI::LineUp() {
    SIZE sz = GetScrollPos();
    sz.cy = SaturateToInt(static_cast<long long>(sz.cy) - VerticalLineStep());
    SetScrollPos(sz);
}

void CContainerUI::LineDown() {
    SIZE sz = GetScrollPos();
    sz.cy = SaturateToInt(static_cast<long long>(sz.cy) + VerticalLineStep());
    SetScrollPos(sz);
}

void CContainerUI::PageUp() {
    SIZE sz = GetScrollPos();
    long long page =
        static_cast<long long>(m_rcItem.bottom) - m_rcItem.top - m_rcInset.top - m_rcInset.bottom;
    if (IsActiveBar(m_pHorizontalScrollBar)) {
        page -= m_pHorizontalScrollBar->GetFixedHeight();
    }
    sz.cy = SaturateToInt(sz.cy - page);
    SetScrollPos(sz);
}

void CContainerUI::PageDown() {
    SIZE sz = GetScrollPos();
    long long page =
        static_cast<long long>(m_rcItem.bottom) - m_rcItem.top - m_rcInset.top - m_rcInset.bottom;
    if (IsActiveBar(m_pHorizontalScrollBar)) {
        page -= m_pHorizontalScrollBar->GetFixedHeight();
    }
    sz.cy = SaturateToInt(sz.cy + page);
    SetScrollPos(sz);
}

void CContainerUI::HomeUp() {
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown() {
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft() {
    SIZE sz = GetScrollPos();
    sz.cx = SaturateToInt(static_cast<long long>(sz.cx) - kLineStep);
    SetScrollPos(sz);
}

void CContainerUI::LineRight() {
    SIZE sz = GetScrollPos();
    sz.cx = SaturateToInt(static_cast<long long>(sz.cx) + kLineStep);
    SetScrollPos(sz);
}

void CContainerUI::PageLeft() {
    SIZE sz = GetScrollPos();
    long long page =
        static_cast<long long>(m_rcItem.right) - m_rcItem.left - m_rcInset.left - m_rcInset.right;
    if (IsActiveBar(m_pVerticalScrollBar)) {
        page -= m_pVerticalScrollBar->GetFixedWidth();
    }
    sz.cx = SaturateToInt(sz.cx - page);
    SetScrollPos(sz);
}

void CContainerUI::PageRight() {
    SIZE sz = GetScrollPos();
    long long page =
        static_cast<long long>(m_rcItem.right) - m_rcItem.left - m_rcInset.left - m_rcInset.right;
    if (IsActiveBar(m_pVerticalScrollBar)) {
        page -= m_pVerticalScrollBar->GetFixedWidth();
    }
    sz.cx = SaturateToInt(sz.cx + page);
    SetScrollPos(sz);
}

void CContainerUI::HomeLeft() {
    SIZE sz = GetScrollPos();
    sz.cx = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndRight() {
    SIZE sz = GetScrollPos();
    sz.cx = GetScrollRange().cx;
    SetScrollPos(sz);
}

void CContainerUI::EnableScrollBar(bool enableVertical, bool enableHorizontal) {
    if (!enableVertical) {
        DeleteScrollBar(m_pVerticalScrollBar);
    } else if (m_pVerticalScrollBar == nullptr) {
        m_pVerticalScrollBar = CreateScrollBar(false);
    }
    if (!enableHorizontal) {
        DeleteScrollBar(m_pHorizontalScrollBar);
    } else if (m_pHorizontalScrollBar == nullptr) {
        m_pHorizontalScrollBar = CreateScrollBar(true);
    }
    MarkNeedsUpdate();
}

CScrollBarUI* CContainerUI::CreateScrollBar(bool horizontal) {
    auto* bar = new CScrollBarUI();
    if (horizontal) {
        bar->SetHorizontal(true);
    }
    bar->SetOwner(this);
    bar->AttachManager(m_pManager, nullptr, false);
    if (m_pManager != nullptr) {
        LPCWSTR list =
            m_pManager->GetDefaultAttributeList(horizontal ? L"HScrollBar" : L"VScrollBar");
        if (list != nullptr) {
            bar->ApplyAttributeList(list);
        }
    }
    return bar;
}

void CContainerUI::DeleteScrollBar(CScrollBarUI*& bar) {
    delete bar;
    bar = nullptr;
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const {
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const {
    return m_pHorizontalScrollBar;
}

void CContainerUI::UpdateScrollBars(RECT rcInner, int cxRequired, int cyRequired) {
    (void)cxRequired; // a horizontal range comes only from the bar itself
    if (IsActiveBar(m_pHorizontalScrollBar)) {
        m_pHorizontalScrollBar->SetPos(
            RECT{rcInner.left, rcInner.bottom, rcInner.right,
                 SaturateToInt(static_cast<long long>(rcInner.bottom) +
                               m_pHorizontalScrollBar->GetFixedHeight())});
    }
    if (m_pVerticalScrollBar == nullptr) {
        return;
    }
    const long long height = static_cast<long long>(rcInner.bottom) - rcInner.top;
    if (cyRequired > height && !m_pVerticalScrollBar->IsVisible()) {
        m_pVerticalScrollBar->SetVisible(true);
        m_pVerticalScrollBar->SetScrollRange(SaturateToInt(cyRequired - height));
        m_pVerticalScrollBar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }
    if (!m_pVerticalScrollBar->IsVisible()) {
        return;
    }
    const int range = SaturateToInt(cyRequired - height);
    if (range <= 0 && !m_bScrollProcess) {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
        SetPos(m_rcItem);
        return;
    }
    m_pVerticalScrollBar->SetPos(RECT{rcInner.right, rcInner.top,
                                      SaturateToInt(static_cast<long long>(rcInner.right) +
                                                    m_pVerticalScrollBar->GetFixedWidth()),
                                      rcInner.bottom});
    if (m_pVerticalScrollBar->GetScrollRange() == range) {
        return;
    }
    const int before = m_pVerticalScrollBar->GetScrollPos();
    m_pVerticalScrollBar->SetScrollRange(range == INT_MIN ? INT_MAX : std::abs(range));
    if (m_pVerticalScrollBar->GetScrollRange() == 0) {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
    }
    if (before > m_pVerticalScrollBar->GetScrollPos()) {
        SetPos(m_rcItem);
    }
}

void CContainerUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    if (event.Type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    const bool vertical = m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible() &&
                          m_pVerticalScrollBar->IsEnabled();
    const bool horizontal = !vertical && m_pHorizontalScrollBar != nullptr &&
                            m_pHorizontalScrollBar->IsVisible() &&
                            m_pHorizontalScrollBar->IsEnabled();
    if (!vertical && !horizontal) {
        CControlUI::HandleEvent(event);
        return;
    }
    // The same keys and wheel scroll whichever bar there is: up and down
    // mean left and right for a container that only scrolls sideways.
    void (CContainerUI::*step)() = nullptr;
    if (event.Type == UIEVENT_KEYDOWN) {
        switch (event.chKey) {
        case VK_UP:
            step = vertical ? &CContainerUI::LineUp : &CContainerUI::LineLeft;
            break;
        case VK_DOWN:
            step = vertical ? &CContainerUI::LineDown : &CContainerUI::LineRight;
            break;
        case VK_PRIOR:
            step = vertical ? &CContainerUI::PageUp : &CContainerUI::PageLeft;
            break;
        case VK_NEXT:
            step = vertical ? &CContainerUI::PageDown : &CContainerUI::PageRight;
            break;
        case VK_HOME:
            step = vertical ? &CContainerUI::HomeUp : &CContainerUI::HomeLeft;
            break;
        case VK_END:
            step = vertical ? &CContainerUI::EndDown : &CContainerUI::EndRight;
            break;
        default:
            break;
        }
    } else if (event.Type == UIEVENT_SCROLLWHEEL) {
        if (event.wParam == 0) {
            step = vertical ? &CContainerUI::LineUp : &CContainerUI::LineLeft;
        } else if (event.wParam == 1) {
            step = vertical ? &CContainerUI::LineDown : &CContainerUI::LineRight;
        }
    }
    if (step != nullptr) {
        (this->*step)();
        return;
    }
    CControlUI::HandleEvent(event);
}

} // namespace SkinUI
