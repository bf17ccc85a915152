#include <windows.h>

#include "ui/controls/ListUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/controls/ListBodyUI.h"
#include "ui/controls/ListHeaderUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

IListItemUI* AsListItem(CControlUI* control) {
    return control != nullptr
               ? static_cast<IListItemUI*>(control->QueryInterfaceByName(L"ListItem"))
               : nullptr;
}

bool IsHeader(CControlUI* control) {
    return control != nullptr && control->QueryInterfaceByName(L"ListHeader") != nullptr;
}

} // namespace

CListUI::CListUI()
    : m_bScrollSelect(false), m_iCurSel(-1), m_iExpandedItem(-1), m_pCallback(nullptr),
      m_pBody(new CListBodyUI(this)), m_pHeader(nullptr), m_bLayingOut(false) {
    Add(new CListHeaderUI());
    CVerticalLayoutUI::Add(m_pBody);
}

CListUI::~CListUI() = default;

LPCWSTR CListUI::GetClass() const {
    return L"ListUI";
}

LPVOID CListUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"List") == 0) {
        return static_cast<CListUI*>(this);
    }
    if (name != nullptr && std::wcscmp(name, L"IList") == 0) {
        return static_cast<IListUI*>(this);
    }
    if (name != nullptr && std::wcscmp(name, L"IListOwner") == 0) {
        return static_cast<IListOwnerUI*>(static_cast<IListUI*>(this));
    }
    return CVerticalLayoutUI::QueryInterfaceByName(name);
}

UINT CListUI::GetControlFlags() const {
    return UIFLAG_TABSTOP;
}

// ---- Child routing ------------------------------------------------------------------

bool CListUI::IsHeaderItem(CControlUI* control) const {
    LPCWSTR cls = control != nullptr ? control->GetClass() : nullptr;
    return cls != nullptr && std::wcsstr(cls, L"ListHeaderItemUI") != nullptr;
}

IListItemUI* CListUI::ListItemAt(int index) const {
    return AsListItem(m_pBody->GetItemAt(index));
}

void CListUI::Renumber(int first, int last) {
    for (int i = first; i <= last; ++i) {
        if (IListItemUI* item = ListItemAt(i)) {
            item->SetIndex(i);
        }
    }
}

void CListUI::UpdateColumnCount() {
    const int count = m_pHeader != nullptr ? m_pHeader->GetCount() : 0;
    m_ListLook.nColumns = count < kMaxListColumns ? count : kMaxListColumns;
}

CControlUI* CListUI::GetItemAt(int index) const {
    return m_pBody->GetItemAt(index);
}

int CListUI::GetCount() const {
    return m_pBody->GetCount();
}

int CListUI::GetItemIndex(CControlUI* control) const {
    if (IsHeader(control)) {
        return CVerticalLayoutUI::GetItemIndex(control);
    }
    if (IsHeaderItem(control)) {
        return m_pHeader != nullptr ? m_pHeader->GetItemIndex(control) : -1;
    }
    return m_pBody->GetItemIndex(control);
}

// A header that still has items is not replaced: a later one only stands
// before it.
bool CListUI::AddHeader(CControlUI* header) {
    if (!CVerticalLayoutUI::AddAt(header, 0)) {
        return false;
    }
    if (m_pHeader == nullptr || m_pHeader->GetCount() == 0) {
        if (m_pHeader != nullptr) {
            CVerticalLayoutUI::Remove(m_pHeader);
        }
        m_pHeader = static_cast<CListHeaderUI*>(header->QueryInterfaceByName(L"ListHeader"));
    }
    UpdateColumnCount();
    return true;
}

bool CListUI::Add(CControlUI* control) {
    if (IsHeader(control)) {
        return AddHeader(control);
    }
    if (IsHeaderItem(control)) {
        const bool added = m_pHeader != nullptr && m_pHeader->Add(control);
        UpdateColumnCount();
        return added;
    }
    if (IListItemUI* item = AsListItem(control)) {
        item->SetOwner(this);
        item->SetIndex(m_pBody->GetCount());
    }
    return m_pBody->Add(control);
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (IsHeader(control)) {
        return AddHeader(control);
    }
    if (IsHeaderItem(control)) {
        const bool added = m_pHeader != nullptr && m_pHeader->AddAt(control, index);
        UpdateColumnCount();
        return added;
    }
    if (!m_pBody->AddAt(control, index)) {
        return false;
    }
    if (IListItemUI* item = AsListItem(control)) {
        item->SetOwner(this);
        item->SetIndex(index);
    }
    Renumber(index + 1, m_pBody->GetCount() - 1);
    if (m_iCurSel >= 0 && index <= m_iCurSel) {
        ++m_iCurSel;
    }
    return true;
}

bool CListUI::Remove(CControlUI* control) {
    if (IsHeader(control)) {
        const bool current = control == m_pHeader;
        if (!CVerticalLayoutUI::Remove(control)) {
            return false;
        }
        if (current) {
            m_pHeader = nullptr;
            UpdateColumnCount();
        }
        return true;
    }
    if (IsHeaderItem(control)) {
        const bool removed = m_pHeader != nullptr && m_pHeader->Remove(control);
        UpdateColumnCount();
        return removed;
    }
    const int index = m_pBody->GetItemIndex(control);
    if (index < 0 || !m_pBody->RemoveAt(index)) {
        return false;
    }
    OnItemRemoved(index);
    return true;
}

bool CListUI::RemoveAt(int index) {
    if (!m_pBody->RemoveAt(index)) {
        return false;
    }
    OnItemRemoved(index);
    return true;
}

// The selection moves with its item; a removed selected item hands it to
// the item now at its place, or the nearest selectable one before it.
void CListUI::OnItemRemoved(int index) {
    Renumber(index, m_pBody->GetCount() - 1);
    if (index == m_iCurSel) {
        m_iCurSel = -1;
        SelectItem(FindSelectable(index, false), false);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
}

void CListUI::RemoveAll() {
    m_iCurSel = -1;
    m_iExpandedItem = -1;
    m_pBody->RemoveAll();
}

bool CListUI::SetItemIndex(CControlUI* control, int index) {
    if (IsHeader(control)) {
        return CVerticalLayoutUI::SetItemIndex(control, index);
    }
    if (IsHeaderItem(control)) {
        return m_pHeader != nullptr && m_pHeader->SetItemIndex(control, index);
    }
    const int old = m_pBody->GetItemIndex(control);
    if (old < 0) {
        return false;
    }
    if (old == index) {
        return true;
    }
    IListItemUI* selected = m_iCurSel >= 0 ? ListItemAt(m_iCurSel) : nullptr;
    if (!m_pBody->SetItemIndex(control, index)) {
        return false;
    }
    Renumber(old < index ? old : index, old < index ? index : old);
    if (selected != nullptr) {
        m_iCurSel = selected->GetIndex();
    }
    return true;
}

// ---- Scrolling, forwarded to the body -----------------------------------------------

int CListUI::GetChildPadding() const {
    return m_pBody->GetChildPadding();
}

void CListUI::SetChildPadding(int padding) {
    m_pBody->SetChildPadding(padding);
}

SIZE CListUI::GetScrollPos() const {
    return m_pBody->GetScrollPos();
}

SIZE CListUI::GetScrollRange() const {
    return m_pBody->GetScrollRange();
}

void CListUI::SetScrollPos(SIZE szPos) {
    m_pBody->SetScrollPos(szPos);
}

void CListUI::LineUp() {
    m_pBody->LineUp();
}

void CListUI::LineDown() {
    m_pBody->LineDown();
}

void CListUI::PageUp() {
    m_pBody->PageUp();
}

void CListUI::PageDown() {
    m_pBody->PageDown();
}

void CListUI::HomeUp() {
    m_pBody->HomeUp();
}

void CListUI::EndDown() {
    m_pBody->EndDown();
}

void CListUI::LineLeft() {
    m_pBody->LineLeft();
}

void CListUI::LineRight() {
    m_pBody->LineRight();
}

void CListUI::PageLeft() {
    m_pBody->PageLeft();
}

void CListUI::PageRight() {
    m_pBody->PageRight();
}

void CListUI::HomeLeft() {
    m_pBody->HomeLeft();
}

void CListUI::EndRight() {
    m_pBody->EndRight();
}

void CListUI::EnableScrollBar(bool enableVertical, bool enableHorizontal) {
    m_pBody->EnableScrollBar(enableVertical, enableHorizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const {
    return m_pBody->GetVerticalScrollBar();
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const {
    return m_pBody->GetHorizontalScrollBar();
}

// ---- Columns ------------------------------------------------------------------------

void CListUI::SetPos(RECT rc) {
    m_bLayingOut = true;
    CVerticalLayoutUI::SetPos(rc);
    m_bLayingOut = false;
    if (m_pHeader == nullptr) {
        return;
    }
    UpdateColumnCount();
    const bool hidden = !m_pHeader->IsVisible();
    if (hidden) {
        // A hidden header's items still get widths for the columns.
        SetHeaderItemsVisibleByParent(true);
        m_pHeader->SetPos(RECT{m_rcItem.left, 0, m_rcItem.right, 0});
    }
    MoveColumns(m_pBody->GetScrollPos().cx);
    if (hidden) {
        SetHeaderItemsVisibleByParent(false);
    }
}

void CListUI::OnBodyScrolledSideways(int dx) {
    if (m_bLayingOut || m_pHeader == nullptr) {
        return;
    }
    UpdateColumnCount();
    const bool hidden = !m_pHeader->IsVisible();
    if (hidden) {
        SetHeaderItemsVisibleByParent(true);
    }
    MoveColumns(dx);
    if (hidden) {
        SetHeaderItemsVisibleByParent(false);
    }
    m_pHeader->Invalidate();
}

void CListUI::MoveColumns(int dx) {
    for (int i = 0; i < m_ListLook.nColumns; ++i) {
        CControlUI* item = m_pHeader->GetItemAt(i);
        if (item == nullptr || !item->IsVisible() || item->IsFloating()) {
            continue;
        }
        if (dx != 0) {
            RECT rc = item->GetPos();
            rc.left -= dx;
            rc.right -= dx;
            item->SetPos(rc);
        }
        m_ListLook.rcColumn[i] = item->GetPos();
    }
}

void CListUI::SetHeaderItemsVisibleByParent(bool visible) {
    for (int i = 0; i < m_pHeader->GetCount(); ++i) {
        m_pHeader->GetItemAt(i)->SetVisibleByParent(visible);
    }
}

} // namespace SkinUI
