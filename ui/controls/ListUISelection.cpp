#include <windows.h>

#include "ui/controls/ListUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/controls/LinearLayoutMath.h"
#include "ui/controls/ListBodyUI.h"
#include "ui/controls/ListItemCoreUI.h"
#include "ui/controls/ScrollBarUI.h"

namespace SkinUI {

TListLookUI* CListUI::GetListLook() {
    return &m_ListLook;
}

int CListUI::GetCurSel() const {
    return m_iCurSel;
}

// The item's own Select(true) calls back here with its index, which is then
// the current selection: that inner call returns at once.
bool CListUI::SelectItem(int index, bool takeFocus) {
    if (index == m_iCurSel) {
        return true;
    }
    const int previous = m_iCurSel;
    if (m_iCurSel >= 0) {
        if (IListItemUI* old = ListItemAt(m_iCurSel)) {
            old->Select(false);
        }
        m_iCurSel = -1;
    }
    if (index < 0) {
        return false;
    }
    CControlUI* control = m_pBody->GetItemAt(index);
    IListItemUI* item = ListItemAt(index);
    if (control == nullptr || !control->IsVisible() || !control->IsEnabled() || item == nullptr) {
        return false;
    }
    m_iCurSel = index;
    if (!item->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    EnsureVisible(index);
    if (takeFocus) {
        control->SetFocus();
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(index),
                               static_cast<LPARAM>(previous));
    }
    return true;
}

bool CListUI::ExpandItem(int index, bool expand) {
    if (m_iExpandedItem >= 0 && !m_ListLook.bMultiExpandable) {
        if (IListItemUI* old = ListItemAt(m_iExpandedItem)) {
            old->Expand(false);
        }
        m_iExpandedItem = -1;
    }
    if (!expand) {
        MarkNeedsUpdate();
        return true;
    }
    CControlUI* control = m_pBody->GetItemAt(index);
    IListItemUI* item = ListItemAt(index);
    if (control == nullptr || !control->IsVisible() || item == nullptr) {
        return false;
    }
    m_iExpandedItem = index;
    if (!item->Expand(true)) {
        m_iExpandedItem = -1;
        return false;
    }
    MarkNeedsUpdate();
    return true;
}

int CListUI::GetExpandedItem() const {
    return m_iExpandedItem;
}

void CListUI::EnsureVisible(int index) {
    CControlUI* control = m_pBody->GetItemAt(index);
    if (m_iCurSel < 0 || control == nullptr) {
        return;
    }
    const RECT& item = control->GetPos();
    RECT area = m_pBody->GetInsetRect();
    const CScrollBarUI* bar = m_pBody->GetHorizontalScrollBar();
    if (LayoutMath::IsShown(bar)) {
        area.bottom -= bar->GetFixedHeight();
    }
    long long d = 0;
    if (item.top < area.top) {
        d = static_cast<long long>(item.top) - area.top;
    }
    if (item.bottom > area.bottom) {
        d = static_cast<long long>(item.bottom) - area.bottom;
    }
    Scroll(0, SaturateToInt(d));
}

void CListUI::Scroll(int dx, int dy) {
    if (dx == 0 && dy == 0) {
        return;
    }
    const SIZE pos = m_pBody->GetScrollPos();
    m_pBody->SetScrollPos(LayoutMath::MakeSize(static_cast<long long>(pos.cx) + dx,
                                               static_cast<long long>(pos.cy) + dy));
}

bool CListUI::GetScrollSelect() const {
    return m_bScrollSelect;
}

void CListUI::SetScrollSelect(bool scrollSelect) {
    m_bScrollSelect = scrollSelect;
}

void CListUI::SetMultiExpanding(bool multiExpanding) {
    m_ListLook.bMultiExpandable = multiExpanding;
}

IListTextCallbackUI* CListUI::GetTextCallback() const {
    return m_pCallback;
}

void CListUI::SetTextCallback(IListTextCallbackUI* callback) {
    m_pCallback = callback;
}

CListHeaderUI* CListUI::GetHeader() const {
    return m_pHeader;
}

CContainerUI* CListUI::GetBody() const {
    return m_pBody;
}

void CListUI::MoveSelection(int index) {
    SelectItem(index, true);
}

void CListUI::HandleEvent(TInputEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event)) {
        if (m_pParent != nullptr) {
            m_pParent->HandleEvent(event);
        } else {
            CVerticalLayoutUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        return;
    case UIEVENT_KEYDOWN:
        switch (event.chKey) {
        case VK_RETURN:
            if (m_iCurSel >= 0) {
                if (CControlUI* selected = m_pBody->GetItemAt(m_iCurSel)) {
                    selected->Activate();
                }
            }
            return;
        case VK_PRIOR:
            PageUp();
            return;
        case VK_NEXT:
            PageDown();
            return;
        case VK_UP:
            MoveSelection(FindSelectable(m_iCurSel - 1, false));
            return;
        case VK_DOWN:
            MoveSelection(FindSelectable(m_iCurSel + 1, true));
            return;
        case VK_HOME:
            MoveSelection(FindSelectable(0, false));
            return;
        case VK_END:
            MoveSelection(FindSelectable(GetCount() - 1, true));
            return;
        default:
            break;
        }
        break;
    case UIEVENT_SCROLLWHEEL: {
        const WORD step = LOWORD(event.wParam);
        if (step == SB_LINEUP || step == SB_LINEDOWN) {
            const bool up = step == SB_LINEUP;
            if (!m_bScrollSelect && up) {
                LineUp();
            } else if (!m_bScrollSelect) {
                LineDown();
            } else {
                MoveSelection(FindSelectable(m_iCurSel + (up ? -1 : 1), !up));
            }
            return;
        }
        break;
    }
    default:
        break;
    }
    CVerticalLayoutUI::HandleEvent(event);
}

} // namespace SkinUI
