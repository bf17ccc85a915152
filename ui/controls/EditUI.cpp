#include <windows.h>

#include "ui/controls/EditUI.h"

#include "ui/RendererUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/controls/ControlStateUI.h"
#include "ui/controls/EditWnd.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>
#include <string>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

CEditUI::CEditUI()
    : m_pWindow(nullptr), m_uMaxChar(255), m_bReadOnly(false), m_bPasswordMode(false),
      m_cPasswordChar(L'*'), m_uButtonState(0), m_dwEditbkColor(0xFFFFFFFF), m_dwWindowStyles(0) {
    SetTextPadding(RECT{4, 3, 4, 3});
    SetBkColor(0xFFFFFFFF);
}

CEditUI::~CEditUI() {
    CNativeOverlayWnd::AbandonOwned(m_pWindow);
}

LPCWSTR CEditUI::GetClass() const {
    return L"EditUI";
}

LPVOID CEditUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Edit") == 0) {
        return this;
    }
    return CLabelUI::QueryInterfaceByName(name);
}

UINT CEditUI::GetControlFlags() const {
    return IsEnabled() ? static_cast<UINT>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0u;
}

void CEditUI::SetText(LPCWSTR text) {
    CLabelUI::SetText(text);
    if (m_pWindow != nullptr) {
        // The window reports this back as a change ("textchanged").
        ::SetWindowTextW(*m_pWindow, m_sText);
    }
    Invalidate();
}

void CEditUI::SetPos(RECT rc) {
    CLabelUI::SetPos(rc);
    if (m_pWindow != nullptr) {
        const RECT native = GetNativeEditRect();
        ::SetWindowPos(*m_pWindow, nullptr, native.left, native.top, native.right - native.left,
                       native.bottom - native.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CEditUI::SetVisible(bool visible) {
    CLabelUI::SetVisible(visible);
    CloseWhenHidden();
}

void CEditUI::SetVisibleByParent(bool visible) {
    CLabelUI::SetVisibleByParent(visible);
    CloseWhenHidden();
}

// Clearing the focus takes the keyboard focus from the edit window, which
// then closes itself.
void CEditUI::CloseWhenHidden() {
    if (!IsVisible() && m_pWindow != nullptr && m_pManager != nullptr) {
        m_pManager->SetFocus(nullptr);
    }
}

void CEditUI::SetEnabled(bool enable) {
    CLabelUI::SetEnabled(enable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

RECT CEditUI::GetNativeEditRect() const {
    RECT rc = GetTextRect();
    if (m_pManager == nullptr) {
        return rc;
    }
    const int height = m_pManager->GetFontInfo(m_iFont)->tm.tmHeight;
    if (height < rc.bottom - rc.top) {
        rc.top += (rc.bottom - rc.top - height) / 2;
        rc.bottom = rc.top + height;
    }
    return rc;
}

void CEditUI::OpenNativeWindow() {
    if (m_pManager == nullptr) {
        return;
    }
    auto* window = new CEditWnd();
    m_pWindow = window;
    // A window destroyed during its creation has already let go of this
    // control (and deleted itself); one never created has not.
    if (!window->Init(this) && m_pWindow == window) {
        m_pWindow = nullptr;
        window->Abandon();
    }
}

void CEditUI::SelectAllNative(POINT pt) {
    if (m_pWindow == nullptr || !::PtInRect(&m_rcItem, pt)) {
        return;
    }
    const int length = m_sText.GetLength();
    ::SendMessageW(*m_pWindow, EM_SETSEL, 0, length > 0 ? length : 1);
}

void CEditUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CLabelUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
            return;
        }
        break;
    case UIEVENT_WINDOWSIZE:
        if (m_pWindow != nullptr && m_pManager != nullptr) {
            m_pManager->SetFocusNeeded(this);
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (m_pWindow != nullptr) {
            return;
        }
        break;
    case UIEVENT_SETFOCUS:
        if (IsEnabled()) {
            if (m_pWindow != nullptr) {
                return;
            }
            OpenNativeWindow();
            Invalidate();
        }
        break;
    case UIEVENT_KILLFOCUS:
        if (IsEnabled()) {
            Invalidate();
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
        if (IsEnabled() && m_pManager != nullptr) {
            m_pManager->ReleaseCapture();
        }
        if (m_pWindow == nullptr && IsFocused()) {
            OpenNativeWindow();
        }
        SelectAllNative(event.ptMouse);
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState = event.Type == UIEVENT_MOUSEENTER ? (m_uButtonState | UISTATE_HOT)
                                                              : (m_uButtonState & ~UISTATE_HOT);
            Invalidate();
        }
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

void CEditUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"readonly")) {
        SetReadOnly(ParseBoolValue(value));
    } else if (Is(name, L"numberonly")) {
        SetNumberOnly(ParseBoolValue(value));
    } else if (Is(name, L"password")) {
        SetPasswordMode(ParseBoolValue(value));
    } else if (Is(name, L"maxchar")) {
        SetMaxChar(static_cast<UINT>(ParseDecimalValue(value)));
    } else if (Is(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, L"hotimage")) {
        SetHotImage(value);
    } else if (Is(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, L"disabledimage")) {
        SetDisabledImage(value);
    } else if (Is(name, L"nativebkcolor")) {
        SetNativeEditBkColor(ParseColorValue(value));
    } else {
        CLabelUI::ApplyAttribute(name, value);
    }
}

SIZE CEditUI::MeasureDesiredSize(SIZE szAvailable) {
    if (m_cxyFixed.cy == 0 && m_pManager != nullptr) {
        return SIZE{m_cxyFixed.cx, m_pManager->GetFontInfo(m_iFont)->tm.tmHeight + 6};
    }
    return CLabelUI::MeasureDesiredSize(szAvailable);
}

void CEditUI::PaintStateImages(HDC hDC) {
    m_uButtonState = SyncFocusAndEnabledBits(m_uButtonState, *this);
    CUIString* state = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) {
        state = &m_sDisabledImage;
    } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
        state = &m_sFocusedImage;
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        state = &m_sHotImage;
    }
    if (state != nullptr && DrawStateImage(*this, hDC, *state)) {
        return;
    }
    DrawStateImage(*this, hDC, m_sNormalImage);
}

void CEditUI::PaintText(HDC hDC) {
    if (m_pManager == nullptr) {
        return;
    }
    ResolveDefaultColors();
    if (m_sText.IsEmpty()) {
        return;
    }
    const std::wstring masked(static_cast<size_t>(m_sText.GetLength()), m_cPasswordChar);
    RECT rc = GetTextRect();
    CRendererUI::DrawText(hDC, m_pManager, rc, m_bPasswordMode ? masked.c_str() : m_sText.GetData(),
                          IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont,
                          m_uTextStyle | DT_SINGLELINE);
}

// ---- Properties --------------------------------------------------------------------

UINT CEditUI::GetMaxChar() const {
    return m_uMaxChar;
}

void CEditUI::SetMaxChar(UINT maxChar) {
    m_uMaxChar = maxChar;
    if (m_pWindow != nullptr) {
        ::SendMessageW(*m_pWindow, EM_LIMITTEXT, m_uMaxChar, 0);
    }
}

bool CEditUI::IsReadOnly() const {
    return m_bReadOnly;
}

void CEditUI::SetReadOnly(bool readOnly) {
    if (m_bReadOnly == readOnly) {
        return;
    }
    m_bReadOnly = readOnly;
    if (m_pWindow != nullptr) {
        ::SendMessageW(*m_pWindow, EM_SETREADONLY, m_bReadOnly ? TRUE : FALSE, 0);
    }
    Invalidate();
}

bool CEditUI::IsNumberOnly() const {
    return (m_dwWindowStyles & ES_NUMBER) != 0;
}

void CEditUI::SetNumberOnly(bool numberOnly) {
    m_dwWindowStyles =
        numberOnly ? (m_dwWindowStyles | ES_NUMBER) : (m_dwWindowStyles & ~ES_NUMBER);
}

bool CEditUI::IsPasswordMode() const {
    return m_bPasswordMode;
}

void CEditUI::SetPasswordMode(bool passwordMode) {
    if (m_bPasswordMode == passwordMode) {
        return;
    }
    m_bPasswordMode = passwordMode;
    Invalidate();
}

wchar_t CEditUI::GetPasswordChar() const {
    return m_cPasswordChar;
}

LPCWSTR CEditUI::GetNormalImage() const {
    return m_sNormalImage;
}

void CEditUI::SetNormalImage(LPCWSTR image) {
    m_sNormalImage = image;
    Invalidate();
}

LPCWSTR CEditUI::GetHotImage() const {
    return m_sHotImage;
}

void CEditUI::SetHotImage(LPCWSTR image) {
    m_sHotImage = image;
    Invalidate();
}

LPCWSTR CEditUI::GetFocusedImage() const {
    return m_sFocusedImage;
}

void CEditUI::SetFocusedImage(LPCWSTR image) {
    m_sFocusedImage = image;
    Invalidate();
}

LPCWSTR CEditUI::GetDisabledImage() const {
    return m_sDisabledImage;
}

void CEditUI::SetDisabledImage(LPCWSTR image) {
    m_sDisabledImage = image;
    Invalidate();
}

DWORD CEditUI::GetNativeEditBkColor() const {
    return m_dwEditbkColor;
}

void CEditUI::SetNativeEditBkColor(DWORD color) {
    m_dwEditbkColor = color;
}

UINT CEditUI::GetButtonState() const {
    return m_uButtonState;
}

} // namespace SkinUI
