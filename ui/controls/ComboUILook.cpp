#include <windows.h>

#include "ui/controls/ComboUI.h"

#include "ui/UIAttributeValue.h"

#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

void CComboUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"textpadding")) {
        SetTextPadding(ParseRectValue(value));
    } else if (Is(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, L"hotimage")) {
        SetHotImage(value);
    } else if (Is(name, L"pushedimage")) {
        SetPushedImage(value);
    } else if (Is(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, L"disabledimage")) {
        SetDisabledImage(value);
    } else if (Is(name, L"dropbox")) {
        SetDropBoxAttributeList(value);
    } else if (Is(name, L"dropboxsize")) {
        SetDropBoxSize(ParseSizeValue(value));
    } else {
        // The elements' look: the same names and readers as the list's.
        switch (ApplyListLookAttribute(m_ListLook, name, value)) {
        case ListLookChange::kUnknown:
            CContainerUI::ApplyAttribute(name, value);
            break;
        case ListLookChange::kRepaint:
        case ListLookChange::kRelayout:
            Invalidate();
            break;
        default:
            break;
        }
    }
}

CUIString CComboUI::GetDropBoxAttributeList() const {
    return m_sDropBoxAttributes;
}

void CComboUI::SetDropBoxAttributeList(LPCWSTR list) {
    m_sDropBoxAttributes = list;
}

SIZE CComboUI::GetDropBoxSize() const {
    return m_szDropBox;
}

void CComboUI::SetDropBoxSize(SIZE size) {
    m_szDropBox = size;
}

RECT CComboUI::GetTextPadding() const {
    return m_rcTextPadding;
}

void CComboUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetNormalImage(LPCWSTR image) {
    m_sNormalImage = image;
    Invalidate();
}

void CComboUI::SetHotImage(LPCWSTR image) {
    m_sHotImage = image;
    Invalidate();
}

void CComboUI::SetPushedImage(LPCWSTR image) {
    m_sPushedImage = image;
    Invalidate();
}

void CComboUI::SetFocusedImage(LPCWSTR image) {
    m_sFocusedImage = image;
    Invalidate();
}

void CComboUI::SetDisabledImage(LPCWSTR image) {
    m_sDisabledImage = image;
    Invalidate();
}

void CComboUI::SetItemTextPadding(RECT rc) {
    m_ListLook.rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetItemTextColor(DWORD color) {
    m_ListLook.dwTextColor = color;
    Invalidate();
}

void CComboUI::SetItemBkColor(DWORD color) {
    m_ListLook.dwBkColor = color;
}

void CComboUI::SetItemBkImage(LPCWSTR image) {
    m_ListLook.sBkImage = image;
}

void CComboUI::SetAlternateBk(bool alternate) {
    m_ListLook.bAlternateBk = alternate;
}

void CComboUI::SetSelectedItemTextColor(DWORD color) {
    m_ListLook.dwSelectedTextColor = color;
}

void CComboUI::SetSelectedItemBkColor(DWORD color) {
    m_ListLook.dwSelectedBkColor = color;
}

void CComboUI::SetSelectedItemImage(LPCWSTR image) {
    m_ListLook.sSelectedImage = image;
}

void CComboUI::SetHotItemTextColor(DWORD color) {
    m_ListLook.dwHotTextColor = color;
}

void CComboUI::SetHotItemBkColor(DWORD color) {
    m_ListLook.dwHotBkColor = color;
}

void CComboUI::SetHotItemImage(LPCWSTR image) {
    m_ListLook.sHotImage = image;
}

void CComboUI::SetDisabledItemTextColor(DWORD color) {
    m_ListLook.dwDisabledTextColor = color;
}

void CComboUI::SetDisabledItemBkColor(DWORD color) {
    m_ListLook.dwDisabledBkColor = color;
}

void CComboUI::SetDisabledItemImage(LPCWSTR image) {
    m_ListLook.sDisabledImage = image;
}

void CComboUI::SetItemLineColor(DWORD color) {
    m_ListLook.dwLineColor = color;
}

void CComboUI::SetItemShowHtml(bool showHtml) {
    if (m_ListLook.bShowHtml == showHtml) {
        return;
    }
    m_ListLook.bShowHtml = showHtml;
    Invalidate();
}

} // namespace SkinUI
