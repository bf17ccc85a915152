#include <windows.h>

#include "ui/controls/ComboUI.h"

#include "ui/controls/ComboWnd.h"

namespace SkinUI {

IListItemUI* CComboUI::ListItemAt(int index) const {
    CControlUI* control = GetItemAt(index);
    return control != nullptr
               ? static_cast<IListItemUI*>(control->QueryInterfaceByName(L"ListItem"))
               : nullptr;
}

void CComboUI::Renumber(int first, int last) {
    for (int i = first < 0 ? 0 : first; i <= last; ++i) {
        if (IListItemUI* item = ListItemAt(i)) {
            item->SetIndex(i);
        }
    }
}

TListLookUI* CComboUI::GetListLook() {
    return &m_ListLook;
}

int CComboUI::GetCurSel() const {
    return m_iCurSel;
}

// The element's own Select(true) calls back here with its index, which is
// then the current selection: that inner call returns at once.
bool CComboUI::SelectItem(int index, bool takeFocus) {
    if (m_pWindow != nullptr) {
        m_pWindow->Close();
    }
    if (index == m_iCurSel) {
        return true;
    }
    const int previous = m_iCurSel;
    if (m_iCurSel >= 0) {
        CControlUI* current = GetItemAt(m_iCurSel);
        IListItemUI* item = ListItemAt(m_iCurSel);
        // A selection that names no child is dropped, so that it can't
        // block every later selection.
        m_iCurSel = -1;
        if (current == nullptr) {
            return false;
        }
        if (item != nullptr) {
            item->Select(false);
        }
    }
    const int count = GetCount();
    if (index < 0 || count == 0) {
        return false;
    }
    if (index >= count) {
        index = count - 1;
    }
    CControlUI* control = GetItemAt(index);
    IListItemUI* item = ListItemAt(index);
    if (!control->IsVisible() || !control->IsEnabled() || item == nullptr) {
        return false;
    }
    m_iCurSel = index;
    if (m_pWindow != nullptr || takeFocus) {
        control->SetFocus();
    }
    item->Select(true);
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(index),
                               static_cast<LPARAM>(previous));
    }
    Invalidate();
    return true;
}

bool CComboUI::Add(CControlUI* control) {
    TakeBackChildren();
    if (control != nullptr) {
        if (auto* item = static_cast<IListItemUI*>(control->QueryInterfaceByName(L"ListItem"))) {
            item->SetOwner(this);
            item->SetIndex(GetCount());
        }
    }
    return CContainerUI::Add(control);
}

bool CComboUI::AddAt(CControlUI* control, int index) {
    TakeBackChildren();
    if (!CContainerUI::AddAt(control, index)) {
        return false;
    }
    if (auto* item = static_cast<IListItemUI*>(control->QueryInterfaceByName(L"ListItem"))) {
        item->SetOwner(this);
        item->SetIndex(index);
    }
    Renumber(index + 1, GetCount() - 1);
    if (m_iCurSel >= index) {
        ++m_iCurSel;
    }
    return true;
}

bool CComboUI::SetItemIndex(CControlUI* control, int index) {
    const int old = GetItemIndex(control);
    if (old < 0) {
        return false;
    }
    if (old == index) {
        return true;
    }
    TakeBackChildren();
    CControlUI* selected = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(control, index)) {
        return false;
    }
    Renumber(old < index ? old : index, old < index ? index : old);
    if (selected != nullptr) {
        m_iCurSel = GetItemIndex(selected);
    }
    return true;
}

bool CComboUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    if (index < 0) {
        return false;
    }
    TakeBackChildren();
    if (!CContainerUI::Remove(control)) {
        return false;
    }
    OnItemRemoved(index);
    return true;
}

bool CComboUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    return control != nullptr && CComboUI::Remove(control);
}

void CComboUI::RemoveAll() {
    TakeBackChildren();
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

void CComboUI::OnItemRemoved(int index) {
    Renumber(index, GetCount() - 1);
    if (index == m_iCurSel) {
        m_iCurSel = -1;
        SelectItem(FindSelectable(index, false), false);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
}

} // namespace SkinUI
