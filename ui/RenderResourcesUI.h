#pragma once
#include <windows.h>

#include "ui/UIString.h"

namespace SkinUI {

// A font of the manager's font table, or its default font.
struct TFontRecordUI {
    HFONT hFont;
    CUIString sFontName;
    int iSize; // pixels; the LOGFONT height is its negative
    bool bBold;
    bool bUnderline;
    bool bItalic;
    TEXTMETRICW tm; // all zero until measured (tmHeight 0 = not measured)
};

// A decoded image of the manager's image cache: a 32-bit top-down DIB
// section with premultiplied pixels. Made by CRendererUI::LoadImage and
// freed by CRendererUI::FreeImage; the manager fills sResType and dwMask.
struct TImageRecordUI {
    HBITMAP hBitmap;
    int nX;            // width
    int nY;            // height
    bool alphaChannel; // some pixel is not fully opaque, or was masked out
    CUIString sResType;
    DWORD dwMask;
};

// What the renderer draws with: the fonts, images and default colours of a
// window (its manager's caches), and the mouse point that decides whether a
// link shows hovered. The window manager answers it; the renderer never needs
// more of the manager than this.
class IRenderResourcesUI {
public:
    virtual HFONT GetFont(int index) = 0;
    virtual HFONT GetFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic) = 0;
    virtual HFONT AddFont(LPCWSTR fontName, int size, bool bold, bool underline, bool italic) = 0;
    virtual TFontRecordUI* GetFontInfo(HFONT hFont) = 0;
    virtual TFontRecordUI* GetDefaultFontInfo() = 0;
    virtual TImageRecordUI* GetImageOrAdd(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0) = 0;
    virtual DWORD GetDefaultLinkFontColor() const = 0;
    virtual DWORD GetDefaultLinkHoverFontColor() const = 0;
    virtual DWORD GetDefaultSelectedBkColor() const = 0;
    virtual POINT GetMousePos() const = 0;

protected:
    ~IRenderResourcesUI() = default;
};

} // namespace SkinUI
