#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/controls/IListUI.h"

namespace SkinUI {

// The state and behaviour that both families of list elements share (the
// plain elements derive from CControlUI, the container element from
// CContainerUI): index, selected flag, hot state and owner, selection in
// step with the owner, the background by state, and the mouse handling of a
// row. Each element holds one and hands it itself.
class CListItemCoreUI {
public:
    // The control flag of list items (no part of the framework tests it).
    enum : UINT { kItemControlFlag = 4 };

    int GetIndex() const { return m_iIndex; }
    void SetIndex(int index) { m_iIndex = index; }
    IListOwnerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CControlUI* owner);
    bool IsSelected() const { return m_bSelected; }
    bool IsHot() const;

    // Selecting a disabled element is refused; deselecting always clears the
    // flag. A newly selected element asks its owner to select its index and
    // stays unselected when the owner refuses.
    bool Select(CControlUI& self, bool selected);
    // After the element's visibility changed: a hidden element gives up its
    // selection.
    void OnVisibilityChanged(CControlUI& self);
    // After the element's enabled flag changed: a disabled element is not hot.
    void OnEnabledChanged(const CControlUI& self);
    // After the control base's Activate succeeded.
    void NotifyActivated(CControlUI& self);

    // Text colour by state: normal, hot, selected, disabled (later ones win).
    DWORD TextColor(const CControlUI& self, const TListLookUI& look) const;
    void DrawItemBk(CControlUI& self, HDC hDC, const RECT& rcItem, CUIString& ownBkImage);
    // Repaints only the part of the element that shows inside its list.
    static void InvalidateVisiblePart(CControlUI& self);

    // Double click or Return on an enabled element activates it (a double
    // click on a disabled element is dropped). True when consumed.
    bool HandleActivation(CControlUI& self, const TInputEventUI& event);
    // A row's mouse handling: a press sends "itemclick" and selects, moves
    // and releases are dropped, entering and leaving set the hot state. True
    // when consumed.
    bool HandlePointer(CControlUI& self, IListItemUI& item, const TInputEventUI& event);
    // To the owner; false without one.
    bool PassToOwner(TInputEventUI& event) const;

private:
    void SetHot(CControlUI& self, bool hot);

    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

// Mouse events, for the "mouse disabled" rules of the elements.
inline bool IsMouseEvent(const TInputEventUI& event) {
    return event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND;
}

// The text-metric height of the look's font + 8 + the vertical text padding:
// the height of a text row without a fixed height.
int ListRowHeight(CWindowManagerUI& manager, const TListLookUI& look);

// rc less a padding (left, top, right, bottom insets); a skin's padding can't
// overflow it.
RECT LessPadding(const RECT& rc, const RECT& padding);

} // namespace SkinUI
