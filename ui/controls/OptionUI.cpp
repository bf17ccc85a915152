#include <windows.h>

#include "ui/controls/OptionUI.h"

#include "ui/RendererUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

COptionUI::COptionUI() : m_bSelected(false), m_dwSelectedBkColor(0), m_dwSelectedTextColor(0) {}

COptionUI::~COptionUI() {
    // The manager's group must never point at a deleted option.
    LeaveGroup();
}

LPCWSTR COptionUI::GetClass() const {
    return L"OptionUI";
}

LPVOID COptionUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"Option") == 0) {
        return this;
    }
    return CButtonUI::QueryInterfaceByName(name);
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) {
        return false;
    }
    if (!m_sGroupName.IsEmpty()) {
        Select(true);
    } else {
        Select(!m_bSelected);
    }
    return true;
}

void COptionUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) {
    if (m_pManager != nullptr && m_pManager != manager) {
        // Moving to another window: the old window's group must let go.
        LeaveGroup();
    }
    CButtonUI::AttachManager(manager, parent, init);
    if (init && m_pManager != nullptr && !m_sGroupName.IsEmpty()) {
        m_pManager->AddToOptionGroup(m_sGroupName, this);
    }
}

void COptionUI::SetEnabled(bool enable) {
    CButtonUI::SetEnabled(enable);
    if (m_bSelected) {
        m_uButtonState |= UISTATE_SELECTED;
    }
}

void COptionUI::Select(bool selected) {
    if (m_bSelected == selected) {
        return;
    }
    m_bSelected = selected;
    if (m_bSelected) {
        m_uButtonState |= UISTATE_SELECTED;
    } else {
        m_uButtonState &= ~UISTATE_SELECTED;
    }
    if (m_pManager != nullptr) {
        if (m_sGroupName.IsEmpty()) {
            m_pManager->SendNotify(this, L"selectchanged");
        } else if (m_bSelected) {
            // A copy: deselecting the others must not depend on the group
            // staying as it is meanwhile.
            const CUIPtrArray* group = m_pManager->GetOptionGroup(m_sGroupName);
            const CUIPtrArray others = group != nullptr ? *group : CUIPtrArray();
            for (int i = 0; i < others.GetSize(); ++i) {
                auto* control = static_cast<CControlUI*>(others.GetAt(i));
                if (control == nullptr || control == this) {
                    continue;
                }
                if (auto* option =
                        static_cast<COptionUI*>(control->QueryInterfaceByName(L"Option"))) {
                    option->Select(false);
                }
            }
            m_pManager->SendNotify(this, L"selectchanged");
        }
    }
    Invalidate();
}

bool COptionUI::IsSelected() const {
    return m_bSelected;
}

void COptionUI::LeaveGroup() {
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty()) {
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    }
}

void COptionUI::SetGroup(LPCWSTR groupName) {
    if (groupName == nullptr || *groupName == L'\0') {
        if (m_sGroupName.IsEmpty()) {
            return;
        }
        LeaveGroup();
        m_sGroupName.Empty();
    } else {
        if (m_sGroupName == groupName) {
            return;
        }
        LeaveGroup();
        m_sGroupName = groupName;
    }
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
        m_pManager->AddToOptionGroup(m_sGroupName, this);
    }
    Select(m_bSelected);
}

LPCWSTR COptionUI::GetGroup() const {
    return m_sGroupName;
}

void COptionUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"group")) {
        SetGroup(value);
    } else if (Is(name, L"selected")) {
        Select(ParseBoolValue(value));
    } else if (Is(name, L"selectedimage")) {
        SetSelectedImage(value);
    } else if (Is(name, L"selectedhotimage")) {
        SetSelectedHotImage(value);
    } else if (Is(name, L"foreimage")) {
        SetForeImage(value);
    } else if (Is(name, L"selectedbkcolor")) {
        SetSelectedBkColor(ParseColorValue(value));
    } else if (Is(name, L"selectedtextcolor")) {
        SetSelectedTextColor(ParseColorValue(value));
    } else {
        CButtonUI::ApplyAttribute(name, value);
    }
}

void COptionUI::PaintStateImages(HDC hDC) {
    if (m_pManager == nullptr || hDC == nullptr) {
        return; // drawing would fail and empty every image
    }
    // Options never show pushed.
    m_uButtonState &= ~UISTATE_PUSHED;
    SyncFocusAndEnabledState();

    if ((m_uButtonState & UISTATE_HOT) != 0 && m_bSelected && !m_sSelectedHotImage.IsEmpty()) {
        if (!DrawStateImage(hDC, m_sSelectedHotImage)) {
            CButtonUI::PaintStateImages(hDC);
        }
    } else if (!m_bSelected) {
        CButtonUI::PaintStateImages(hDC);
    } else if (!m_sSelectedImage.IsEmpty()) {
        if (!DrawStateImage(hDC, m_sSelectedImage)) {
            CButtonUI::PaintStateImages(hDC);
        }
    } else if (m_dwSelectedBkColor != 0) {
        CRendererUI::DrawColor(hDC, m_rcPaint, GetAdjustedColor(m_dwSelectedBkColor));
        return;
    } else {
        CButtonUI::PaintStateImages(hDC);
    }
    DrawStateImage(hDC, m_sOptionForeImage);
}

void COptionUI::PaintText(HDC hDC) {
    if (!m_bSelected) {
        CButtonUI::PaintText(hDC);
        return;
    }
    if (m_pManager == nullptr) {
        return;
    }
    ResolveDefaultColors();
    if (m_sText.IsEmpty()) {
        return;
    }
    const DWORD enabledColor = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
    DrawButtonText(hDC, IsEnabled() ? enabledColor : m_dwDisabledTextColor);
}

// ---- Properties --------------------------------------------------------------------

LPCWSTR COptionUI::GetSelectedImage() const {
    return m_sSelectedImage;
}

void COptionUI::SetSelectedImage(LPCWSTR image) {
    m_sSelectedImage = image;
    Invalidate();
}

LPCWSTR COptionUI::GetSelectedHotImage() const {
    return m_sSelectedHotImage;
}

void COptionUI::SetSelectedHotImage(LPCWSTR image) {
    m_sSelectedHotImage = image;
    Invalidate();
}

LPCWSTR COptionUI::GetForeImage() const {
    return m_sOptionForeImage;
}

void COptionUI::SetForeImage(LPCWSTR image) {
    m_sOptionForeImage = image;
    Invalidate();
}

DWORD COptionUI::GetSelectedBkColor() const {
    return m_dwSelectedBkColor;
}

void COptionUI::SetSelectedBkColor(DWORD color) {
    m_dwSelectedBkColor = color;
}

DWORD COptionUI::GetSelectedTextColor() const {
    return m_dwSelectedTextColor;
}

void COptionUI::SetSelectedTextColor(DWORD color) {
    m_dwSelectedTextColor = color;
}

} // namespace SkinUI
