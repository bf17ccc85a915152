#include <windows.h>

#include "ui/controls/ButtonUI.h"

#include "ui/RendererUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

CButtonUI::CButtonUI()
    : m_uButtonState(0), m_dwHotBkColor(0), m_dwHotTextColor(0), m_dwPushedTextColor(0),
      m_dwFocusedTextColor(0) {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CButtonUI::~CButtonUI() = default;

LPCWSTR CButtonUI::GetClass() const {
    return L"ButtonUI";
}

LPVOID CButtonUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Button") == 0) {
        return this;
    }
    return CLabelUI::QueryInterfaceByName(name);
}

UINT CButtonUI::GetControlFlags() const {
    return (IsKeyboardEnabled() ? static_cast<UINT>(UIFLAG_TABSTOP) : 0u) |
           (IsEnabled() ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u);
}

bool CButtonUI::Activate() {
    if (!CLabelUI::Activate()) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"click");
    }
    return true;
}

void CButtonUI::SetEnabled(bool enable) {
    CLabelUI::SetEnabled(enable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    } else {
        m_uButtonState &= ~UISTATE_DISABLED;
    }
}

void CButtonUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CLabelUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (::PtInRect(&m_rcItem, event.ptMouse) && IsEnabled()) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            if (::PtInRect(&m_rcItem, event.ptMouse)) {
                m_uButtonState |= UISTATE_PUSHED;
            } else {
                m_uButtonState &= ~UISTATE_PUSHED;
            }
            Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            // Cleared before activating: a "click" listener may disable or
            // hide the button, and it must not stay pushed.
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            if (::PtInRect(&m_rcItem, event.ptMouse)) {
                Activate();
            }
        }
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsContextMenuUsed() && m_pManager != nullptr) {
            m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        }
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

void CButtonUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, L"hotimage")) {
        SetHotImage(value);
    } else if (Is(name, L"pushedimage")) {
        SetPushedImage(value);
    } else if (Is(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, L"disabledimage")) {
        SetDisabledImage(value);
    } else if (Is(name, L"foreimage")) {
        SetForeImage(value);
    } else if (Is(name, L"hotforeimage")) {
        SetHotForeImage(value);
    } else if (Is(name, L"hotbkcolor")) {
        SetHotBkColor(ParseColorValue(value));
    } else if (Is(name, L"hottextcolor")) {
        SetHotTextColor(ParseColorValue(value));
    } else if (Is(name, L"pushedtextcolor")) {
        SetPushedTextColor(ParseColorValue(value));
    } else if (Is(name, L"focusedtextcolor")) {
        SetFocusedTextColor(ParseColorValue(value));
    } else {
        CLabelUI::ApplyAttribute(name, value);
    }
}

SIZE CButtonUI::MeasureDesiredSize(SIZE szAvailable) {
    if (m_cxyFixed.cy == 0 && m_pManager != nullptr) {
        const TFontRecordUI* font = m_pManager->GetFontInfo(m_iFont);
        return SIZE{m_cxyFixed.cx, (font != nullptr ? font->tm.tmHeight : 0) + 8};
    }
    return CControlUI::MeasureDesiredSize(szAvailable);
}

bool CButtonUI::DrawStateImage(HDC hDC, CUIString& image, LPCWSTR modify) {
    return SkinUI::DrawStateImage(*this, hDC, image, modify);
}

void CButtonUI::SyncFocusAndEnabledState() {
    m_uButtonState = SyncFocusAndEnabledBits(m_uButtonState, *this);
}

void CButtonUI::PaintStateImages(HDC hDC) {
    if (m_pManager == nullptr || hDC == nullptr) {
        return; // drawing would fail and empty every image
    }
    SyncFocusAndEnabledState();

    bool drawn = false;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) {
        drawn = DrawStateImage(hDC, m_sDisabledImage);
    } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        drawn = DrawStateImage(hDC, m_sPushedImage);
        if (drawn && !m_sPushedForeImage.IsEmpty()) {
            DrawStateImage(hDC, m_sPushedForeImage);
            return;
        }
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        if (!m_sHotImage.IsEmpty()) {
            drawn = DrawStateImage(hDC, m_sHotImage);
            if (drawn && !m_sHotForeImage.IsEmpty()) {
                DrawStateImage(hDC, m_sHotForeImage);
                return;
            }
        } else if (m_dwHotBkColor != 0) {
            CRendererUI::DrawColor(hDC, m_rcPaint, GetAdjustedColor(m_dwHotBkColor));
            return;
        }
    } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
        drawn = DrawStateImage(hDC, m_sFocusedImage);
    }
    if (!drawn) {
        DrawStateImage(hDC, m_sNormalImage);
    }
    DrawStateImage(hDC, m_sForeImage);
}

void CButtonUI::DrawButtonText(HDC hDC, DWORD color) {
    RECT rc = GetTextRect();
    if (m_bShowHtml) {
        int links = 0;
        CRendererUI::DrawMarkupText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, links,
                                    m_uTextStyle);
    } else {
        CRendererUI::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont, m_uTextStyle);
    }
}

void CButtonUI::PaintText(HDC hDC) {
    if (m_pManager == nullptr) {
        return;
    }
    if (IsFocused()) {
        m_uButtonState |= UISTATE_FOCUSED;
    } else {
        m_uButtonState &= ~UISTATE_FOCUSED;
    }
    ResolveDefaultColors();
    if (m_sText.IsEmpty()) {
        return;
    }
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) {
        color = m_dwPushedTextColor;
    } else if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) {
        color = m_dwHotTextColor;
    } else if ((m_uButtonState & UISTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) {
        color = m_dwFocusedTextColor;
    }
    DrawButtonText(hDC, color);
}

// ---- Properties --------------------------------------------------------------------

UINT CButtonUI::GetButtonState() const {
    return m_uButtonState;
}

LPCWSTR CButtonUI::GetNormalImage() const {
    return m_sNormalImage;
}

void CButtonUI::SetNormalImage(LPCWSTR image) {
    m_sNormalImage = image;
    Invalidate();
}

LPCWSTR CButtonUI::GetHotImage() const {
    return m_sHotImage;
}

void CButtonUI::SetHotImage(LPCWSTR image) {
    m_sHotImage = image;
    Invalidate();
}

LPCWSTR CButtonUI::GetHotForeImage() const {
    return m_sHotForeImage;
}

void CButtonUI::SetHotForeImage(LPCWSTR image) {
    m_sHotForeImage = image;
    Invalidate();
}

LPCWSTR CButtonUI::GetPushedImage() const {
    return m_sPushedImage;
}

void CButtonUI::SetPushedImage(LPCWSTR image) {
    m_sPushedImage = image;
    Invalidate();
}

LPCWSTR CButtonUI::GetPushedForeImage() const {
    return m_sPushedForeImage;
}

void CButtonUI::SetPushedForeImage(LPCWSTR image) {
    m_sPushedForeImage = image;
    Invalidate();
}

LPCWSTR CButtonUI::GetFocusedImage() const {
    return m_sFocusedImage;
}

void CButtonUI::SetFocusedImage(LPCWSTR image) {
    m_sFocusedImage = image;
    Invalidate();
}

LPCWSTR CButtonUI::GetDisabledImage() const {
    return m_sDisabledImage;
}

void CButtonUI::SetDisabledImage(LPCWSTR image) {
    m_sDisabledImage = image;
    Invalidate();
}

LPCWSTR CButtonUI::GetForeImage() const {
    return m_sForeImage;
}

void CButtonUI::SetForeImage(LPCWSTR image) {
    m_sForeImage = image;
    Invalidate();
}

DWORD CButtonUI::GetHotBkColor() const {
    return m_dwHotBkColor;
}

void CButtonUI::SetHotBkColor(DWORD color) {
    m_dwHotBkColor = color;
}

DWORD CButtonUI::GetHotTextColor() const {
    return m_dwHotTextColor;
}

void CButtonUI::SetHotTextColor(DWORD color) {
    m_dwHotTextColor = color;
}

DWORD CButtonUI::GetPushedTextColor() const {
    return m_dwPushedTextColor;
}

void CButtonUI::SetPushedTextColor(DWORD color) {
    m_dwPushedTextColor = color;
}

DWORD CButtonUI::GetFocusedTextColor() const {
    return m_dwFocusedTextColor;
}

void CButtonUI::SetFocusedTextColor(DWORD color) {
    m_dwFocusedTextColor = color;
}

} // namespace SkinUI
