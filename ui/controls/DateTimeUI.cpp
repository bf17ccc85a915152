#include <windows.h>

#include "ui/controls/DateTimeUI.h"

#include "ui/controls/DateTimeWnd.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

CDateTimeUI::CDateTimeUI()
    : m_sysTime(), m_nDTUpdateFlag(DTUPDATE_NONE), m_bReadOnly(false), m_pWindow(nullptr) {
    ::GetLocalTime(&m_sysTime);
    m_nDTUpdateFlag = DTUPDATE_SHOW;
    UpdateText();
    m_nDTUpdateFlag = DTUPDATE_NONE;
}

CDateTimeUI::~CDateTimeUI() {
    CNativeOverlayWnd::AbandonOwned(m_pWindow);
}

LPCWSTR CDateTimeUI::GetClass() const {
    return L"DateTimeUI";
}

LPVOID CDateTimeUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"DateTime") == 0) {
        return this;
    }
    return CLabelUI::QueryInterfaceByName(name);
}

const SYSTEMTIME& CDateTimeUI::GetTime() const {
    return m_sysTime;
}

void CDateTimeUI::SetTime(const SYSTEMTIME& time) {
    m_sysTime = time;
    m_nDTUpdateFlag = DTUPDATE_SHOW;
    UpdateText();
    m_nDTUpdateFlag = DTUPDATE_NONE;
}

bool CDateTimeUI::IsReadOnly() const {
    return m_bReadOnly;
}

void CDateTimeUI::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
}

void CDateTimeUI::UpdateText() {
    if (m_nDTUpdateFlag == DTUPDATE_CLEAR) {
        SetText(L"");
    } else if (m_nDTUpdateFlag == DTUPDATE_SHOW) {
        CUIString text;
        text.SmallFormat(L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(text);
    }
}

void CDateTimeUI::OpenPicker() {
    if (m_pManager == nullptr) {
        return;
    }
    if (m_pWindow == nullptr) {
        m_pWindow = new CDateTimeWnd();
    }
    CDateTimeWnd* window = m_pWindow;
    if (!window->Init(this)) {
        // A picker destroyed during its creation has let go of this control
        // already; one never created has not.
        if (m_pWindow == window) {
            m_pWindow = nullptr;
            window->Abandon();
        }
        return;
    }
    window->ShowWindow();
}

void CDateTimeUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CLabelUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
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
            // Marked focused, so that a later click reopens a closed picker.
            m_bFocused = true;
            if (m_pWindow == nullptr) {
                OpenPicker();
            }
            return;
        }
        break;
    case UIEVENT_KILLFOCUS:
        if (IsEnabled()) {
            m_bFocused = false;
            Invalidate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && m_pManager != nullptr) {
            m_pManager->ReleaseCapture();
        }
        if (m_pWindow != nullptr || IsFocused()) {
            OpenPicker();
        }
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSELEAVE:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

} // namespace SkinUI
