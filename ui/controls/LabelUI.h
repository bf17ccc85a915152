#pragma once
#include <windows.h>

#include "ui/ControlUI.h"

namespace SkinUI {

// One line of text in a padded rectangle, drawn through GDI (plain or
// mark-up text) or, with its effect mode on, through GDI+ with a gradient
// fill, a shadow and a stroke outline. Base of buttons and progress bars.
class CLabelUI : public CControlUI {
public:
    CLabelUI();
    ~CLabelUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    // With the effect mode on these read and write the effect text.
    CUIString GetText() const override;
    void SetText(LPCWSTR text) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    // DrawText flags (alignment, ellipsis).
    void SetTextStyle(UINT style);
    UINT GetTextStyle() const;
    // 0 takes the manager's default colour at the next paint.
    void SetTextColor(DWORD color);
    DWORD GetTextColor() const;
    void SetDisabledTextColor(DWORD color);
    DWORD GetDisabledTextColor() const;
    // An index into the manager's fonts; -1 (or any unknown index) is the
    // default font.
    void SetFont(int index);
    int GetFont() const;
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const;
    void SetShowHtml(bool showHtml = true);

    // ---- Text effects (GDI+); these setters only store ----------------------
    bool GetEnabledEffect() const;
    void SetEnabledEffect(bool enabled);
    bool GetEnabledStroke() const;
    void SetEnabledStroke(bool enabled);
    bool GetEnabledShadow() const;
    void SetEnabledShadow(bool enabled);
    // GDI+ string alignment (0 near, 1 centre, 2 far) across and along.
    int GetEffectTextAlignment() const;
    void SetEffectTextAlignment(int alignment);
    int GetEffectLineAlignment() const;
    void SetEffectLineAlignment(int alignment);
    // GDI+ text rendering hint 0..5; other values store 0.
    int GetTextRenderingHintAntiAlias() const;
    void SetTextRenderingHintAntiAlias(int hint);
    int GetTransShadow() const;
    void SetTransShadow(int alpha);
    int GetTransShadow1() const;
    void SetTransShadow1(int alpha);
    int GetTransText() const;
    void SetTransText(int alpha);
    int GetTransText1() const;
    void SetTransText1(int alpha);
    int GetTransStroke() const;
    void SetTransStroke(int alpha);
    // 0 uses the text rectangle's height.
    int GetGradientLength() const;
    void SetGradientLength(int length);
    // The x of the gradient's start point.
    int GetGradientAngle() const;
    void SetGradientAngle(int angle);
    // 0xFFFFFFFF: none (the text colour is used).
    DWORD GetTextColor1() const;
    void SetTextColor1(DWORD color);
    DWORD GetTextShadowColorA() const;
    void SetTextShadowColorA(DWORD color);
    // 0xFFFFFFFF: none (colour A is used).
    DWORD GetTextShadowColorB() const;
    void SetTextShadowColorB(DWORD color);
    // 0: no stroke.
    DWORD GetStrokeColor() const;
    void SetStrokeColor(DWORD color);
    // offset and angle (-180..180) from the control's current position; the
    // shadow moves right by X and down by Y.
    void SetShadowOffset(int offset, int angle);
    float GetShadowOffsetX() const;
    float GetShadowOffsetY() const;

protected:
    // Fills colours still 0 from the manager's defaults.
    void ResolveDefaultColors();
    // The item rectangle less the text padding.
    RECT GetTextRect() const;
    void PaintEffectText(HDC hDC);

    DWORD m_dwTextColor;
    DWORD m_dwDisabledTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    CUIRect m_rcTextPadding;
    bool m_bShowHtml;

    int m_EnumTextAlignment;
    int m_EnumTextLineAlignment;
    int m_TransShadow;
    int m_TransShadow1;
    int m_TransText;
    int m_TransText1;
    int m_TransStroke;
    int m_GradientLength;
    int m_GradientAngle;
    bool m_EnableEffect;
    bool m_EnabledStroke;
    bool m_EnabledShadow;
    DWORD m_dwTextColor2;
    DWORD m_dwTextShadowColorA;
    DWORD m_dwTextShadowColorB;
    DWORD m_dwStrokeColor;
    float m_ShadowOffsetX;
    float m_ShadowOffsetY;
    CUIString m_TextValue;
    ULONG_PTR m_gdiplusToken;
    int m_TextRenderingHintAntiAlias;
};

} // namespace SkinUI
