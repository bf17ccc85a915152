#pragma once
#include <windows.h>

#include "ui/controls/LabelUI.h"

namespace SkinUI {

class CEditWnd;

// The skin's single-line text entry. Idle, it paints its own text and state
// images; while it has the focus, a platform edit window (CEditWnd) lies over
// its text area, takes the keyboard and mouse and copies every change of its
// text back. Sends "textchanged" after each change made in that window and
// "return" when Enter is pressed in it.
class CEditUI : public CLabelUI {
public:
    CEditUI();
    // An open edit window is detached and destroyed with the control.
    ~CEditUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetText(LPCWSTR text) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetVisibleByParent(bool visible) override;
    void SetEnabled(bool enable = true) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    void PaintStateImages(HDC hDC) override;
    void PaintText(HDC hDC) override;

    UINT GetMaxChar() const;
    void SetMaxChar(UINT maxChar);
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly);
    // Takes effect at the next opening of the edit window.
    bool IsNumberOnly() const;
    void SetNumberOnly(bool numberOnly);
    // An open edit window keeps the style it was opened with.
    bool IsPasswordMode() const;
    void SetPasswordMode(bool passwordMode);
    wchar_t GetPasswordChar() const;

    // Image descriptions; the setters invalidate.
    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR image);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR image);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR image);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR image);

    // 0xFFFFFFFF leaves the edit window in the platform's colours; read when
    // the window paints.
    DWORD GetNativeEditBkColor() const;
    void SetNativeEditBkColor(DWORD color);

    // ButtonStateUI bits: focused, disabled, hot.
    UINT GetButtonState() const;

private:
    friend class CEditWnd;

    // The text area less the padding, one font height high and centred.
    RECT GetNativeEditRect() const;
    void OpenNativeWindow();
    // Selects the whole text of the open window when pt lies in the control.
    void SelectAllNative(POINT pt);
    void CloseWhenHidden();

    CEditWnd* m_pWindow;
    UINT m_uMaxChar;
    bool m_bReadOnly;
    bool m_bPasswordMode;
    wchar_t m_cPasswordChar;
    UINT m_uButtonState;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    DWORD m_dwEditbkColor;
    DWORD m_dwWindowStyles;
};

} // namespace SkinUI
