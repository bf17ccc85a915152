#include <windows.h>

#include "ui/controls/HorizontalLayoutUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/LinearLayoutMath.h"

#include <cwchar>

namespace SkinUI {

using namespace LayoutMath;

CHorizontalLayoutUI::CHorizontalLayoutUI() : m_splitter(false) {}

CHorizontalLayoutUI::~CHorizontalLayoutUI() {
    m_splitter.Abandon(*this);
}

LPCWSTR CHorizontalLayoutUI::GetClass() const {
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"HorizontalLayout") == 0) {
        return static_cast<CHorizontalLayoutUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const {
    return (IsEnabled() && m_splitter.GetSize() != 0) ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

// The vertical layout's arithmetic along x. Every child's rectangle starts
// at the top of the inner rectangle and includes its right margin; the
// content's width is reported to the scroll bars, which hides a vertical bar.
void CHorizontalLayoutUI::SetPos(RECT rc) {
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
        long long cx = child->MeasureDesiredSize(available).cx;
        if (cx == 0) {
            ++stretchCount;
        } else {
            cx = Clamp(cx, child->GetMinWidth(), child->GetMaxWidth());
        }
        const RECT margin = child->GetPadding();
        fixedTotal += cx + margin.left + margin.right;
        ++placedCount;
    }
    fixedTotal += static_cast<long long>(placedCount - 1) * m_iChildPadding;
    const long long share =
        stretchCount > 0 ? std::max<long long>(0, (availableWidth - fixedTotal) / stretchCount) : 0;

    long long x = inner.left - ShownScrollPos(m_pHorizontalScrollBar);
    long long remaining = availableWidth;
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
        remaining -= margin.left;
        long long width = child->MeasureDesiredSize(MakeSize(remaining, availableHeight)).cx;
        if (width == 0) {
            ++stretchSeen;
            width = share;
            if (stretchSeen == stretchCount) {
                width = std::max<long long>(0, remaining - margin.right - fixedRemainder);
            }
            width = Clamp(width, child->GetMinWidth(), child->GetMaxWidth());
        } else {
            width = Clamp(width, child->GetMinWidth(), child->GetMaxWidth());
            fixedRemainder -= width;
        }
        long long height = child->GetFixedHeight();
        if (height == 0) {
            height = static_cast<long long>(inner.bottom) - margin.bottom - margin.top - inner.top;
        }
        height =
            Clamp(std::max<long long>(height, 0), child->GetMinHeight(), child->GetMaxHeight());

        const long long top = static_cast<long long>(inner.top) + margin.top;
        child->SetPos(
            MakeRect(x + margin.left, top, x + margin.left + width + margin.right, top + height));
        x += width + m_iChildPadding + margin.left + margin.right;
        needed += width + margin.left + margin.right;
        remaining -= width + m_iChildPadding + margin.right;
    }
    needed += static_cast<long long>(placedCount - 1) * m_iChildPadding;
    UpdateScrollBars(inner, Saturate(needed), 0);
}

void CHorizontalLayoutUI::HandleEvent(TInputEventUI& event) {
    if (!m_splitter.HandleEvent(*this, m_rcItem, event)) {
        CContainerUI::HandleEvent(event);
    }
}

void CHorizontalLayoutUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"sepwidth") == 0) {
        SetSepWidth(ParseDecimalValue(value));
    } else if (name != nullptr && std::wcscmp(name, L"sepimm") == 0) {
        SetSepImmMode(ParseBoolValue(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CHorizontalLayoutUI::PaintOverlay(HDC hDC, const RECT& /*rcPaint*/) {
    m_splitter.PaintOverlay(hDC, m_rcItem);
}

void CHorizontalLayoutUI::SetSepWidth(int width) {
    m_splitter.SetSize(width);
}

int CHorizontalLayoutUI::GetSepWidth() const {
    return m_splitter.GetSize();
}

void CHorizontalLayoutUI::SetSepImmMode(bool immediate) {
    m_splitter.SetImmediate(*this, immediate);
}

bool CHorizontalLayoutUI::IsSepImmMode() const {
    return m_splitter.IsImmediate();
}

RECT CHorizontalLayoutUI::GetThumbRect(bool useNewPos) const {
    return m_splitter.GetThumbRect(m_rcItem, useNewPos);
}

} // namespace SkinUI
