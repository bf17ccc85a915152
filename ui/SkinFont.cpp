#include <windows.h>

#include "ui/SkinFont.h"

#include <algorithm>
#include <cwchar>

namespace SkinUI {

namespace {

// Installed fonts that cover Chinese, tried in this order when neither the
// skin's face nor the Chinese character set gives Chinese glyphs.
const wchar_t* const kChineseFaces[] = {L"Microsoft YaHei", L"SimSun", L"NSimSun",
                                        L"WenQuanYi Micro Hei", L"Noto Sans CJK SC"};

// Characters of the skins' texts that a font must draw ("卸载").
const wchar_t kChineseProbe[] = L"\x5378\x8F7D";

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(HDC hDC, LPCWSTR face) {
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(hDC, &lf, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

bool DrawsChinese(HDC hDC, HFONT hFont) {
    const HGDIOBJ old = ::SelectObject(hDC, hFont);
    WORD glyphs[2] = {0xFFFF, 0xFFFF};
    const DWORD done =
        ::GetGlyphIndicesW(hDC, kChineseProbe, 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(hDC, old);
    return done == 2 && glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF;
}

// A font in place of a face that is not installed: the Chinese character set
// with the same face (a substitute may still apply), then the known faces.
HFONT ChineseFallback(HDC hDC, LOGFONTW lf, HFONT original) {
    lf.lfCharSet = GB2312_CHARSET;
    HFONT candidate = ::CreateFontIndirectW(&lf);
    for (const wchar_t* face : kChineseFaces) {
        if (candidate != nullptr && DrawsChinese(hDC, candidate)) {
            break;
        }
        if (candidate != nullptr) {
            ::DeleteObject(candidate);
        }
        ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
        candidate = ::CreateFontIndirectW(&lf);
    }
    if (candidate == nullptr || !DrawsChinese(hDC, candidate)) {
        if (candidate != nullptr) {
            ::DeleteObject(candidate);
        }
        return original;
    }
    ::DeleteObject(original);
    return candidate;
}

} // namespace

int ClampFontSize(int size) {
    return std::min(std::max(size, static_cast<int>(MIN_FONT_SIZE)),
                    static_cast<int>(MAX_FONT_SIZE));
}

HFONT CreateSkinFont(LPCWSTR face, int size, bool bold, bool underline, bool italic) {
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    std::wmemset(lf.lfFaceName, 0, LF_FACESIZE);
    if (face != nullptr) {
        ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -ClampFontSize(size);
    if (bold) {
        lf.lfWeight = FW_BOLD;
    }
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfItalic = italic ? TRUE : FALSE;
    HFONT hFont = ::CreateFontIndirectW(&lf);
    if (hFont == nullptr || lf.lfFaceName[0] == L'\0') {
        return hFont;
    }
    HDC hDC = ::CreateCompatibleDC(nullptr);
    if (hDC == nullptr) {
        return hFont;
    }
    if (!FaceInstalled(hDC, lf.lfFaceName)) {
        hFont = ChineseFallback(hDC, lf, hFont);
    }
    ::DeleteDC(hDC);
    return hFont;
}

} // namespace SkinUI
