#pragma once
#include <windows.h>

#include "ui/UIPtrArray.h"
#include "ui/controls/ListContainerElementUI.h"

namespace SkinUI {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

// One node of a tree view and one row of its list: an indent spacer, a
// folder button (selected = collapsed), a check box and an item button in a
// row layout, plus the node's own child nodes. Children are rows of the
// view, owned by its body; a node that never joined a view owns them.
class CTreeNodeUI : public CListContainerElementUI {
public:
    explicit CTreeNodeUI(CTreeNodeUI* parent = nullptr);
    ~CTreeNodeUI() override;

    LPCWSTR GetClass() const override;
    // "TreeNode": the node; other names as the container element.
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    // A tree node becomes a child node; anything else a child control.
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool Select(bool selected = true) override;

    CUIString GetItemText() const;
    bool IsHasChild() const;
    int GetCountChild() const;
    CTreeNodeUI* GetChildNode(int index) const;
    CUIPtrArray GetTreeNodes() const;
    CTreeNodeUI* GetParentNode() const;
    void SetParentNode(CTreeNodeUI* parent);
    CTreeViewUI* GetTreeView() const;
    void SetTreeView(CTreeViewUI* view);
    int GetTreeIndex() const;
    CTreeNodeUI* GetLastNode();

    void SetVisibleFolderBtn(bool visible);
    void SetVisibleCheckBtn(bool visible);
    void SetItemTextColor(DWORD color);
    void SetItemHotTextColor(DWORD color);
    void SetSelItemTextColor(DWORD color);
    void SetSelItemHotTextColor(DWORD color);

    void CalLocation(CTreeNodeUI* child);
    bool AddChildNode(CTreeNodeUI* child);
    bool RemoveAt(CTreeNodeUI* child);
    // Leaves the child list without touching the view's rows.
    void ForgetChild(CTreeNodeUI* child);

    CLabelUI* GetDottedLine() const;
    CCheckBoxUI* GetFolderButton() const;
    CCheckBoxUI* GetCheckBox() const;
    COptionUI* GetItemButton() const;

private:
    // The row just after this node's subtree, or -1 outside a view.
    int RowAfterSubtree();

    DWORD m_dwItemTextColor;
    DWORD m_dwItemHotTextColor;
    DWORD m_dwSelItemTextColor;
    DWORD m_dwSelItemHotTextColor;
    CTreeViewUI* m_pTreeView;
    CHorizontalLayoutUI* m_pHoriz;
    CLabelUI* m_pDottedLine;
    CCheckBoxUI* m_pFolderButton;
    CCheckBoxUI* m_pCheckBox;
    COptionUI* m_pItemButton;
    CTreeNodeUI* m_pParentTreeNode;
    CUIPtrArray m_aTreeNodes;
};

// Nodes that answer "TreeNode", or null.
CTreeNodeUI* AsTreeNode(CControlUI* control);

} // namespace SkinUI
