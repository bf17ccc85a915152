#include <windows.h>

#include "ui/controls/ComboUI.h"

#include "ui/controls/ComboWnd.h"
#include "ui/controls/ControlStateUI.h"
#include "ui/controls/ListItemCoreUI.h"

#include <cwchar>

namespace SkinUI {

CComboUI::CComboUI() : m_pWindow(nullptr), m_iCurSel(-1), m_szDropBox(0, 150), m_uButtonState(0) {}

CComboUI::~CComboUI() {
    CNativeOverlayWnd::AbandonOwned(m_pWindow);
}

LPCWSTR CComboUI::GetClass() const {
    return L"ComboUI";
}

LPVOID CComboUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Combo") == 0) {
        return static_cast<CComboUI*>(this);
    }
    if (name != nullptr && std::wcscmp(name, L"IListOwner") == 0) {
        return static_cast<IListOwnerUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

UINT CComboUI::GetControlFlags() const {
    return UIFLAG_TABSTOP;
}

bool CComboUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pWindow != nullptr) {
        return true;
    }
    auto* window = new CComboWnd();
    m_pWindow = window;
    // A window destroyed during its creation has already let go of this
    // control (and deleted itself); one never created has not.
    if (!window->Init(this)) {
        if (m_pWindow == window) {
            m_pWindow = nullptr;
            window->Abandon();
        }
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"dropdown");
    }
    Invalidate();
    return true;
}

void CComboUI::OnDropDownClosed() {
    m_pWindow = nullptr;
    m_uButtonState &= ~UISTATE_PUSHED;
    Invalidate();
}

void CComboUI::TakeBackChildren() {
    if (m_pWindow == nullptr) {
        return;
    }
    CNativeOverlayWnd::AbandonOwned(m_pWindow);
    m_uButtonState &= ~UISTATE_PUSHED;
    Invalidate();
}

HWND CComboUI::GetDropDownWindow() const {
    return m_pWindow != nullptr ? m_pWindow->GetHWND() : nullptr;
}

UINT CComboUI::GetButtonState() const {
    return m_uButtonState;
}

CUIString CComboUI::GetText() const {
    CControlUI* selected = GetItemAt(m_iCurSel);
    return selected != nullptr ? selected->GetText() : CUIString();
}

// Children that the popup has borrowed keep the places it gave them.
void CComboUI::SetPos(RECT rc) {
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (child->GetParent() == this) {
            child->SetPos(RECT{0, 0, 0, 0});
        }
    }
    CControlUI::SetPos(rc);
}

void CComboUI::SetEnabled(bool enable) {
    CContainerUI::SetEnabled(enable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

void CComboUI::MoveSelection(int index) {
    SelectItem(index, false);
}

void CComboUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CContainerUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
        // A popup that could not open leaves nothing pushed.
        if (IsEnabled() && Activate() && m_pWindow != nullptr) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_KEYDOWN:
        switch (event.chKey) {
        case VK_PRIOR:
        case VK_UP:
            MoveSelection(FindSelectable(m_iCurSel - 1, false));
            return;
        case VK_NEXT:
        case VK_DOWN:
            MoveSelection(FindSelectable(m_iCurSel + 1, true));
            return;
        case VK_HOME:
            MoveSelection(FindSelectable(0, false));
            return;
        case VK_END:
            MoveSelection(FindSelectable(GetCount() - 1, true));
            return;
        case VK_F4:
            Activate();
            return;
        default:
            break;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (event.wParam == 1) {
            MoveSelection(FindSelectable(m_iCurSel + 1, true));
        } else {
            MoveSelection(FindSelectable(m_iCurSel - 1, false));
        }
        return;
    case UIEVENT_MOUSEENTER:
        if (::PtInRect(&m_rcItem, event.ptMouse)) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if ((m_uButtonState & UISTATE_HOT) != 0) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

SIZE CComboUI::MeasureDesiredSize(SIZE szAvailable) {
    if (m_cxyFixed.cy == 0 && m_pManager != nullptr) {
        const TFontRecordUI* font = m_pManager->GetDefaultFontInfo();
        return SIZE{m_cxyFixed.cx, (font != nullptr ? font->tm.tmHeight : 0) + 12};
    }
    return CContainerUI::MeasureDesiredSize(szAvailable);
}

void CComboUI::Paint(HDC hDC, const RECT& rcPaint) {
    CControlUI::Paint(hDC, rcPaint);
}

void CComboUI::PaintStateImages(HDC hDC) {
    m_uButtonState = SyncFocusAndEnabledBits(m_uButtonState, *this);
    CUIString* state = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) {
        state = &m_sDisabledImage;
    } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        state = &m_sPushedImage;
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        state = &m_sHotImage;
    } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
        state = &m_sFocusedImage;
    }
    if (state != nullptr && DrawStateImage(*this, hDC, *state)) {
        return;
    }
    DrawStateImage(*this, hDC, m_sNormalImage);
}

RECT CComboUI::GetTextRect() const {
    return LessPadding(m_rcItem, m_rcTextPadding);
}

void CComboUI::PaintText(HDC hDC) {
    PaintSelected(hDC, GetTextRect());
}

void CComboUI::PaintSelected(HDC hDC, const RECT& rc) {
    CControlUI* selected = GetItemAt(m_iCurSel);
    if (selected == nullptr) {
        return;
    }
    if (auto* item = static_cast<IListItemUI*>(selected->QueryInterfaceByName(L"ListItem"))) {
        item->DrawItemText(hDC, rc);
        return;
    }
    const RECT previous = selected->GetPos();
    selected->SetPos(rc);
    selected->Paint(hDC, rc);
    selected->SetPos(previous);
}

} // namespace SkinUI
