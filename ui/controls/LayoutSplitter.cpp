#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/controls/LayoutSplitter.h"

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"

#include <algorithm>
#include <climits>

namespace SkinUI {

namespace {

// The preview bar: translucent black.
const DWORD kPreviewColor = 0xAA000000;

// The edges and the extent along the splitter's axis.
LONG& Low(RECT& rc, bool vertical) {
    return vertical ? rc.top : rc.left;
}
LONG& High(RECT& rc, bool vertical) {
    return vertical ? rc.bottom : rc.right;
}
long long Extent(const RECT& rc, bool vertical) {
    return vertical ? static_cast<long long>(rc.bottom) - rc.top
                    : static_cast<long long>(rc.right) - rc.left;
}
LONG Coord(POINT pt, bool vertical) {
    return vertical ? pt.y : pt.x;
}

} // namespace

CLayoutSplitter::CLayoutSplitter(bool vertical)
    : m_bVertical(vertical), m_iSepSize(0), m_uButtonState(0), m_bImmMode(false) {}

bool CLayoutSplitter::IsDragging() const {
    return (m_uButtonState & kDragging) != 0;
}

bool CLayoutSplitter::ShowsPreview() const {
    return IsDragging() && !m_bImmMode;
}

void CLayoutSplitter::SetImmediate(CControlUI& layout, bool immediate) {
    if (m_bImmMode == immediate) {
        return;
    }
    if (ShowsPreview() && layout.GetManager() != nullptr) {
        layout.GetManager()->RemovePostPaint(&layout);
    }
    m_bImmMode = immediate;
}

RECT CLayoutSplitter::GetThumbRect(const RECT& rcItem, bool useNewPos) const {
    const RECT base = (IsDragging() && useNewPos) ? static_cast<RECT>(m_rcNewPos) : rcItem;
    const long long s = m_iSepSize;
    RECT band = base;
    if (m_bVertical) {
        if (s < 0) {
            band.bottom = SaturateToInt(std::min<long long>(base.top - s, base.bottom));
        } else {
            band.top = SaturateToInt(std::max<long long>(base.bottom - s, base.top));
        }
    } else if (s < 0) {
        band.right = SaturateToInt(base.left - s);
    } else {
        band.left = SaturateToInt(base.right - s);
    }
    return band;
}

bool CLayoutSplitter::HandleEvent(CControlUI& layout, RECT& rcItem, const TInputEventUI& event) {
    if (m_iSepSize == 0) {
        return false;
    }
    const RECT band = GetThumbRect(rcItem, false);
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
        return layout.IsEnabled() && ::PtInRect(&band, event.ptMouse) &&
               BeginDrag(layout, rcItem, event.ptMouse);
    case UIEVENT_BUTTONUP:
        if (!IsDragging()) {
            return false;
        }
        EndDrag(layout, rcItem);
        return true;
    case UIEVENT_MOUSEMOVE:
        if (!IsDragging()) {
            return false;
        }
        Drag(layout, rcItem, event.ptMouse);
        return true;
    case UIEVENT_SETCURSOR:
        if (!layout.IsEnabled() || !::PtInRect(&band, event.ptMouse)) {
            return false;
        }
        ::SetCursor(::LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    default:
        return false;
    }
}

bool CLayoutSplitter::BeginDrag(CControlUI& layout, const RECT& rcItem, POINT pt) {
    const bool listed = ShowsPreview();
    m_uButtonState |= kDragging;
    m_ptLastMouse = pt;
    m_rcNewPos = rcItem;
    if (!m_bImmMode && !listed && layout.GetManager() != nullptr) {
        layout.GetManager()->AddPostPaint(&layout);
    }
    return true;
}

void CLayoutSplitter::EndDrag(CControlUI& layout, RECT& rcItem) {
    const bool preview = ShowsPreview();
    rcItem = m_rcNewPos;
    m_uButtonState &= ~kDragging;
    if (preview && layout.GetManager() != nullptr) {
        layout.GetManager()->RemovePostPaint(&layout);
    }
    layout.MarkParentNeedsUpdate();
}

bool CLayoutSplitter::MovedRect(CControlUI& layout, POINT pt, int delta, RECT& moved) const {
    const bool v = m_bVertical;
    const long long minimum = v ? layout.GetMinHeight() : layout.GetMinWidth();
    const long long maximum = v ? layout.GetMaxHeight() : layout.GetMaxWidth();
    const long long current = Extent(m_rcNewPos, v);
    RECT newPos = m_rcNewPos;
    const LONG at = Coord(pt, v);
    moved = newPos;
    if (m_iSepSize >= 0) {
        // Band at the high edge: the point must be on the side it moves to.
        if ((delta > 0 && at < static_cast<long long>(High(newPos, v)) - m_iSepSize) ||
            (delta < 0 && at > High(newPos, v))) {
            return false;
        }
        High(moved, v) = SaturateToInt(static_cast<long long>(High(moved, v)) + delta);
        if (Extent(moved, v) <= minimum) {
            if (current <= minimum) {
                return false;
            }
            High(moved, v) = SaturateToInt(Low(moved, v) + minimum);
        }
        if (Extent(moved, v) >= maximum) {
            if (current >= maximum) {
                return false;
            }
            High(moved, v) = SaturateToInt(Low(moved, v) + maximum);
        }
        return true;
    }
    if ((delta > 0 && at < Low(newPos, v)) ||
        (delta < 0 && at > static_cast<long long>(Low(newPos, v)) - m_iSepSize)) {
        return false;
    }
    Low(moved, v) = SaturateToInt(static_cast<long long>(Low(moved, v)) + delta);
    if (Extent(moved, v) <= minimum) {
        if (current <= minimum) {
            return false;
        }
        Low(moved, v) = SaturateToInt(High(moved, v) - minimum);
    }
    if (Extent(moved, v) >= maximum) {
        if (current >= maximum) {
            return false;
        }
        Low(moved, v) = SaturateToInt(High(moved, v) - maximum);
    }
    return true;
}

void CLayoutSplitter::Drag(CControlUI& layout, RECT& rcItem, POINT pt) {
    const long long delta =
        static_cast<long long>(Coord(pt, m_bVertical)) - Coord(m_ptLastMouse, m_bVertical);
    m_ptLastMouse = pt;
    RECT moved = {};
    if (!MovedRect(layout, pt, SaturateToInt(delta), moved)) {
        return;
    }
    CUIRect dirty = GetThumbRect(rcItem, true);
    m_rcNewPos = moved;
    const int extent = SaturateToInt(Extent(moved, m_bVertical));
    if (m_bVertical) {
        layout.SetFixedHeight(extent);
    } else {
        layout.SetFixedWidth(extent);
    }
    if (m_bImmMode) {
        rcItem = moved;
        layout.MarkParentNeedsUpdate();
        return;
    }
    dirty.Join(GetThumbRect(rcItem, true));
    dirty.Join(GetThumbRect(rcItem, false));
    if (layout.GetManager() != nullptr) {
        layout.GetManager()->Invalidate(dirty);
    }
}

void CLayoutSplitter::PaintOverlay(HDC hDC, const RECT& rcItem) const {
    if (ShowsPreview()) {
        CRendererUI::DrawColor(hDC, GetThumbRect(rcItem, true), kPreviewColor);
    }
}

void CLayoutSplitter::Abandon(CControlUI& layout) {
    if (ShowsPreview() && layout.GetManager() != nullptr) {
        layout.GetManager()->RemovePostPaint(&layout);
    }
    m_uButtonState &= ~kDragging;
}

} // namespace SkinUI
