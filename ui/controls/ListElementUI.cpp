#include <windows.h>

#include "ui/controls/ListElementUI.h"

#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

CListElementUI::CListElementUI() = default;

CListElementUI::~CListElementUI() = default;

LPCWSTR CListElementUI::GetClass() const {
    return L"ListElementUI";
}

LPVOID CListElementUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ListItem") == 0) {
        return static_cast<IListItemUI*>(this);
    }
    if (name != nullptr && std::wcscmp(name, L"ListElement") == 0) {
        return static_cast<CListElementUI*>(this);
    }
    return CControlUI::QueryInterfaceByName(name);
}

UINT CListElementUI::GetControlFlags() const {
    return CListItemCoreUI::kItemControlFlag;
}

bool CListElementUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    m_item.NotifyActivated(*this);
    return true;
}

void CListElementUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    m_item.OnVisibilityChanged(*this);
}

void CListElementUI::SetEnabled(bool enable) {
    CControlUI::SetEnabled(enable);
    m_item.OnEnabledChanged(*this);
}

void CListElementUI::HandleEvent(TInputEventUI& event) {
    if ((!IsMouseEnabled() && IsMouseEvent(event)) || !m_item.HandleActivation(*this, event)) {
        if (!m_item.PassToOwner(event)) {
            CControlUI::HandleEvent(event);
        }
    }
}

void CListElementUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"selected") == 0) {
        Select(true);
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

int CListElementUI::GetIndex() const {
    return m_item.GetIndex();
}

void CListElementUI::SetIndex(int index) {
    m_item.SetIndex(index);
}

IListOwnerUI* CListElementUI::GetOwner() {
    return m_item.GetOwner();
}

void CListElementUI::SetOwner(CControlUI* owner) {
    m_item.SetOwner(owner);
}

bool CListElementUI::IsSelected() const {
    return m_item.IsSelected();
}

bool CListElementUI::Select(bool selected) {
    return m_item.Select(*this, selected);
}

bool CListElementUI::IsExpanded() const {
    return false;
}

bool CListElementUI::Expand(bool /*expanded*/) {
    return false;
}

void CListElementUI::InvalidateVisiblePart() {
    CListItemCoreUI::InvalidateVisiblePart(*this);
}

void CListElementUI::DrawItemBk(HDC hDC, const RECT& rcItem) {
    m_item.DrawItemBk(*this, hDC, rcItem, m_sBkImage);
}

} // namespace SkinUI
