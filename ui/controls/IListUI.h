#pragma once
#include <windows.h>

#include "ui/UIEventTypes.h"
#include "ui/controls/ListLookUI.h"

namespace SkinUI {

class CControlUI;
class CContainerUI;
class CListHeaderUI;

// The owner of list items: a list, or a list-like control such as the
// combo. Items read its look, ask it to select them and hand it the input
// they don't handle themselves. Reached through
// QueryInterfaceByName(L"IListOwner").
class IListOwnerUI {
public:
    virtual TListLookUI* GetListLook() = 0;
    virtual int GetCurSel() const = 0;
    // False when the index has no selectable item (absent, hidden, disabled
    // or not a list item); an existing selection is cleared first.
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    virtual void HandleEvent(TInputEventUI& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

// Supplies the column texts of text elements; implemented by the
// application, stored (not owned) by the list.
class IListTextCallbackUI {
public:
    virtual LPCWSTR GetItemText(CControlUI* control, int index, int subItem) = 0;

protected:
    ~IListTextCallbackUI() = default;
};

// A list with a column header and a scrolling body. Reached through
// QueryInterfaceByName(L"IList").
class IListUI : public IListOwnerUI {
public:
    // Null once the header has been removed.
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetBody() const = 0;
    virtual IListTextCallbackUI* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListTextCallbackUI* callback) = 0;
    virtual bool ExpandItem(int index, bool expand = true) = 0;
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

// One item of a list-like owner: list elements and tree nodes. Reached
// through QueryInterfaceByName(L"ListItem").
class IListItemUI {
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    // The item keeps the control's "IListOwner" interface (null without one).
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool selected = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expanded = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

} // namespace SkinUI
