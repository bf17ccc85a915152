#include <windows.h>

#include "ui/controls/ListContainerElementUI.h"

#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

CListContainerElementUI::CListContainerElementUI() = default;

CListContainerElementUI::~CListContainerElementUI() = default;

LPCWSTR CListContainerElementUI::GetClass() const {
    return L"ListContainerElementUI";
}

LPVOID CListContainerElementUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ListItem") == 0) {
        return static_cast<IListItemUI*>(this);
    }
    if (name != nullptr && std::wcscmp(name, L"ListContainerElement") == 0) {
        return static_cast<CListContainerElementUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

UINT CListContainerElementUI::GetControlFlags() const {
    return CListItemCoreUI::kItemControlFlag;
}

bool CListContainerElementUI::Activate() {
    if (!CContainerUI::Activate()) {
        return false;
    }
    m_item.NotifyActivated(*this);
    return true;
}

void CListContainerElementUI::SetVisible(bool visible) {
    CContainerUI::SetVisible(visible);
    m_item.OnVisibilityChanged(*this);
}

void CListContainerElementUI::SetEnabled(bool enable) {
    CContainerUI::SetEnabled(enable);
    m_item.OnEnabledChanged(*this);
}

void CListContainerElementUI::HandleEvent(TInputEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event)) {
        if (!m_item.PassToOwner(event)) {
            CContainerUI::HandleEvent(event);
        }
        return;
    }
    if (m_item.HandleActivation(*this, event) || m_item.HandlePointer(*this, *this, event)) {
        return;
    }
    if (!m_item.PassToOwner(event)) {
        CControlUI::HandleEvent(event);
    }
}

void CListContainerElementUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"selected") == 0) {
        Select(true);
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CListContainerElementUI::Paint(HDC hDC, const RECT& rcPaint) {
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    DrawItemBk(hDC, m_rcItem);
    CContainerUI::Paint(hDC, rcPaint);
}

int CListContainerElementUI::GetIndex() const {
    return m_item.GetIndex();
}

void CListContainerElementUI::SetIndex(int index) {
    m_item.SetIndex(index);
}

IListOwnerUI* CListContainerElementUI::GetOwner() {
    return m_item.GetOwner();
}

void CListContainerElementUI::SetOwner(CControlUI* owner) {
    m_item.SetOwner(owner);
}

bool CListContainerElementUI::IsSelected() const {
    return m_item.IsSelected();
}

bool CListContainerElementUI::Select(bool selected) {
    return m_item.Select(*this, selected);
}

bool CListContainerElementUI::IsExpanded() const {
    return false;
}

bool CListContainerElementUI::Expand(bool /*expanded*/) {
    return false;
}

void CListContainerElementUI::DrawItemText(HDC /*hDC*/, const RECT& /*rcItem*/) {}

void CListContainerElementUI::InvalidateVisiblePart() {
    CListItemCoreUI::InvalidateVisiblePart(*this);
}

void CListContainerElementUI::DrawItemBk(HDC hDC, const RECT& rcItem) {
    m_item.DrawItemBk(*this, hDC, rcItem, m_sBkImage);
}

} // namespace SkinUI
