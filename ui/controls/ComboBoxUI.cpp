#include <windows.h>

#include "ui/controls/ComboBoxUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/ControlStateUI.h"
#include "ui/controls/LinearLayoutMath.h"
#include "ui/controls/ListItemCoreUI.h"

#include <cwchar>
#include <string>

namespace SkinUI {

namespace {

enum { kArrowPictures = 5 };

int ArrowPicture(UINT state) {
    if ((state & UISTATE_DISABLED) != 0) {
        return 4;
    }
    if ((state & UISTATE_PUSHED) != 0) {
        return 2;
    }
    if ((state & UISTATE_HOT) != 0) {
        return 1;
    }
    return (state & UISTATE_FOCUSED) != 0 ? 3 : 0;
}

std::wstring RectText(const RECT& rc) {
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
           std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}

} // namespace

CComboBoxUI::CComboBoxUI() : m_nArrowWidth(0) {}

CComboBoxUI::~CComboBoxUI() = default;

LPCWSTR CComboBoxUI::GetClass() const {
    return L"ComboBoxUI";
}

void CComboBoxUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"arrowimage") == 0) {
        SetArrowImage(value);
    } else {
        CComboUI::ApplyAttribute(name, value);
    }
}

void CComboBoxUI::SetArrowImage(LPCWSTR image) {
    m_sArrowImage = image;
    Invalidate();
}

CUIString CComboBoxUI::ArrowModifier(int picture) {
    std::wstring text = m_sArrowImage.GetData();
    const size_t source = text.find(L"source");
    // A description that ends before its quotes has none to find.
    if (source == std::wstring::npos || source + 7 > text.size()) {
        return CUIString();
    }
    const size_t open = text.find(L'\'', source + 7);
    const size_t close = open == std::wstring::npos ? open : text.find(L'\'', open + 1);
    if (close == std::wstring::npos) {
        return CUIString();
    }
    int part[4] = {};
    ParseIntListValue(text.c_str() + open + 1, part, 4);
    m_nArrowWidth = SaturateToInt((static_cast<long long>(part[2]) - part[0]) / kArrowPictures);
    const long long left = part[0] + static_cast<long long>(picture) * m_nArrowWidth;
    const RECT from = LayoutMath::MakeRect(left, part[1], left + m_nArrowWidth, part[3]);
    const RECT border = {m_nBorderSize, m_nBorderSize, m_nBorderSize, m_nBorderSize};
    RECT to = LessPadding(RECT{0, 0, GetWidth(), GetHeight()}, border);
    to.left = SaturateToInt(static_cast<long long>(to.right) - m_nArrowWidth);
    text.replace(source, close - source + 1,
                 L"source='" + RectText(from) + L"' dest='" + RectText(to) + L"'");
    return CUIString(text.c_str());
}

void CComboBoxUI::PaintStateImages(HDC hDC) {
    m_nArrowWidth = 0;
    if (m_sArrowImage.IsEmpty()) {
        CComboUI::PaintStateImages(hDC);
        return;
    }
    m_uButtonState = SyncFocusAndEnabledBits(m_uButtonState, *this);
    const CUIString modify = ArrowModifier(ArrowPicture(m_uButtonState));
    if (!modify.IsEmpty()) {
        DrawStateImage(*this, hDC, m_sArrowImage, modify);
    }
}

void CComboBoxUI::PaintText(HDC hDC) {
    RECT rc = GetTextRect();
    rc.right = SaturateToInt(static_cast<long long>(rc.right) - m_nArrowWidth);
    PaintSelected(hDC, rc);
}

} // namespace SkinUI
