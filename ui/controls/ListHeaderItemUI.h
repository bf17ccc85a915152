#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/UIRect.h"

namespace SkinUI {

// One column of a list's header: a text over state images (normal, hot,
// pushed, focused) with a separator at one edge that the user drags to
// resize the column ("dragable"), never to its minimum width or below. A
// press beside the separator sends "headerclick".
class CListHeaderItemUI : public CControlUI {
public:
    enum { kDefaultMinWidth = 16, kDefaultSepWidth = 4 };
    // The separator's grip reaches this far into the item.
    enum { kSepGripExtension = 4 };

    CListHeaderItemUI();
    ~CListHeaderItemUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enable = true) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    void PaintStateImages(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool IsDragable() const;
    // false also ends a drag in progress.
    void SetDragable(bool dragable);
    // >= 0: the separator is at the right edge, < 0: at the left edge, as
    // wide as the absolute value.
    int GetSepWidth() const;
    void SetSepWidth(int width);
    // 0 takes the manager's default font colour at the next paint.
    DWORD GetTextColor() const;
    void SetTextColor(DWORD color);
    int GetFont() const;
    void SetFont(int index);
    UINT GetTextStyle() const;
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const;
    void SetShowHtml(bool showHtml = true);

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR image);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR image);
    LPCWSTR GetPushedImage() const;
    void SetPushedImage(LPCWSTR image);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR image);
    LPCWSTR GetSepImage() const;
    void SetSepImage(LPCWSTR image);

    // ButtonStateUI bits (focused, hot, pushed, captured).
    UINT GetButtonState() const;
    // The separator in window client coordinates.
    RECT GetThumbRect() const;

private:
    // The separator widened by the grip towards the item's inside.
    RECT GetGripRect() const;
    void OnButtonDown(const TInputEventUI& event);
    void OnButtonUp();
    void OnDrag(POINT pt);
    // The header lays the list out again, which recomputes the columns.
    void RelayoutList();
    // The state's image, or the normal one when the state has none.
    void DrawStateOrNormal(HDC hDC, CUIString& image);

    CUIPoint m_ptLastMouse;
    bool m_bDragable;
    UINT m_uButtonState;
    int m_iSepWidth;
    DWORD m_dwTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    bool m_bShowHtml;
    CUIRect m_rcTextPadding;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sSepImage;
    CUIString m_sSepImageModify;
};

} // namespace SkinUI
