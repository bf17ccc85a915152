#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/controls/IListUI.h"
#include "ui/controls/ListItemCoreUI.h"

namespace SkinUI {

// A list row that holds child controls: it behaves as a list element
// (index, selection, hot state, background from the owner's look,
// "itemclick" and "itemactivate") and paints its children over its
// background. Base of the tree node.
class CListContainerElementUI : public CContainerUI, public IListItemUI {
public:
    CListContainerElementUI();
    ~CListContainerElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void HandleEvent(TInputEventUI& event) override;
    // "selected" selects the element whatever its value.
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;

    int GetIndex() const override;
    void SetIndex(int index) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override;
    bool Select(bool selected = true) override;
    bool IsExpanded() const override;
    bool Expand(bool expanded = true) override;
    // Its children draw themselves.
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    // Repaints only the part of the element that shows inside its list.
    void InvalidateVisiblePart();
    void DrawItemBk(HDC hDC, const RECT& rcItem);

protected:
    CListItemCoreUI m_item;
};

} // namespace SkinUI
