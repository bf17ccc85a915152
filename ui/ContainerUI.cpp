#include <windows.h>

#include "ui/ContainerUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

CContainerUI::CContainerUI()
    : m_iChildPadding(0), m_bAutoDestroy(true), m_bDelayedDestroy(true), m_bMouseChildEnabled(true),
      m_bScrollProcess(false), m_pVerticalScrollBar(nullptr), m_pHorizontalScrollBar(nullptr) {}

// Children go at once, not through the manager: the container they would
// report to is going too.
CContainerUI::~CContainerUI() {
    m_bDelayedDestroy = false;
    RemoveAll();
    DeleteScrollBar(m_pVerticalScrollBar);
    DeleteScrollBar(m_pHorizontalScrollBar);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    return static_cast<CControlUI*>(m_items.GetAt(index));
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    return m_items.Find(control);
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    const int current = m_items.Find(control);
    if (current < 0 || index < 0 || index >= m_items.GetSize()) {
        return false;
    }
    MarkNeedsUpdate();
    m_items.Remove(current);
    return m_items.InsertAt(index, control);
}

int CContainerUI::GetCount() const {
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* control) {
    return InsertChild(control, m_items.GetSize());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    return InsertChild(control, index);
}

// A control that is already a child, the container itself or one of its
// ancestors is refused: the tree would own it twice or contain itself.
bool CContainerUI::InsertChild(CControlUI* control, int index) {
    if (control == nullptr || index < 0 || index > m_items.GetSize() ||
        m_items.Find(control) >= 0) {
        return false;
    }
    for (const CControlUI* up = this; up != nullptr; up = up->GetParent()) {
        if (up == control) {
            return false;
        }
    }
    if (m_pManager != nullptr) {
        m_pManager->InitControlTree(control, this);
    }
    if (IsVisible()) {
        MarkNeedsUpdate();
    } else {
        control->SetVisibleByParent(false);
    }
    return m_items.InsertAt(index, control);
}

bool CContainerUI::Remove(CControlUI* control) {
    const int index = m_items.Find(control);
    if (control == nullptr || index < 0) {
        return false;
    }
    MarkNeedsUpdate();
    const bool removed = m_items.Remove(index);
    if (m_bAutoDestroy) {
        DisposeChild(control);
    }
    return removed;
}

bool CContainerUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) {
        return false;
    }
    return CContainerUI::Remove(control);
}

// The list is emptied before any child goes, so that nothing a child's
// destruction runs sees a child that is half gone.
void CContainerUI::RemoveAll() {
    const CUIPtrArray children(m_items);
    m_items.Empty();
    if (m_bAutoDestroy) {
        for (int i = 0; i < children.GetSize(); ++i) {
            DisposeChild(static_cast<CControlUI*>(children.GetAt(i)));
        }
    }
    MarkNeedsUpdate();
}

// A removed child may still be on the call stack (a button that removes
// itself on click): the manager then deletes it at its next clean-up.
void CContainerUI::DisposeChild(CControlUI* control) {
    if (m_bDelayedDestroy && m_pManager != nullptr) {
        m_pManager->AddDelayedCleanup(control);
    } else {
        delete control;
    }
}

LPCWSTR CContainerUI::GetClass() const {
    return L"ContainerUI";
}

LPVOID CContainerUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"IContainer") == 0) {
        return static_cast<IContainerUI*>(this);
    }
    if (name != nullptr && std::wcscmp(name, L"Container") == 0) {
        return static_cast<CContainerUI*>(this);
    }
    return CControlUI::QueryInterfaceByName(name);
}

void CContainerUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) {
    for (int i = 0; i < m_items.GetSize(); ++i) {
        GetItemAt(i)->AttachManager(manager, this, init);
    }
    if (m_pVerticalScrollBar != nullptr) {
        m_pVerticalScrollBar->AttachManager(manager, this, init);
    }
    if (m_pHorizontalScrollBar != nullptr) {
        m_pHorizontalScrollBar->AttachManager(manager, this, init);
    }
    CControlUI::AttachManager(manager, parent, init);
}

void CContainerUI::SetVisible(bool visible) {
    if (m_bVisible == visible) {
        return;
    }
    CControlUI::SetVisible(visible);
    const bool shown = IsVisible();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        GetItemAt(i)->SetVisibleByParent(shown);
    }
}

void CContainerUI::SetVisibleByParent(bool visible) {
    CControlUI::SetVisibleByParent(visible);
    const bool shown = IsVisible();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        GetItemAt(i)->SetVisibleByParent(shown);
    }
}

void CContainerUI::SetMouseEnabled(bool enable) {
    if (m_pVerticalScrollBar != nullptr) {
        m_pVerticalScrollBar->SetMouseEnabled(enable);
    }
    if (m_pHorizontalScrollBar != nullptr) {
        m_pHorizontalScrollBar->SetMouseEnabled(enable);
    }
    CControlUI::SetMouseEnabled(enable);
}

void CContainerUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (std::wcscmp(name, L"inset") == 0) {
        SetInset(ParseRectValue(value));
    } else if (std::wcscmp(name, L"mousechild") == 0) {
        SetMouseChildEnabled(ParseBoolValue(value));
    } else if (std::wcscmp(name, L"vscrollbar") == 0) {
        EnableScrollBar(ParseBoolValue(value), m_pHorizontalScrollBar != nullptr);
    } else if (std::wcscmp(name, L"vscrollbarstyle") == 0) {
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        if (m_pVerticalScrollBar != nullptr) {
            m_pVerticalScrollBar->ApplyAttributeList(value);
        }
    } else if (std::wcscmp(name, L"hscrollbar") == 0) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBoolValue(value));
    } else if (std::wcscmp(name, L"hscrollbarstyle") == 0) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        if (m_pHorizontalScrollBar != nullptr) {
            m_pHorizontalScrollBar->ApplyAttributeList(value);
        }
    } else if (std::wcscmp(name, L"childpadding") == 0) {
        SetChildPadding(ParseDecimalValue(value));
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

RECT CContainerUI::GetInset() const {
    return m_rcInset;
}

void CContainerUI::SetInset(RECT rcInset) {
    m_rcInset = rcInset;
    MarkNeedsUpdate();
}

int CContainerUI::GetChildPadding() const {
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int padding) {
    m_iChildPadding = padding;
    MarkNeedsUpdate();
}

bool CContainerUI::IsAutoDestroy() const {
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool autoDestroy) {
    m_bAutoDestroy = autoDestroy;
}

bool CContainerUI::IsDelayedDestroy() const {
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool delayed) {
    m_bDelayedDestroy = delayed;
}

bool CContainerUI::IsMouseChildEnabled() const {
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool enable) {
    m_bMouseChildEnabled = enable;
}

int CContainerUI::FindSelectable(int index, bool forward) const {
    const int count = GetCount();
    if (count <= 0) {
        return -1;
    }
    index = index < 0 ? 0 : (index >= count ? count - 1 : index);
    const auto selectable = [](CControlUI* control) {
        return control != nullptr && control->QueryInterfaceByName(L"ListItem") != nullptr &&
               control->IsVisible() && control->IsEnabled();
    };
    if (!forward) {
        for (int i = index; i >= 0; --i) {
            if (selectable(GetItemAt(i))) {
                return i;
            }
        }
        return FindSelectable(0, true);
    }
    for (int i = index; i < count; ++i) {
        if (selectable(GetItemAt(i))) {
            return i;
        }
    }
    return -1;
}

} // namespace SkinUI
