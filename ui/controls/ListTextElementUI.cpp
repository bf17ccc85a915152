#include <windows.h>

#include "ui/controls/ListTextElementUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/RendererUI.h"

#include <cwchar>

namespace SkinUI {

CListTextElementUI::CListTextElementUI()
    : m_nLinks(0), m_rcLinks(), m_nHoverLink(-1), m_pListOwner(nullptr) {}

CListTextElementUI::~CListTextElementUI() {
    for (int i = 0; i < m_aTexts.GetSize(); ++i) {
        delete static_cast<CUIString*>(m_aTexts.GetAt(i));
    }
}

LPCWSTR CListTextElementUI::GetClass() const {
    return L"ListTextElementUI";
}

LPVOID CListTextElementUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ListTextElement") == 0) {
        return static_cast<CListTextElementUI*>(this);
    }
    return CListLabelElementUI::QueryInterfaceByName(name);
}

UINT CListTextElementUI::GetControlFlags() const {
    UINT flags = CListItemCoreUI::kItemControlFlag;
    if (IsEnabled() && m_nLinks > 0) {
        flags |= UIFLAG_SETCURSOR;
    }
    return flags;
}

void CListTextElementUI::HandleEvent(TInputEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event)) {
        if (m_pListOwner != nullptr) {
            m_pListOwner->HandleEvent(event);
        } else {
            CListLabelElementUI::HandleEvent(event);
        }
        return;
    }
    if (!HandleLinkEvent(event)) {
        CListLabelElementUI::HandleEvent(event);
    }
}

bool CListTextElementUI::HandleLinkEvent(const TInputEventUI& event) {
    if (event.Type == UIEVENT_SETCURSOR && LinkAt(event.ptMouse) >= 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return true;
    }
    if (event.Type == UIEVENT_BUTTONUP && IsEnabled()) {
        const int link = LinkAt(event.ptMouse);
        if (link >= 0) {
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(link));
            }
            return true;
        }
    }
    if (m_nLinks > 0 && event.Type == UIEVENT_MOUSEMOVE) {
        const int link = LinkAt(event.ptMouse);
        if (link != m_nHoverLink) {
            InvalidateVisiblePart();
            m_nHoverLink = link;
        }
    }
    if (m_nLinks > 0 && event.Type == UIEVENT_MOUSELEAVE && m_nHoverLink >= 0) {
        InvalidateVisiblePart();
        m_nHoverLink = -1;
    }
    return false;
}

int CListTextElementUI::LinkAt(POINT pt) const {
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) {
            return i;
        }
    }
    return -1;
}

SIZE CListTextElementUI::MeasureDesiredSize(SIZE /*szAvailable*/) {
    SIZE size = m_cxyFixed;
    if (size.cy == 0 && m_pManager != nullptr && m_pListOwner != nullptr) {
        size.cy = ListRowHeight(*m_pManager, *m_pListOwner->GetListLook());
    }
    return size;
}

void CListTextElementUI::SetOwner(CControlUI* owner) {
    CListLabelElementUI::SetOwner(owner);
    m_pListOwner =
        owner != nullptr ? static_cast<IListUI*>(owner->QueryInterfaceByName(L"IList")) : nullptr;
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
    if (m_pListOwner == nullptr) {
        return;
    }
    TListLookUI& look = *m_pListOwner->GetListLook();
    const DWORD color = m_item.TextColor(*this, look);
    IListTextCallbackUI* callback = m_pListOwner->GetTextCallback();
    const RECT& pad = look.rcTextPadding;
    const int columns = look.nColumns < kMaxListColumns ? look.nColumns : kMaxListColumns;
    m_nLinks = 0;
    for (int i = 0; i < columns; ++i) {
        RECT rc = LessPadding(
            RECT{look.rcColumn[i].left, rcItem.top, look.rcColumn[i].right, rcItem.bottom}, pad);
        LPCWSTR text =
            callback != nullptr ? callback->GetItemText(this, GetIndex(), i) : GetColumnText(i);
        if (text == nullptr) {
            text = L"";
        }
        if (look.bShowHtml) {
            int links = kMaxLinks - m_nLinks;
            CRendererUI::DrawMarkupText(hDC, m_pManager, rc, text, color, &m_rcLinks[m_nLinks],
                                        &m_sLinks[m_nLinks], links,
                                        look.uTextStyle | DT_SINGLELINE);
            m_nLinks += links;
        } else {
            CRendererUI::DrawText(hDC, m_pManager, rc, text, color, look.nFont,
                                  look.uTextStyle | DT_SINGLELINE);
        }
    }
    for (int i = m_nLinks; i < kMaxLinks; ++i) {
        m_rcLinks[i] = RECT{};
        m_sLinks[i].Empty();
    }
}

LPCWSTR CListTextElementUI::GetColumnText(int column) const {
    const auto* text = static_cast<const CUIString*>(m_aTexts.GetAt(column));
    return text != nullptr ? text->GetData() : nullptr;
}

bool CListTextElementUI::SetColumnText(int column, LPCWSTR text) {
    if (column < 0 || column >= kMaxListColumns) {
        return false;
    }
    while (m_aTexts.GetSize() <= column) {
        auto* empty = new CUIString();
        if (!m_aTexts.Add(empty)) {
            delete empty;
            return false;
        }
    }
    *static_cast<CUIString*>(m_aTexts.GetAt(column)) = text != nullptr ? text : L"";
    InvalidateVisiblePart();
    return true;
}

int CListTextElementUI::GetLinkCount() const {
    return m_nLinks;
}

const RECT& CListTextElementUI::GetLinkRect(int link) const {
    static const RECT kNone = {};
    return link >= 0 && link < m_nLinks ? m_rcLinks[link] : kNone;
}

LPCWSTR CListTextElementUI::GetLinkName(int link) const {
    return link >= 0 && link < m_nLinks ? m_sLinks[link].GetData() : L"";
}

} // namespace SkinUI
