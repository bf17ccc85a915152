#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "tests/support/DibSurface.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;
using TestSupport::DibSurface;

namespace {

TEXTMETRICW Metrics(HFONT font) {
    DibSurface probe(4, 4);
    const HGDIOBJ old = ::SelectObject(probe.DC(), font);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(probe.DC(), &tm);
    ::SelectObject(probe.DC(), old);
    return tm;
}

bool DrawsChinese(HFONT font) {
    DibSurface probe(4, 4);
    const HGDIOBJ old = ::SelectObject(probe.DC(), font);
    WORD glyphs[4] = {};
    const DWORD done =
        ::GetGlyphIndicesW(probe.DC(), L"卸载完成", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(probe.DC(), old);
    return done == 4 && glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF && glyphs[2] != 0xFFFF &&
           glyphs[3] != 0xFFFF;
}

std::wstring FaceOf(HFONT font) {
    DibSurface probe(4, 4);
    const HGDIOBJ old = ::SelectObject(probe.DC(), font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(probe.DC(), LF_FACESIZE, face);
    ::SelectObject(probe.DC(), old);
    return face;
}

// Sizes from skins and mark-up end up between 6 and 144 pixels.
TEST(SkinFontSize, OutOfRangeSizesAreClamped) {
    const struct {
        int asked;
        int atLeast;
        int atMost;
    } kSizes[] = {{1, 6, 20}, {0, 6, 20}, {-40, 6, 20}, {14, 12, 20}, {100000, 130, 200}};
    for (const auto& size : kSizes) {
        CWindowManagerUI manager;
        const HFONT font = manager.AddFont(L"DejaVu Sans", size.asked, false, false, false);
        ASSERT_NE(nullptr, font) << size.asked;
        const TEXTMETRICW tm = Metrics(font);
        EXPECT_GE(tm.tmHeight, size.atLeast) << size.asked;
        EXPECT_LE(tm.tmHeight, size.atMost) << size.asked;
        // Asking again for the same size finds the font instead of adding one.
        EXPECT_EQ(font, manager.GetFont(L"DejaVu Sans", size.asked, false, false, false));
    }
}

// A PC without the skin's face still shows the skin's Chinese: the font is
// made again with the Chinese character set or from a known Chinese face.
TEST(SkinFontFace, MissingFaceStillDrawsChinese) {
    CWindowManagerUI manager;
    for (const wchar_t* face : {L"No Such Face 7f3a", L"不存在的字体"}) {
        for (const bool bold : {false, true}) {
            EXPECT_TRUE(DrawsChinese(manager.AddFont(face, 16, bold, false, false))) << bold;
        }
    }
    manager.SetDefaultFont(L"No Such Face 7f3a", 14, false, false, false);
    EXPECT_TRUE(DrawsChinese(manager.GetDefaultFontInfo()->hFont));
}

TEST(SkinFontFace, InstalledFaceIsKept) {
    CWindowManagerUI manager;
    EXPECT_EQ(L"DejaVu Sans", FaceOf(manager.AddFont(L"DejaVu Sans", 16, false, false, false)));
}

TEST(SkinFontFace, BoldIsTheBoldWeight) {
    CWindowManagerUI manager;
    LOGFONTW lf = {};
    ::GetObjectW(manager.AddFont(L"DejaVu Sans", 16, true, false, false), sizeof(lf), &lf);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    ::GetObjectW(manager.AddFont(L"DejaVu Sans", 16, false, false, false), sizeof(lf), &lf);
    EXPECT_LT(lf.lfWeight, FW_BOLD);
}

} // namespace
