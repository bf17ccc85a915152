#include <windows.h>

#include "ui/controls/HorizontalLayoutUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/LinearLayout.h"

#include <cwchar>

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : m_splitter(false) {}

CHorizontalLayoutUI::~CHorizontalLayoutUI() {
    m_splitter.Abandon(*this);
}

LPCWSTR CHorizontalLayoutUI::GetClass() const {
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"HorizontalLayout") == 0) {
        return static_cast<CHorizontalLayoutUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const {
    return (IsEnabled() && m_splitter.GetSize() != 0) ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CHorizontalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    LayoutMath::ArrangeLine(*this, false);
}

void CHorizontalLayoutUI::HandleEvent(TInputEventUI& event) {
    if (!m_splitter.HandleEvent(*this, m_rcItem, event)) {
        CContainerUI::HandleEvent(event);
    }
}

void CHorizontalLayoutUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"sepwidth") == 0) {
        SetSepWidth(ParseDecimalValue(value));
    } else if (name != nullptr && std::wcscmp(name, L"sepimm") == 0) {
        SetSepImmMode(ParseBoolValue(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CHorizontalLayoutUI::PaintOverlay(HDC hDC, const RECT& /*rcPaint*/) {
    m_splitter.PaintOverlay(hDC, m_rcItem);
}

void CHorizontalLayoutUI::SetSepWidth(int width) {
    m_splitter.SetSize(width);
}

int CHorizontalLayoutUI::GetSepWidth() const {
    return m_splitter.GetSize();
}

void CHorizontalLayoutUI::SetSepImmMode(bool immediate) {
    m_splitter.SetImmediate(*this, immediate);
}

bool CHorizontalLayoutUI::IsSepImmMode() const {
    return m_splitter.IsImmediate();
}

RECT CHorizontalLayoutUI::GetThumbRect(bool useNewPos) const {
    return m_splitter.GetThumbRect(m_rcItem, useNewPos);
}

} // namespace SkinUI
