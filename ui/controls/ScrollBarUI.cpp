#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/controls/ScrollBarUI.h"

#include "ui/ContainerUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/WindowManagerUI.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace SkinUI {

namespace {

// A rectangle across the bar (thickness wide) from a to b along it.
RECT Span(bool horizontal, long long cross, long long thickness, long long a, long long b) {
    const LONG from = SaturateToInt(a);
    const LONG to = SaturateToInt(b);
    const LONG side = SaturateToInt(cross);
    const LONG outer = SaturateToInt(cross + thickness);
    if (horizontal) {
        return RECT{from, side, to, outer};
    }
    return RECT{side, from, outer, to};
}

// The empty rectangle at a point along the bar, for a hidden button.
RECT EmptyAt(bool horizontal, long long cross, long long a) {
    return Span(horizontal, cross, 0, a, a);
}

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false), m_nRange(100), m_nScrollPos(0), m_nLineSize(8),
      m_pOwner(nullptr), m_ptLastMouse{0, 0}, m_nLastScrollPos(0), m_nLastScrollOffset(0),
      m_nScrollRepeatDelay(0), m_bShowButton1(true), m_uButton1State(0), m_bShowButton2(true),
      m_uButton2State(0), m_uThumbState(0) {
    m_cxyFixed.cx = kDefaultThickness;
}

CScrollBarUI::~CScrollBarUI() = default;

LPCWSTR CScrollBarUI::GetClass() const {
    return L"ScrollBarUI";
}

LPVOID CScrollBarUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ScrollBar") == 0) {
        return this;
    }
    return CControlUI::QueryInterfaceByName(name);
}

void CScrollBarUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    ComputeGeometry();
}

// Showing or hiding a bar never lays anything out: the owner decides where
// its bars go.
void CScrollBarUI::SetVisible(bool visible) {
    if (m_bVisible == visible) {
        return;
    }
    m_bVisible = visible;
    if (m_bFocused) {
        m_bFocused = false;
    }
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
}

void CScrollBarUI::SetEnabled(bool enable) {
    CControlUI::SetEnabled(enable);
    if (!IsEnabled()) {
        m_uButton1State = 0;
        m_uButton2State = 0;
        m_uThumbState = 0;
    }
}

void CScrollBarUI::SetFocus() {
    if (m_pOwner != nullptr) {
        m_pOwner->SetFocus();
        return;
    }
    CControlUI::SetFocus();
}

void CScrollBarUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    struct ImageAttribute {
        LPCWSTR name;
        void (CScrollBarUI::*set)(LPCWSTR);
    };
    static const ImageAttribute kImages[] = {
        {L"button1normalimage", &CScrollBarUI::SetButton1NormalImage},
        {L"button1hotimage", &CScrollBarUI::SetButton1HotImage},
        {L"button1pushedimage", &CScrollBarUI::SetButton1PushedImage},
        {L"button1disabledimage", &CScrollBarUI::SetButton1DisabledImage},
        {L"button2normalimage", &CScrollBarUI::SetButton2NormalImage},
        {L"button2hotimage", &CScrollBarUI::SetButton2HotImage},
        {L"button2pushedimage", &CScrollBarUI::SetButton2PushedImage},
        {L"button2disabledimage", &CScrollBarUI::SetButton2DisabledImage},
        {L"thumbnormalimage", &CScrollBarUI::SetThumbNormalImage},
        {L"thumbhotimage", &CScrollBarUI::SetThumbHotImage},
        {L"thumbpushedimage", &CScrollBarUI::SetThumbPushedImage},
        {L"thumbdisabledimage", &CScrollBarUI::SetThumbDisabledImage},
        {L"railnormalimage", &CScrollBarUI::SetRailNormalImage},
        {L"railhotimage", &CScrollBarUI::SetRailHotImage},
        {L"railpushedimage", &CScrollBarUI::SetRailPushedImage},
        {L"raildisabledimage", &CScrollBarUI::SetRailDisabledImage},
        {L"bknormalimage", &CScrollBarUI::SetBkNormalImage},
        {L"bkhotimage", &CScrollBarUI::SetBkHotImage},
        {L"bkpushedimage", &CScrollBarUI::SetBkPushedImage},
        {L"bkdisabledimage", &CScrollBarUI::SetBkDisabledImage},
    };
    if (name == nullptr) {
        return;
    }
    for (const ImageAttribute& image : kImages) {
        if (std::wcscmp(name, image.name) == 0) {
            (this->*image.set)(value);
            return;
        }
    }
    if (std::wcscmp(name, L"hor") == 0) {
        SetHorizontal(ParseBoolValue(value));
    } else if (std::wcscmp(name, L"linesize") == 0) {
        SetLineSize(ParseDecimalValue(value));
    } else if (std::wcscmp(name, L"range") == 0) {
        SetScrollRange(ParseDecimalValue(value));
    } else if (std::wcscmp(name, L"value") == 0) {
        SetScrollPos(ParseDecimalValue(value));
    } else if (std::wcscmp(name, L"showbutton1") == 0) {
        SetShowButton1(ParseBoolValue(value));
    } else if (std::wcscmp(name, L"showbutton2") == 0) {
        SetShowButton2(ParseBoolValue(value));
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

CContainerUI* CScrollBarUI::GetOwner() const {
    return m_pOwner;
}

void CScrollBarUI::SetOwner(CContainerUI* owner) {
    m_pOwner = owner;
}

bool CScrollBarUI::IsHorizontal() const {
    return m_bHorizontal;
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
    if (m_bHorizontal == horizontal) {
        return;
    }
    m_bHorizontal = horizontal;
    // A bar that turns keeps a thickness the skin gave it, else the default.
    if (m_bHorizontal) {
        if (m_cxyFixed.cy == 0) {
            m_cxyFixed.cx = 0;
            m_cxyFixed.cy = kDefaultThickness;
        }
    } else if (m_cxyFixed.cx == 0) {
        m_cxyFixed.cx = kDefaultThickness;
        m_cxyFixed.cy = 0;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->MarkNeedsUpdate();
    } else {
        MarkParentNeedsUpdate();
    }
}

int CScrollBarUI::GetScrollRange() const {
    return m_nRange;
}

void CScrollBarUI::SetScrollRange(int range) {
    if (m_nRange == range) {
        return;
    }
    m_nRange = std::max(range, 0);
    m_nScrollPos = std::min(m_nScrollPos, m_nRange);
    SetPos(m_rcItem);
}

int CScrollBarUI::GetScrollPos() const {
    return m_nScrollPos;
}

void CScrollBarUI::SetScrollPos(int pos) {
    if (m_nScrollPos == pos) {
        return;
    }
    m_nScrollPos = std::min(std::max(pos, 0), m_nRange);
    SetPos(m_rcItem);
}

int CScrollBarUI::GetLineSize() const {
    return m_nLineSize;
}

void CScrollBarUI::SetLineSize(int size) {
    m_nLineSize = size;
}

bool CScrollBarUI::GetShowButton1() const {
    return m_bShowButton1;
}

void CScrollBarUI::SetShowButton1(bool show) {
    m_bShowButton1 = show;
    SetPos(m_rcItem);
}

bool CScrollBarUI::GetShowButton2() const {
    return m_bShowButton2;
}

void CScrollBarUI::SetShowButton2(bool show) {
    m_bShowButton2 = show;
    SetPos(m_rcItem);
}

const RECT& CScrollBarUI::GetButton1Rect() const {
    return m_rcButton1;
}

const RECT& CScrollBarUI::GetButton2Rect() const {
    return m_rcButton2;
}

const RECT& CScrollBarUI::GetThumbRect() const {
    return m_rcThumb;
}

UINT CScrollBarUI::GetButton1State() const {
    return m_uButton1State;
}

UINT CScrollBarUI::GetButton2State() const {
    return m_uButton2State;
}

UINT CScrollBarUI::GetThumbState() const {
    return m_uThumbState;
}

int CScrollBarUI::Thickness() const {
    return m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
}

// The bar's length along its direction: a page of a bar without an owner.
int CScrollBarUI::Extent() const {
    return m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
}

// Everything along the bar is worked out in 64 bits: the product of a long
// track and a range near the int limit does not fit in 32.
void CScrollBarUI::ComputeGeometry() {
    const bool hor = m_bHorizontal;
    const long long s = Thickness();
    const int cross = hor ? m_rcItem.top : m_rcItem.left;
    const long long start = hor ? m_rcItem.left : m_rcItem.top;
    const long long end = hor ? m_rcItem.right : m_rcItem.bottom;
    const long long extent = end - start;
    const long long free = extent - s * ((m_bShowButton1 ? 1 : 0) + (m_bShowButton2 ? 1 : 0));

    if (free <= s) {
        const long long b = std::min(s, extent / 2);
        m_rcButton1 =
            m_bShowButton1 ? Span(hor, cross, s, start, start + b) : EmptyAt(hor, cross, start);
        m_rcButton2 = m_bShowButton2 ? Span(hor, cross, s, end - b, end) : EmptyAt(hor, cross, end);
        m_rcThumb.Empty();
        return;
    }
    m_rcButton1 =
        m_bShowButton1 ? Span(hor, cross, s, start, start + s) : EmptyAt(hor, cross, start);
    m_rcButton2 = m_bShowButton2 ? Span(hor, cross, s, end - s, end) : EmptyAt(hor, cross, end);
    const long long trackStart = hor ? m_rcButton1.right : m_rcButton1.bottom;
    const long long trackEnd = hor ? m_rcButton2.left : m_rcButton2.top;
    if (m_nRange < 1) {
        m_rcThumb = Span(hor, cross, s, trackStart, trackEnd);
        return;
    }
    const unsigned long long product =
        static_cast<unsigned long long>(extent) * static_cast<unsigned long long>(free);
    long long length =
        static_cast<long long>(product / static_cast<unsigned long long>(m_nRange + extent));
    length = std::max(length, s);
    long long thumbStart = trackStart + (free - length) * m_nScrollPos / m_nRange;
    long long thumbEnd = thumbStart + length;
    if (thumbEnd > trackEnd) {
        thumbEnd = trackEnd;
        thumbStart = thumbEnd - length;
    }
    m_rcThumb = Span(hor, cross, s, thumbStart, thumbEnd);
}

void CScrollBarUI::SetImage(CUIString& slot, LPCWSTR image) {
    slot = image;
    Invalidate();
}

LPCWSTR CScrollBarUI::GetButton1NormalImage() const {
    return m_button1Images.normal;
}
void CScrollBarUI::SetButton1NormalImage(LPCWSTR image) {
    SetImage(m_button1Images.normal, image);
}
LPCWSTR CScrollBarUI::GetButton1HotImage() const {
    return m_button1Images.hot;
}
void CScrollBarUI::SetButton1HotImage(LPCWSTR image) {
    SetImage(m_button1Images.hot, image);
}
LPCWSTR CScrollBarUI::GetButton1PushedImage() const {
    return m_button1Images.pushed;
}
void CScrollBarUI::SetButton1PushedImage(LPCWSTR image) {
    SetImage(m_button1Images.pushed, image);
}
LPCWSTR CScrollBarUI::GetButton1DisabledImage() const {
    return m_button1Images.disabled;
}
void CScrollBarUI::SetButton1DisabledImage(LPCWSTR image) {
    SetImage(m_button1Images.disabled, image);
}

LPCWSTR CScrollBarUI::GetButton2NormalImage() const {
    return m_button2Images.normal;
}
void CScrollBarUI::SetButton2NormalImage(LPCWSTR image) {
    SetImage(m_button2Images.normal, image);
}
LPCWSTR CScrollBarUI::GetButton2HotImage() const {
    return m_button2Images.hot;
}
void CScrollBarUI::SetButton2HotImage(LPCWSTR image) {
    SetImage(m_button2Images.hot, image);
}
LPCWSTR CScrollBarUI::GetButton2PushedImage() const {
    return m_button2Images.pushed;
}
void CScrollBarUI::SetButton2PushedImage(LPCWSTR image) {
    SetImage(m_button2Images.pushed, image);
}
LPCWSTR CScrollBarUI::GetButton2DisabledImage() const {
    return m_button2Images.disabled;
}
void CScrollBarUI::SetButton2DisabledImage(LPCWSTR image) {
    SetImage(m_button2Images.disabled, image);
}

LPCWSTR CScrollBarUI::GetThumbNormalImage() const {
    return m_thumbImages.normal;
}
void CScrollBarUI::SetThumbNormalImage(LPCWSTR image) {
    SetImage(m_thumbImages.normal, image);
}
LPCWSTR CScrollBarUI::GetThumbHotImage() const {
    return m_thumbImages.hot;
}
void CScrollBarUI::SetThumbHotImage(LPCWSTR image) {
    SetImage(m_thumbImages.hot, image);
}
LPCWSTR CScrollBarUI::GetThumbPushedImage() const {
    return m_thumbImages.pushed;
}
void CScrollBarUI::SetThumbPushedImage(LPCWSTR image) {
    SetImage(m_thumbImages.pushed, image);
}
LPCWSTR CScrollBarUI::GetThumbDisabledImage() const {
    return m_thumbImages.disabled;
}
void CScrollBarUI::SetThumbDisabledImage(LPCWSTR image) {
    SetImage(m_thumbImages.disabled, image);
}

LPCWSTR CScrollBarUI::GetRailNormalImage() const {
    return m_railImages.normal;
}
void CScrollBarUI::SetRailNormalImage(LPCWSTR image) {
    SetImage(m_railImages.normal, image);
}
LPCWSTR CScrollBarUI::GetRailHotImage() const {
    return m_railImages.hot;
}
void CScrollBarUI::SetRailHotImage(LPCWSTR image) {
    SetImage(m_railImages.hot, image);
}
LPCWSTR CScrollBarUI::GetRailPushedImage() const {
    return m_railImages.pushed;
}
void CScrollBarUI::SetRailPushedImage(LPCWSTR image) {
    SetImage(m_railImages.pushed, image);
}
LPCWSTR CScrollBarUI::GetRailDisabledImage() const {
    return m_railImages.disabled;
}
void CScrollBarUI::SetRailDisabledImage(LPCWSTR image) {
    SetImage(m_railImages.disabled, image);
}

LPCWSTR CScrollBarUI::GetBkNormalImage() const {
    return m_bkImages.normal;
}
void CScrollBarUI::SetBkNormalImage(LPCWSTR image) {
    SetImage(m_bkImages.normal, image);
}
LPCWSTR CScrollBarUI::GetBkHotImage() const {
    return m_bkImages.hot;
}
void CScrollBarUI::SetBkHotImage(LPCWSTR image) {
    SetImage(m_bkImages.hot, image);
}
LPCWSTR CScrollBarUI::GetBkPushedImage() const {
    return m_bkImages.pushed;
}
void CScrollBarUI::SetBkPushedImage(LPCWSTR image) {
    SetImage(m_bkImages.pushed, image);
}
LPCWSTR CScrollBarUI::GetBkDisabledImage() const {
    return m_bkImages.disabled;
}
void CScrollBarUI::SetBkDisabledImage(LPCWSTR image) {
    SetImage(m_bkImages.disabled, image);
}

} // namespace SkinUI
