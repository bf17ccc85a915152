#include <windows.h>

#include "ui/controls/ListBodyUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/controls/LinearLayout.h"
#include "ui/controls/LinearLayoutMath.h"
#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/ListUI.h"

#include <algorithm>

namespace SkinUI {

CListBodyUI::CListBodyUI(CListUI* owner) : m_pOwner(owner) {}

CListBodyUI::~CListBodyUI() = default;

void CListBodyUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const long long before = LayoutMath::ShownScrollPos(m_pHorizontalScrollBar);
    const long long needed = NeededWidth(GetInnerRect());
    FitHorizontalBar(needed);
    // A shorter range may have cut the sideways position: the columns follow.
    const long long after = LayoutMath::ShownScrollPos(m_pHorizontalScrollBar);
    if (after != before && m_pOwner != nullptr) {
        m_pOwner->OnBodyScrolledSideways(SaturateToInt(after - before));
    }
    LayoutMath::ArrangeLine(*this, true, LayoutMath::CrossRule{false, needed});
}

long long CListBodyUI::NeededWidth(const RECT& rcInner) {
    const SIZE available = {rcInner.right - rcInner.left, rcInner.bottom - rcInner.top};
    CListHeaderUI* header = m_pOwner != nullptr ? m_pOwner->GetHeader() : nullptr;
    if (header != nullptr && header->GetCount() > 0) {
        return std::max<long long>(0, header->MeasureDesiredSize(available).cx);
    }
    long long widest = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = static_cast<CControlUI*>(m_items.GetAt(i));
        if (!child->IsVisible() || child->IsFloating()) {
            continue;
        }
        const long long width =
            LayoutMath::Clamp(std::max<long long>(0, child->MeasureDesiredSize(available).cx),
                              child->GetMinWidth(), child->GetMaxWidth());
        widest = std::max(widest, width);
    }
    return widest;
}

void CListBodyUI::FitHorizontalBar(long long needed) {
    CScrollBarUI* bar = m_pHorizontalScrollBar;
    if (bar == nullptr) {
        return;
    }
    const RECT inset = GetInsetRect();
    long long width = static_cast<long long>(inset.right) - inset.left;
    if (LayoutMath::IsShown(m_pVerticalScrollBar)) {
        width -= m_pVerticalScrollBar->GetFixedWidth();
    }
    if (needed > width) {
        const int range = SaturateToInt(needed - width);
        if (!bar->IsVisible()) {
            bar->SetVisible(true);
            bar->SetScrollRange(range);
            bar->SetScrollPos(0);
        } else {
            bar->SetScrollRange(range);
        }
    } else if (bar->IsVisible()) {
        bar->SetVisible(false);
        bar->SetScrollRange(0);
        bar->SetScrollPos(0);
    }
}

void CListBodyUI::HandleEvent(TInputEventUI& event) {
    if (m_pOwner != nullptr) {
        m_pOwner->HandleEvent(event);
    } else {
        CControlUI::HandleEvent(event);
    }
}

void CListBodyUI::SetScrollPos(SIZE szPos) {
    const long long before = LayoutMath::ShownScrollPos(m_pHorizontalScrollBar);
    CVerticalLayoutUI::SetScrollPos(szPos);
    const long long after = LayoutMath::ShownScrollPos(m_pHorizontalScrollBar);
    if (after != before && m_pOwner != nullptr) {
        m_pOwner->OnBodyScrolledSideways(SaturateToInt(after - before));
    }
}

} // namespace SkinUI
