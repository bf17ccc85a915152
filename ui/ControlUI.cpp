#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

// The rectangle that the ancestors of a control leave visible of rc; false
// when nothing is left.
bool ClipToAncestors(const CControlUI* control, RECT& rc) {
    for (const CControlUI* parent = control->GetParent(); parent != nullptr;
         parent = parent->GetParent()) {
        RECT visible = {};
        if (!::IntersectRect(&visible, &rc, &parent->GetPos())) {
            return false;
        }
        rc = visible;
    }
    return true;
}

} // namespace

CControlUI::CControlUI()
    : m_pManager(nullptr), m_pParent(nullptr), m_bUpdateNeeded(true), m_bMenuUsed(false),
      m_cxyMax(9999, 9999), m_bVisible(true), m_bInternVisible(true), m_bEnabled(true),
      m_bMouseEnabled(true), m_bKeyboardEnabled(true), m_bFocused(false), m_bFloat(false),
      m_bSetPos(false), m_tRelativePos(), m_chShortcut(0), m_pTag(0), m_dwBackColor(0),
      m_dwBackColor2(0), m_dwBackColor3(0), m_dwBorderColor(0), m_dwFocusBorderColor(0),
      m_bColorHSL(false), m_nBorderSize(0), m_nBorderStyle(0), m_nTooltipWidth(300) {}

CControlUI::~CControlUI() {
    if (DestroyDelegates) {
        DestroyDelegates(this);
    }
    if (m_pManager != nullptr) {
        m_pManager->ForgetControl(this);
    }
}

CUIString CControlUI::GetName() const {
    return m_sName;
}

void CControlUI::SetName(LPCWSTR name) {
    m_sName = name;
}

LPCWSTR CControlUI::GetClass() const {
    return L"ControlUI";
}

LPVOID CControlUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Control") == 0) {
        return this;
    }
    return nullptr;
}

UINT CControlUI::GetControlFlags() const {
    return 0;
}

bool CControlUI::Activate() {
    return IsVisible() && IsEnabled();
}

CWindowManagerUI* CControlUI::GetManager() const {
    return m_pManager;
}

void CControlUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) {
    m_pManager = manager;
    m_pParent = parent;
    if (init && m_pParent != nullptr) {
        Init();
    }
}

CControlUI* CControlUI::GetParent() const {
    return m_pParent;
}

CUIString CControlUI::GetText() const {
    return m_sText;
}

void CControlUI::SetText(LPCWSTR text) {
    if (m_sText == (text != nullptr ? text : L"")) {
        return;
    }
    m_sText = text;
    Invalidate();
}

const RECT& CControlUI::GetPos() const {
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc) {
    if (rc.right < rc.left) {
        rc.right = rc.left;
    }
    if (rc.bottom < rc.top) {
        rc.bottom = rc.top;
    }
    CUIRect invalid = m_rcItem;
    if (::IsRectEmpty(&invalid)) {
        invalid = rc;
    }
    m_rcItem = rc;
    if (m_pManager == nullptr) {
        return;
    }
    if (!m_bSetPos) {
        m_bSetPos = true;
        if (SizeDelegates) {
            SizeDelegates(this);
        }
        m_bSetPos = false;
    }
    if (m_bFloat && m_pParent != nullptr) {
        const RECT& parent = m_pParent->GetPos();
        m_cXY.cx = m_cXY.cx >= 0 ? m_rcItem.left - parent.left : m_rcItem.right - parent.right;
        m_cXY.cy = m_cXY.cy >= 0 ? m_rcItem.top - parent.top : m_rcItem.bottom - parent.bottom;
        m_cxyFixed.cx = m_rcItem.right - m_rcItem.left;
        m_cxyFixed.cy = m_rcItem.bottom - m_rcItem.top;
    }
    m_bUpdateNeeded = false;
    invalid.Join(m_rcItem);
    RECT rcInvalid = invalid;
    if (ClipToAncestors(this, rcInvalid)) {
        m_pManager->Invalidate(rcInvalid);
    }
}

CUIString CControlUI::GetToolTip() const {
    return m_sToolTip;
}

void CControlUI::SetToolTip(LPCWSTR text) {
    CUIString tip(text);
    tip.Replace(L"<n>", L"\r\n");
    m_sToolTip = tip;
}

void CControlUI::SetToolTipWidth(int width) {
    m_nTooltipWidth = width;
}

int CControlUI::GetToolTipWidth() const {
    return m_nTooltipWidth;
}

wchar_t CControlUI::GetShortcut() const {
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch) {
    m_chShortcut = ch;
}

bool CControlUI::IsVisible() const {
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool visible) {
    if (m_bVisible == visible) {
        return;
    }
    const bool wasVisible = IsVisible();
    m_bVisible = visible;
    m_bFocused = false;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
    if (IsVisible() != wasVisible) {
        MarkParentNeedsUpdate();
    }
}

void CControlUI::SetVisibleByParent(bool visible) {
    m_bInternVisible = visible;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
}

bool CControlUI::IsEnabled() const {
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool enable) {
    if (m_bEnabled == enable) {
        return;
    }
    m_bEnabled = enable;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const {
    return m_bMouseEnabled;
}

bool CControlUI::IsIgnoredMouseEvent(const TInputEventUI& event) const {
    return !IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND;
}

bool CControlUI::PassEventToParent(TInputEventUI& event) {
    if (m_pParent == nullptr) {
        return false;
    }
    m_pParent->HandleEvent(event);
    return true;
}

void CControlUI::SetMouseEnabled(bool enable) {
    m_bMouseEnabled = enable;
}

bool CControlUI::IsFocused() const {
    return m_bFocused;
}

void CControlUI::SetFocus() {
    if (m_pManager != nullptr) {
        m_pManager->SetFocus(this);
    }
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) {
        return nullptr;
    }
    // A hit test without a point finds nothing.
    if ((flags & UIFIND_HITTEST) != 0 &&
        (!m_bMouseEnabled || data == nullptr ||
         !::PtInRect(&m_rcItem, *static_cast<const POINT*>(data)))) {
        return nullptr;
    }
    return proc != nullptr ? proc(this, data) : nullptr;
}

void CControlUI::Init() {
    InitSelf();
    if (InitDelegates) {
        InitDelegates(this);
    }
}

void CControlUI::InitSelf() {}

void CControlUI::DispatchEvent(TInputEventUI& event) {
    if (!EventDelegates || EventDelegates(&event)) {
        HandleEvent(event);
    }
}

void CControlUI::HandleEvent(TInputEventUI& event) {
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        if (m_pManager != nullptr) {
            m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        }
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_bMenuUsed) {
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            }
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent != nullptr) {
        m_pParent->HandleEvent(event);
    }
}

void CControlUI::Invalidate() {
    if (!IsVisible()) {
        return;
    }
    RECT rc = m_rcItem;
    if (!ClipToAncestors(this, rc)) {
        return;
    }
    if (m_pManager != nullptr) {
        m_pManager->Invalidate(rc);
    }
}

void CControlUI::MarkNeedsUpdate() {
    if (!IsVisible()) {
        return;
    }
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr) {
        m_pManager->SetUpdateNeeded();
    }
}

void CControlUI::MarkParentNeedsUpdate() {
    if (m_pParent != nullptr) {
        m_pParent->MarkNeedsUpdate();
        m_pParent->Invalidate();
    } else {
        MarkNeedsUpdate();
    }
    if (m_pManager != nullptr) {
        m_pManager->SetUpdateNeeded();
    }
}

bool CControlUI::IsUpdateNeeded() const {
    return m_bUpdateNeeded;
}

CUIString CControlUI::GetVirtualWnd() const {
    if (!m_sVirtualWnd.IsEmpty()) {
        return m_sVirtualWnd;
    }
    return m_pParent != nullptr ? m_pParent->GetVirtualWnd() : CUIString();
}

void CControlUI::SetVirtualWnd(LPCWSTR name) {
    m_sVirtualWnd = name;
    if (m_pManager != nullptr) {
        m_pManager->SetUsedVirtualWnd(true);
    }
}

} // namespace SkinUI
