#include <windows.h>

#include "ui/ImageDescriptionUI.h"
#include "ui/RendererUI.h"
#include "ui/RenderResourcesUI.h"

#include <algorithm>

namespace SkinUI {

bool CRendererUI::DrawNamedImage(HDC hDC, IRenderResourcesUI* manager, const RECT& rcItem,
                                 const RECT& rcPaint, const CUIString& file,
                                 const CUIString& resType, const RECT& rcDest, const RECT& rcSource,
                                 const RECT& rcCorners, DWORD mask, BYTE fade, bool hole,
                                 bool xtiled, bool ytiled) {
    if (file.IsEmpty() || manager == nullptr) {
        return false;
    }
    const TImageRecordUI* image =
        manager->GetImageOrAdd(file, resType.IsEmpty() ? nullptr : resType.GetData(), mask);
    if (image == nullptr) {
        return false;
    }
    RECT rcPart = rcSource;
    if (rcPart.left == 0 && rcPart.top == 0 && rcPart.right == 0 && rcPart.bottom == 0) {
        rcPart = {0, 0, image->nX, image->nY};
    }
    rcPart.right = std::min<LONG>(rcPart.right, image->nX);
    rcPart.bottom = std::min<LONG>(rcPart.bottom, image->nY);
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

} // namespace SkinUI
