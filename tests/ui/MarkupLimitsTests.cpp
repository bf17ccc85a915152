#include <windows.h>

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/DibSurface.h"
#include "tests/ui/support/ColourCount.h"
#include "tests/ui/support/LiveFontCounter.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;
using TestSupport::DibSurface;

namespace {

std::wstring Repeat(const std::wstring& piece, int count, bool numbered = false) {
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += piece + (numbered ? std::to_wstring(i) + L">x" : L"");
    return text;
}

// Texts found by feeding the mark-up hostile input, each drawn into a column
// of its width and measured the way a text control sizes itself.
struct HostileText {
    std::wstring text;
    int width;
    int defaultFontSize; // 0: the manager's own
};

const HostileText kHostileTexts[] = {
    {std::wstring(32000, L'a'), 6, 0},                        // letters, 6-pixel text control
    {Repeat(L"<b>", 8000) + L"x", 100, 0},                    // unclosed style tags
    {Repeat(L"<b ", 8000), 100, 0},                           // tag openers never closed
    {Repeat(L"<u>", 8000) + std::wstring(32000, L'w'), 6, 0}, // unclosed styles, narrow column
    {Repeat(L"<f face", 8000, true), 100, 0},                 // invented faces
    {Repeat(L"a\x0301\x0308 ", 4000), 40, 1},                 // 1-pixel default font, marks
    {L"<f DejaVu Sans 1>" + Repeat(L"e\x0300\x20DD", 4000), 40, 0}, // 1-pixel mark-up font
};

class HostileMarkupTest : public ::testing::TestWithParam<HostileText> {};

TEST_P(HostileMarkupTest, DrawsAndMeasuresOnlyWhatTheRectangleHolds) {
    const TestSupport::LiveFontCounter fonts;
    ASSERT_TRUE(fonts.Counting());
    CWindowManagerUI manager;
    if (GetParam().defaultFontSize != 0)
        manager.SetDefaultFont(L"DejaVu Sans", GetParam().defaultFontSize, false, false, false);
    DibSurface surface(GetParam().width, 60);
    for (const UINT style : {0x0u, UINT(DT_WORDBREAK), UINT(DT_END_ELLIPSIS),
                             UINT(DT_VCENTER | DT_CENTER | DT_SINGLELINE)}) {
        RECT rc = {0, 0, GetParam().width, 60};
        RECT measured = {0, 0, GetParam().width, 9999};
        int links = 0;
        CRendererUI::DrawMarkupText(surface.DC(), &manager, rc, GetParam().text.c_str(), 0xFF000000,
                                    nullptr, nullptr, links, style);
        CRendererUI::DrawMarkupText(surface.DC(), &manager, measured, GetParam().text.c_str(),
                                    0xFF000000, nullptr, nullptr, links, style | DT_CALCRECT);
        // Measuring stops once the rectangle is full: at most a line more.
        EXPECT_LE(measured.bottom, 9999 + 200) << style;
    }
    EXPECT_GE(manager.GetDefaultFontInfo()->tm.tmHeight, 6); // readable
    // and few: no font numbered past the bound, no more fonts alive than it allows
    EXPECT_EQ(manager.GetFontInfo(CWindowManagerUI::MAX_CUSTOM_FONTS),
              manager.GetDefaultFontInfo());
    EXPECT_LE(fonts.Live(), CWindowManagerUI::MAX_CUSTOM_FONTS + 1);
}

INSTANTIATE_TEST_SUITE_P(FuzzFound, HostileMarkupTest, ::testing::ValuesIn(kHostileTexts));

// Colour tags with the manager's own default face, whatever the platform maps
// it to; single-line text ignores the line break.
TEST(MarkupColour, ColourTagDrawsItsColourOnOneLine) {
    CWindowManagerUI manager;
    DibSurface surface(300, 100);
    RECT rc = {0, 0, 300, 100};
    int links = 0;
    CRendererUI::DrawMarkupText(surface.DC(), &manager, rc,
                                L"<c #FF00FF00>WWWW</c><n>second line WWWW", 0xFFFF0000, nullptr,
                                nullptr, links, DT_SINGLELINE);
    EXPECT_GT(TestSupport::CountDominant(surface, RECT{0, 0, 300, 30}, 0xFF00FF00), 5);
    EXPECT_EQ(0, TestSupport::CountDominant(surface, RECT{0, 30, 300, 100}, 0xFFFF0000));
}

// A 1-pixel mark-up font is laid out at the smallest readable size.
TEST(SkinFontSize, MarkupFontSizeIsClamped) {
    CWindowManagerUI manager;
    DibSurface surface(4, 4);
    const auto width = [&](const wchar_t* text) {
        RECT rc = {0, 0, 9999, 200};
        int links = 0;
        CRendererUI::DrawMarkupText(surface.DC(), &manager, rc, text, 0xFF000000, nullptr, nullptr,
                                    links, DT_CALCRECT | DT_SINGLELINE);
        return rc.right;
    };
    EXPECT_EQ(width(L"<f DejaVu Sans 6>eeeeeeeeeeeeeeeeeeee</f>"),
              width(L"<f DejaVu Sans 1>eeeeeeeeeeeeeeeeeeee</f>"));
}

} // namespace
