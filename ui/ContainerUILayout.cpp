#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/ContainerUI.h"

#include "ui/ClipRegionUI.h"
#include "ui/controls/ScrollBarUI.h"

#include <algorithm>
#include <climits>

namespace SkinUI {

namespace {

bool Meets(const RECT& a, const RECT& b) {
    RECT overlap = {};
    return ::IntersectRect(&overlap, &a, &b) != FALSE;
}

} // namespace

RECT CContainerUI::GetInsetRect() const {
    return RECT{SaturateToInt(static_cast<long long>(m_rcItem.left) + m_rcInset.left),
                SaturateToInt(static_cast<long long>(m_rcItem.top) + m_rcInset.top),
                SaturateToInt(static_cast<long long>(m_rcItem.right) - m_rcInset.right),
                SaturateToInt(static_cast<long long>(m_rcItem.bottom) - m_rcInset.bottom)};
}

RECT CContainerUI::GetInnerRect() const {
    RECT rc = GetInsetRect();
    if (IsActiveBar(m_pVerticalScrollBar)) {
        rc.right =
            SaturateToInt(static_cast<long long>(rc.right) - m_pVerticalScrollBar->GetFixedWidth());
    }
    if (IsActiveBar(m_pHorizontalScrollBar)) {
        rc.bottom = SaturateToInt(static_cast<long long>(rc.bottom) -
                                  m_pHorizontalScrollBar->GetFixedHeight());
    }
    return rc;
}

// The plain container stacks its children: each gets the whole inset
// rectangle.
void CContainerUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) {
        return;
    }
    const RECT inner = GetInsetRect();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
        } else {
            child->SetPos(inner);
        }
    }
}

void CContainerUI::PlaceFloatingChild(int index) {
    CControlUI* child = GetItemAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloating()) {
        return;
    }
    const RECT& box = m_rcItem;
    const SIZE xy = child->GetFixedXY();
    const long long w = child->GetFixedWidth();
    const long long h = child->GetFixedHeight();
    long long left = 0;
    long long top = 0;
    long long right = 0;
    long long bottom = 0;
    if (xy.cx >= 0) {
        left = static_cast<long long>(box.left) + xy.cx;
        right = left + w;
    } else {
        left = static_cast<long long>(box.right) - w + xy.cx;
        right = static_cast<long long>(box.right) + xy.cx;
    }
    if (xy.cy >= 0) {
        top = static_cast<long long>(box.top) + xy.cy;
        bottom = top + h;
    } else {
        top = static_cast<long long>(box.bottom) - h + xy.cy;
        bottom = static_cast<long long>(box.bottom) + xy.cy;
    }
    if (child->IsRelativePos()) {
        const TRelativePosUI rel = child->GetRelativePos();
        const long long width = static_cast<long long>(box.right) - box.left;
        const long long height = static_cast<long long>(box.bottom) - box.top;
        if (rel.szParent.cx != 0) {
            const long long dx = width - rel.szParent.cx;
            const long long dy = height - rel.szParent.cy;
            left += rel.nMoveXPercent * dx / 100;
            top += rel.nMoveYPercent * dy / 100;
            right = left + rel.nZoomXPercent * dx / 100 + w;
            bottom = top + rel.nZoomYPercent * dy / 100 + h;
        }
        child->SetRelativeParentSize(SIZE{SaturateToInt(width), SaturateToInt(height)});
    }
    child->SetPos(
        RECT{SaturateToInt(left), SaturateToInt(top), SaturateToInt(right), SaturateToInt(bottom)});
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) {
        return nullptr;
    }
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    const POINT* pt = static_cast<const POINT*>(data);
    if (hitTest && !::PtInRect(&m_rcItem, *pt)) {
        return nullptr;
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar == nullptr) {
            continue;
        }
        if (CControlUI* found = bar->FindControl(proc, data, flags)) {
            return found;
        }
    }
    if (hitTest && !m_bMouseChildEnabled) {
        return CControlUI::FindControl(proc, data, flags);
    }
    if ((flags & UIFIND_ME_FIRST) != 0) {
        if (CControlUI* found = CControlUI::FindControl(proc, data, flags)) {
            return found;
        }
    }
    // Parts of children scrolled out under the inset or the bars are not hit.
    const RECT inner = GetInnerRect();
    const int count = m_items.GetSize();
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    for (int n = 0; n < count; ++n) {
        CControlUI* child = GetItemAt(topFirst ? count - 1 - n : n);
        CControlUI* found = child->FindControl(proc, data, flags);
        if (found == nullptr) {
            continue;
        }
        if (!hitTest || found->IsFloating() || ::PtInRect(&inner, *pt)) {
            return found;
        }
    }
    if ((flags & UIFIND_ME_FIRST) == 0) {
        return CControlUI::FindControl(proc, data, flags);
    }
    return nullptr;
}

void CContainerUI::Paint(HDC hDC, const RECT& rcPaint) {
    RECT visible = {};
    if (!::IntersectRect(&visible, &rcPaint, &m_rcItem)) {
        return;
    }
    CClipRegionUI clip;
    CClipRegionUI::ClipToRect(hDC, visible, clip);
    CControlUI::Paint(hDC, rcPaint);
    PaintChildren(hDC, rcPaint);
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (IsActiveBar(bar) && Meets(rcPaint, bar->GetPos())) {
            bar->Paint(hDC, rcPaint);
        }
    }
}

// Children are clipped to the inner rectangle, floating ones only to the
// container.
void CContainerUI::PaintChildren(HDC hDC, const RECT& rcPaint) {
    if (m_items.IsEmpty()) {
        return;
    }
    const RECT inner = GetInnerRect();
    RECT innerPaint = {};
    if (!::IntersectRect(&innerPaint, &rcPaint, &inner)) {
        for (int i = 0; i < m_items.GetSize(); ++i) {
            CControlUI* child = GetItemAt(i);
            if (child->IsVisible() && child->IsFloating() && Meets(rcPaint, child->GetPos()) &&
                Meets(m_rcItem, child->GetPos())) {
                child->Paint(hDC, rcPaint);
            }
        }
        return;
    }
    CClipRegionUI childClip;
    CClipRegionUI::ClipToRect(hDC, innerPaint, childClip);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || !Meets(rcPaint, child->GetPos())) {
            continue;
        }
        if (child->IsFloating()) {
            if (!Meets(m_rcItem, child->GetPos())) {
                continue;
            }
            CClipRegionUI::UseOuterClipBegin(hDC, childClip);
            child->Paint(hDC, rcPaint);
            CClipRegionUI::UseOuterClipEnd(hDC, childClip);
        } else if (Meets(inner, child->GetPos())) {
            child->Paint(hDC, rcPaint);
        }
    }
}

} // namespace SkinUI
