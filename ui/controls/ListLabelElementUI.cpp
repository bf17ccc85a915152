#include <windows.h>

#include "ui/controls/ListLabelElementUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/RendererUI.h"
#include "ui/controls/LinearLayoutMath.h"

#include <cwchar>

namespace SkinUI {

namespace {

// A text far wider than any row is measured in this box.
const int kMeasureWidth = 9999;

} // namespace

CListLabelElementUI::CListLabelElementUI() = default;

CListLabelElementUI::~CListLabelElementUI() = default;

LPCWSTR CListLabelElementUI::GetClass() const {
    return L"ListLabelElementUI";
}

LPVOID CListLabelElementUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ListLabelElement") == 0) {
        return static_cast<CListLabelElementUI*>(this);
    }
    return CListElementUI::QueryInterfaceByName(name);
}

void CListLabelElementUI::HandleEvent(TInputEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event)) {
        CListElementUI::HandleEvent(event);
        return;
    }
    if (!m_item.HandlePointer(*this, *this, event)) {
        CListElementUI::HandleEvent(event);
    }
}

SIZE CListLabelElementUI::MeasureDesiredSize(SIZE /*szAvailable*/) {
    IListOwnerUI* owner = GetOwner();
    TListLookUI* look = owner != nullptr ? owner->GetListLook() : nullptr;
    if (look == nullptr) {
        return SIZE{0, 0};
    }
    SIZE size = m_cxyFixed;
    if (m_pManager == nullptr) {
        return size;
    }
    if (size.cy == 0) {
        size.cy = ListRowHeight(*m_pManager, *look);
    }
    // Without a paint device context (no window yet) a text has no width.
    if (size.cx == 0 && m_pManager->GetPaintDC() != nullptr) {
        RECT rc = {0, 0, kMeasureWidth, size.cy};
        const UINT style =
            (look->uTextStyle & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT | DT_SINGLELINE;
        if (look->bShowHtml) {
            int links = 0;
            CRendererUI::DrawMarkupText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0,
                                        nullptr, nullptr, links, style);
        } else {
            CRendererUI::DrawText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0, look->nFont,
                                  style);
        }
        size.cx = SaturateToInt(static_cast<long long>(rc.right) - rc.left +
                                look->rcTextPadding.left + look->rcTextPadding.right);
    }
    return size;
}

void CListLabelElementUI::Paint(HDC hDC, const RECT& rcPaint) {
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
    IListOwnerUI* owner = GetOwner();
    TListLookUI* look = owner != nullptr ? owner->GetListLook() : nullptr;
    if (m_sText.IsEmpty() || look == nullptr) {
        return;
    }
    RECT rc = LessPadding(rcItem, look->rcTextPadding);
    const DWORD color = m_item.TextColor(*this, *look);
    if (look->bShowHtml) {
        int links = 0;
        CRendererUI::DrawMarkupText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, links,
                                    look->uTextStyle | DT_SINGLELINE);
    } else {
        CRendererUI::DrawText(hDC, m_pManager, rc, m_sText, color, look->nFont,
                              look->uTextStyle | DT_SINGLELINE);
    }
}

} // namespace SkinUI
