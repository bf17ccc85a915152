#include <windows.h>

#include "ui/ClipRegionUI.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace SkinUI;
using namespace TestSupport;
using namespace RendererTest;

namespace {

// A rounded button face with a soft shadow: 24 x 24, 8-pixel corners,
// translucent rim.
ArgbImage ButtonFace() {
    ArgbImage image(24, 24, 0);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const double dx = std::max(0.0, std::max(8.0 - x, x - 15.0));
            const double dy = std::max(0.0, std::max(8.0 - y, y - 15.0));
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > 8.0) {
                continue;
            }
            const uint32_t alpha = d > 6.5 ? static_cast<uint32_t>(255 * (8.0 - d) / 1.5) : 255;
            const uint32_t shade = static_cast<uint32_t>(0x50 + 0x60 * (23 - y) / 23);
            image.At(x, y) = alpha << 24 | (shade / 2) << 16 | shade << 8 | 0xE0;
        }
    }
    return image;
}

ArgbImage Checker() {
    ArgbImage image(16, 16, 0xFFE8E8F0);
    image.FillRect(0, 0, 8, 8, 0xFFD0D0E0);
    image.FillRect(8, 8, 16, 16, 0xFFD0D0E0);
    return image;
}

ArgbImage Icons() {
    // Three 16 x 16 frames: a red disc, a green square, a blue ring.
    ArgbImage image(48, 16, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const double d = std::hypot(x - 7.5, y - 7.5);
            if (d < 7) {
                image.At(x, y) = 0xFFD03030;
            }
            if (x > 2 && x < 13 && y > 2 && y < 13) {
                image.At(16 + x, y) = 0xC030A030;
            }
            if (d < 7.5 && d > 4.5) {
                image.At(32 + x, y) = 0xFF3050D0;
            }
        }
    }
    return image;
}

std::wstring Quoted(const std::wstring& path) {
    return L"'" + path + L"'";
}

// Draws a bit of everything the renderer does into one picture, saved as
// renderer_sample.png beside the test program's working folder, and checks
// a few of its pixels.
TEST(RendererSample, PaintsAPanelAndSavesIt) {
    TempDir dir(L"sample");
    const std::wstring button = dir / L"button.png";
    const std::wstring checker = dir / L"checker.png";
    const std::wstring icons = dir / L"icons.png";
    ASSERT_TRUE(WriteFileBytes(button, EncodePng(ButtonFace())));
    ASSERT_TRUE(WriteFileBytes(checker, EncodePng(Checker())));
    ASSERT_TRUE(WriteFileBytes(icons, EncodePng(Icons())));

    CWindowManagerUI manager;
    manager.SetDefaultFont(L"DejaVu Sans", 13, false, false, false);
    const HFONT title = manager.AddFont(L"DejaVu Sans", 18, true, false, false);
    ASSERT_NE(nullptr, title);

    DibSurface surface(480, 320, 0xFFFFFFFF);
    const HDC dc = surface.DC();
    const RECT all = surface.Rect();

    // Tiled background, a title bar gradient and a border.
    ASSERT_TRUE(CRendererUI::DrawImageDescription(
        dc, &manager, all, all,
        (L"file=" + Quoted(checker) + L" xtiled='true' ytiled='true'").c_str()));
    CRendererUI::DrawGradient(dc, {0, 0, 480, 36}, 0xFF2B5797, 0xFF6FA0E0, true, 64);
    RECT titleRect = {12, 0, 468, 36};
    CRendererUI::DrawText(dc, &manager, titleRect, L"SkinUI renderer sample", 0xFFFFFFFF, 0,
                          DT_SINGLELINE | DT_VCENTER);
    CRendererUI::DrawRect(dc, all, 2, 0xFF2B5797);

    // Nine-grid buttons at three sizes, one faded.
    const std::wstring face = L"file=" + Quoted(button) + L" corner='8,8,8,8'";
    const RECT buttons[] = {{20, 50, 120, 80}, {140, 50, 300, 90}, {320, 50, 460, 70}};
    for (const RECT& rc : buttons) {
        ASSERT_TRUE(CRendererUI::DrawImageDescription(dc, &manager, rc, all, face.c_str()));
    }
    ASSERT_TRUE(CRendererUI::DrawImageDescription(dc, &manager, {20, 95, 120, 125}, all,
                                                  face.c_str(), L"fade='96'"));
    ASSERT_TRUE(CRendererUI::DrawImageDescription(dc, &manager, {140, 95, 300, 125}, all,
                                                  face.c_str(), L"hole='true'"));
    RECT label = {20, 50, 120, 80};
    int none = 0;
    CRendererUI::DrawMarkupText(dc, &manager, label, L"<b>OK</b>", 0xFFFFFFFF, nullptr, nullptr,
                                none, DT_SINGLELINE | DT_CENTER | DT_VCENTER);

    // Colour fills: opaque, translucent red over everything, a gradient pair.
    CRendererUI::DrawColor(dc, {320, 95, 380, 125}, 0xFF30A050);
    CRendererUI::DrawColor(dc, {350, 80, 460, 140}, 0x80FF0000);
    CRendererUI::DrawGradient(dc, {20, 135, 240, 150}, 0xFFFFC000, 0xFF8000FF, false, 64);
    CRendererUI::DrawGradient(dc, {250, 135, 460, 150}, 0x80000000, 0x80000000, false, 8);
    CRendererUI::DrawRoundRect(dc, {20, 160, 240, 200}, 2, 12, 12, 0xFF2B5797);
    CRendererUI::DrawLine(dc, {250, 180, 460, 180}, 1, 0xFF000000, PS_DASH);
    {
        CClipRegionUI clip;
        CClipRegionUI::ClipToRoundRect(dc, {250, 160, 460, 200}, {250, 160, 460, 200}, 20, 20,
                                       clip);
        CRendererUI::DrawColor(dc, {250, 185, 460, 200}, 0xFF6FA0E0);
    }

    // Mark-up text with links, colours, fonts, an inline image and a wrap.
    manager.SetDefaultLinkFontColor(0xFF0050C0);
    const std::wstring markup =
        L"<p 2>Mark-up: <b>bold</b>, <i>italic</i>, <u>underline</u>, "
        L"<c #D03030>red</c>, <f 0>title font</f> and a <a home>link</a>.</p>"
        L"<p 2>Icons <i file=" +
        Quoted(icons) + L" 3 0> <i file=" + Quoted(icons) + L" 3 1> <i file=" + Quoted(icons) +
        L" 3 2> inline; escapes {<}tag{>} <{>brace<}>; "
        L"<s>selected</s>; a long <a second>link that wraps onto the next line</a> "
        L"with word breaks.</p>";
    RECT textRect = {20, 210, 460, 310};
    RECT links[4] = {};
    CUIString names[4];
    int linkCount = 4;
    CRendererUI::DrawMarkupText(dc, &manager, textRect, markup.c_str(), 0xFF202020, links, names,
                                linkCount, DT_WORDBREAK);
    for (int i = 0; i < linkCount; ++i) {
        CRendererUI::DrawRect(dc, links[i], 1, 0x6000A000);
    }

    const std::string png = EncodePng(surface.Snapshot());
    ASSERT_TRUE(WriteFileBytes(L"renderer_sample.png", png));

    EXPECT_GE(linkCount, 3); // "home" and the wrapped "second" in two parts
    EXPECT_EQ(std::wstring(L"home"), names[0].GetData());
    EXPECT_TRUE(NearRgb(surface.Pixel(330, 110), 0x30A050));
    EXPECT_TRUE(NearRgb(surface.Pixel(360, 110), 0x974F27)); // half red over the green
    EXPECT_TRUE(NearRgb(surface.Pixel(1, 1), 0x2B5797));
    EXPECT_GT(CountChanged(surface, textRect, 0xE8E8F0), 500);
}

} // namespace
