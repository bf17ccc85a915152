#pragma once
#include <windows.h>

namespace SkinUI {

// Font sizes a skin or a mark-up text may ask for. Sizes outside are
// clamped: a font a pixel high (or absurdly large) is no use to a reader and
// has brought the platform's text rasteriser down.
enum { MIN_FONT_SIZE = 6, MAX_FONT_SIZE = 144 };

int ClampFontSize(int size);

// The stock GUI font with the given face, size (clamped) and style. When no
// font of that face is installed, the font is made again with the Chinese
// character set, and failing that from a known Chinese face, so that the
// skins' Chinese texts never show as boxes.
HFONT CreateSkinFont(LPCWSTR face, int size, bool bold, bool underline, bool italic);

} // namespace SkinUI
