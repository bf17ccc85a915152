#include <windows.h>

#include "ui/controls/ListHeaderUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/controls/LinearLayoutMath.h"

#include <algorithm>
#include <cwchar>

namespace SkinUI {

CListHeaderUI::CListHeaderUI() = default;

CListHeaderUI::~CListHeaderUI() = default;

LPCWSTR CListHeaderUI::GetClass() const {
    return L"ListHeaderUI";
}

LPVOID CListHeaderUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ListHeader") == 0) {
        return static_cast<CListHeaderUI*>(this);
    }
    return CHorizontalLayoutUI::QueryInterfaceByName(name);
}

SIZE CListHeaderUI::MeasureDesiredSize(SIZE szAvailable) {
    long long width = 0;
    long long height = m_cxyFixed.cy;
    const bool measureHeight = height == 0 && m_pManager != nullptr;
    if (measureHeight) {
        height = m_pManager->GetDefaultFontInfo()->tm.tmHeight + 6;
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        const SIZE item =
            static_cast<CControlUI*>(m_items.GetAt(i))->MeasureDesiredSize(szAvailable);
        width += item.cx;
        if (measureHeight) {
            height = std::max<long long>(height, item.cy);
        }
    }
    return LayoutMath::MakeSize(width, height);
}

} // namespace SkinUI
