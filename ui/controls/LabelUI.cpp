#include <windows.h>

#include "ui/controls/LabelUI.h"

#include "ui/RendererUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>
#include <new>
#include <stdexcept>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

bool Contains(LPCWSTR value, LPCWSTR part) {
    return std::wcsstr(value, part) != nullptr;
}

// "align" tests substrings in a fixed order, so "vcenter" also counts as
// "center".
UINT ApplyAlign(UINT style, LPCWSTR value) {
    if (Contains(value, L"left")) {
        style &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
    if (Contains(value, L"center")) {
        style &= ~DT_RIGHT;
        style |= DT_CENTER;
    }
    if (Contains(value, L"right")) {
        style &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        style |= DT_RIGHT;
    }
    if (Contains(value, L"top")) {
        style &= ~(DT_BOTTOM | DT_VCENTER);
        style |= DT_SINGLELINE;
    }
    if (Contains(value, L"vcenter")) {
        style &= ~DT_BOTTOM;
        style |= DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    }
    if (Contains(value, L"bottom")) {
        style &= ~DT_VCENTER;
        style |= DT_BOTTOM | DT_SINGLELINE;
    }
    return style;
}

} // namespace

LPCWSTR CLabelUI::GetClass() const {
    return L"LabelUI";
}

LPVOID CLabelUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Label") == 0) {
        return this;
    }
    return CControlUI::QueryInterfaceByName(name);
}

CUIString CLabelUI::GetText() const {
    try {
        return m_EnableEffect ? m_TextValue : CControlUI::GetText();
    } catch (...) {
        throw std::runtime_error("CLabelUI::GetText");
    }
}

void CLabelUI::SetText(LPCWSTR text) {
    try {
        if (!m_EnableEffect) {
            CControlUI::SetText(text);
            return;
        }
        const LPCWSTR newText = text != nullptr ? text : L"";
        if (m_TextValue == newText) {
            return;
        }
        m_TextValue = newText;
        // The effect text is what shows, so a change must show too.
        Invalidate();
    } catch (...) {
        throw std::runtime_error("CLabelUI::SetText");
    }
}

void CLabelUI::HandleEvent(TInputEventUI& event) {
    if (event.Type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    CControlUI::HandleEvent(event);
}

void CLabelUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"align")) {
        SetTextStyle(ApplyAlign(m_uTextStyle, value));
    } else if (Is(name, L"endellipsis")) {
        SetTextStyle(ParseBoolValue(value) ? (m_uTextStyle | DT_END_ELLIPSIS)
                                           : (m_uTextStyle & ~DT_END_ELLIPSIS));
    } else if (Is(name, L"font")) {
        SetFont(ParseDecimalValue(value));
    } else if (Is(name, L"textcolor")) {
        SetTextColor(ParseColorValue(value));
    } else if (Is(name, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseColorValue(value));
    } else if (Is(name, L"textpadding")) {
        SetTextPadding(ParseRectValue(value));
    } else if (Is(name, L"showhtml")) {
        SetShowHtml(ParseBoolValue(value));
    } else if (Is(name, L"enabledeffect")) {
        SetEnabledEffect(ParseBoolValue(value));
    } else if (Is(name, L"rhaa")) {
        SetTextRenderingHintAntiAlias(ParseDecimalValue(value));
    } else if (Is(name, L"transshadow")) {
        SetTransShadow(ParseDecimalValue(value));
    } else if (Is(name, L"transtext")) {
        SetTransText(ParseDecimalValue(value));
    } else if (Is(name, L"transshadow1")) {
        SetTransShadow1(ParseDecimalValue(value));
    } else if (Is(name, L"transtext1")) {
        SetTransText1(ParseDecimalValue(value));
    } else if (Is(name, L"transstroke")) {
        SetTransStroke(ParseDecimalValue(value));
    } else if (Is(name, L"gradientangle")) {
        SetGradientAngle(ParseDecimalValue(value));
    } else if (Is(name, L"enabledstroke")) {
        SetEnabledStroke(ParseBoolValue(value));
    } else if (Is(name, L"enabledshadow")) {
        SetEnabledShadow(ParseBoolValue(value));
    } else if (Is(name, L"gradientlength")) {
        SetGradientLength(ParseDecimalValue(value));
    } else if (Is(name, L"shadowoffset")) {
        const SIZE offsetAngle = ParseSizeValue(value);
        SetShadowOffset(offsetAngle.cx, offsetAngle.cy);
    } else if (Is(name, L"textcolor1")) {
        SetTextColor1(ParseColorValue(value));
    } else if (Is(name, L"textshadowcolora")) {
        SetTextShadowColorA(ParseColorValue(value));
    } else if (Is(name, L"textshadowcolorb")) {
        SetTextShadowColorB(ParseColorValue(value));
    } else if (Is(name, L"strokecolor")) {
        SetStrokeColor(ParseColorValue(value));
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

SIZE CLabelUI::MeasureDesiredSize(SIZE szAvailable) {
    if (m_cxyFixed.cy == 0 && m_pManager != nullptr) {
        const TFontRecordUI* font = m_pManager->GetFontInfo(m_iFont);
        return SIZE{m_cxyFixed.cx, (font != nullptr ? font->tm.tmHeight : 0) + 4};
    }
    return CControlUI::MeasureDesiredSize(szAvailable);
}

void CLabelUI::ResolveDefaultColors() {
    if (m_pManager == nullptr) {
        return;
    }
    if (m_dwTextColor == 0) {
        m_dwTextColor = m_pManager->GetDefaultFontColor();
    }
    if (m_dwDisabledTextColor == 0) {
        m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
    }
}

RECT CLabelUI::GetTextRect() const {
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.right -= m_rcTextPadding.right;
    rc.top += m_rcTextPadding.top;
    rc.bottom -= m_rcTextPadding.bottom;
    return rc;
}

void CLabelUI::PaintText(HDC hDC) {
    if (m_pManager == nullptr) {
        return;
    }
    ResolveDefaultColors();
    if (m_EnableEffect) {
        PaintEffectText(hDC);
        return;
    }
    if (m_sText.IsEmpty()) {
        return;
    }
    RECT rc = GetTextRect();
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml) {
        int links = 0;
        CRendererUI::DrawMarkupText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, links,
                                    m_uTextStyle | DT_SINGLELINE);
    } else {
        CRendererUI::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont,
                              m_uTextStyle | DT_SINGLELINE);
    }
}

// ---- Plain properties -------------------------------------------------------------

void CLabelUI::SetTextStyle(UINT style) {
    m_uTextStyle = style;
    Invalidate();
}

UINT CLabelUI::GetTextStyle() const {
    return m_uTextStyle;
}

void CLabelUI::SetTextColor(DWORD color) {
    m_dwTextColor = color;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const {
    return m_dwTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD color) {
    m_dwDisabledTextColor = color;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const {
    return m_dwDisabledTextColor;
}

void CLabelUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

int CLabelUI::GetFont() const {
    return m_iFont;
}

RECT CLabelUI::GetTextPadding() const {
    return m_rcTextPadding;
}

void CLabelUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

bool CLabelUI::IsShowHtml() const {
    return m_bShowHtml;
}

void CLabelUI::SetShowHtml(bool showHtml) {
    if (m_bShowHtml == showHtml) {
        return;
    }
    m_bShowHtml = showHtml;
    Invalidate();
}

} // namespace SkinUI
