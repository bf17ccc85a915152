#include <windows.h>

#include "ui/controls/TreeViewUI.h"

#include "ui/Delegate.h"
#include "ui/UIAttributeValue.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/TreeNodeUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

// The node of a folder button or check box: its grandparent (button, row
// layout, node).
CTreeNodeUI* NodeOfRowPart(CControlUI* part) {
    CControlUI* const row = part != nullptr ? part->GetParent() : nullptr;
    return AsTreeNode(row != nullptr ? row->GetParent() : nullptr);
}

bool IsSelectChanged(const TNoticeUI& msg) {
    return msg.sType == L"selectchanged";
}

} // namespace

CTreeViewUI::CTreeViewUI()
    : m_uItemMinWidth(0), m_bVisibleFolderBtn(true), m_bVisibleCheckBtn(false) {
    if (CListHeaderUI* header = GetHeader()) {
        header->CControlUI::SetVisible(false);
    }
}

CTreeViewUI::~CTreeViewUI() = default;

LPCWSTR CTreeViewUI::GetClass() const {
    return L"TreeViewUI";
}

LPVOID CTreeViewUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && Is(name, L"TreeView")) {
        return static_cast<CTreeViewUI*>(this);
    }
    return CListUI::QueryInterfaceByName(name);
}

void CTreeViewUI::Notify(TNoticeUI&) {}

template <class F> void CTreeViewUI::ForEachRow(F f) {
    for (int i = 0; i < GetCount(); ++i) {
        if (CTreeNodeUI* node = AsTreeNode(GetItemAt(i))) {
            f(node);
        }
    }
}

// What every node taken by the view gets: the view's delegates (a delegate
// list keeps no duplicates), its button visibility and minimum width.
void CTreeViewUI::Adopt(CTreeNodeUI* node) {
    node->NotifyDelegates += MakeDelegate(this, &CTreeViewUI::OnDBClickItem);
    node->GetFolderButton()->NotifyDelegates += MakeDelegate(this, &CTreeViewUI::OnFolderChanged);
    node->GetCheckBox()->NotifyDelegates += MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    node->SetVisibleFolderBtn(m_bVisibleFolderBtn);
    node->SetVisibleCheckBtn(m_bVisibleCheckBtn);
    if (m_uItemMinWidth > 0) {
        node->SetMinWidth(static_cast<int>(m_uItemMinWidth));
    }
}

bool CTreeViewUI::Add(CTreeNodeUI* node) {
    if (AsTreeNode(node) == nullptr) {
        return false;
    }
    Adopt(node);
    CListUI::Add(node);
    for (int i = 0; i < node->GetCountChild(); ++i) {
        Add(node->GetChildNode(i));
    }
    node->SetTreeView(this);
    return true;
}

int CTreeViewUI::AddAt(CTreeNodeUI* node, int index) {
    if (AsTreeNode(node) == nullptr || index < 0 || index > GetCount()) {
        return -1;
    }
    Adopt(node);
    if (!CListUI::AddAt(node, index)) {
        return -1;
    }
    node->SetTreeView(this);
    int next = index + 1;
    for (int i = 0; i < node->GetCountChild() && next > 0; ++i) {
        next = AddAt(node->GetChildNode(i), next);
    }
    return next;
}

bool CTreeViewUI::AddAtNode(CTreeNodeUI* node, CTreeNodeUI* indexNode) {
    const int row = indexNode != nullptr ? GetItemIndex(indexNode) : -1;
    return row >= 0 && AddAt(node, row) >= 0;
}

bool CTreeViewUI::Remove(CTreeNodeUI* node) {
    if (node == nullptr || GetItemIndex(node) < 0) {
        return false;
    }
    if (CTreeNodeUI* parent = node->GetParentNode()) {
        parent->ForgetChild(node);
    }
    while (node->IsHasChild()) {
        node->RemoveAt(node->GetChildNode(0));
    }
    return CListUI::Remove(node);
}

bool CTreeViewUI::RemoveAt(int index) {
    CTreeNodeUI* const node = AsTreeNode(GetItemAt(index));
    return node != nullptr && Remove(node);
}

bool CTreeViewUI::OnCheckBoxChanged(void* param) {
    const TNoticeUI& msg = *static_cast<TNoticeUI*>(param);
    if (IsSelectChanged(msg)) {
        if (CTreeNodeUI* node = NodeOfRowPart(msg.pSender)) {
            SetItemCheckBox(node->GetCheckBox()->IsSelected(), node);
        }
    }
    return true;
}

bool CTreeViewUI::OnFolderChanged(void* param) {
    const TNoticeUI& msg = *static_cast<TNoticeUI*>(param);
    if (IsSelectChanged(msg)) {
        if (CTreeNodeUI* node = NodeOfRowPart(msg.pSender)) {
            SetItemExpand(!node->GetFolderButton()->IsSelected(), node);
        }
    }
    return true;
}

bool CTreeViewUI::OnDBClickItem(void* param) {
    const TNoticeUI& msg = *static_cast<TNoticeUI*>(param);
    if (msg.sType != L"itemdbclick") {
        return false;
    }
    if (CTreeNodeUI* node = AsTreeNode(msg.pSender)) {
        CCheckBoxUI* const folder = node->GetFolderButton();
        folder->Select(!folder->IsSelected());
        SetItemExpand(!folder->IsSelected(), node);
    }
    return true;
}

bool CTreeViewUI::SetItemCheckBox(bool selected, CTreeNodeUI* node) {
    if (node == nullptr) {
        ForEachRow([&](CTreeNodeUI* row) { row->GetCheckBox()->Select(selected); });
        return true;
    }
    for (int i = 0; i < node->GetCountChild(); ++i) {
        CTreeNodeUI* const child = node->GetChildNode(i);
        child->GetCheckBox()->Select(selected);
        if (child->IsHasChild()) {
            SetItemCheckBox(selected, child);
        }
    }
    return true;
}

void CTreeViewUI::SetItemExpand(bool expanded, CTreeNodeUI* node) {
    if (node == nullptr) {
        ForEachRow([&](CTreeNodeUI* row) { row->SetVisible(expanded); });
        return;
    }
    for (int i = 0; i < node->GetCountChild(); ++i) {
        CTreeNodeUI* const child = node->GetChildNode(i);
        child->SetVisible(expanded);
        if (child->IsHasChild() && !child->GetFolderButton()->IsSelected()) {
            SetItemExpand(expanded, child);
        }
    }
}

void CTreeViewUI::SetVisibleFolderBtn(bool visible) {
    m_bVisibleFolderBtn = visible;
    ForEachRow([&](CTreeNodeUI* row) { row->SetVisibleFolderBtn(visible); });
}

bool CTreeViewUI::GetVisibleFolderBtn() const {
    return m_bVisibleFolderBtn;
}

void CTreeViewUI::SetVisibleCheckBtn(bool visible) {
    m_bVisibleCheckBtn = visible;
    ForEachRow([&](CTreeNodeUI* row) { row->SetVisibleCheckBtn(visible); });
}

bool CTreeViewUI::GetVisibleCheckBtn() const {
    return m_bVisibleCheckBtn;
}

void CTreeViewUI::SetItemMinWidth(UINT width) {
    m_uItemMinWidth = width;
    ForEachRow([&](CTreeNodeUI* row) { row->SetMinWidth(static_cast<int>(width)); });
    Invalidate();
}

UINT CTreeViewUI::GetItemMinWidth() const {
    return m_uItemMinWidth;
}

void CTreeViewUI::SetItemTextColor(DWORD color) {
    ForEachRow([&](CTreeNodeUI* row) { row->SetItemTextColor(color); });
}

void CTreeViewUI::SetItemHotTextColor(DWORD color) {
    ForEachRow([&](CTreeNodeUI* row) { row->SetItemHotTextColor(color); });
}

void CTreeViewUI::SetSelItemTextColor(DWORD color) {
    ForEachRow([&](CTreeNodeUI* row) { row->SetSelItemTextColor(color); });
}

void CTreeViewUI::SetSelItemHotTextColor(DWORD color) {
    ForEachRow([&](CTreeNodeUI* row) { row->SetSelItemHotTextColor(color); });
}

void CTreeViewUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"visiblefolderbtn")) {
        SetVisibleFolderBtn(ParseBoolValue(value));
    } else if (Is(name, L"visiblecheckbtn")) {
        SetVisibleCheckBtn(ParseBoolValue(value));
    } else if (Is(name, L"itemminwidth")) {
        SetItemMinWidth(static_cast<UINT>(ParseDecimalValue(value)));
    } else if (Is(name, L"itemtextcolor")) {
        SetItemTextColor(ParseColorValue(value));
    } else if (Is(name, L"itemhottextcolor")) {
        SetItemHotTextColor(ParseColorValue(value));
    } else if (Is(name, L"selitemtextcolor")) {
        SetSelItemTextColor(ParseColorValue(value));
    } else if (Is(name, L"selitemhottextcolor")) {
        SetSelItemHotTextColor(ParseColorValue(value));
    } else {
        CListUI::ApplyAttribute(name, value);
    }
}

} // namespace SkinUI
