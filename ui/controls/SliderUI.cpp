#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/controls/SliderUI.h"

#include "ui/controls/ControlStateUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/WindowManagerUI.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

CSliderUI::CSliderUI() : m_szThumb(10, 10), m_uButtonState(0), m_nStep(1) {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

CSliderUI::~CSliderUI() = default;

LPCWSTR CSliderUI::GetClass() const {
    return L"SliderUI";
}

LPVOID CSliderUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Slider") == 0) {
        return this;
    }
    return CProgressUI::QueryInterfaceByName(name);
}

UINT CSliderUI::GetControlFlags() const {
    return IsEnabled() ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CSliderUI::SetEnabled(bool enable) {
    CProgressUI::SetEnabled(enable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

RECT CSliderUI::GetThumbRect() const {
    const RECT& rc = m_rcItem;
    const int64_t span = static_cast<int64_t>(m_nMax) - m_nMin;
    // Before the first paint the value may still lie outside the range.
    const int64_t offsetValue =
        span > 0 ? static_cast<int64_t>(std::clamp(m_nValue, m_nMin, m_nMax)) - m_nMin : 0;
    RECT thumb = {};
    if (m_bHorizontal) {
        const int64_t track = static_cast<int64_t>(rc.right) - rc.left - m_szThumb.cx;
        const int64_t move = span > 0 && track > 0 ? MulDivTowardZero(track, offsetValue, span) : 0;
        thumb.left = SaturateToInt(rc.left + move);
        thumb.top = SaturateToInt((static_cast<int64_t>(rc.bottom) + rc.top - m_szThumb.cy) / 2);
    } else {
        const int64_t track = static_cast<int64_t>(rc.bottom) - rc.top - m_szThumb.cy;
        const int64_t move = span > 0 && track > 0 ? MulDivTowardZero(track, offsetValue, span) : 0;
        thumb.left = SaturateToInt((static_cast<int64_t>(rc.right) + rc.left - m_szThumb.cx) / 2);
        thumb.top = SaturateToInt(static_cast<int64_t>(rc.bottom) - move - m_szThumb.cy);
    }
    thumb.right = SaturateToInt(static_cast<int64_t>(thumb.left) + m_szThumb.cx);
    thumb.bottom = SaturateToInt(static_cast<int64_t>(thumb.top) + m_szThumb.cy);
    return thumb;
}

int CSliderUI::ValueAtPoint(POINT pt) const {
    const RECT& rc = m_rcItem;
    const int64_t span = static_cast<int64_t>(m_nMax) - m_nMin;
    if (m_bHorizontal) {
        const int64_t track = static_cast<int64_t>(rc.right) - rc.left - m_szThumb.cx;
        const int64_t half = m_szThumb.cx / 2;
        if (span <= 0 || track <= 0) {
            return m_nValue;
        }
        if (pt.x >= rc.right - half) {
            return m_nMax;
        }
        if (pt.x <= rc.left + half) {
            return m_nMin;
        }
        const int64_t along = static_cast<int64_t>(pt.x) - rc.left - half;
        return SaturateToInt(m_nMin + MulDivTowardZero(along, span, track));
    }
    const int64_t track = static_cast<int64_t>(rc.bottom) - rc.top - m_szThumb.cy;
    const int64_t half = m_szThumb.cy / 2;
    if (span <= 0 || track <= 0) {
        return m_nValue;
    }
    if (pt.y >= rc.bottom - half) {
        return m_nMin;
    }
    if (pt.y <= rc.top + half) {
        return m_nMax;
    }
    const int64_t along = static_cast<int64_t>(rc.bottom) - half - pt.y;
    return SaturateToInt(m_nMin + MulDivTowardZero(span, along, track));
}

int CSliderUI::StoreClampedValue(long long value) {
    const int64_t high = std::max(m_nMin, m_nMax);
    SetValue(static_cast<int>(std::clamp<int64_t>(value, m_nMin, high)));
    return m_nValue;
}

void CSliderUI::NotifyValueChanged() {
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"valuechanged", static_cast<WPARAM>(m_nValue));
    }
}

void CSliderUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CProgressUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            const RECT thumb = GetThumbRect();
            if (::PtInRect(&thumb, event.ptMouse)) {
                m_uButtonState |= UISTATE_CAPTURED;
                // The pressed thumb shows at once, not at the first move.
                Invalidate();
            }
        }
        return;
    case UIEVENT_BUTTONUP:
        m_uButtonState &= ~UISTATE_CAPTURED;
        if (IsEnabled()) {
            StoreClampedValue(ValueAtPoint(event.ptMouse));
            NotifyValueChanged();
        }
        Invalidate();
        return;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_SCROLLWHEEL:
        if (IsEnabled()) {
            const int64_t step = event.wParam == 0 ? m_nStep : -static_cast<int64_t>(m_nStep);
            StoreClampedValue(static_cast<int64_t>(m_nValue) + step);
            NotifyValueChanged();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            if (IsEnabled()) {
                StoreClampedValue(ValueAtPoint(event.ptMouse));
            }
            Invalidate();
        }
        return;
    case UIEVENT_SETCURSOR:
        if (IsEnabled()) {
            const RECT thumb = GetThumbRect();
            if (::PtInRect(&thumb, event.ptMouse)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return;
            }
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
            return;
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

void CSliderUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"thumbimage")) {
        SetThumbImage(value);
    } else if (Is(name, L"thumbhotimage")) {
        SetThumbHotImage(value);
    } else if (Is(name, L"thumbpushedimage")) {
        SetThumbPushedImage(value);
    } else if (Is(name, L"thumbsize")) {
        SetThumbSize(ParseSizeValue(value));
    } else if (Is(name, L"step")) {
        SetChangeStep(ParseDecimalValue(value));
    } else {
        CProgressUI::ApplyAttribute(name, value);
    }
}

void CSliderUI::PaintStateImages(HDC hDC) {
    CProgressUI::PaintStateImages(hDC);
    if (m_pManager == nullptr || hDC == nullptr) {
        return; // drawing would fail and empty every image
    }
    RECT thumb = GetThumbRect();
    ::OffsetRect(&thumb, -m_rcItem.left, -m_rcItem.top);
    m_sThumbImageModify.Format(L"dest='%d,%d,%d,%d'", thumb.left, thumb.top, thumb.right,
                               thumb.bottom);
    if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        if (DrawStateImage(*this, hDC, m_sThumbPushedImage, m_sThumbImageModify)) {
            return;
        }
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        if (DrawStateImage(*this, hDC, m_sThumbHotImage, m_sThumbImageModify)) {
            return;
        }
    }
    DrawStateImage(*this, hDC, m_sThumbImage, m_sThumbImageModify);
}

// ---- Properties --------------------------------------------------------------------

int CSliderUI::GetChangeStep() const {
    return m_nStep;
}

void CSliderUI::SetChangeStep(int step) {
    m_nStep = step;
}

SIZE CSliderUI::GetThumbSize() const {
    return m_szThumb;
}

void CSliderUI::SetThumbSize(SIZE size) {
    m_szThumb = size;
}

LPCWSTR CSliderUI::GetThumbImage() const {
    return m_sThumbImage;
}

void CSliderUI::SetThumbImage(LPCWSTR image) {
    m_sThumbImage = image;
    Invalidate();
}

LPCWSTR CSliderUI::GetThumbHotImage() const {
    return m_sThumbHotImage;
}

void CSliderUI::SetThumbHotImage(LPCWSTR image) {
    m_sThumbHotImage = image;
    Invalidate();
}

LPCWSTR CSliderUI::GetThumbPushedImage() const {
    return m_sThumbPushedImage;
}

void CSliderUI::SetThumbPushedImage(LPCWSTR image) {
    m_sThumbPushedImage = image;
    Invalidate();
}

UINT CSliderUI::GetButtonState() const {
    return m_uButtonState;
}

} // namespace SkinUI
