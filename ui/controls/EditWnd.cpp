#include <windows.h>

#include "ui/controls/EditWnd.h"

#include "ui/controls/EditUI.h"
#include "ui/WindowManagerUI.h"

#include <vector>

namespace SkinUI {

namespace {

// The manager passes a child's WM_COMMAND and colour requests back to the
// child with this offset.
const UINT kReflectedCommand = WM_COMMAND + 0x2000;
const UINT kReflectedColorEdit = WM_CTLCOLOREDIT + 0x2000;
const UINT kReflectedColorStatic = WM_CTLCOLORSTATIC + 0x2000;
const DWORD kPlatformColors = 0xFFFFFFFF;

} // namespace

CEditWnd::CEditWnd() : m_pOwner(nullptr) {}

LPCWSTR CEditWnd::GetWindowClassName() const {
    return L"EditWnd";
}

LPCWSTR CEditWnd::GetSuperclassName() const {
    return L"Edit";
}

bool CEditWnd::Init(CEditUI* owner) {
    m_pOwner = owner;
    CWindowManagerUI* manager = owner->GetManager();
    DWORD style = WS_CHILD | ES_AUTOHSCROLL | owner->m_dwWindowStyles;
    if (owner->m_bPasswordMode) {
        style |= ES_PASSWORD;
    }
    // The manifest's edit class comes from the common controls.
    CWindowManagerUI::PrepareCommonControls();
    if (Create(manager->GetPaintWindow(), nullptr, style, 0, owner->GetNativeEditRect()) ==
        nullptr) {
        return false;
    }
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner->GetFont())), TRUE);
    SendMessage(EM_LIMITTEXT, owner->m_uMaxChar);
    if (owner->m_bPasswordMode) {
        SendMessage(EM_SETPASSWORDCHAR, owner->m_cPasswordChar);
    }
    ::SetWindowTextW(m_hWnd, owner->m_sText);
    SendMessage(EM_SETMODIFY, FALSE);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, owner->IsEnabled() ? TRUE : FALSE);
    SendMessage(EM_SETREADONLY, owner->m_bReadOnly ? TRUE : FALSE);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

LRESULT CEditWnd::HandleOverlayMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = CWindowWnd::HandleMessage(message, wParam, lParam);
        PostMessage(WM_CLOSE);
        return result;
    }
    case kReflectedCommand:
        return OnCommand(wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr) {
                // The listener may delete the control: nothing is touched after.
                m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
            }
            return 0;
        }
        break;
    case kReflectedColorEdit:
    case kReflectedColorStatic:
        return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CEditWnd::OnCommand(WPARAM wParam, LPARAM) {
    const WORD code = HIWORD(wParam);
    if (code == EN_UPDATE) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    } else if (code == EN_CHANGE && m_bInit && m_pOwner != nullptr) {
        std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
        ::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()));
        // The label's setter: the edit's own would write the text back here.
        m_pOwner->CLabelUI::SetText(text.data());
        if (m_pOwner->GetManager() != nullptr) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, L"textchanged");
        }
    }
    return 0;
}

LRESULT CEditWnd::OnCtlColor(HDC hDC) {
    if (m_pOwner == nullptr || m_pOwner->m_dwEditbkColor == kPlatformColors) {
        return 0;
    }
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(m_pOwner->GetTextColor()));
    if (!m_brush) {
        m_brush.Reset(::CreateSolidBrush(ToColorRef(m_pOwner->m_dwEditbkColor)));
    }
    return reinterpret_cast<LRESULT>(m_brush.Get());
}

void CEditWnd::LeaveOwner() {
    if (m_pOwner != nullptr) {
        m_pOwner->Invalidate();
        m_pOwner->m_pWindow = nullptr;
        m_pOwner = nullptr;
    }
}

void CEditWnd::ForgetOwner() {
    m_pOwner = nullptr;
}

} // namespace SkinUI
