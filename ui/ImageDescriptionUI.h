#pragma once
#include <windows.h>

#include "ui/UIString.h"

#include <functional>

namespace SkinUI {

// What an image description asks for: which image, where, which part of it,
// and how. A description is a bare file name or blank-separated key='value'
// pairs: file, res, restype, dest, source, corner, mask, fade, hole, xtiled,
// ytiled.
struct TImageDrawUI {
    explicit TImageDrawUI(const RECT& rcItem);

    CUIString sFile;
    CUIString sResType;
    RECT rcDest;    // default: the item rectangle
    RECT rcSource;  // all zero: the whole image
    RECT rcCorners; // left, top, right, bottom widths
    DWORD dwMask = 0;
    BYTE uFade = 255;
    bool bHole = false;
    bool bXTiled = false;
    bool bYTiled = false;
};

// Applies one description text to settings. With bareName the whole text is
// first taken as the file name. A "file" or "restype" pair that follows an
// image already named in this text hands the settings so far to drawNow
// first, so one description can draw several images. "dest" is relative to
// rcItem and limited to its right and bottom.
void ParseImageDescription(LPCWSTR text, bool bareName, const RECT& rcItem, TImageDrawUI& settings,
                           const std::function<void(const TImageDrawUI&)>& drawNow);

} // namespace SkinUI
