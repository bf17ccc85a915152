#include <windows.h>

#include "ui/controls/ComboWnd.h"

#include "ui/controls/ComboUI.h"
#include "ui/controls/LinearLayoutMath.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/VerticalLayoutUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

CControlUI* CALLBACK ForgetInManager(CControlUI* control, LPVOID data) {
    static_cast<CWindowManagerUI*>(data)->ForgetControl(control);
    return nullptr;
}

RECT ToScreen(HWND hWnd, RECT rc) {
    ::MapWindowPoints(hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT PrimaryWorkArea() {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

} // namespace

CComboWnd::CComboWnd()
    : m_pOwner(nullptr), m_pLayout(nullptr), m_iOldSel(-1), m_bBorrowing(false) {}

CComboWnd::~CComboWnd() = default;

LPCWSTR CComboWnd::GetWindowClassName() const {
    return L"ComboWnd";
}

RECT CComboWnd::PopupRect() const {
    const RECT owner = m_pOwner->GetPos();
    const SIZE box = m_pOwner->GetDropBoxSize();
    const long long width = box.cx > 0 ? box.cx : static_cast<long long>(owner.right) - owner.left;
    const SIZE available = LayoutMath::MakeSize(width, box.cy);
    long long needed = 4; // the column's border and inset
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* child = m_pOwner->GetItemAt(i);
        if (child->IsVisible()) {
            needed += child->MeasureDesiredSize(available).cy;
        }
    }
    const long long height = needed < box.cy ? needed : box.cy;
    HWND parent = m_pOwner->GetManager()->GetPaintWindow();
    RECT rc = ToScreen(parent, LayoutMath::MakeRect(owner.left, owner.bottom, owner.left + width,
                                                    static_cast<long long>(owner.bottom) + height));
    if (rc.bottom > PrimaryWorkArea().bottom) {
        rc = ToScreen(parent, LayoutMath::MakeRect(owner.left, owner.top - height,
                                                   owner.left + width, owner.top));
    }
    return rc;
}

bool CComboWnd::Init(CComboUI* owner) {
    m_pOwner = owner;
    m_pLayout = nullptr;
    m_iOldSel = owner->GetCurSel();
    if (owner->GetManager() == nullptr) {
        return false;
    }
    HWND ownerWindow = owner->GetManager()->GetPaintWindow();
    if (Create(ownerWindow, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, PopupRect()) == nullptr) {
        return false;
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    // The popup is a top-level window of its own: the caption to keep
    // active is that of the window the combo stands in.
    ::SendMessageW(::GetAncestor(ownerWindow, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
    return true;
}

void CComboWnd::BorrowChildren() {
    m_pm.Init(m_hWnd);
    CWindowManagerUI* ownerManager = m_pOwner->GetManager();
    m_pm.SetParentResource(ownerManager);
    m_pLayout = new CVerticalLayoutUI();
    m_pLayout->AttachManager(&m_pm, nullptr, false);
    if (LPCWSTR defaults = ownerManager->GetDefaultAttributeList(L"VerticalLayout")) {
        m_pLayout->ApplyAttributeList(defaults);
    }
    m_pLayout->SetInset(RECT{1, 1, 1, 1});
    m_pLayout->SetBkColor(0xFFFFFFFF);
    m_pLayout->SetBorderColor(0xFFC6C7D2);
    m_pLayout->SetBorderSize(1);
    // The children stay the combo's.
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar(true, false);
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
    m_bBorrowing = true;
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        m_pLayout->Add(m_pOwner->GetItemAt(i));
    }
    m_pm.AttachRootControl(m_pLayout);
}

void CComboWnd::ReturnChildren() {
    if (!m_bBorrowing || m_pOwner == nullptr) {
        return;
    }
    m_bBorrowing = false;
    if (m_pLayout != nullptr) {
        m_pLayout->RemoveAll();
    }
    // This window's manager may still hear of input before the window goes:
    // it must hold on to none of the children.
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        m_pOwner->GetItemAt(i)->FindControl(ForgetInManager, &m_pm, UIFIND_ALL);
    }
    m_pOwner->AttachManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
    m_pOwner->SetPos(m_pOwner->GetPos());
}

void CComboWnd::LeaveOwner() {
    if (m_pOwner == nullptr) {
        return;
    }
    ReturnChildren();
    CComboUI* owner = m_pOwner;
    m_pOwner = nullptr;
    owner->OnDropDownClosed();
}

void CComboWnd::ForgetOwner() {
    ReturnChildren();
    m_pOwner = nullptr;
}

void CComboWnd::EnsureVisible(int index) {
    if (m_pOwner == nullptr || m_pLayout == nullptr || m_pOwner->GetCurSel() < 0) {
        return;
    }
    CControlUI* child = m_pOwner->GetItemAt(index);
    if (child == nullptr) {
        return;
    }
    RECT list = m_pLayout->GetPos();
    const CScrollBarUI* bar = m_pLayout->GetHorizontalScrollBar();
    if (LayoutMath::IsShown(bar)) {
        list.bottom -= bar->GetFixedHeight();
    }
    const RECT& item = child->GetPos();
    if (item.top >= list.top && item.bottom < list.bottom) {
        return;
    }
    const long long dy = item.top < list.top ? static_cast<long long>(item.top) - list.top
                                             : static_cast<long long>(item.bottom) - list.bottom;
    Scroll(0, SaturateToInt(dy));
}

void CComboWnd::Scroll(int dx, int dy) {
    if ((dx == 0 && dy == 0) || m_pLayout == nullptr) {
        return;
    }
    const SIZE pos = m_pLayout->GetScrollPos();
    m_pLayout->SetScrollPos(LayoutMath::MakeSize(static_cast<long long>(pos.cx) + dx,
                                                 static_cast<long long>(pos.cy) + dy));
}

void CComboWnd::OnKeyDown(WPARAM key) {
    if (key == VK_ESCAPE) {
        m_pOwner->SelectItem(m_iOldSel, true);
        EnsureVisible(m_iOldSel);
        PostMessage(WM_KILLFOCUS);
    } else if (key == VK_RETURN) {
        PostMessage(WM_KILLFOCUS);
    } else {
        TInputEventUI event = {};
        event.Type = UIEVENT_KEYDOWN;
        event.chKey = static_cast<wchar_t>(key);
        event.dwTimestamp = ::GetTickCount();
        m_pOwner->HandleEvent(event);
        EnsureVisible(m_pOwner != nullptr ? m_pOwner->GetCurSel() : -1);
    }
}

LRESULT CComboWnd::HandleOverlayMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (m_pOwner != nullptr) {
            BorrowChildren();
        }
        return 0;
    case WM_CLOSE:
        if (m_pOwner != nullptr) {
            ReturnChildren();
            m_pOwner->SetFocus();
        }
        break;
    case WM_LBUTTONUP: {
        const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        CControlUI* control = m_pm.FindControlAt(pt);
        if (control == nullptr || std::wcscmp(control->GetClass(), L"ScrollBarUI") != 0) {
            PostMessage(WM_KILLFOCUS);
        }
        break;
    }
    case WM_KEYDOWN:
        if (m_pOwner != nullptr) {
            OnKeyDown(wParam);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (m_pOwner != nullptr) {
            TInputEventUI event = {};
            event.Type = UIEVENT_SCROLLWHEEL;
            event.wParam = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
            event.lParam = lParam;
            event.dwTimestamp = ::GetTickCount();
            m_pOwner->HandleEvent(event);
            EnsureVisible(m_pOwner != nullptr ? m_pOwner->GetCurSel() : -1);
        }
        return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) {
            PostMessage(WM_CLOSE);
        }
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_pm.HandleWindowMessage(message, wParam, lParam, result)) {
        return result;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

} // namespace SkinUI
