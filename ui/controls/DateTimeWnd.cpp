#include <windows.h>

#include <commctrl.h>

#include "ui/controls/DateTimeWnd.h"

#include "ui/controls/DateTimeUI.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

namespace {

// The manager passes a child's WM_NOTIFY back to the child with this offset.
const UINT kReflectedNotify = WM_NOTIFY + 0x2000;

bool RegisterDatePicker() {
    CWindowManagerUI::PrepareCommonControls();
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
    return ::InitCommonControlsEx(&classes) != FALSE;
}

} // namespace

CDateTimeWnd::CDateTimeWnd() : m_pOwner(nullptr) {}

LPCWSTR CDateTimeWnd::GetWindowClassName() const {
    return L"DateTimeWnd";
}

LPCWSTR CDateTimeWnd::GetSuperclassName() const {
    return DATETIMEPICK_CLASSW;
}

bool CDateTimeWnd::Init(CDateTimeUI* owner) {
    m_pOwner = owner;
    owner->m_nDTUpdateFlag = CDateTimeUI::DTUPDATE_NONE;
    CWindowManagerUI* manager = owner->GetManager();
    if (m_hWnd == nullptr) {
        static const bool registered = RegisterDatePicker();
        if (!registered ||
            Create(manager->GetPaintWindow(), nullptr, WS_CHILD, 0, owner->GetPos()) == nullptr) {
            return false;
        }
        const TFontRecordUI* font = manager->GetFontInfo(owner->GetFont());
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font->hFont), TRUE);
    }
    if (owner->m_sText.IsEmpty()) {
        ::GetLocalTime(&owner->m_sysTime);
    }
    SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&owner->m_sysTime));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

LRESULT CDateTimeWnd::HandleOverlayMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
        // The drop-down calendar takes the focus while the user picks in it.
        if (!IsOwnCalendar(reinterpret_cast<HWND>(wParam))) {
            FinishEdit();
        }
        return result;
    }
    case WM_KEYUP:
        if (wParam == VK_DELETE || wParam == VK_BACK) {
            return CloseWithMode(CDateTimeUI::DTUPDATE_CLEAR, message, wParam, lParam);
        }
        if (wParam == VK_ESCAPE) {
            return CloseWithMode(CDateTimeUI::DTUPDATE_KEEP, message, wParam, lParam);
        }
        break;
    case kReflectedNotify:
        if (lParam != 0 && reinterpret_cast<const NMHDR*>(lParam)->code == DTN_CLOSEUP) {
            FinishEdit();
            return 0;
        }
        break;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CDateTimeWnd::FinishEdit() {
    if (m_pOwner != nullptr && m_pOwner->m_nDTUpdateFlag == CDateTimeUI::DTUPDATE_NONE) {
        SYSTEMTIME picked = {};
        if (SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) == GDT_VALID) {
            m_pOwner->m_sysTime = picked;
        }
        m_pOwner->m_nDTUpdateFlag = CDateTimeUI::DTUPDATE_SHOW;
        m_pOwner->UpdateText();
    }
    PostMessage(WM_CLOSE);
}

LRESULT CDateTimeWnd::CloseWithMode(int mode, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
    if (m_pOwner != nullptr) {
        m_pOwner->m_nDTUpdateFlag = mode;
        m_pOwner->UpdateText();
    }
    PostMessage(WM_CLOSE);
    return result;
}

bool CDateTimeWnd::IsOwnCalendar(HWND hWnd) const {
    const auto calendar = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, DTM_GETMONTHCAL, 0, 0));
    return hWnd != nullptr && calendar != nullptr &&
           (hWnd == calendar || ::IsChild(calendar, hWnd));
}

void CDateTimeWnd::LeaveOwner() {
    if (m_pOwner != nullptr) {
        m_pOwner->m_pWindow = nullptr;
        m_pOwner = nullptr;
    }
}

void CDateTimeWnd::ForgetOwner() {
    m_pOwner = nullptr;
}

} // namespace SkinUI
