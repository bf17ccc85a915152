#include <windows.h>

#include "ui/controls/TreeNodeUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/TreeViewUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

constexpr int kIndentStep = 16;
constexpr int kNodeWidth = 250;
constexpr int kNodeHeight = 18;

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

CTreeNodeUI* AsTreeNode(CControlUI* control) {
    return control != nullptr
               ? static_cast<CTreeNodeUI*>(control->QueryInterfaceByName(L"TreeNode"))
               : nullptr;
}

CTreeNodeUI::CTreeNodeUI(CTreeNodeUI* parent)
    : m_dwItemTextColor(0), m_dwItemHotTextColor(0), m_dwSelItemTextColor(0),
      m_dwSelItemHotTextColor(0), m_pTreeView(nullptr), m_pHoriz(new CHorizontalLayoutUI),
      m_pDottedLine(new CLabelUI), m_pFolderButton(new CCheckBoxUI), m_pCheckBox(new CCheckBoxUI),
      m_pItemButton(new COptionUI), m_pParentTreeNode(nullptr) {
    SetFixedHeight(kNodeHeight);
    SetFixedWidth(kNodeWidth);
    m_pFolderButton->SetFixedWidth(GetFixedHeight());
    m_pDottedLine->SetFixedWidth(2);
    m_pCheckBox->SetFixedWidth(GetFixedHeight());
    m_pItemButton->ApplyAttribute(L"align", L"left");
    m_pDottedLine->SetVisible(false);
    m_pCheckBox->SetVisible(false);
    m_pItemButton->SetMouseEnabled(false);
    if (parent != nullptr) {
        m_pDottedLine->SetVisible(parent->IsVisible());
        m_pDottedLine->SetFixedWidth(parent->GetDottedLine()->GetFixedWidth() + kIndentStep);
        m_pParentTreeNode = parent;
    }
    m_pHoriz->Add(m_pDottedLine);
    m_pHoriz->Add(m_pFolderButton);
    m_pHoriz->Add(m_pCheckBox);
    m_pHoriz->Add(m_pItemButton);
    CContainerUI::Add(m_pHoriz);
}

// In a view every node is a row that the view's body deletes; the children
// of a node that never joined a view belong to nobody else.
CTreeNodeUI::~CTreeNodeUI() {
    if (m_pTreeView != nullptr) {
        return;
    }
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i) {
        delete static_cast<CTreeNodeUI*>(m_aTreeNodes[i]);
    }
}

LPCWSTR CTreeNodeUI::GetClass() const {
    return L"TreeNodeUI";
}

LPVOID CTreeNodeUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && Is(name, L"TreeNode")) {
        return static_cast<CTreeNodeUI*>(this);
    }
    return CListContainerElementUI::QueryInterfaceByName(name);
}

void CTreeNodeUI::HandleEvent(TInputEventUI& event) {
    const bool mouse = event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND;
    if (!IsMouseEnabled() && mouse) {
        CListContainerElementUI::HandleEvent(event); // hands it to the owner
        return;
    }
    CListContainerElementUI::HandleEvent(event);
    if (event.Type == UIEVENT_DBLCLICK && IsEnabled()) {
        if (m_pManager != nullptr) {
            m_pManager->SendNotify(this, L"itemdbclick");
        }
        InvalidateVisiblePart();
    } else if (event.Type == UIEVENT_MOUSEENTER) {
        if (!IsEnabled()) {
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        } else if (IsSelected() && m_dwSelItemHotTextColor != 0) {
            m_pItemButton->SetTextColor(m_dwSelItemHotTextColor);
        } else {
            m_pItemButton->SetTextColor(m_dwItemHotTextColor);
        }
    } else if (event.Type == UIEVENT_MOUSELEAVE) {
        if (!IsEnabled()) {
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        } else if (!IsSelected()) {
            m_pItemButton->SetTextColor(m_dwItemTextColor);
        } else if (m_dwSelItemTextColor != 0) {
            m_pItemButton->SetTextColor(m_dwSelItemTextColor);
        }
    }
}

void CTreeNodeUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"text")) {
        m_pItemButton->SetText(value);
    } else if (Is(name, L"horizattr")) {
        m_pHoriz->ApplyAttributeList(value);
    } else if (Is(name, L"dotlineattr")) {
        m_pDottedLine->ApplyAttributeList(value);
    } else if (Is(name, L"folderattr")) {
        m_pFolderButton->ApplyAttributeList(value);
    } else if (Is(name, L"checkboxattr")) {
        m_pCheckBox->ApplyAttributeList(value);
    } else if (Is(name, L"itemattr")) {
        m_pItemButton->ApplyAttributeList(value);
    } else if (Is(name, L"itemtextcolor")) {
        SetItemTextColor(ParseColorValue(value));
    } else if (Is(name, L"itemhottextcolor")) {
        SetItemHotTextColor(ParseColorValue(value));
    } else if (Is(name, L"selitemtextcolor")) {
        SetSelItemTextColor(ParseColorValue(value));
    } else if (Is(name, L"selitemhottextcolor")) {
        SetSelItemHotTextColor(ParseColorValue(value));
    } else {
        CListContainerElementUI::ApplyAttribute(name, value);
    }
}

bool CTreeNodeUI::Add(CControlUI* control) {
    if (CTreeNodeUI* node = AsTreeNode(control)) {
        return AddChildNode(node);
    }
    return CListContainerElementUI::Add(control);
}

bool CTreeNodeUI::AddAt(CControlUI* control, int index) {
    CTreeNodeUI* const node = AsTreeNode(control);
    if (node == nullptr) {
        return false;
    }
    CTreeNodeUI* const atChild = GetChildNode(index);
    if (atChild == nullptr) {
        return AddChildNode(node);
    }
    if (!m_aTreeNodes.InsertAt(index, node)) {
        return false;
    }
    CalLocation(node);
    if (m_pTreeView != nullptr) {
        m_pTreeView->AddAtNode(node, atChild);
    }
    return true;
}

bool CTreeNodeUI::Remove(CControlUI* control) {
    CTreeNodeUI* const node = AsTreeNode(control);
    return node != nullptr && RemoveAt(node);
}

bool CTreeNodeUI::Select(bool selected) {
    const bool result = CListContainerElementUI::Select(selected);
    m_pItemButton->SetTextColor(IsSelected() ? m_dwSelItemTextColor : m_dwItemTextColor);
    return result;
}

CUIString CTreeNodeUI::GetItemText() const {
    return m_pItemButton->GetText();
}

bool CTreeNodeUI::IsHasChild() const {
    return !m_aTreeNodes.IsEmpty();
}

int CTreeNodeUI::GetCountChild() const {
    return m_aTreeNodes.GetSize();
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const {
    return static_cast<CTreeNodeUI*>(m_aTreeNodes.GetAt(index));
}

CUIPtrArray CTreeNodeUI::GetTreeNodes() const {
    return m_aTreeNodes;
}

CTreeNodeUI* CTreeNodeUI::GetParentNode() const {
    return m_pParentTreeNode;
}

void CTreeNodeUI::SetParentNode(CTreeNodeUI* parent) {
    m_pParentTreeNode = parent;
}

CTreeViewUI* CTreeNodeUI::GetTreeView() const {
    return m_pTreeView;
}

void CTreeNodeUI::SetTreeView(CTreeViewUI* view) {
    m_pTreeView = view;
}

int CTreeNodeUI::GetTreeIndex() const {
    if (m_pTreeView == nullptr) {
        return -1;
    }
    return m_pTreeView->GetItemIndex(const_cast<CTreeNodeUI*>(this));
}

CTreeNodeUI* CTreeNodeUI::GetLastNode() {
    CTreeNodeUI* node = this;
    while (node->IsHasChild()) {
        node = node->GetChildNode(node->GetCountChild() - 1);
    }
    return node;
}

void CTreeNodeUI::SetVisibleFolderBtn(bool visible) {
    m_pFolderButton->SetVisible(visible);
}

void CTreeNodeUI::SetVisibleCheckBtn(bool visible) {
    m_pCheckBox->SetVisible(visible);
}

void CTreeNodeUI::SetItemTextColor(DWORD color) {
    m_dwItemTextColor = color;
    m_pItemButton->SetTextColor(color);
}

void CTreeNodeUI::SetItemHotTextColor(DWORD color) {
    m_dwItemHotTextColor = color;
    InvalidateVisiblePart();
}

void CTreeNodeUI::SetSelItemTextColor(DWORD color) {
    m_dwSelItemTextColor = color;
    InvalidateVisiblePart();
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD color) {
    m_dwSelItemHotTextColor = color;
    InvalidateVisiblePart();
}

void CTreeNodeUI::CalLocation(CTreeNodeUI* child) {
    child->m_pDottedLine->SetVisible(true);
    child->m_pDottedLine->SetFixedWidth(m_pDottedLine->GetFixedWidth() + kIndentStep);
    child->m_pParentTreeNode = this;
    child->m_pItemButton->SetGroup(m_pItemButton->GetGroup());
    child->m_pTreeView = m_pTreeView;
}

int CTreeNodeUI::RowAfterSubtree() {
    const int last = GetLastNode()->GetTreeIndex();
    return last < 0 ? -1 : last + 1;
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* child) {
    if (child == nullptr) {
        return false;
    }
    const int row = RowAfterSubtree();
    CalLocation(child);
    if (m_pTreeView != nullptr && (row < 0 || m_pTreeView->AddAt(child, row) < 0)) {
        return false;
    }
    return m_aTreeNodes.Add(child);
}

bool CTreeNodeUI::RemoveAt(CTreeNodeUI* child) {
    if (m_aTreeNodes.Find(child) < 0) {
        return false;
    }
    while (child->IsHasChild()) {
        child->RemoveAt(child->GetChildNode(0));
    }
    ForgetChild(child);
    if (m_pTreeView != nullptr) {
        m_pTreeView->Remove(child);
    } else {
        delete child; // no view's body owns it
    }
    return true;
}

void CTreeNodeUI::ForgetChild(CTreeNodeUI* child) {
    const int index = m_aTreeNodes.Find(child);
    if (index >= 0) {
        m_aTreeNodes.Remove(index);
    }
}

CLabelUI* CTreeNodeUI::GetDottedLine() const {
    return m_pDottedLine;
}

CCheckBoxUI* CTreeNodeUI::GetFolderButton() const {
    return m_pFolderButton;
}

CCheckBoxUI* CTreeNodeUI::GetCheckBox() const {
    return m_pCheckBox;
}

COptionUI* CTreeNodeUI::GetItemButton() const {
    return m_pItemButton;
}

} // namespace SkinUI
