#include <windows.h>

#include "ui/controls/ScrollBarUI.h"

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/controls/ControlStateUI.h"

namespace SkinUI {

namespace {

// Drawn around a button or the thumb that has no image, so that an unskinned
// bar is still usable.
const DWORD kFallbackOutlineColor = 0xFF85E4FF;
const int kFallbackOutlineSize = 2;

void RefreshDisabled(UINT& state, bool enabled) {
    if (enabled) {
        state &= ~CScrollBarUI::kStateDisabled;
    } else {
        state |= CScrollBarUI::kStateDisabled;
    }
}

} // namespace

void CScrollBarUI::Paint(HDC hDC, const RECT& rcPaint) {
    RECT paint = {};
    if (!::IntersectRect(&paint, &rcPaint, &m_rcItem)) {
        return;
    }
    m_rcPaint = paint;
    PaintBackground(hDC);
    if (m_bShowButton1) {
        PaintPart(hDC, m_rcButton1, m_uButton1State, m_button1Images);
    }
    if (m_bShowButton2) {
        PaintPart(hDC, m_rcButton2, m_uButton2State, m_button2Images);
    }
    if (m_rcThumb.IsNull()) {
        return;
    }
    PaintPart(hDC, m_rcThumb, m_uThumbState, m_thumbImages);
    PaintRail(hDC);
}

void CScrollBarUI::PaintBackground(HDC hDC) {
    RefreshDisabled(m_uThumbState, IsEnabled());
    DrawState(hDC, m_uThumbState, m_bkImages, nullptr);
}

void CScrollBarUI::PaintPart(HDC hDC, const RECT& rcPart, UINT& state, StateImages& images) {
    RefreshDisabled(state, IsEnabled());
    SetModifier(rcPart);
    if (!DrawState(hDC, state, images, m_sImageModify)) {
        CRendererUI::DrawRect(hDC, rcPart, kFallbackOutlineSize, kFallbackOutlineColor);
    }
}

// A square grip of the bar's thickness, centred on the thumb.
void CScrollBarUI::PaintRail(HDC hDC) {
    const int s = Thickness();
    RECT rail = m_rcThumb;
    if (m_bHorizontal) {
        const int middle = (m_rcThumb.left + m_rcThumb.right) / 2;
        rail.left = middle - s / 2;
        rail.right = rail.left + s;
    } else {
        const int middle = (m_rcThumb.top + m_rcThumb.bottom) / 2;
        rail.top = middle - s / 2;
        rail.bottom = rail.top + s;
    }
    SetModifier(rail);
    DrawState(hDC, m_uThumbState, m_railImages, m_sImageModify);
}

void CScrollBarUI::SetModifier(const RECT& rcPart) {
    m_sImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", rcPart.left - m_rcItem.left,
                               rcPart.top - m_rcItem.top, rcPart.right - m_rcItem.left,
                               rcPart.bottom - m_rcItem.top);
}

// The disabled, else pushed, else hot image by the state; the normal one
// when that state has no image or it could not be drawn.
bool CScrollBarUI::DrawState(HDC hDC, UINT state, StateImages& images, LPCWSTR modify) {
    CUIString* stateImage = nullptr;
    if ((state & kStateDisabled) != 0) {
        stateImage = &images.disabled;
    } else if ((state & kStatePushed) != 0) {
        stateImage = &images.pushed;
    } else if ((state & kStateHot) != 0) {
        stateImage = &images.hot;
    }
    if (stateImage != nullptr && DrawOne(hDC, *stateImage, modify)) {
        return true;
    }
    return DrawOne(hDC, images.normal, modify);
}

bool CScrollBarUI::DrawOne(HDC hDC, CUIString& image, LPCWSTR modify) {
    return DrawStateImage(*this, hDC, image, modify);
}

} // namespace SkinUI
