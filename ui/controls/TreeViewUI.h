#pragma once
#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/controls/ListUI.h"

namespace SkinUI {

class CTreeNodeUI;

// A tree shown as a list (tag "TreeView"): every node at any depth is a row,
// its descendants stand right after it depth first, indented 16 pixels per
// level. The view hears its rows' folder buttons, check boxes and double
// clicks through delegates on those controls; its rows are taken only
// through Add, AddAtNode and AddAt.
class CTreeViewUI : public CListUI, public INotifyUI {
public:
    CTreeViewUI();
    ~CTreeViewUI() override;

    LPCWSTR GetClass() const override;
    // "TreeView": the view; other names as the list.
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    // Removes the node at the row; false when the row holds no node.
    bool RemoveAt(int index) override;
    void Notify(TNoticeUI& msg) override;

    virtual bool Add(CTreeNodeUI* node);
    virtual bool AddAtNode(CTreeNodeUI* node, CTreeNodeUI* indexNode);
    virtual int AddAt(CTreeNodeUI* node, int index);
    virtual bool Remove(CTreeNodeUI* node);
    virtual bool OnCheckBoxChanged(void* param);
    virtual bool OnFolderChanged(void* param);
    virtual bool OnDBClickItem(void* param);
    virtual bool SetItemCheckBox(bool selected, CTreeNodeUI* node = nullptr);
    virtual void SetItemExpand(bool expanded, CTreeNodeUI* node = nullptr);
    virtual void SetVisibleFolderBtn(bool visible);
    virtual bool GetVisibleFolderBtn() const;
    virtual void SetVisibleCheckBtn(bool visible);
    virtual bool GetVisibleCheckBtn() const;
    virtual void SetItemMinWidth(UINT width);
    virtual UINT GetItemMinWidth() const;
    virtual void SetItemTextColor(DWORD color);
    virtual void SetItemHotTextColor(DWORD color);
    virtual void SetSelItemTextColor(DWORD color);
    virtual void SetSelItemHotTextColor(DWORD color);

    // The list's own operations stay reachable for other rows' code paths.
    using CListUI::Add;
    using CListUI::AddAt;
    using CListUI::Remove;

private:
    void Adopt(CTreeNodeUI* node);
    template <class F> void ForEachRow(F f);

    UINT m_uItemMinWidth;
    bool m_bVisibleFolderBtn;
    bool m_bVisibleCheckBtn;
};

} // namespace SkinUI
