#include <windows.h>

#include "ui/controls/TextUI.h"

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"

#include <algorithm>
#include <cwchar>

namespace SkinUI {

CTextUI::CTextUI() : m_nLinks(0), m_rcLinks(), m_nHoverLink(-1) {
    m_rcTextPadding.left = 2;
    m_rcTextPadding.right = 2;
    m_uTextStyle = DT_WORDBREAK;
}

CTextUI::~CTextUI() = default;

LPCWSTR CTextUI::GetClass() const {
    return L"TextUI";
}

LPVOID CTextUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Text") == 0) {
        return this;
    }
    return CLabelUI::QueryInterfaceByName(name);
}

UINT CTextUI::GetControlFlags() const {
    return IsEnabled() && m_nLinks > 0 ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

int CTextUI::LinkAt(POINT pt) const {
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) {
            return i;
        }
    }
    return -1;
}

void CTextUI::HandleEvent(TInputEventUI& event) {
    if (IsIgnoredMouseEvent(event)) {
        if (!PassEventToParent(event)) {
            CLabelUI::HandleEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (m_nLinks > 0 && LinkAt(event.ptMouse) >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && LinkAt(event.ptMouse) >= 0) {
            Invalidate();
            return;
        }
        break;
    case UIEVENT_BUTTONUP:
        if (IsEnabled()) {
            const int link = LinkAt(event.ptMouse);
            if (link >= 0) {
                if (m_pManager != nullptr) {
                    m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(link));
                }
                return;
            }
        }
        break;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEMOVE:
        if (IsEnabled() && m_nLinks > 0) {
            const int hot = LinkAt(event.ptMouse);
            if (hot != m_nHoverLink) {
                m_nHoverLink = hot;
                Invalidate();
                return;
            }
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled() && m_nLinks > 0 && m_nHoverLink != -1) {
            m_nHoverLink = -1;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

SIZE CTextUI::MeasureDesiredSize(SIZE szAvailable) {
    if (m_pManager == nullptr || m_pManager->GetPaintDC() == nullptr) {
        return CControlUI::MeasureDesiredSize(szAvailable);
    }
    RECT rcText = {m_rcTextPadding.left, 0,
                   std::max<LONG>(szAvailable.cx, m_cxyFixed.cx) - m_rcTextPadding.right, 9999};
    if (m_bShowHtml) {
        if (rcText.right <= rcText.left) {
            rcText.right = rcText.left;
            rcText.bottom = rcText.top; // no room: nothing to lay out
        } else {
            int links = 0;
            CRendererUI::DrawMarkupText(m_pManager->GetPaintDC(), m_pManager, rcText, m_sText,
                                        m_dwTextColor, nullptr, nullptr, links,
                                        DT_CALCRECT | m_uTextStyle);
        }
    } else {
        CRendererUI::DrawText(m_pManager->GetPaintDC(), m_pManager, rcText, m_sText, m_dwTextColor,
                              m_iFont, DT_CALCRECT | m_uTextStyle);
    }
    SIZE cXY = {rcText.right - rcText.left + m_rcTextPadding.left + m_rcTextPadding.right,
                rcText.bottom - rcText.top + m_rcTextPadding.top + m_rcTextPadding.bottom};
    if (m_cxyFixed.cy != 0) {
        cXY.cy = m_cxyFixed.cy;
    }
    return cXY;
}

void CTextUI::PaintText(HDC hDC) {
    if (m_sText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    if (m_pManager == nullptr) {
        return;
    }
    ResolveDefaultColors();
    RECT rc = GetTextRect();
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (!m_bShowHtml) {
        // Plain text has no links; stale rectangles must not stay clickable.
        m_nLinks = 0;
        CRendererUI::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont, m_uTextStyle);
        return;
    }
    // The renderer finds the hovered link among the previous paint's links.
    for (int i = m_nLinks; i < MAX_LINK; ++i) {
        ::SetRectEmpty(&m_rcLinks[i]);
    }
    m_nLinks = MAX_LINK;
    CRendererUI::DrawMarkupText(hDC, m_pManager, rc, m_sText, color, m_rcLinks, m_sLinks, m_nLinks,
                                m_uTextStyle);
    if (m_nHoverLink >= m_nLinks) {
        m_nHoverLink = -1;
    }
}

int CTextUI::GetLinkCount() const {
    return m_nLinks;
}

const CUIString* CTextUI::GetLinkContent(int index) const {
    return index >= 0 && index < m_nLinks ? &m_sLinks[index] : nullptr;
}

RECT CTextUI::GetLinkRect(int index) const {
    return index >= 0 && index < m_nLinks ? m_rcLinks[index] : RECT{};
}

int CTextUI::GetHotLink() const {
    return m_nHoverLink;
}

} // namespace SkinUI
