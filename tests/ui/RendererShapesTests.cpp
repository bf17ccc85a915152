#include <windows.h>

#include "ui/ClipRegionUI.h"
#include "ui/GdiBlend.h"
#include "ui/RendererInternal.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;
using namespace TestSupport;
using namespace RendererTest;

namespace {

TEST(DrawColor, AlphaZeroDrawsNothing) {
    DibSurface surface(8, 8, 0xFF123456);
    CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0x00FF0000);
    EXPECT_TRUE(AreaIs(surface, surface.Rect(), 0x123456, 0));
}

TEST(DrawColor, SemiTransparentBlendsPremultiplied) {
    DibSurface surface(8, 8, 0xFFFFFFFF);
    CRendererUI::DrawColor(surface.DC(), {1, 1, 7, 7}, 0x80FF0000);
    EXPECT_TRUE(AreaIs(surface, {1, 1, 7, 7}, 0xFF7F7F));
    EXPECT_TRUE(NearRgb(surface.Pixel(0, 0), 0xFFFFFF));

    // Over black the colour at half strength; twice over white a quarter.
    DibSurface black(4, 4, 0xFF000000);
    CRendererUI::DrawColor(black.DC(), black.Rect(), 0x80FF0000);
    EXPECT_TRUE(AreaIs(black, black.Rect(), 0x800000));
    CRendererUI::DrawColor(surface.DC(), {1, 1, 7, 7}, 0x80FF0000);
    EXPECT_TRUE(AreaIs(surface, {1, 1, 7, 7}, 0xFF3F3F));

    // The translucent black bar of a layout's drag preview.
    DibSurface grey(4, 4, 0xFFC0C0C0);
    CRendererUI::DrawColor(grey.DC(), grey.Rect(), 0xAA000000);
    EXPECT_TRUE(AreaIs(grey, grey.Rect(), 0x404040));
}

// Blending and gradients use gdi32's functions: neither a window manager
// nor drawing loads msimg32.
TEST(DrawGradient, BlendsAndGradientsNeedNoMsimg32) {
    ASSERT_NE(nullptr, GdiBlend::AlphaBlendFunction());
    ASSERT_NE(nullptr, GdiBlend::GradientFillFunction());
    const CWindowManagerUI manager;
    DibSurface surface(16, 16, 0xFFFFFFFF);
    CRendererUI::DrawGradient(surface.DC(), surface.Rect(), 0x80FF0000, 0x800000FF, true, 16);
    CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0x8000FF00);
    EXPECT_TRUE(NearRgb(surface.Pixel(8, 0), 0x7FBF3F, 4)); // half red, then half green
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"msimg32.dll"));
}

// Attaching the common controls costs the first page time: a manager leaves them to the first
// native common control. Any test before it could attach them, so it runs alone in a program of its
// own (the next case), never in the whole run.
TEST(CommonControlsFirstUse, DISABLED_ManagerLeavesThemToTheFirstNativeControl) {
    ASSERT_EQ(nullptr, ::GetModuleHandleW(L"comctl32.dll"));
    const CWindowManagerUI manager;
    DibSurface surface(16, 16, 0xFFFFFFFF);
    CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0x8000FF00);
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"comctl32.dll"));
    CWindowManagerUI::PrepareCommonControls();
    EXPECT_NE(nullptr, ::GetModuleHandleW(L"comctl32.dll"));
    WNDCLASSEXW tooltip = {};
    tooltip.cbSize = sizeof(tooltip);
    EXPECT_TRUE(::GetClassInfoExW(nullptr, L"tooltips_class32", &tooltip));
}

TEST(CommonControlsFirstUse, ManagerLeavesThemToTheFirstNativeControlInAProgramOfItsOwn) {
    const std::wstring name =
        L"CommonControlsFirstUse.DISABLED_ManagerLeavesThemToTheFirstNativeControl";
    const TestCaseRun run = RunOwnTestCaseAlone(name, 60000);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(0u, run.code) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("[       OK ] " + ToUtf8(name))) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("[  PASSED  ] 1 test.")) << run.output;
}

TEST(DrawGradient, HorizontalAndVerticalRamps) {
    DibSurface surface(256, 4, 0xFFFFFFFF);
    CRendererUI::DrawGradient(surface.DC(), surface.Rect(), 0xFF000000, 0xFFFFFFFF, false, 64);
    for (int x = 0; x < 256; x += 15) {
        EXPECT_TRUE(NearRgb(surface.Pixel(x, 2), 0x010101u * x)) << x;
    }
    DibSurface vertical(4, 256, 0xFFFFFFFF);
    CRendererUI::DrawGradient(vertical.DC(), vertical.Rect(), 0xFFFF0000, 0xFF0000FF, true, 64);
    for (int y = 0; y < 256; y += 15) {
        EXPECT_TRUE(NearRgb(vertical.Pixel(1, y), (255u - y) << 16 | y)) << y;
    }
}

TEST(DrawGradient, BandsWithoutGradientFill) {
    // 4 steps: 4 bands of 16 pixels; band 0 at the right edge has the second
    // colour, band i (second * (4 - i) + first * i) >> 2.
    DibSurface surface(64, 2, 0xFFFFFFFF);
    FillGradientBands(surface.DC(), surface.Rect(), 0xFF000000, 0xFFFFFFFF, false, 4);
    const uint32_t bands[4] = {0xFFFFFF, 0xBFBFBF, 0x7F7F7F, 0x3F3F3F};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(AreaIs(surface, {64 - 16 * (i + 1), 0, 64 - 16 * i, 2}, bands[i], 0)) << i;
    }
    // Vertical, 64 steps over 10 pixels: empty bands are skipped and the
    // whole height is still covered.
    DibSurface vertical(2, 10, 0xFF00FF00);
    FillGradientBands(vertical.DC(), vertical.Rect(), 0xFFFF0000, 0xFFFF0000, true, 64);
    EXPECT_TRUE(AreaIs(vertical, vertical.Rect(), 0xFF0000, 0));
}

TEST(DrawLines, RectOutlineInsideTheRectangle) {
    DibSurface surface(20, 20, 0xFFFFFFFF);
    CRendererUI::DrawRect(surface.DC(), {2, 2, 18, 18}, 2, 0xFFFF0000);
    EXPECT_TRUE(AreaIs(surface, {2, 2, 18, 4}, 0xFF0000, 0));
    EXPECT_TRUE(AreaIs(surface, {2, 16, 18, 18}, 0xFF0000, 0));
    EXPECT_TRUE(AreaIs(surface, {2, 2, 4, 18}, 0xFF0000, 0));
    EXPECT_TRUE(AreaIs(surface, {16, 2, 18, 18}, 0xFF0000, 0));
    EXPECT_TRUE(AreaIs(surface, {4, 4, 16, 16}, 0xFFFFFF, 0)); // hollow
    EXPECT_EQ(16 * 16 - 12 * 12, CountChanged(surface, surface.Rect(), 0xFFFFFF));
}

TEST(AdjustColorHsl, HueSaturationAndLightness) {
    // The low byte is read as red: 0xFF0000FF is pure "red" here. Hue +120
    // turns it into green (the middle byte); alpha stays.
    EXPECT_EQ(0x8000FF00u, CRendererUI::AdjustColorHsl(0x800000FF, 300, 100, 100));
    EXPECT_EQ(0xFFFF0000u, CRendererUI::AdjustColorHsl(0xFF0000FF, 60, 100, 100));
    // No saturation: grey of the same lightness.
    EXPECT_EQ(0xFF7F7F7Fu, CRendererUI::AdjustColorHsl(0xFF0000FF, 180, 0, 100));
    // No lightness: black; the alpha byte stays.
    EXPECT_EQ(0x40000000u, CRendererUI::AdjustColorHsl(0x40336699, 180, 100, 0));
    // White has no hue to turn.
    EXPECT_EQ(0xFFFFFFFFu, CRendererUI::AdjustColorHsl(0xFFFFFFFF, 0, 100, 100));
    // The neutral settings return the colour as it was, alpha included (a
    // round trip through HSL would turn 0x336699 into 0x326699).
    for (DWORD colour : {0xFF336699u, 0x80123456u, 0x00000000u}) {
        EXPECT_EQ(colour, CRendererUI::AdjustColorHsl(colour, 180, 100, 100)) << std::hex << colour;
    }
}

TEST(ClipRegion, RectGuardLimitsDrawingAndRestores) {
    DibSurface surface(20, 20, 0xFFFFFFFF);
    {
        CClipRegionUI clip;
        CClipRegionUI::ClipToRect(surface.DC(), {5, 5, 10, 10}, clip);
        CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0xFFFF0000);
        EXPECT_EQ(25, CountChanged(surface, surface.Rect(), 0xFFFFFF));
        {
            CClipRegionUI inner;
            CClipRegionUI::ClipToRect(surface.DC(), {8, 8, 15, 15}, inner);
            CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0xFF0000FF);
            EXPECT_TRUE(AreaIs(surface, {8, 8, 10, 10}, 0x0000FF, 0)); // intersection only
            CClipRegionUI::UseOuterClipBegin(surface.DC(), inner);
            CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0xFF00FF00);
            CClipRegionUI::UseOuterClipEnd(surface.DC(), inner);
            EXPECT_TRUE(AreaIs(surface, {5, 5, 10, 10}, 0x00FF00, 0));
            CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0xFF000000);
            EXPECT_TRUE(AreaIs(surface, {8, 8, 10, 10}, 0x000000, 0));
            EXPECT_TRUE(AreaIs(surface, {5, 5, 8, 8}, 0x00FF00, 0));
        }
        EXPECT_EQ(25, CountChanged(surface, surface.Rect(), 0xFFFFFF));
    }
    CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0xFF808080);
    EXPECT_TRUE(AreaIs(surface, surface.Rect(), 0x808080, 0));
}

TEST(ClipRegion, RoundRectGuardCutsTheCorners) {
    DibSurface surface(20, 20, 0xFFFFFFFF);
    {
        CClipRegionUI clip;
        const RECT item = {0, 0, 20, 20};
        CClipRegionUI::ClipToRoundRect(surface.DC(), item, item, 10, 10, clip);
        CRendererUI::DrawColor(surface.DC(), surface.Rect(), 0xFFFF0000);
    }
    EXPECT_TRUE(NearRgb(surface.Pixel(0, 0), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(surface.Pixel(19, 0), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(surface.Pixel(0, 19), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(surface.Pixel(10, 0), 0xFF0000));
    EXPECT_TRUE(NearRgb(surface.Pixel(19, 10), 0xFF0000)); // last column kept
    EXPECT_TRUE(NearRgb(surface.Pixel(10, 19), 0xFF0000)); // last row kept
}

} // namespace
