#include <windows.h>

#include "ui/controls/VerticalLayoutUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/LinearLayoutMath.h"

#include <cwchar>

namespace SkinUI {

using namespace LayoutMath;

CVerticalLayoutUI::CVerticalLayoutUI() : m_splitter(true) {}

CVerticalLayoutUI::~CVerticalLayoutUI() {
    m_splitter.Abandon(*this);
}

LPCWSTR CVerticalLayoutUI::GetClass() const {
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"VerticalLayout") == 0) {
        return static_cast<CVerticalLayoutUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const {
    return (IsEnabled() && m_splitter.GetSize() != 0) ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

// Fixed children keep their (clamped) heights; the stretch children share
// the rest, the last of them taking what the others left. Margins of the
// stretch children and the gaps stay counted in the fixed remainder, which
// is why a gap leaves the last stretch child short of the bottom.
void CVerticalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const RECT inner = GetInnerRect();
    if (m_items.IsEmpty()) {
        UpdateScrollBars(inner, 0, 0);
        return;
    }
    const long long availableWidth =
        static_cast<long long>(inner.right) - inner.left + ShownScrollRange(m_pHorizontalScrollBar);
    const long long availableHeight = static_cast<long long>(inner.bottom) - inner.top;
    const SIZE available = MakeSize(availableWidth, availableHeight);

    int stretchCount = 0;
    int placedCount = 0;
    long long fixedTotal = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || child->IsFloating()) {
            continue;
        }
        long long cy = child->MeasureDesiredSize(available).cy;
        if (cy == 0) {
            ++stretchCount;
        } else {
            cy = Clamp(cy, child->GetMinHeight(), child->GetMaxHeight());
        }
        const RECT margin = child->GetPadding();
        fixedTotal += cy + margin.top + margin.bottom;
        ++placedCount;
    }
    fixedTotal += static_cast<long long>(placedCount - 1) * m_iChildPadding;
    const long long share =
        stretchCount > 0 ? std::max<long long>(0, (availableHeight - fixedTotal) / stretchCount)
                         : 0;

    long long x = inner.left - ShownScrollPos(m_pHorizontalScrollBar);
    long long y = inner.top - ShownScrollPos(m_pVerticalScrollBar);
    long long remaining = availableHeight;
    long long fixedRemainder = fixedTotal;
    long long needed = 0;
    int stretchSeen = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
            continue;
        }
        const RECT margin = child->GetPadding();
        remaining -= margin.top;
        long long height = child->MeasureDesiredSize(MakeSize(availableWidth, remaining)).cy;
        if (height == 0) {
            ++stretchSeen;
            height = share;
            if (stretchSeen == stretchCount) {
                height = std::max<long long>(0, remaining - margin.bottom - fixedRemainder);
            }
            height = Clamp(height, child->GetMinHeight(), child->GetMaxHeight());
        } else {
            height = Clamp(height, child->GetMinHeight(), child->GetMaxHeight());
            fixedRemainder -= height;
        }
        long long width = child->GetFixedWidth();
        if (width == 0) {
            width = availableWidth - margin.left - margin.right;
        }
        width = Clamp(std::max<long long>(width, 0), child->GetMinWidth(), child->GetMaxWidth());

        child->SetPos(MakeRect(x + margin.left, y + margin.top, x + margin.left + width,
                               y + margin.top + height + margin.bottom));
        y += height + m_iChildPadding + margin.top + margin.bottom;
        needed += height + margin.top + margin.bottom;
        remaining -= height + m_iChildPadding + margin.bottom;
    }
    needed += static_cast<long long>(placedCount - 1) * m_iChildPadding;
    UpdateScrollBars(inner, 0, Saturate(needed));
}

void CVerticalLayoutUI::HandleEvent(TInputEventUI& event) {
    if (!m_splitter.HandleEvent(*this, m_rcItem, event)) {
        CContainerUI::HandleEvent(event);
    }
}

void CVerticalLayoutUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"sepheight") == 0) {
        SetSepHeight(ParseDecimalValue(value));
    } else if (name != nullptr && std::wcscmp(name, L"sepimm") == 0) {
        SetSepImmMode(ParseBoolValue(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CVerticalLayoutUI::PaintOverlay(HDC hDC, const RECT& /*rcPaint*/) {
    m_splitter.PaintOverlay(hDC, m_rcItem);
}

void CVerticalLayoutUI::SetSepHeight(int height) {
    m_splitter.SetSize(height);
}

int CVerticalLayoutUI::GetSepHeight() const {
    return m_splitter.GetSize();
}

void CVerticalLayoutUI::SetSepImmMode(bool immediate) {
    m_splitter.SetImmediate(*this, immediate);
}

bool CVerticalLayoutUI::IsSepImmMode() const {
    return m_splitter.IsImmediate();
}

RECT CVerticalLayoutUI::GetThumbRect(bool useNewPos) const {
    return m_splitter.GetThumbRect(m_rcItem, useNewPos);
}

} // namespace SkinUI
