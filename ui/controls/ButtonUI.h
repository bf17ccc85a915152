#pragma once
#include <windows.h>

#include "ui/controls/ControlStateUI.h"
#include "ui/controls/LabelUI.h"

namespace SkinUI {

// A label that reacts to the mouse and the keyboard, draws an image and a
// text colour for its state (normal, hot, pushed, focused, disabled) and
// sends "click" when activated: a left-button release inside it after a
// press on it, or a blank or Enter key while it has the focus.
class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    ~CButtonUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool enable = true) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    void PaintStateImages(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // ButtonStateUI bits.
    UINT GetButtonState() const;

    // Image descriptions; the setters invalidate.
    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR image);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR image);
    LPCWSTR GetHotForeImage() const;
    void SetHotForeImage(LPCWSTR image);
    LPCWSTR GetPushedImage() const;
    void SetPushedImage(LPCWSTR image);
    LPCWSTR GetPushedForeImage() const;
    void SetPushedForeImage(LPCWSTR image);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR image);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR image);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR image);

    // Colours (0: none); the setters only store.
    DWORD GetHotBkColor() const;
    void SetHotBkColor(DWORD color);
    DWORD GetHotTextColor() const;
    void SetHotTextColor(DWORD color);
    DWORD GetPushedTextColor() const;
    void SetPushedTextColor(DWORD color);
    DWORD GetFocusedTextColor() const;
    void SetFocusedTextColor(DWORD color);

protected:
    // Draws one image description; one that reports failure is emptied so
    // that it is not tried again.
    bool DrawStateImage(HDC hDC, CUIString& image, LPCWSTR modify = nullptr);
    // Mark-up or plain text in the given colour, with the text style as is.
    void DrawButtonText(HDC hDC, DWORD color);
    // Brings the focused and disabled bits of the state in line with the
    // control before a state image is chosen.
    void SyncFocusAndEnabledState();

    UINT m_uButtonState;
    DWORD m_dwHotBkColor;
    DWORD m_dwHotTextColor;
    DWORD m_dwPushedTextColor;
    DWORD m_dwFocusedTextColor;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sHotForeImage;
    CUIString m_sPushedImage;
    CUIString m_sPushedForeImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    CUIString m_sForeImage;
};

} // namespace SkinUI
