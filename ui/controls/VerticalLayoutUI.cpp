#include <windows.h>

#include "ui/controls/VerticalLayoutUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/LinearLayout.h"

#include <cwchar>

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : m_splitter(true) {}

CVerticalLayoutUI::~CVerticalLayoutUI() {
    m_splitter.Abandon(*this);
}

LPCWSTR CVerticalLayoutUI::GetClass() const {
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"VerticalLayout") == 0) {
        return static_cast<CVerticalLayoutUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const {
    return (IsEnabled() && m_splitter.GetSize() != 0) ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CVerticalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    LayoutMath::ArrangeLine(*this, true);
}

void CVerticalLayoutUI::HandleEvent(TInputEventUI& event) {
    if (!m_splitter.HandleEvent(*this, m_rcItem, event)) {
        CContainerUI::HandleEvent(event);
    }
}

void CVerticalLayoutUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"sepheight") == 0) {
        SetSepHeight(ParseDecimalValue(value));
    } else if (name != nullptr && std::wcscmp(name, L"sepimm") == 0) {
        SetSepImmMode(ParseBoolValue(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CVerticalLayoutUI::PaintOverlay(HDC hDC, const RECT& /*rcPaint*/) {
    m_splitter.PaintOverlay(hDC, m_rcItem);
}

void CVerticalLayoutUI::SetSepHeight(int height) {
    m_splitter.SetSize(height);
}

int CVerticalLayoutUI::GetSepHeight() const {
    return m_splitter.GetSize();
}

void CVerticalLayoutUI::SetSepImmMode(bool immediate) {
    m_splitter.SetImmediate(*this, immediate);
}

bool CVerticalLayoutUI::IsSepImmMode() const {
    return m_splitter.IsImmediate();
}

RECT CVerticalLayoutUI::GetThumbRect(bool useNewPos) const {
    return m_splitter.GetThumbRect(m_rcItem, useNewPos);
}

} // namespace SkinUI
