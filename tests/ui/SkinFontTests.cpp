#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "tests/support/DibSurface.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;

namespace {

// Runs ask with the font selected into a small memory surface.
template <typename Ask> auto WithFont(HFONT font, Ask ask) {
    TestSupport::DibSurface probe(4, 4);
    const HGDIOBJ old = ::SelectObject(probe.DC(), font);
    const auto answer = ask(probe.DC());
    ::SelectObject(probe.DC(), old);
    return answer;
}

int Height(HFONT font) {
    return WithFont(font, [](HDC dc) {
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(dc, &tm);
        return static_cast<int>(tm.tmHeight);
    });
}

bool DrawsChinese(HFONT font) {
    return WithFont(font, [](HDC dc) {
        WORD glyphs[4] = {};
        ::GetGlyphIndicesW(dc, L"卸载完成", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
        return glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF && glyphs[2] != 0xFFFF &&
               glyphs[3] != 0xFFFF;
    });
}

// Sizes from skins and mark-up end up between 6 and 144 pixels.
TEST(SkinFontSize, OutOfRangeSizesAreClamped) {
    const struct {
        int asked, atLeast, atMost;
    } kSizes[] = {{1, 6, 20}, {0, 6, 20}, {-40, 6, 20}, {14, 12, 20}, {100000, 130, 200}};
    for (const auto& size : kSizes) {
        CWindowManagerUI manager;
        const HFONT font = manager.AddFont(L"DejaVu Sans", size.asked, false, false, false);
        EXPECT_GE(Height(font), size.atLeast) << size.asked;
        EXPECT_LE(Height(font), size.atMost) << size.asked;
        // Asking again finds the same font instead of adding one.
        EXPECT_EQ(font, manager.GetFont(L"DejaVu Sans", size.asked, false, false, false));
    }
}

// A PC without the skin's face still shows the skin's Chinese; an installed
// face is kept; bold is the bold weight.
TEST(SkinFontFace, MissingFaceStillDrawsChineseAndBoldIsBold) {
    CWindowManagerUI manager;
    for (const wchar_t* face : {L"No Such Face 7f3a", L"不存在的字体"}) {
        EXPECT_TRUE(DrawsChinese(manager.AddFont(face, 16, false, false, false)));
        EXPECT_TRUE(DrawsChinese(manager.AddFont(face, 16, true, false, false)));
    }
    manager.SetDefaultFont(L"No Such Face 7f3a", 14, false, false, false);
    EXPECT_TRUE(DrawsChinese(manager.GetDefaultFontInfo()->hFont));
    const HFONT bold = manager.AddFont(L"DejaVu Sans", 16, true, false, false);
    EXPECT_EQ(L"DejaVu Sans", WithFont(bold, [](HDC dc) {
                  wchar_t face[LF_FACESIZE] = {};
                  ::GetTextFaceW(dc, LF_FACESIZE, face);
                  return std::wstring(face);
              }));
    LOGFONTW lf = {};
    ::GetObjectW(bold, sizeof(lf), &lf);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
}

} // namespace
