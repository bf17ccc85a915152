#include <windows.h>

#include "ui/ControlUI.h"

#include "ui/RendererUI.h"

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
    if ((flags & UIFIND_HITTEST) != 0 &&
        (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(data)))) {
        return nullptr;
    }
    return proc(this, data);
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

void CControlUI::Paint(HDC hDC, const RECT& rcPaint) {
    RECT paint = {};
    if (!::IntersectRect(&paint, &rcPaint, &m_rcItem)) {
        return;
    }
    m_rcPaint = paint;
    if (m_cxyBorderRound.cx < 1 && m_cxyBorderRound.cy < 1) {
        PaintBackgroundColor(hDC);
        PaintBackgroundImage(hDC);
        PaintStateImages(hDC);
        PaintText(hDC);
        PaintBorderLines(hDC);
        return;
    }
    CClipRegionUI clip;
    CClipRegionUI::ClipToRoundRect(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx,
                                   m_cxyBorderRound.cy, clip);
    PaintBackgroundColor(hDC);
    PaintBackgroundImage(hDC);
    PaintStateImages(hDC);
    PaintText(hDC);
    PaintBorderLines(hDC);
}

void CControlUI::PaintBackgroundColor(HDC hDC) {
    if (m_dwBackColor == 0) {
        return;
    }
    const DWORD first = GetAdjustedColor(m_dwBackColor);
    if (m_dwBackColor2 == 0) {
        CRendererUI::DrawColor(hDC, m_dwBackColor >= 0xFF000000 ? m_rcPaint : m_rcItem, first);
        return;
    }
    const DWORD second = GetAdjustedColor(m_dwBackColor2);
    if (m_dwBackColor3 == 0) {
        CRendererUI::DrawGradient(hDC, m_rcItem, first, second, true, 16);
        return;
    }
    const DWORD third = GetAdjustedColor(m_dwBackColor3);
    const int middle = (m_rcItem.top + m_rcItem.bottom) / 2;
    RECT upper = m_rcItem;
    upper.bottom = middle;
    CRendererUI::DrawGradient(hDC, upper, first, second, true, 8);
    RECT lower = m_rcItem;
    lower.top = middle;
    CRendererUI::DrawGradient(hDC, lower, second, third, true, 8);
}

void CControlUI::PaintBackgroundImage(HDC hDC) {
    if (m_sBkImage.IsEmpty()) {
        return;
    }
    if (!DrawImage(hDC, m_sBkImage)) {
        m_sBkImage.Empty();
    }
}

void CControlUI::PaintStateImages(HDC hDC) {
    (void)hDC;
}

void CControlUI::PaintText(HDC hDC) {
    (void)hDC;
}

void CControlUI::PaintBorderLines(HDC hDC) {
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) {
        return;
    }
    const DWORD border = GetAdjustedColor(m_dwBorderColor);
    const DWORD focusBorder = GetAdjustedColor(m_dwFocusBorderColor);
    if (m_nBorderSize > 0 && (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0)) {
        const DWORD color = IsFocused() && m_dwFocusBorderColor != 0 ? focusBorder : border;
        CRendererUI::DrawRoundRect(hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx,
                                   m_cxyBorderRound.cy, color);
        return;
    }
    if (IsFocused() && m_dwFocusBorderColor != 0 && m_nBorderSize >= 1) {
        CRendererUI::DrawRect(hDC, m_rcItem, m_nBorderSize, focusBorder);
        return;
    }
    if (m_rcBorderSize.left > 0 || m_rcBorderSize.top > 0 || m_rcBorderSize.right > 0 ||
        m_rcBorderSize.bottom > 0) {
        const RECT& r = m_rcItem;
        if (m_rcBorderSize.left > 0) {
            CRendererUI::DrawLine(hDC, RECT{r.left, r.top, r.left, r.bottom}, m_rcBorderSize.left,
                                  border, m_nBorderStyle);
        }
        if (m_rcBorderSize.top > 0) {
            CRendererUI::DrawLine(hDC, RECT{r.left, r.top, r.right, r.top}, m_rcBorderSize.top,
                                  border, m_nBorderStyle);
        }
        if (m_rcBorderSize.right > 0) {
            CRendererUI::DrawLine(hDC, RECT{r.right, r.top, r.right, r.bottom},
                                  m_rcBorderSize.right, border, m_nBorderStyle);
        }
        if (m_rcBorderSize.bottom > 0) {
            CRendererUI::DrawLine(hDC, RECT{r.left, r.bottom, r.right, r.bottom},
                                  m_rcBorderSize.bottom, border, m_nBorderStyle);
        }
        return;
    }
    if (m_nBorderSize >= 1) {
        CRendererUI::DrawRect(hDC, m_rcItem, m_nBorderSize, border);
    }
}

void CControlUI::PaintOverlay(HDC hDC, const RECT& rcPaint) {
    (void)hDC;
    (void)rcPaint;
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

bool CControlUI::DrawImage(HDC hDC, LPCWSTR image, LPCWSTR modify) {
    return CRendererUI::DrawImageDescription(hDC, m_pManager, m_rcItem, m_rcPaint, image, modify);
}

DWORD CControlUI::GetAdjustedColor(DWORD color) const {
    if (!m_bColorHSL) {
        return color;
    }
    int hue = 180;
    int saturation = 100;
    int lightness = 100;
    CWindowManagerUI::GetHSL(&hue, &saturation, &lightness);
    return CRendererUI::AdjustColorHsl(color, static_cast<short>(hue),
                                       static_cast<short>(saturation),
                                       static_cast<short>(lightness));
}

DWORD CControlUI::GetBkColor() const {
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD color) {
    if (m_dwBackColor == color) {
        return;
    }
    m_dwBackColor = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor2() const {
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD color) {
    if (m_dwBackColor2 == color) {
        return;
    }
    m_dwBackColor2 = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor3() const {
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD color) {
    if (m_dwBackColor3 == color) {
        return;
    }
    m_dwBackColor3 = color;
    Invalidate();
}

LPCWSTR CControlUI::GetBkImage() const {
    return m_sBkImage;
}

void CControlUI::SetBkImage(LPCWSTR image) {
    if (m_sBkImage == (image != nullptr ? image : L"")) {
        return;
    }
    m_sBkImage = image;
    Invalidate();
}

DWORD CControlUI::GetBorderColor() const {
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD color) {
    if (m_dwBorderColor == color) {
        return;
    }
    m_dwBorderColor = color;
    Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const {
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD color) {
    if (m_dwFocusBorderColor == color) {
        return;
    }
    m_dwFocusBorderColor = color;
    Invalidate();
}

bool CControlUI::IsColorHSL() const {
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool colorHSL) {
    if (m_bColorHSL == colorHSL) {
        return;
    }
    m_bColorHSL = colorHSL;
    Invalidate();
}

int CControlUI::GetBorderSize() const {
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int size) {
    if (m_nBorderSize == size) {
        return;
    }
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderSizes(int left, int top, int right, int bottom) {
    m_rcBorderSize = CUIRect(left, top, right, bottom);
    Invalidate();
}

void CControlUI::SetLeftBorderSize(int size) {
    m_rcBorderSize.left = size;
    Invalidate();
}

void CControlUI::SetTopBorderSize(int size) {
    m_rcBorderSize.top = size;
    Invalidate();
}

void CControlUI::SetRightBorderSize(int size) {
    m_rcBorderSize.right = size;
    Invalidate();
}

void CControlUI::SetBottomBorderSize(int size) {
    m_rcBorderSize.bottom = size;
    Invalidate();
}

void CControlUI::SetBorderStyle(int style) {
    m_nBorderStyle = style;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const {
    return m_cxyBorderRound;
}

void CControlUI::SetBorderRound(int cx, int cy) {
    m_cxyBorderRound = CUISize(cx, cy);
    Invalidate();
}

} // namespace SkinUI
