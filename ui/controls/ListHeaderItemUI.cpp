#include <windows.h>

#include "ui/controls/ListHeaderItemUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/RendererUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/controls/ControlStateUI.h"
#include "ui/controls/LinearLayoutMath.h"
#include "ui/controls/ListItemCoreUI.h"
#include "ui/controls/ListLookUI.h"

#include <climits>
#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

CListHeaderItemUI::CListHeaderItemUI()
    : m_bDragable(true), m_uButtonState(0), m_iSepWidth(kDefaultSepWidth), m_dwTextColor(0),
      m_iFont(-1), m_uTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE), m_bShowHtml(false),
      m_rcTextPadding(2, 0, 2, 0) {
    SetMinWidth(kDefaultMinWidth);
}

CListHeaderItemUI::~CListHeaderItemUI() = default;

LPCWSTR CListHeaderItemUI::GetClass() const {
    return L"ListHeaderItemUI";
}

LPVOID CListHeaderItemUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ListHeaderItem") == 0) {
        return static_cast<CListHeaderItemUI*>(this);
    }
    return CControlUI::QueryInterfaceByName(name);
}

UINT CListHeaderItemUI::GetControlFlags() const {
    return (IsEnabled() && m_iSepWidth != 0) ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CListHeaderItemUI::SetEnabled(bool enable) {
    CControlUI::SetEnabled(enable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

RECT CListHeaderItemUI::GetThumbRect() const {
    const long long sep = m_iSepWidth;
    if (sep >= 0) {
        return LayoutMath::MakeRect(m_rcItem.right - sep, m_rcItem.top, m_rcItem.right,
                                    m_rcItem.bottom);
    }
    return LayoutMath::MakeRect(m_rcItem.left, m_rcItem.top, m_rcItem.left - sep, m_rcItem.bottom);
}

RECT CListHeaderItemUI::GetGripRect() const {
    const RECT thumb = GetThumbRect();
    if (m_iSepWidth >= 0) {
        return LayoutMath::MakeRect(static_cast<long long>(thumb.left) - kSepGripExtension,
                                    thumb.top, thumb.right, thumb.bottom);
    }
    return LayoutMath::MakeRect(thumb.left, thumb.top,
                                static_cast<long long>(thumb.right) + kSepGripExtension,
                                thumb.bottom);
}

void CListHeaderItemUI::HandleEvent(TInputEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event)) {
        if (m_pParent != nullptr) {
            m_pParent->HandleEvent(event);
        } else {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            OnButtonDown(event);
            return;
        }
        break;
    case UIEVENT_BUTTONUP:
        OnButtonUp();
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            OnDrag(event.ptMouse);
        }
        return;
    case UIEVENT_SETCURSOR: {
        const RECT grip = GetGripRect();
        if (IsEnabled() && m_bDragable && ::PtInRect(&grip, event.ptMouse)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    }
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            if (event.Type == UIEVENT_MOUSEENTER) {
                m_uButtonState |= UISTATE_HOT;
            } else {
                m_uButtonState &= ~UISTATE_HOT;
            }
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

void CListHeaderItemUI::OnButtonDown(const TInputEventUI& event) {
    const RECT grip = GetGripRect();
    if (::PtInRect(&grip, event.ptMouse)) {
        if (m_bDragable) {
            m_uButtonState |= UISTATE_CAPTURED;
            m_ptLastMouse = event.ptMouse;
        }
        return;
    }
    m_uButtonState |= UISTATE_PUSHED;
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"headerclick");
    }
    Invalidate();
}

void CListHeaderItemUI::OnButtonUp() {
    if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        m_uButtonState &= ~UISTATE_CAPTURED;
        RelayoutList();
    } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        m_uButtonState &= ~UISTATE_PUSHED;
        Invalidate();
    }
}

// A move that would make the column as narrow as its minimum or narrower is
// ignored and the last point kept, so the drag goes on from there. The width
// grows from the last accepted one, not from the rectangle, which is only
// laid out again at the next paint: moves that come before it still add up.
void CListHeaderItemUI::OnDrag(POINT pt) {
    const long long dx = static_cast<long long>(pt.x) - m_ptLastMouse.x;
    const long long current =
        m_cxyFixed.cx > 0 ? m_cxyFixed.cx : static_cast<long long>(m_rcItem.right) - m_rcItem.left;
    const long long width = m_iSepWidth >= 0 ? current + dx : current - dx;
    if (width <= GetMinWidth() || width > INT_MAX) {
        return;
    }
    SetFixedWidth(static_cast<int>(width));
    m_ptLastMouse = pt;
    RelayoutList();
}

void CListHeaderItemUI::RelayoutList() {
    if (m_pParent != nullptr) {
        m_pParent->MarkParentNeedsUpdate();
    }
}

void CListHeaderItemUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"dragable")) {
        SetDragable(ParseBoolValue(value));
    } else if (Is(name, L"sepwidth")) {
        SetSepWidth(ParseDecimalValue(value));
    } else if (Is(name, L"align")) {
        m_uTextStyle = ApplyListTextAlign(m_uTextStyle, value);
    } else if (Is(name, L"endellipsis")) {
        m_uTextStyle = ParseBoolValue(value) ? (m_uTextStyle | DT_END_ELLIPSIS)
                                             : (m_uTextStyle & ~DT_END_ELLIPSIS);
    } else if (Is(name, L"font")) {
        SetFont(ParseDecimalValue(value));
    } else if (Is(name, L"textcolor")) {
        SetTextColor(ParseColorValue(value));
    } else if (Is(name, L"textpadding")) {
        SetTextPadding(ParseRectValue(value));
    } else if (Is(name, L"showhtml")) {
        SetShowHtml(ParseBoolValue(value));
    } else if (Is(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, L"hotimage")) {
        SetHotImage(value);
    } else if (Is(name, L"pushedimage")) {
        SetPushedImage(value);
    } else if (Is(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, L"sepimage")) {
        SetSepImage(value);
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

SIZE CListHeaderItemUI::MeasureDesiredSize(SIZE szAvailable) {
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) {
        return CControlUI::MeasureDesiredSize(szAvailable);
    }
    return SIZE{m_cxyFixed.cx, m_pManager->GetDefaultFontInfo()->tm.tmHeight + 14};
}

void CListHeaderItemUI::DrawStateOrNormal(HDC hDC, CUIString& image) {
    if (image.IsEmpty()) {
        DrawStateImage(*this, hDC, m_sNormalImage);
    } else {
        DrawStateImage(*this, hDC, image);
    }
}

void CListHeaderItemUI::PaintStateImages(HDC hDC) {
    if (IsFocused()) {
        m_uButtonState |= UISTATE_FOCUSED;
    } else {
        m_uButtonState &= ~UISTATE_FOCUSED;
    }
    if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        DrawStateOrNormal(hDC, m_sPushedImage);
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        DrawStateOrNormal(hDC, m_sHotImage);
    } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
        DrawStateOrNormal(hDC, m_sFocusedImage);
    } else {
        DrawStateImage(*this, hDC, m_sNormalImage);
    }
    if (m_sSepImage.IsEmpty()) {
        return;
    }
    const RECT thumb = GetThumbRect();
    m_sSepImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", thumb.left - m_rcItem.left,
                                  thumb.top - m_rcItem.top, thumb.right - m_rcItem.left,
                                  thumb.bottom - m_rcItem.top);
    DrawStateImage(*this, hDC, m_sSepImage, m_sSepImageModify);
}

void CListHeaderItemUI::PaintText(HDC hDC) {
    if (m_pManager == nullptr) {
        return;
    }
    if (m_dwTextColor == 0) {
        m_dwTextColor = m_pManager->GetDefaultFontColor();
    }
    if (m_sText.IsEmpty()) {
        return;
    }
    RECT rc = LessPadding(m_rcItem, m_rcTextPadding);
    if (m_bShowHtml) {
        int links = 0;
        CRendererUI::DrawMarkupText(hDC, m_pManager, rc, m_sText, m_dwTextColor, nullptr, nullptr,
                                    links, m_uTextStyle | DT_SINGLELINE);
    } else {
        CRendererUI::DrawText(hDC, m_pManager, rc, m_sText, m_dwTextColor, m_iFont,
                              m_uTextStyle | DT_SINGLELINE);
    }
}

// ---- Properties --------------------------------------------------------------------

bool CListHeaderItemUI::IsDragable() const {
    return m_bDragable;
}

void CListHeaderItemUI::SetDragable(bool dragable) {
    m_bDragable = dragable;
    if (!dragable) {
        m_uButtonState &= ~UISTATE_CAPTURED;
    }
}

int CListHeaderItemUI::GetSepWidth() const {
    return m_iSepWidth;
}

void CListHeaderItemUI::SetSepWidth(int width) {
    m_iSepWidth = width;
}

DWORD CListHeaderItemUI::GetTextColor() const {
    return m_dwTextColor;
}

void CListHeaderItemUI::SetTextColor(DWORD color) {
    m_dwTextColor = color;
}

int CListHeaderItemUI::GetFont() const {
    return m_iFont;
}

void CListHeaderItemUI::SetFont(int index) {
    m_iFont = index;
}

UINT CListHeaderItemUI::GetTextStyle() const {
    return m_uTextStyle;
}

RECT CListHeaderItemUI::GetTextPadding() const {
    return m_rcTextPadding;
}

void CListHeaderItemUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

bool CListHeaderItemUI::IsShowHtml() const {
    return m_bShowHtml;
}

void CListHeaderItemUI::SetShowHtml(bool showHtml) {
    if (m_bShowHtml == showHtml) {
        return;
    }
    m_bShowHtml = showHtml;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetNormalImage() const {
    return m_sNormalImage;
}

void CListHeaderItemUI::SetNormalImage(LPCWSTR image) {
    m_sNormalImage = image;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetHotImage() const {
    return m_sHotImage;
}

void CListHeaderItemUI::SetHotImage(LPCWSTR image) {
    m_sHotImage = image;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetPushedImage() const {
    return m_sPushedImage;
}

void CListHeaderItemUI::SetPushedImage(LPCWSTR image) {
    m_sPushedImage = image;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetFocusedImage() const {
    return m_sFocusedImage;
}

void CListHeaderItemUI::SetFocusedImage(LPCWSTR image) {
    m_sFocusedImage = image;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetSepImage() const {
    return m_sSepImage;
}

void CListHeaderItemUI::SetSepImage(LPCWSTR image) {
    m_sSepImage = image;
    Invalidate();
}

UINT CListHeaderItemUI::GetButtonState() const {
    return m_uButtonState;
}

} // namespace SkinUI
