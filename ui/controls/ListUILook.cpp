#include <windows.h>

#include "ui/controls/ListUI.h"

#include "ui/WindowManagerUI.h"
#include "ui/UIAttributeValue.h"
#include "ui/controls/ListBodyUI.h"
#include "ui/controls/ListHeaderUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

// Container attributes that act on the body: its scroll bars and the gap
// between its items.
bool IsBodyAttribute(LPCWSTR name) {
    return Is(name, L"vscrollbar") || Is(name, L"hscrollbar") || Is(name, L"vscrollbarstyle") ||
           Is(name, L"hscrollbarstyle") || Is(name, L"childpadding");
}

} // namespace

void CListUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"header")) {
        if (m_pHeader != nullptr) {
            m_pHeader->SetVisible(!Is(value, L"hidden"));
        }
    } else if (Is(name, L"headerbkimage")) {
        if (m_pHeader != nullptr) {
            m_pHeader->SetBkImage(value);
        }
    } else if (Is(name, L"scrollselect")) {
        SetScrollSelect(ParseBoolValue(value));
    } else if (Is(name, L"multiexpanding")) {
        SetMultiExpanding(ParseBoolValue(value));
    } else if (IsBodyAttribute(name)) {
        m_pBody->ApplyAttribute(name, value);
    } else {
        switch (ApplyListLookAttribute(m_ListLook, name, value)) {
        case ListLookChange::kUnknown:
            CVerticalLayoutUI::ApplyAttribute(name, value);
            break;
        case ListLookChange::kRepaint:
            Invalidate();
            break;
        case ListLookChange::kRelayout:
            MarkNeedsUpdate();
            break;
        case ListLookChange::kStored:
        case ListLookChange::kUnchanged:
            break;
        }
    }
}

void CListUI::SetItemTextPadding(RECT rc) {
    m_ListLook.rcTextPadding = rc;
    MarkNeedsUpdate();
}

void CListUI::SetItemShowHtml(bool showHtml) {
    if (m_ListLook.bShowHtml == showHtml) {
        return;
    }
    m_ListLook.bShowHtml = showHtml;
    MarkNeedsUpdate();
}

void CListUI::SetLookColor(DWORD TListLookUI::*field, DWORD color) {
    m_ListLook.*field = color;
    Invalidate();
}

void CListUI::SetLookImage(CUIString TListLookUI::*field, LPCWSTR image) {
    m_ListLook.*field = image != nullptr ? image : L"";
    Invalidate();
}

void CListUI::SetItemTextColor(DWORD color) {
    SetLookColor(&TListLookUI::dwTextColor, color);
}

void CListUI::SetItemBkColor(DWORD color) {
    SetLookColor(&TListLookUI::dwBkColor, color);
}

void CListUI::SetItemBkImage(LPCWSTR image) {
    SetLookImage(&TListLookUI::sBkImage, image);
}

void CListUI::SetAlternateBk(bool alternate) {
    m_ListLook.bAlternateBk = alternate;
    Invalidate();
}

void CListUI::SetSelectedItemTextColor(DWORD color) {
    SetLookColor(&TListLookUI::dwSelectedTextColor, color);
}

void CListUI::SetSelectedItemBkColor(DWORD color) {
    SetLookColor(&TListLookUI::dwSelectedBkColor, color);
}

void CListUI::SetSelectedItemImage(LPCWSTR image) {
    SetLookImage(&TListLookUI::sSelectedImage, image);
}

void CListUI::SetHotItemTextColor(DWORD color) {
    SetLookColor(&TListLookUI::dwHotTextColor, color);
}

void CListUI::SetHotItemBkColor(DWORD color) {
    SetLookColor(&TListLookUI::dwHotBkColor, color);
}

void CListUI::SetHotItemImage(LPCWSTR image) {
    SetLookImage(&TListLookUI::sHotImage, image);
}

void CListUI::SetDisabledItemTextColor(DWORD color) {
    SetLookColor(&TListLookUI::dwDisabledTextColor, color);
}

void CListUI::SetDisabledItemBkColor(DWORD color) {
    SetLookColor(&TListLookUI::dwDisabledBkColor, color);
}

void CListUI::SetDisabledItemImage(LPCWSTR image) {
    SetLookImage(&TListLookUI::sDisabledImage, image);
}

void CListUI::SetItemLineColor(DWORD color) {
    SetLookColor(&TListLookUI::dwLineColor, color);
}

} // namespace SkinUI
