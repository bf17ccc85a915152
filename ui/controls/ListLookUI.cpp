#include <windows.h>

#include "ui/controls/ListLookUI.h"

#include "ui/UIAttributeValue.h"

#include <cwchar>

namespace SkinUI {

namespace {

bool Contains(LPCWSTR text, LPCWSTR word) {
    return text != nullptr && std::wcsstr(text, word) != nullptr;
}

struct ColorAttribute {
    LPCWSTR name;
    DWORD TListLookUI::*field;
};

const ColorAttribute kColors[] = {
    {L"itemtextcolor", &TListLookUI::dwTextColor},
    {L"itembkcolor", &TListLookUI::dwBkColor},
    {L"itemselectedtextcolor", &TListLookUI::dwSelectedTextColor},
    {L"itemselectedbkcolor", &TListLookUI::dwSelectedBkColor},
    {L"itemhottextcolor", &TListLookUI::dwHotTextColor},
    {L"itemhotbkcolor", &TListLookUI::dwHotBkColor},
    {L"itemdisabledtextcolor", &TListLookUI::dwDisabledTextColor},
    {L"itemdisabledbkcolor", &TListLookUI::dwDisabledBkColor},
    {L"itemlinecolor", &TListLookUI::dwLineColor},
};

struct ImageAttribute {
    LPCWSTR name;
    CUIString TListLookUI::*field;
};

const ImageAttribute kImages[] = {
    {L"itembkimage", &TListLookUI::sBkImage},
    {L"itemselectedimage", &TListLookUI::sSelectedImage},
    {L"itemhotimage", &TListLookUI::sHotImage},
    {L"itemdisabledimage", &TListLookUI::sDisabledImage},
};

} // namespace

UINT ApplyListTextAlign(UINT style, LPCWSTR value) {
    if (Contains(value, L"left")) {
        style &= ~(DT_CENTER | DT_RIGHT);
    }
    if (Contains(value, L"center")) {
        style &= ~DT_RIGHT;
        style |= DT_CENTER;
    }
    if (Contains(value, L"right")) {
        style &= ~DT_CENTER;
        style |= DT_RIGHT;
    }
    return style;
}

ListLookChange ApplyListLookAttribute(TListLookUI& look, LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return ListLookChange::kUnknown;
    }
    for (const ColorAttribute& entry : kColors) {
        if (std::wcscmp(name, entry.name) == 0) {
            look.*entry.field = ParseColorValue(value);
            return ListLookChange::kRepaint;
        }
    }
    for (const ImageAttribute& entry : kImages) {
        if (std::wcscmp(name, entry.name) == 0) {
            look.*entry.field = value != nullptr ? value : L"";
            return ListLookChange::kRepaint;
        }
    }
    if (std::wcscmp(name, L"itemfont") == 0) {
        look.nFont = ParseDecimalValue(value);
    } else if (std::wcscmp(name, L"itemalign") == 0) {
        look.uTextStyle = ApplyListTextAlign(look.uTextStyle, value);
    } else if (std::wcscmp(name, L"itemendellipsis") == 0) {
        look.uTextStyle = ParseBoolValue(value) ? (look.uTextStyle | DT_END_ELLIPSIS)
                                                : (look.uTextStyle & ~DT_END_ELLIPSIS);
    } else if (std::wcscmp(name, L"itemaltbk") == 0) {
        look.bAlternateBk = ParseBoolValue(value);
        return ListLookChange::kRepaint;
    } else if (std::wcscmp(name, L"itemtextpadding") == 0) {
        look.rcTextPadding = ParseRectValue(value);
        return ListLookChange::kRelayout;
    } else if (std::wcscmp(name, L"itemshowhtml") == 0) {
        const bool showHtml = ParseBoolValue(value);
        if (showHtml == look.bShowHtml) {
            return ListLookChange::kUnchanged;
        }
        look.bShowHtml = showHtml;
        return ListLookChange::kRelayout;
    } else {
        return ListLookChange::kUnknown;
    }
    return ListLookChange::kStored;
}

} // namespace SkinUI
