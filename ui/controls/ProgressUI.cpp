#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/controls/ProgressUI.h"

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

CProgressUI::CProgressUI()
    : m_bHorizontal(true), m_bStretchForeImage(true), m_nMax(100), m_nMin(0), m_nValue(0) {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    SetFixedHeight(12);
}

CProgressUI::~CProgressUI() = default;

LPCWSTR CProgressUI::GetClass() const {
    return L"ProgressUI";
}

LPVOID CProgressUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Progress") == 0) {
        return this;
    }
    return CLabelUI::QueryInterfaceByName(name);
}

void CProgressUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"foreimage")) {
        SetForeImage(value);
    } else if (Is(name, L"hor")) {
        SetHorizontal(ParseBoolValue(value));
    } else if (Is(name, L"min")) {
        SetMinValue(ParseDecimalValue(value));
    } else if (Is(name, L"max")) {
        SetMaxValue(ParseDecimalValue(value));
    } else if (Is(name, L"value")) {
        SetValue(ParseDecimalValue(value));
    } else if (Is(name, L"isstretchfore")) {
        SetStretchForeImage(ParseBoolValue(value));
    } else {
        CLabelUI::ApplyAttribute(name, value);
    }
}

void CProgressUI::NormalizeRange() {
    if (m_nMax <= m_nMin) {
        // The maximum must lie above the minimum, and minimum + 1 must exist.
        if (m_nMin == INT_MAX) {
            m_nMin = INT_MAX - 1;
        }
        m_nMax = m_nMin + 1;
    }
    m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
}

RECT CProgressUI::GetCoveredRect() const {
    const int64_t width = static_cast<int64_t>(m_rcItem.right) - m_rcItem.left;
    const int64_t height = static_cast<int64_t>(m_rcItem.bottom) - m_rcItem.top;
    const int64_t span = static_cast<int64_t>(m_nMax) - m_nMin;
    if (span <= 0) {
        return m_bHorizontal
                   ? RECT{0, 0, 0, SaturateToInt(height)}
                   : RECT{0, SaturateToInt(height), SaturateToInt(width), SaturateToInt(height)};
    }
    const int value = std::clamp(m_nValue, m_nMin, m_nMax);
    if (m_bHorizontal) {
        const int64_t covered = MulDivTowardZero(width, static_cast<int64_t>(value) - m_nMin, span);
        return RECT{0, 0, SaturateToInt(covered), SaturateToInt(height)};
    }
    const int64_t top = MulDivTowardZero(static_cast<int64_t>(m_nMax) - value, height, span);
    return RECT{0, SaturateToInt(top), SaturateToInt(width), SaturateToInt(height)};
}

void CProgressUI::PaintStateImages(HDC hDC) {
    NormalizeRange();
    if (m_pManager == nullptr || hDC == nullptr || m_sForeImage.IsEmpty()) {
        return;
    }
    const RECT rc = GetCoveredRect();
    if (m_bStretchForeImage) {
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom);
    } else {
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", rc.left, rc.top,
                                  rc.right, rc.bottom, rc.left, rc.top, rc.right, rc.bottom);
    }
    if (!DrawImage(hDC, m_sForeImage, m_sForeImageModify)) {
        m_sForeImage.Empty();
    }
}

// ---- Properties --------------------------------------------------------------------

bool CProgressUI::IsHorizontal() const {
    return m_bHorizontal;
}

void CProgressUI::SetHorizontal(bool horizontal) {
    if (m_bHorizontal == horizontal) {
        return;
    }
    m_bHorizontal = horizontal;
    Invalidate();
}

bool CProgressUI::IsStretchForeImage() const {
    return m_bStretchForeImage;
}

void CProgressUI::SetStretchForeImage(bool stretch) {
    if (m_bStretchForeImage == stretch) {
        return;
    }
    m_bStretchForeImage = stretch;
    Invalidate();
}

int CProgressUI::GetMinValue() const {
    return m_nMin;
}

void CProgressUI::SetMinValue(int min) {
    m_nMin = min;
    Invalidate();
}

int CProgressUI::GetMaxValue() const {
    return m_nMax;
}

void CProgressUI::SetMaxValue(int max) {
    m_nMax = max;
    Invalidate();
}

int CProgressUI::GetValue() const {
    return m_nValue;
}

void CProgressUI::SetValue(int value) {
    m_nValue = value;
    Invalidate();
}

LPCWSTR CProgressUI::GetForeImage() const {
    return m_sForeImage;
}

void CProgressUI::SetForeImage(LPCWSTR image) {
    if (m_sForeImage == (image != nullptr ? image : L"")) {
        return;
    }
    m_sForeImage = image;
    Invalidate();
}

} // namespace SkinUI
