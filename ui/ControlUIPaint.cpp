#include <windows.h>

#include "ui/ControlUI.h"

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

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
    // An opaque background image over the whole control hides any colour.
    if (!m_sBkImage.IsEmpty() && m_pManager != nullptr &&
        CRendererUI::ImageDescriptionCovers(m_pManager, m_rcItem, m_sBkImage)) {
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
    // Without a manager no image can be had yet; the description stays for
    // the paints after the control is attached.
    if (m_sBkImage.IsEmpty() || m_pManager == nullptr) {
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
    // A colour of 0 is no colour: a pen would draw it black.
    const bool focusFrame = IsFocused() && m_dwFocusBorderColor != 0;
    const DWORD border = m_dwBorderColor;
    if (m_nBorderSize > 0 && (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0)) {
        const DWORD color = focusFrame ? m_dwFocusBorderColor : border;
        if (color != 0) {
            CRendererUI::DrawRoundRect(hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx,
                                       m_cxyBorderRound.cy, GetAdjustedColor(color));
        }
        return;
    }
    if (focusFrame && m_nBorderSize >= 1) {
        CRendererUI::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustedColor(m_dwFocusBorderColor));
        return;
    }
    const RECT& sizes = m_rcBorderSize;
    if (sizes.left > 0 || sizes.top > 0 || sizes.right > 0 || sizes.bottom > 0) {
        if (border != 0) {
            PaintSideLines(hDC, GetAdjustedColor(border));
        }
        return;
    }
    if (m_nBorderSize >= 1 && border != 0) {
        CRendererUI::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustedColor(border));
    }
}

void CControlUI::PaintSideLines(HDC hDC, DWORD color) {
    const RECT& r = m_rcItem;
    const RECT& sizes = m_rcBorderSize;
    if (sizes.left > 0) {
        CRendererUI::DrawLine(hDC, RECT{r.left, r.top, r.left, r.bottom}, sizes.left, color,
                              m_nBorderStyle);
    }
    if (sizes.top > 0) {
        CRendererUI::DrawLine(hDC, RECT{r.left, r.top, r.right, r.top}, sizes.top, color,
                              m_nBorderStyle);
    }
    if (sizes.right > 0) {
        CRendererUI::DrawLine(hDC, RECT{r.right, r.top, r.right, r.bottom}, sizes.right, color,
                              m_nBorderStyle);
    }
    if (sizes.bottom > 0) {
        CRendererUI::DrawLine(hDC, RECT{r.left, r.bottom, r.right, r.bottom}, sizes.bottom, color,
                              m_nBorderStyle);
    }
}

void CControlUI::PaintOverlay(HDC hDC, const RECT& rcPaint) {
    (void)hDC;
    (void)rcPaint;
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

} // namespace SkinUI
