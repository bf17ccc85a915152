#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/controls/IListUI.h"
#include "ui/controls/ListItemCoreUI.h"

namespace SkinUI {

// Base of the list items that are single controls (label and text
// elements): it keeps its index, selection, hot state and owner, paints its
// background from the owner's look by state, activates on a double click or
// Return ("itemactivate") and hands every other event to its owner, so that
// keys and the wheel reach the list.
class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI();
    ~CListElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void HandleEvent(TInputEventUI& event) override;
    // "selected" selects the element whatever its value.
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;

    int GetIndex() const override;
    void SetIndex(int index) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override;
    bool Select(bool selected = true) override;
    bool IsExpanded() const override;
    bool Expand(bool expanded = true) override;

    // Repaints only the part of the element that shows inside its list.
    void InvalidateVisiblePart();
    // The background by state from the owner's look; nothing without one.
    void DrawItemBk(HDC hDC, const RECT& rcItem);

protected:
    CListItemCoreUI m_item;
};

} // namespace SkinUI
