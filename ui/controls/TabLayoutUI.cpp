#include <windows.h>

#include "ui/controls/TabLayoutUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/LinearLayoutMath.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

using namespace LayoutMath;

CTabLayoutUI::CTabLayoutUI() : m_iCurSel(-1) {}

LPCWSTR CTabLayoutUI::GetClass() const {
    return L"TabLayoutUI";
}

LPVOID CTabLayoutUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"TabLayout") == 0) {
        return static_cast<CTabLayoutUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

bool CTabLayoutUI::Add(CControlUI* control) {
    if (!CContainerUI::Add(control)) {
        return false;
    }
    if (m_iCurSel == -1 && control->IsVisible()) {
        m_iCurSel = GetItemIndex(control);
    } else {
        control->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) {
        return false;
    }
    if (m_iCurSel == -1 && control->IsVisible()) {
        m_iCurSel = GetItemIndex(control);
    } else {
        control->SetVisible(false);
        if (m_iCurSel != -1 && index <= m_iCurSel) {
            ++m_iCurSel;
        }
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control) {
    if (control == nullptr) {
        return false;
    }
    const int index = GetItemIndex(control);
    if (!CContainerUI::Remove(control)) {
        return false;
    }
    if (index == m_iCurSel) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        MarkParentNeedsUpdate();
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    MarkParentNeedsUpdate();
}

int CTabLayoutUI::GetCurSel() const {
    return m_iCurSel;
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    if (index == m_iCurSel) {
        return true;
    }
    const int old = m_iCurSel;
    m_iCurSel = index;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (i != index) {
            child->SetVisible(false);
            continue;
        }
        child->SetVisible(true);
        child->SetFocus();
        SetPos(m_rcItem);
    }
    MarkParentNeedsUpdate();
    if (m_pManager != nullptr) {
        m_pManager->SetNextTabControl();
        m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel),
                               static_cast<LPARAM>(old));
    }
    return true;
}

void CTabLayoutUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"selectedid") == 0) {
        SelectItem(ParseDecimalValue(value));
    }
    CContainerUI::ApplyAttribute(name, value);
}

// Only the selected child is laid out, inside the inset rectangle less its
// margins; the scroll bars play no part.
void CTabLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const RECT inset = GetInsetRect();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
            continue;
        }
        if (i != m_iCurSel) {
            continue;
        }
        const RECT margin = child->GetPadding();
        const long long left = static_cast<long long>(inset.left) + margin.left;
        const long long top = static_cast<long long>(inset.top) + margin.top;
        const long long width = static_cast<long long>(inset.right) - margin.right - left;
        const long long height = static_cast<long long>(inset.bottom) - margin.bottom - top;
        const SIZE sz = child->MeasureDesiredSize(MakeSize(width, height));
        long long cx = sz.cx == 0 ? std::max<long long>(width, 0) : sz.cx;
        long long cy = sz.cy == 0 ? std::max<long long>(height, 0) : sz.cy;
        cx = Clamp(cx, child->GetMinWidth(), child->GetMaxWidth());
        cy = Clamp(cy, child->GetMinHeight(), child->GetMaxHeight());
        child->SetPos(MakeRect(left, top, left + cx, top + cy));
    }
}

} // namespace SkinUI
