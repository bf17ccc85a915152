#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/controls/IListUI.h"
#include "ui/controls/ListLookUI.h"

namespace SkinUI {

class CComboWnd;

// The skin's drop-down list. Its children are list elements, at most one of
// them selected. Closed, it paints its state image and the selected
// element's text in its own rectangle and its children are neither laid out
// nor painted. Opened (a click, F4, Activate), a popup window (CComboWnd)
// right below it, or above it near the bottom of the screen, borrows the
// children for as long as it lives and lays them out in a scrolling column.
// The combo owns its elements' look and selection through IListOwnerUI and
// sends "dropdown" when it opens and "itemselect" when the selection changes.
class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    // An open popup is closed first: the children come back before they go.
    ~CComboUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    CUIString GetText() const override;
    void SetPos(RECT rc) override;
    void SetEnabled(bool enable = true) override;
    // Also the combo's IListOwnerUI::HandleEvent.
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    // The control's own painting only: the children are the popup's to paint.
    void Paint(HDC hDC, const RECT& rcPaint) override;
    void PaintStateImages(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // Children keep their indices; the selection follows its element.
    // While the popup is open it gives the children back first.
    bool SetItemIndex(CControlUI* control, int index) override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    TListLookUI* GetListLook() override;
    int GetCurSel() const override;
    // Closes an open popup; the same index again is true without a notice.
    bool SelectItem(int index, bool takeFocus = false) override;

    // Attribute text ("name=\"value\" ...") for the popup's column.
    CUIString GetDropBoxAttributeList() const;
    void SetDropBoxAttributeList(LPCWSTR list);
    // cx 0: as wide as the combo; cy: the popup's greatest height.
    SIZE GetDropBoxSize() const;
    void SetDropBoxSize(SIZE size);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);

    void SetNormalImage(LPCWSTR image);
    void SetHotImage(LPCWSTR image);
    void SetPushedImage(LPCWSTR image);
    void SetFocusedImage(LPCWSTR image);
    void SetDisabledImage(LPCWSTR image);

    // The look of the elements.
    void SetItemTextPadding(RECT rc);
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
    void SetItemShowHtml(bool showHtml = true);

    // The open popup's window, or null.
    HWND GetDropDownWindow() const;
    // ButtonStateUI bits: focused, disabled, hot, pushed, captured.
    UINT GetButtonState() const;

protected:
    friend class CComboWnd;

    // The control's rectangle less the text padding.
    RECT GetTextRect() const;
    // Draws the selected child's text (or the child itself) into rc.
    void PaintSelected(HDC hDC, const RECT& rc);
    // The popup is gone: called once by the popup window.
    void OnDropDownClosed();

    CComboWnd* m_pWindow;
    int m_iCurSel;
    CUIRect m_rcTextPadding;
    CUIString m_sDropBoxAttributes;
    CUISize m_szDropBox;
    UINT m_uButtonState;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    TListLookUI m_ListLook;

private:
    IListItemUI* ListItemAt(int index) const;
    // Gives the children from first to last (both included) their indices.
    void Renumber(int first, int last);
    void OnItemRemoved(int index);
    // A change of the child list while the popup borrows the children ends
    // the popup first.
    void TakeBackChildren();
    void MoveSelection(int index);
};

} // namespace SkinUI
