#include <windows.h>

#include "ui/controls/RichEditUI.h"

#include "ui/ClipRegionUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TextHost.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

namespace {

bool Meets(const RECT& a, const RECT& b) {
    RECT tmp = {};
    return ::IntersectRect(&tmp, &a, &b) != FALSE;
}

bool Shown(const CScrollBarUI* bar) {
    return bar != nullptr && bar->IsVisible();
}

// WM_VSCROLL and WM_HSCROLL carry a position of 16 bits.
const int kMaxThumbPosition = 0xFFFF;

} // namespace

// ---- Layout ------------------------------------------------------------------------------

RECT CRichEditUI::TextRect() const {
    RECT rc = GetInsetRect();
    if (Shown(m_pVerticalScrollBar)) {
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    }
    if (Shown(m_pHorizontalScrollBar)) {
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    }
    if (rc.right < rc.left) {
        rc.right = rc.left;
    }
    if (rc.bottom < rc.top) {
        rc.bottom = rc.top;
    }
    return rc;
}

LONG CRichEditUI::NaturalHeight(LONG width) const {
    ITextServices* services = m_pTwh->GetTextServices();
    if (services == nullptr || m_pManager == nullptr) {
        return 0;
    }
    LONG height = 0;
    SIZEL extent = {-1, -1};
    services->TxGetNaturalSize(DVASPECT_CONTENT, m_pManager->GetPaintDC(), nullptr, nullptr,
                               TXTNS_FITTOCONTENT, &extent, &width, &height);
    return height;
}

void CRichEditUI::LayoutText(RECT& rcText) {
    const bool vertical = Shown(m_pVerticalScrollBar);
    if (!vertical) {
        // The bar the rule kept has gone meanwhile (the engine hid it when
        // the text shrank): nothing is kept any more, or every paint would
        // ask for another layout.
        m_bVScrollBarFixing = false;
    }
    m_pTwh->SetClientRect(&rcText);
    if (vertical && (!m_pVerticalScrollBar->IsVisible() || m_bVScrollBarFixing)) {
        // The engine hid the bar at the narrower width: keep it while the
        // content is taller than the view at the width with the bar.
        const LONG width = rcText.right - rcText.left + m_pVerticalScrollBar->GetFixedWidth();
        if (NaturalHeight(width) > rcText.bottom - rcText.top) {
            m_pVerticalScrollBar->SetVisible(true);
            m_pVerticalScrollBar->SetScrollPos(0);
            m_bVScrollBarFixing = true;
        } else if (m_bVScrollBarFixing) {
            m_pVerticalScrollBar->SetVisible(false);
            m_bVScrollBarFixing = false;
        }
    } else if (vertical &&
               NaturalHeight(rcText.right - rcText.left) <= rcText.bottom - rcText.top) {
        // Nothing to scroll (a range the engine set against an earlier view
        // size may linger): the bar would be all thumb. The engine shows it
        // again when the text outgrows the view.
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
        m_pVerticalScrollBar->SetVisible(false);
    }
}

void CRichEditUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    if (IsVisible() && !::IsRectEmpty(&m_rcItem)) {
        StartEngine();
    }
    RECT rcText = TextRect();
    if (m_pTwh != nullptr) {
        m_bInSetPos = true;
        LayoutText(rcText);
        // A bar that the engine showed or hid meanwhile changes the text
        // rectangle once more; one more pass settles it.
        const RECT again = TextRect();
        if (!::EqualRect(&again, &rcText)) {
            rcText = again;
            LayoutText(rcText);
            rcText = TextRect();
        }
        m_bInSetPos = false;
    }
    PlaceChildren(rcText);
}

void CRichEditUI::PlaceChildren(const RECT& rcText) {
    if (Shown(m_pVerticalScrollBar)) {
        m_pVerticalScrollBar->SetPos(RECT{rcText.right, rcText.top,
                                          rcText.right + m_pVerticalScrollBar->GetFixedWidth(),
                                          rcText.bottom});
    }
    if (Shown(m_pHorizontalScrollBar)) {
        m_pHorizontalScrollBar->SetPos(
            RECT{rcText.left, rcText.bottom, rcText.right,
                 rcText.bottom + m_pHorizontalScrollBar->GetFixedHeight()});
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
        } else {
            child->SetPos(rcText);
        }
    }
}

// ---- Painting ----------------------------------------------------------------------------

void CRichEditUI::Paint(HDC hDC, const RECT& rcPaint) {
    RECT visible = {};
    if (!::IntersectRect(&visible, &rcPaint, &m_rcItem)) {
        return;
    }
    CClipRegionUI clip;
    CClipRegionUI::ClipToRect(hDC, visible, clip);
    CControlUI::Paint(hDC, rcPaint);
    if (m_pTwh != nullptr && m_pTwh->GetTextServices() != nullptr) {
        RECT rcClient = m_pTwh->GetControlRect();
        RECT rcUpdate = rcPaint;
        m_pTwh->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr,
                                          reinterpret_cast<LPCRECTL>(&rcClient), nullptr, &rcUpdate,
                                          nullptr, 0, TXTVIEW_ACTIVE);
        if (m_bVScrollBarFixing && m_pVerticalScrollBar != nullptr) {
            const LONG width =
                rcClient.right - rcClient.left + m_pVerticalScrollBar->GetFixedWidth();
            if (NaturalHeight(width) <= rcClient.bottom - rcClient.top) {
                MarkNeedsUpdate();
            }
        }
    }
    PaintChildren(hDC, rcPaint);
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (Shown(bar) && Meets(rcPaint, bar->GetPos())) {
            bar->Paint(hDC, rcPaint);
        }
    }
}

// ---- Scrolling ---------------------------------------------------------------------------

void CRichEditUI::SendScroll(UINT msg, WORD code, int pos) {
    TxSendMessage(msg, MAKEWPARAM(code, static_cast<WORD>(pos)), 0, nullptr);
}

void CRichEditUI::ScrollTo(bool vertical, int pos) {
    // A position past what the message carries would wrap round to the top;
    // the platform's engine keeps its ranges within it anyway.
    if (pos > kMaxThumbPosition) {
        pos = kMaxThumbPosition;
    }
    SendScroll(vertical ? WM_VSCROLL : WM_HSCROLL, SB_THUMBPOSITION, pos < 0 ? 0 : pos);
}

void CRichEditUI::SetScrollPos(SIZE szPos) {
    const int oldV = Shown(m_pVerticalScrollBar) ? m_pVerticalScrollBar->GetScrollPos() : 0;
    const int oldH = Shown(m_pHorizontalScrollBar) ? m_pHorizontalScrollBar->GetScrollPos() : 0;
    CContainerUI::SetScrollPos(szPos);
    if (m_pTwh == nullptr) {
        return;
    }
    if (Shown(m_pVerticalScrollBar)) {
        const int newV = m_pVerticalScrollBar->GetScrollPos();
        if (newV != oldV) {
            ScrollTo(true, newV);
            if (!m_bRich && newV > oldV && m_pVerticalScrollBar->GetScrollPos() <= newV) {
                m_pVerticalScrollBar->SetScrollPos(newV);
            }
        }
    }
    if (Shown(m_pHorizontalScrollBar)) {
        const int newH = m_pHorizontalScrollBar->GetScrollPos();
        if (newH != oldH) {
            ScrollTo(false, newH);
        }
    }
}

void CRichEditUI::LineUp() {
    SendScroll(WM_VSCROLL, SB_LINEUP);
}

void CRichEditUI::LineDown() {
    const bool plainWithBar = !m_bRich && m_pTwh != nullptr && Shown(m_pVerticalScrollBar);
    const int before = plainWithBar ? m_pVerticalScrollBar->GetScrollPos() : 0;
    SendScroll(WM_VSCROLL, SB_LINEDOWN);
    if (plainWithBar && m_pVerticalScrollBar->GetScrollPos() <= before) {
        m_pVerticalScrollBar->SetScrollPos(m_pVerticalScrollBar->GetScrollRange());
    }
}

void CRichEditUI::PageUp() {
    SendScroll(WM_VSCROLL, SB_PAGEUP);
}

void CRichEditUI::PageDown() {
    SendScroll(WM_VSCROLL, SB_PAGEDOWN);
}

void CRichEditUI::HomeUp() {
    SendScroll(WM_VSCROLL, SB_TOP);
}

void CRichEditUI::EndDown() {
    SendScroll(WM_VSCROLL, SB_BOTTOM);
}

void CRichEditUI::LineLeft() {
    SendScroll(WM_HSCROLL, SB_LINELEFT);
}

void CRichEditUI::LineRight() {
    SendScroll(WM_HSCROLL, SB_LINERIGHT);
}

void CRichEditUI::PageLeft() {
    SendScroll(WM_HSCROLL, SB_PAGELEFT);
}

void CRichEditUI::PageRight() {
    SendScroll(WM_HSCROLL, SB_PAGERIGHT);
}

void CRichEditUI::HomeLeft() {
    SendScroll(WM_HSCROLL, SB_LEFT);
}

void CRichEditUI::EndRight() {
    SendScroll(WM_HSCROLL, SB_RIGHT);
}

} // namespace SkinUI
