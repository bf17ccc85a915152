#include <windows.h>

#include "ui/controls/ListItemCoreUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/ContainerUI.h"
#include "ui/RendererUI.h"
#include "ui/controls/ControlStateUI.h"
#include "ui/controls/LinearLayoutMath.h"

namespace SkinUI {

int ListRowHeight(CWindowManagerUI& manager, const TListLookUI& look) {
    const TFontRecordUI* font = manager.GetFontInfo(look.nFont);
    return SaturateToInt((font != nullptr ? font->tm.tmHeight : 0) + 8LL + look.rcTextPadding.top +
                         look.rcTextPadding.bottom);
}

RECT LessPadding(const RECT& rc, const RECT& padding) {
    return LayoutMath::MakeRect(static_cast<long long>(rc.left) + padding.left,
                                static_cast<long long>(rc.top) + padding.top,
                                static_cast<long long>(rc.right) - padding.right,
                                static_cast<long long>(rc.bottom) - padding.bottom);
}

void CListItemCoreUI::SetOwner(CControlUI* owner) {
    m_pOwner = owner != nullptr
                   ? static_cast<IListOwnerUI*>(owner->QueryInterfaceByName(L"IListOwner"))
                   : nullptr;
}

bool CListItemCoreUI::IsHot() const {
    return (m_uButtonState & UISTATE_HOT) != 0;
}

bool CListItemCoreUI::Select(CControlUI& self, bool selected) {
    if (selected && !self.IsEnabled()) {
        return false;
    }
    bool result = true;
    if (selected != m_bSelected) {
        m_bSelected = selected;
        // The owner's SelectItem selects this element again, which returns
        // at once: the flag is already set.
        if (selected && m_pOwner != nullptr && !m_pOwner->SelectItem(m_iIndex, false)) {
            m_bSelected = false;
            result = false;
        }
    }
    InvalidateVisiblePart(self);
    return result;
}

void CListItemCoreUI::OnVisibilityChanged(CControlUI& self) {
    if (self.IsVisible() || !m_bSelected) {
        return;
    }
    m_bSelected = false;
    if (m_pOwner != nullptr) {
        m_pOwner->SelectItem(-1, false);
    }
}

void CListItemCoreUI::OnEnabledChanged(const CControlUI& self) {
    if (!self.IsEnabled()) {
        m_uButtonState = 0;
    }
}

void CListItemCoreUI::NotifyActivated(CControlUI& self) {
    if (self.GetManager() != nullptr) {
        self.GetManager()->SendNotify(&self, L"itemactivate");
    }
}

DWORD CListItemCoreUI::TextColor(const CControlUI& self, const TListLookUI& look) const {
    DWORD color = look.dwTextColor;
    if (IsHot()) {
        color = look.dwHotTextColor;
    }
    if (m_bSelected) {
        color = look.dwSelectedTextColor;
    }
    if (!self.IsEnabled()) {
        color = look.dwDisabledTextColor;
    }
    return color;
}

void CListItemCoreUI::DrawItemBk(CControlUI& self, HDC hDC, const RECT& rcItem,
                                 CUIString& ownBkImage) {
    TListLookUI* look = m_pOwner != nullptr ? m_pOwner->GetListLook() : nullptr;
    if (look == nullptr) {
        return;
    }
    const bool enabled = self.IsEnabled();
    const bool plainRow = !look->bAlternateBk || m_iIndex % 2 == 0;
    DWORD color = plainRow ? look->dwBkColor : 0;
    if (IsHot()) {
        color = look->dwHotBkColor;
    }
    if (m_bSelected) {
        color = look->dwSelectedBkColor;
    }
    if (!enabled) {
        color = look->dwDisabledBkColor;
    }
    if (color != 0) {
        CRendererUI::DrawColor(hDC, rcItem, self.GetAdjustedColor(color));
    }
    if ((!enabled && DrawStateImage(self, hDC, look->sDisabledImage)) ||
        (m_bSelected && DrawStateImage(self, hDC, look->sSelectedImage)) ||
        (IsHot() && DrawStateImage(self, hDC, look->sHotImage))) {
        return;
    }
    if (plainRow) {
        DrawStateImage(self, hDC, ownBkImage);
    }
    // An element's own image, even one kept off an alternate row, keeps the
    // list's image off that element.
    if (ownBkImage.IsEmpty() && DrawStateImage(self, hDC, look->sBkImage)) {
        return;
    }
    if (look->dwLineColor != 0) {
        const RECT line = {rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom - 1};
        CRendererUI::DrawLine(hDC, line, 1, self.GetAdjustedColor(look->dwLineColor));
    }
}

void CListItemCoreUI::InvalidateVisiblePart(CControlUI& self) {
    if (!self.IsVisible()) {
        return;
    }
    CControlUI* parent = self.GetParent();
    auto* container = parent != nullptr
                          ? static_cast<CContainerUI*>(parent->QueryInterfaceByName(L"Container"))
                          : nullptr;
    if (container == nullptr) {
        self.Invalidate();
        return;
    }
    const RECT inner = container->GetInnerRect();
    RECT visible = {};
    if (!::IntersectRect(&visible, &self.GetPos(), &inner)) {
        return;
    }
    for (CControlUI* up = parent->GetParent(); up != nullptr; up = up->GetParent()) {
        if (!::IntersectRect(&visible, &visible, &up->GetPos())) {
            return;
        }
    }
    if (self.GetManager() != nullptr) {
        self.GetManager()->Invalidate(visible);
    }
}

bool CListItemCoreUI::HandleActivation(CControlUI& self, const TInputEventUI& event) {
    const bool doubleClick = event.Type == UIEVENT_DBLCLICK;
    const bool enter = event.Type == UIEVENT_KEYDOWN && event.chKey == VK_RETURN;
    if (!doubleClick && !enter) {
        return false;
    }
    if (!self.IsEnabled()) {
        return doubleClick;
    }
    self.Activate();
    InvalidateVisiblePart(self);
    return true;
}

bool CListItemCoreUI::HandlePointer(CControlUI& self, IListItemUI& item,
                                    const TInputEventUI& event) {
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
        if (self.IsEnabled()) {
            if (self.GetManager() != nullptr) {
                self.GetManager()->SendNotify(&self, L"itemclick");
            }
            item.Select(true);
            InvalidateVisiblePart(self);
        }
        return true;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
        return true;
    case UIEVENT_MOUSEENTER:
        if (self.IsEnabled()) {
            SetHot(self, true);
        }
        return true;
    case UIEVENT_MOUSELEAVE:
        if (IsHot()) {
            SetHot(self, false);
        }
        return true;
    default:
        return false;
    }
}

void CListItemCoreUI::SetHot(CControlUI& self, bool hot) {
    if (hot) {
        m_uButtonState |= UISTATE_HOT;
    } else {
        m_uButtonState &= ~UISTATE_HOT;
    }
    InvalidateVisiblePart(self);
}

bool CListItemCoreUI::PassToOwner(TInputEventUI& event) const {
    if (m_pOwner == nullptr) {
        return false;
    }
    m_pOwner->HandleEvent(event);
    return true;
}

} // namespace SkinUI
