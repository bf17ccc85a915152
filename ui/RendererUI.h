#pragma once
#include <windows.h>

#include "ui/ClipRegionUI.h"
#include "ui/UIString.h"

namespace SkinUI {

class IRenderResourcesUI;

// The decoded image record (bitmap, size, alpha flag, resource type, mask)
// is declared with the render resources, whose image cache keeps it.
struct TImageRecordUI;

// Decoded images are bounded, so that a damaged skin fails quietly instead
// of exhausting memory; the encoded bytes are bounded by the window
// manager's MAX_IMAGE_FILE_SIZE.
enum : int {
    kMaxImageSide = 8192,               // pixels per side
    kMaxImagePixels = 16 * 1024 * 1024, // width * height
};

// The framework's drawing services; stateless, UI thread only. Colours are
// ARGB (alpha in the top byte).
class CRendererUI {
public:
    // Hue 180, saturation 100 and lightness 100 leave the colour unchanged.
    static DWORD AdjustColorHsl(DWORD color, short hue, short saturation, short lightness);

    // bitmap: a name (item of the skin archive, file below the resource
    // folder, or plain path) or, with a resource type, a resource name or
    // MAKEINTRESOURCEW id. Null when nothing can be had.
    static TImageRecordUI* LoadImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    static void FreeImage(TImageRecordUI* image);

    // Nine-grid drawing of a part of a bitmap; tiling applies to the middle.
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                          const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel,
                          BYTE fade = 255, bool hole = false, bool xtiled = false,
                          bool ytiled = false);
    // False when the name is empty or the image can't be had.
    static bool DrawNamedImage(HDC hDC, IRenderResourcesUI* manager, const RECT& rcItem,
                               const RECT& rcPaint, const CUIString& file, const CUIString& resType,
                               const RECT& rcDest, const RECT& rcSource, const RECT& rcCorners,
                               DWORD mask, BYTE fade, bool hole, bool xtiled, bool ytiled);
    // An image description ("bk.png" or "file='bk.png' corner='4,4,4,4'"),
    // optionally changed by a modifier in the same language. False for a
    // null device context or manager, and when an image it names can't be
    // had (the caller then empties the description so it is not retried).
    static bool DrawImageDescription(HDC hDC, IRenderResourcesUI* manager, const RECT& rcItem,
                                     const RECT& rcPaint, LPCWSTR description,
                                     LPCWSTR modify = nullptr);

    // True when drawing the description leaves no pixel of rcItem showing
    // what was there before: one of its images is fully opaque and covers
    // the whole item. False whenever that is not certain.
    static bool ImageDescriptionCovers(IRenderResourcesUI* manager, const RECT& rcItem,
                                       LPCWSTR description);

    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                             int steps);

    // From (left, top) to (right, bottom).
    static void DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
    static void DrawRect(HDC hDC, const RECT& rc, int size, DWORD color);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height,
                              DWORD color);

    // DrawTextW with the manager's font of the index; style as DrawTextW
    // (DT_CALCRECT measures into rc).
    static void DrawText(HDC hDC, IRenderResourcesUI* manager, RECT& rc, LPCWSTR text, DWORD color,
                         int font, UINT style);
    // The framework's mark-up text (<b>, <a name>, <c #FF0000>, ...). links
    // and linkNames hold linkCount slots; on return linkCount is the number
    // of link rectangles made. With DT_CALCRECT rc receives the extent.
    static void DrawMarkupText(HDC hDC, IRenderResourcesUI* manager, RECT& rc, LPCWSTR text,
                               DWORD color, RECT* links, CUIString* linkNames, int& linkCount,
                               UINT style);
};

// AlphaBlend done in software for a system without gdi32's; the source is
// premultiplied as AlphaBlend expects. Same arguments and result.
BOOL WINAPI SoftwareAlphaBlend(HDC hDest, int xDest, int yDest, int cxDest, int cyDest, HDC hSrc,
                               int xSrc, int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend);

} // namespace SkinUI
