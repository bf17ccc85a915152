#pragma once
#include <windows.h>

#include "ui/UIString.h"

namespace SkinUI {

// Only this many header items get column rectangles.
enum { kMaxListColumns = 32 };

// The look that a list (or a combo) shares with all of its items. Items never
// copy it: they read it through IListOwnerUI::GetListLook at each paint and
// measurement, so a change reaches every item at its next paint. An item may
// empty one of the image descriptions when the image cannot be drawn.
struct TListLookUI {
    int nColumns = 0;
    RECT rcColumn[kMaxListColumns] = {};
    int nFont = -1;               // the manager's default font
    UINT uTextStyle = DT_VCENTER; // DrawText flags
    RECT rcTextPadding = {};
    DWORD dwTextColor = 0xFF000000;
    DWORD dwBkColor = 0;
    CUIString sBkImage;
    bool bAlternateBk = false;
    DWORD dwSelectedTextColor = 0xFF000000;
    DWORD dwSelectedBkColor = 0xFFC1E3FF;
    CUIString sSelectedImage;
    DWORD dwHotTextColor = 0xFF000000;
    DWORD dwHotBkColor = 0xFFE9F5FF;
    CUIString sHotImage;
    DWORD dwDisabledTextColor = 0xFFCCCCCC;
    DWORD dwDisabledBkColor = 0xFFFFFFFF;
    CUIString sDisabledImage;
    DWORD dwLineColor = 0;
    bool bShowHtml = false;
    bool bMultiExpandable = false;
};

// What an owner must do after a look attribute was stored.
enum class ListLookChange {
    kUnknown,   // not a look attribute; nothing was stored
    kStored,    // stored; items see it at their next paint
    kUnchanged, // the value was already held
    kRepaint,   // colours and images: the owner repaints
    kRelayout,  // sizes (padding, mark-up): the owner lays its items out again
};

// Stores one "item..." attribute of a list-like owner in its look record
// (names matched exactly: "itemfont", "itemalign", "itemendellipsis",
// "itemtextpadding", "itemtextcolor", "itembkcolor", "itembkimage",
// "itemaltbk", the selected, hot and disabled colours and images,
// "itemlinecolor", "itemshowhtml") and tells the owner what to refresh.
ListLookChange ApplyListLookAttribute(TListLookUI& look, LPCWSTR name, LPCWSTR value);

// The alignment words of "align" and "itemalign", tested in this order so
// that the last matching word wins: "left" clears DT_CENTER and DT_RIGHT,
// "center" sets DT_CENTER and clears DT_RIGHT, "right" sets DT_RIGHT and
// clears DT_CENTER.
UINT ApplyListTextAlign(UINT style, LPCWSTR value);

} // namespace SkinUI
