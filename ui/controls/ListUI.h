#pragma once
#include <windows.h>

#include "ui/controls/IListUI.h"
#include "ui/controls/ListLookUI.h"
#include "ui/controls/VerticalLayoutUI.h"

namespace SkinUI {

class CListBodyUI;
class CListHeaderUI;

// The list control: a vertical layout of a column header and a scrolling
// body that holds the items. Items share the list's look, one of them (or
// none) is selected, the keys and the wheel move the selection, and the
// selected item is scrolled into view. The header's items are the columns:
// after every layout their rectangles become the look's column rectangles,
// and the rows are as wide as the header and scroll sideways with it.
//
// The IContainerUI operations route by what is added: a header
// (QueryInterfaceByName(L"ListHeader")) becomes the list's first child, a
// header item (class name containing "ListHeaderItemUI") goes to the header,
// everything else is an item of the body. The scrolling operations and the
// child padding are the body's.
class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();
    ~CListUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    // Also the list's IListOwnerUI::HandleEvent.
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;

    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    int GetChildPadding() const override;
    void SetChildPadding(int padding) override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    TListLookUI* GetListLook() override;
    int GetCurSel() const override;
    bool SelectItem(int index, bool takeFocus = false) override;

    CListHeaderUI* GetHeader() const override;
    CContainerUI* GetBody() const override;
    IListTextCallbackUI* GetTextCallback() const override;
    void SetTextCallback(IListTextCallbackUI* callback) override;
    bool ExpandItem(int index, bool expand = true) override;
    int GetExpandedItem() const override;

    // Scrolls the body so that the item is wholly visible (only while an
    // item is selected).
    void EnsureVisible(int index);
    void Scroll(int dx, int dy);
    // With it the wheel moves the selection instead of scrolling.
    bool GetScrollSelect() const;
    void SetScrollSelect(bool scrollSelect);
    void SetMultiExpanding(bool multiExpanding);

    // The look: the colour and image setters repaint, the padding and the
    // mark-up flag lay the items out again.
    void SetItemTextPadding(RECT rc);
    void SetItemShowHtml(bool showHtml = true);
    void SetItemTextColor(DWORD color);
    void SetItemBkColor(DWORD color);
    void SetItemBkImage(LPCWSTR image);
    void SetAlternateBk(bool alternate);
    void SetSelectedItemTextColor(DWORD color);
    void SetSelectedItemBkColor(DWORD color);
    void SetSelectedItemImage(LPCWSTR image);
    void SetHotItemTextColor(DWORD color);
    void SetHotItemBkColor(DWORD color);
    void SetHotItemImage(LPCWSTR image);
    void SetDisabledItemTextColor(DWORD color);
    void SetDisabledItemBkColor(DWORD color);
    void SetDisabledItemImage(LPCWSTR image);
    void SetItemLineColor(DWORD color);

    // The body tells the list when its sideways position changed, so that
    // the header's columns move with the rows.
    void OnBodyScrolledSideways(int dx);

private:
    bool AddHeader(CControlUI* header);
    bool IsHeaderItem(CControlUI* control) const;
    IListItemUI* ListItemAt(int index) const;
    // Gives the items from first to last (both included) their indices.
    void Renumber(int first, int last);
    // After the item at index left the body.
    void OnItemRemoved(int index);
    void MoveSelection(int index);
    void UpdateColumnCount();
    // Moves the visible header items of the columns left by dx and copies
    // their rectangles into the look. A hidden header's items take part.
    void MoveColumns(int dx);
    void SetHeaderItemsVisibleByParent(bool visible);
    void SetLookColor(DWORD TListLookUI::*field, DWORD color);
    void SetLookImage(CUIString TListLookUI::*field, LPCWSTR image);

    bool m_bScrollSelect;
    int m_iCurSel;
    int m_iExpandedItem;
    IListTextCallbackUI* m_pCallback;
    CListBodyUI* m_pBody;
    CListHeaderUI* m_pHeader;
    TListLookUI m_ListLook;
    bool m_bLayingOut;
};

} // namespace SkinUI
