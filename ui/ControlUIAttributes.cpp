#include <windows.h>

#include "ui/SaturatingMath.h"
#include "ui/ControlUI.h"

#include "ui/UIAttributeValue.h"

#include <climits>
#include <cstdint>
#include <cwchar>

namespace SkinUI {

namespace {

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

// Differences of skin numbers stay inside int even for absurd values.
int ClampedDifference(int to, int from) {
    return SaturateToInt(static_cast<long long>(to) - from);
}

} // namespace

void CControlUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"pos")) {
        const RECT rc = ParseRectValue(value);
        SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
        SetFixedWidth(ClampedDifference(rc.right, rc.left));
        SetFixedHeight(ClampedDifference(rc.bottom, rc.top));
    } else if (Is(name, L"relativepos")) {
        const RECT rc = ParseRectValue(value);
        SetRelativePos(rc.left, rc.top, rc.right, rc.bottom);
    } else if (Is(name, L"padding")) {
        SetPadding(ParseRectValue(value));
    } else if (Is(name, L"bkcolor") || Is(name, L"bkcolor1")) {
        SetBkColor(ParseColorValue(value, true));
    } else if (Is(name, L"bkcolor2")) {
        SetBkColor2(ParseColorValue(value, true));
    } else if (Is(name, L"bkcolor3")) {
        SetBkColor3(ParseColorValue(value, true));
    } else if (Is(name, L"bordercolor")) {
        SetBorderColor(ParseColorValue(value));
    } else if (Is(name, L"focusbordercolor")) {
        SetFocusBorderColor(ParseColorValue(value));
    } else if (Is(name, L"colorhsl")) {
        SetColorHSL(ParseBoolValue(value));
    } else if (Is(name, L"bordersize")) {
        if (std::wcschr(value, L',') != nullptr) {
            const RECT rc = ParseRectValue(value);
            SetBorderSizes(rc.left, rc.top, rc.right, rc.bottom);
        } else {
            SetBorderSize(ParseDecimalValue(value));
            SetBorderSizes(0, 0, 0, 0);
        }
    } else if (Is(name, L"leftbordersize")) {
        SetLeftBorderSize(ParseDecimalValue(value));
    } else if (Is(name, L"topbordersize")) {
        SetTopBorderSize(ParseDecimalValue(value));
    } else if (Is(name, L"rightbordersize")) {
        SetRightBorderSize(ParseDecimalValue(value));
    } else if (Is(name, L"bottombordersize")) {
        SetBottomBorderSize(ParseDecimalValue(value));
    } else if (Is(name, L"borderstyle")) {
        SetBorderStyle(ParseDecimalValue(value));
    } else if (Is(name, L"borderround")) {
        const SIZE sz = ParseSizeValue(value);
        SetBorderRound(sz.cx, sz.cy);
    } else if (Is(name, L"bkimage")) {
        SetBkImage(value);
    } else if (Is(name, L"width")) {
        SetFixedWidth(ParseDecimalValue(value));
    } else if (Is(name, L"height")) {
        SetFixedHeight(ParseDecimalValue(value));
    } else if (Is(name, L"minwidth")) {
        SetMinWidth(ParseDecimalValue(value));
    } else if (Is(name, L"minheight")) {
        SetMinHeight(ParseDecimalValue(value));
    } else if (Is(name, L"maxwidth")) {
        SetMaxWidth(ParseDecimalValue(value));
    } else if (Is(name, L"maxheight")) {
        SetMaxHeight(ParseDecimalValue(value));
    } else if (Is(name, L"name")) {
        SetName(value);
    } else if (Is(name, L"text")) {
        SetText(value);
    } else if (Is(name, L"tooltip")) {
        SetToolTip(value);
    } else if (Is(name, L"userdata")) {
        SetUserData(value);
    } else if (Is(name, L"enabled")) {
        SetEnabled(ParseBoolValue(value));
    } else if (Is(name, L"mouse")) {
        SetMouseEnabled(ParseBoolValue(value));
    } else if (Is(name, L"keyboard")) {
        SetKeyboardEnabled(ParseBoolValue(value));
    } else if (Is(name, L"visible")) {
        SetVisible(ParseBoolValue(value));
    } else if (Is(name, L"float")) {
        SetFloating(ParseBoolValue(value));
    } else if (Is(name, L"shortcut")) {
        SetShortcut(value[0]);
    } else if (Is(name, L"menu")) {
        SetContextMenuUsed(ParseBoolValue(value));
    } else if (Is(name, L"virtualwnd")) {
        SetVirtualWnd(value);
    }
}

void CControlUI::ApplyAttributeList(LPCWSTR list) {
    if (list == nullptr) {
        return;
    }
    LPCWSTR p = list;
    while (*p != L'\0') {
        LPCWSTR const nameStart = p;
        while (*p != L'\0' && *p != L'=') {
            p = ::CharNextW(p);
        }
        if (*p != L'=') {
            return;
        }
        const CUIString name(nameStart, static_cast<int>(p - nameStart));
        p = ::CharNextW(p);
        if (*p != L'"') {
            return;
        }
        p = ::CharNextW(p);
        LPCWSTR const valueStart = p;
        while (*p != L'\0' && *p != L'"') {
            p = ::CharNextW(p);
        }
        if (*p != L'"') {
            return;
        }
        const CUIString value(valueStart, static_cast<int>(p - valueStart));
        ApplyAttribute(name, value);
        p = ::CharNextW(p);
        // Exactly one blank, then the next pair's first character.
        if (p[0] != L' ' || p[1] == L'\0' || p[1] == L' ') {
            return;
        }
        p = ::CharNextW(p);
    }
}

} // namespace SkinUI
