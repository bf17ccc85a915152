#include <windows.h>

#include "ui/ImageDescriptionUI.h"
#include "ui/RendererUI.h"
#include "ui/RenderResourcesUI.h"

#include <algorithm>

namespace SkinUI {

namespace {

// The image a setting names, from the manager's cache or loaded into it,
// and the part of it drawn: an all-zero source is the whole image, and the
// source is cut at the image's right and bottom. Null when it can't be had.
const TImageRecordUI* ResolveImage(IRenderResourcesUI* manager, const CUIString& file,
                                   const CUIString& resType, DWORD mask, const RECT& rcSource,
                                   RECT& rcPart) {
    if (file.IsEmpty() || manager == nullptr) {
        return nullptr;
    }
    const TImageRecordUI* image =
        manager->GetImageOrAdd(file, resType.IsEmpty() ? nullptr : resType.GetData(), mask);
    if (image == nullptr) {
        return nullptr;
    }
    rcPart = rcSource;
    if (rcPart.left == 0 && rcPart.top == 0 && rcPart.right == 0 && rcPart.bottom == 0) {
        rcPart = {0, 0, image->nX, image->nY};
    }
    rcPart.right = std::min<LONG>(rcPart.right, image->nX);
    rcPart.bottom = std::min<LONG>(rcPart.bottom, image->nY);
    return image;
}

// True when the image, drawn with these settings, leaves no pixel of rcItem
// as it was: every pixel opaque, no fade and no hole, a destination that
// holds the whole item, and nine pieces that tile the destination from
// source parts that are not empty.
bool CoversOpaquely(const TImageRecordUI& image, const TImageDrawUI& s, const RECT& rcPart,
                    const RECT& rcItem) {
    const RECT& d = s.rcDest;
    const RECT& c = s.rcCorners;
    return image.hBitmap != nullptr && !image.alphaChannel && s.uFade == 255 && !s.bHole &&
           d.left <= rcItem.left && d.top <= rcItem.top && d.right >= rcItem.right &&
           d.bottom >= rcItem.bottom && c.left >= 0 && c.top >= 0 && c.right >= 0 &&
           c.bottom >= 0 && c.left + c.right <= d.right - d.left &&
           c.top + c.bottom <= d.bottom - d.top && rcPart.left >= 0 && rcPart.top >= 0 &&
           rcPart.right - rcPart.left - c.left - c.right > 0 &&
           rcPart.bottom - rcPart.top - c.top - c.bottom > 0;
}

} // namespace

bool CRendererUI::DrawNamedImage(HDC hDC, IRenderResourcesUI* manager, const RECT& rcItem,
                                 const RECT& rcPaint, const CUIString& file,
                                 const CUIString& resType, const RECT& rcDest, const RECT& rcSource,
                                 const RECT& rcCorners, DWORD mask, BYTE fade, bool hole,
                                 bool xtiled, bool ytiled) {
    RECT rcPart = {};
    const TImageRecordUI* image = ResolveImage(manager, file, resType, mask, rcSource, rcPart);
    if (image == nullptr) {
        return false;
    }
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcDest, &rcItem) ||
        !::IntersectRect(&rcTemp, &rcDest, &rcPaint)) {
        return true;
    }
    DrawImage(hDC, image->hBitmap, rcDest, rcPaint, rcPart, rcCorners, image->alphaChannel, fade,
              hole, xtiled, ytiled);
    return true;
}

bool CRendererUI::DrawImageDescription(HDC hDC, IRenderResourcesUI* manager, const RECT& rcItem,
                                       const RECT& rcPaint, LPCWSTR description, LPCWSTR modify) {
    if (hDC == nullptr || manager == nullptr) {
        return false;
    }
    bool allFound = true;
    const auto draw = [&](const TImageDrawUI& s) {
        if (!DrawNamedImage(hDC, manager, rcItem, rcPaint, s.sFile, s.sResType, s.rcDest,
                            s.rcSource, s.rcCorners, s.dwMask, s.uFade, s.bHole, s.bXTiled,
                            s.bYTiled)) {
            allFound = false;
        }
    };
    TImageDrawUI settings(rcItem);
    ParseImageDescription(description, true, rcItem, settings, draw);
    ParseImageDescription(modify, false, rcItem, settings, draw);
    draw(settings);
    return allFound;
}

bool CRendererUI::ImageDescriptionCovers(IRenderResourcesUI* manager, const RECT& rcItem,
                                         LPCWSTR description) {
    if (manager == nullptr || description == nullptr || ::IsRectEmpty(&rcItem)) {
        return false;
    }
    bool covers = false;
    const auto check = [&](const TImageDrawUI& s) {
        RECT rcPart = {};
        const TImageRecordUI* image =
            ResolveImage(manager, s.sFile, s.sResType, s.dwMask, s.rcSource, rcPart);
        covers = covers || (image != nullptr && CoversOpaquely(*image, s, rcPart, rcItem));
    };
    TImageDrawUI settings(rcItem);
    ParseImageDescription(description, true, rcItem, settings, check);
    check(settings);
    return covers;
}

} // namespace SkinUI
