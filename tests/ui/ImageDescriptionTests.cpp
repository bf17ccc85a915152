#include <windows.h>

#include "ui/ImageDescriptionUI.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

using namespace SkinUI;
using namespace TestSupport;
using namespace RendererTest;

namespace {

const RECT kItem = {10, 20, 110, 120};

struct Parsed {
    TImageDrawUI settings{kItem};
    std::vector<std::wstring> drawnEarly; // files handed over before the end
};

Parsed Parse(LPCWSTR description, LPCWSTR modify = nullptr) {
    Parsed parsed;
    const auto early = [&parsed](const TImageDrawUI& s) {
        parsed.drawnEarly.push_back(s.sFile.GetData());
    };
    ParseImageDescription(description, true, kItem, parsed.settings, early);
    ParseImageDescription(modify, false, kItem, parsed.settings, early);
    return parsed;
}

// Every setting on one line: file|restype|dest|source|corners|mask|fade|
// hole xtiled ytiled|the files handed over for drawing before the end.
std::wstring Summary(LPCWSTR description, LPCWSTR modify = nullptr) {
    const Parsed p = Parse(description, modify);
    const TImageDrawUI& s = p.settings;
    wchar_t text[300];
    swprintf(text, 300, L"%ls|%ls|%ld,%ld,%ld,%ld|%ld,%ld,%ld,%ld|%ld,%ld,%ld,%ld|%08lX|%d|%d%d%d|",
             s.sFile.GetData(), s.sResType.GetData(), s.rcDest.left, s.rcDest.top, s.rcDest.right,
             s.rcDest.bottom, s.rcSource.left, s.rcSource.top, s.rcSource.right, s.rcSource.bottom,
             s.rcCorners.left, s.rcCorners.top, s.rcCorners.right, s.rcCorners.bottom, s.dwMask,
             static_cast<int>(s.uFade), s.bHole ? 1 : 0, s.bXTiled ? 1 : 0, s.bYTiled ? 1 : 0);
    std::wstring out = text;
    for (const std::wstring& early : p.drawnEarly) {
        out += early + L";";
    }
    return out;
}

// The item is 10,20,110,120: "dest" is relative to it and cut at its edges.
TEST(ImageDescriptionParse, SettingsFromTheText) {
    const struct {
        LPCWSTR description, modify, expected;
    } rows[] = {
        {L"bk.png", nullptr, L"bk.png||10,20,110,120|0,0,0,0|0,0,0,0|00000000|255|000|"},
        // "restype" after "file" draws the file first with what was set so far.
        {L"file='btn.png' restype='PNG' source='1,2,30,40' corner='4,5,6,7' mask='#FFFF00FF' "
         L"fade='128' hole='true' xtiled='true' ytiled='true' dest='5,6,50,60'",
         nullptr, L"btn.png|PNG|15,26,60,80|1,2,30,40|4,5,6,7|FFFF00FF|128|111|btn.png;"},
        {L"file='a.png' dest='0,0,300,300'", nullptr,
         L"a.png||10,20,110,120|0,0,0,0|0,0,0,0|00000000|255|000|"},
        {L"file='a.png' file='b.png'", nullptr,
         L"b.png||10,20,110,120|0,0,0,0|0,0,0,0|00000000|255|000|a.png;"},
        // "res" names no image of its own: nothing is drawn early.
        {L"res='1.png' res='2.png'", nullptr,
         L"2.png||10,20,110,120|0,0,0,0|0,0,0,0|00000000|255|000|"},
        // The modifier changes the settings and counts its own files.
        {L"file='a.png' fade='100'", L"dest='1,1,11,11' file='b.png'",
         L"b.png||11,21,21,31|0,0,0,0|0,0,0,0|00000000|100|000|"},
        {L"file='a' hole='TRUE' xtiled='1' ytiled='yes' colour='red'", nullptr,
         L"a||10,20,110,120|0,0,0,0|0,0,0,0|00000000|255|000|"},
        {L"  file = 'x.png'   fade=''  mask='00FF00' ", nullptr,
         L"x.png||10,20,110,120|0,0,0,0|0,0,0,0|0000FF00|255|000|"},
        // No closing quote: the value runs to the next quote, nothing after it.
        {L"file='x.png' fade='12 hole='true'", nullptr,
         L"x.png||10,20,110,120|0,0,0,0|0,0,0,0|00000000|12|000|"},
        // A pair must be followed by a blank; without "=" the bare name stays.
        {L"file='x.png'fade='12'", nullptr,
         L"x.png||10,20,110,120|0,0,0,0|0,0,0,0|00000000|255|000|"},
        {L"file 'x.png'", nullptr,
         L"file 'x.png'||10,20,110,120|0,0,0,0|0,0,0,0|00000000|255|000|"},
        // Missing numbers count as 0; fade is clamped into 0..255.
        {L"file='x' source='5' corner='1,2,' fade='300'", nullptr,
         L"x||10,20,110,120|5,0,0,0|1,2,0,0|00000000|255|000|"},
        {L"file='x' fade='-5'", nullptr, L"x||10,20,110,120|0,0,0,0|0,0,0,0|00000000|0|000|"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.expected, Summary(row.description, row.modify))
            << TestSupport::ToUtf8(row.description);
    }
}

// Drawing through the window manager's image cache.
class ImageDescriptionDraw : public ::testing::Test {
protected:
    void SetUp() override {
        // 12 x 12: 4-pixel corners red, green, blue, yellow; edges cyan;
        // middle white-ish grey.
        ArgbImage grid(12, 12, 0xFF00FFFF);
        grid.FillRect(4, 4, 8, 8, 0xFFC0C0C0);
        grid.FillRect(0, 0, 4, 4, 0xFFFF0000);
        grid.FillRect(8, 0, 12, 4, 0xFF00FF00);
        grid.FillRect(0, 8, 4, 12, 0xFF0000FF);
        grid.FillRect(8, 8, 12, 12, 0xFFFFFF00);
        gridPath_ = dir_ / L"grid.png";
        ASSERT_TRUE(WriteFileBytes(gridPath_, EncodePng(grid)));
        redPath_ = dir_ / L"red.png";
        ASSERT_TRUE(WriteFileBytes(redPath_, EncodePng(ArgbImage(4, 4, 0xFFFF0000))));
        bluePath_ = dir_ / L"blue.png";
        ASSERT_TRUE(WriteFileBytes(bluePath_, EncodePng(ArgbImage(4, 4, 0xFF0000FF))));
    }

    TempDir dir_{L"desc"};
    std::wstring gridPath_, redPath_, bluePath_;
    CWindowManagerUI manager_;
};

TEST_F(ImageDescriptionDraw, BareNameStretchesOverTheItem) {
    DibSurface surface(40, 40, 0xFFFFFFFF);
    const RECT item = {0, 0, 40, 40};
    ASSERT_TRUE(
        CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, redPath_.c_str()));
    EXPECT_TRUE(AreaIs(surface, item, 0xFF0000));
}

TEST_F(ImageDescriptionDraw, CornersAreDrawnUnscaled) {
    DibSurface surface(40, 30, 0xFFFFFFFF);
    const RECT item = {0, 0, 40, 30};
    const std::wstring d = L"file='" + gridPath_ + L"' corner='4,4,4,4'";
    ASSERT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, d.c_str()));
    EXPECT_TRUE(AreaIs(surface, {0, 0, 4, 4}, 0xFF0000));
    EXPECT_TRUE(AreaIs(surface, {36, 0, 40, 4}, 0x00FF00));
    EXPECT_TRUE(AreaIs(surface, {0, 26, 4, 30}, 0x0000FF));
    EXPECT_TRUE(AreaIs(surface, {36, 26, 40, 30}, 0xFFFF00));
    EXPECT_TRUE(AreaIs(surface, {5, 0, 35, 4}, 0x00FFFF));
    EXPECT_TRUE(AreaIs(surface, {5, 5, 35, 25}, 0xC0C0C0));
}

// An opaque image that fits its destination exactly, without corners, is
// copied once as a whole (within the paint rectangle), hole or not.
TEST_F(ImageDescriptionDraw, ExactFitIsOneCopyEvenWithAHole) {
    DibSurface surface(12, 12, 0xFFFFFFFF);
    const RECT item = surface.Rect();
    const RECT paint = {0, 0, 6, 12};
    const std::wstring d = L"file='" + gridPath_ + L"' hole='true'";
    ASSERT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, paint, d.c_str()));
    EXPECT_TRUE(AreaIs(surface, {0, 0, 4, 4}, 0xFF0000));
    EXPECT_TRUE(AreaIs(surface, {4, 4, 6, 8}, 0xC0C0C0));
    EXPECT_TRUE(AreaIs(surface, {6, 0, 12, 12}, 0xFFFFFF));
}

TEST_F(ImageDescriptionDraw, SourcePartAndFade) {
    DibSurface surface(8, 8, 0xFFFFFFFF);
    const RECT item = surface.Rect();
    const std::wstring d = L"file='" + gridPath_ + L"' source='8,0,12,4' fade='128'";
    ASSERT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, d.c_str()));
    EXPECT_TRUE(AreaIs(surface, item, 0x7FFF7F)); // half green over white
}

TEST_F(ImageDescriptionDraw, FailuresAreReported) {
    DibSurface surface(8, 8);
    const RECT item = surface.Rect();
    EXPECT_FALSE(CRendererUI::DrawImageDescription(nullptr, &manager_, item, item, L"x.png"));
    EXPECT_FALSE(CRendererUI::DrawImageDescription(surface.DC(), nullptr, item, item, L"x.png"));
    const std::wstring missing = dir_ / L"missing.png";
    EXPECT_FALSE(
        CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, missing.c_str()));
    // One image of several missing: the description is reported as failed.
    const std::wstring d = L"file='" + redPath_ + L"' file='" + missing + L"'";
    EXPECT_FALSE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, d.c_str()));
    EXPECT_FALSE(CRendererUI::DrawNamedImage(surface.DC(), &manager_, item, item, CUIString(),
                                             CUIString(), item, {0, 0, 0, 0}, {0, 0, 0, 0}, 0, 255,
                                             false, false, false));
}

TEST_F(ImageDescriptionDraw, MaskAppliesWhenTheImageIsFirstLoaded) {
    ArgbImage image(2, 1);
    image.At(0, 0) = 0xFFFF00FF;
    image.At(1, 0) = 0xFF00FF00;
    const std::wstring path = dir_ / L"masked.png";
    ASSERT_TRUE(WriteFileBytes(path, EncodePng(image)));
    DibSurface surface(2, 1, 0xFFFFFFFF);
    const RECT item = surface.Rect();
    const std::wstring d = L"file='" + path + L"' mask='#FFFF00FF'";
    ASSERT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, d.c_str()));
    EXPECT_TRUE(NearRgb(surface.Pixel(0, 0), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(surface.Pixel(1, 0), 0x00FF00));
    const TImageRecordUI* cached = manager_.GetImageOrAdd(path.c_str());
    ASSERT_NE(nullptr, cached);
    EXPECT_TRUE(cached->alphaChannel);
    EXPECT_EQ(0xFFFF00FFu, cached->dwMask);
}

// An image covers the item only where drawing it provably leaves no pixel
// of the item as it was; each "covers" answer is checked against drawing it
// over magenta.
TEST_F(ImageDescriptionDraw, CoversOnlyWhenOpaqueOverTheWholeItem) {
    ArgbImage translucent(4, 4, 0xFFFF0000);
    translucent.At(3, 3) = 0x80800000;
    const std::wstring translucentPath = dir_ / L"translucent.png";
    ASSERT_TRUE(WriteFileBytes(translucentPath, EncodePng(translucent)));
    ArgbImage magentaCorner(4, 4, 0xFF00FF00);
    magentaCorner.At(0, 0) = 0xFFFF00FF;
    const std::wstring maskedPath = dir_ / L"maskcorner.png";
    ASSERT_TRUE(WriteFileBytes(maskedPath, EncodePng(magentaCorner)));
    const std::wstring red = L"file='" + redPath_ + L"'";
    const std::wstring grid = L"file='" + gridPath_ + L"'";
    const struct {
        std::wstring description;
        bool covers;
    } rows[] = {
        {redPath_, true},
        {red + L" dest='0,0,40,40'", true},
        {red + L" dest='0,0,40,30'", false},
        {red + L" fade='200'", false},
        {red + L" source='2,2,4,4'", true},
        {red + L" source='8,0,12,4'", false}, // outside the image
        {red + L" xtiled='true' ytiled='true'", true},
        {grid + L" corner='4,4,4,4'", true},
        {grid + L" corner='4,4,4,4' hole='true'", false},
        {grid + L" corner='6,6,6,6'", false},  // no middle left in the source
        {grid + L" corner='4,4,38,4'", false}, // corners wider than the item
        {grid + L" corner='-2,4,4,4'", false},
        {L"file='" + translucentPath + L"'", false},
        {L"file='" + maskedPath + L"' mask='#FFFF00FF'", false},
        {L"file='" + (dir_ / L"missing.png") + L"'", false},
        // Settings carry over to the next image of the description.
        {red + L" dest='0,0,20,40' file='" + bluePath_ + L"'", false},
        {red + L" dest='0,0,20,40' file='" + bluePath_ + L"' dest='0,0,40,40'", true},
        {L"file='" + bluePath_ + L"' " + red + L" dest='0,0,20,40'", true},
        {L"", false},
    };
    const RECT item = {0, 0, 40, 40};
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.description));
        EXPECT_EQ(row.covers,
                  CRendererUI::ImageDescriptionCovers(&manager_, item, row.description.c_str()));
        if (row.covers) {
            DibSurface surface(40, 40, 0xFFFF00FF);
            CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item,
                                              row.description.c_str());
            EXPECT_EQ(40 * 40, CountChanged(surface, item, 0xFF00FF));
        }
    }
    EXPECT_FALSE(CRendererUI::ImageDescriptionCovers(nullptr, item, redPath_.c_str()));
    EXPECT_FALSE(CRendererUI::ImageDescriptionCovers(&manager_, {5, 5, 5, 9}, redPath_.c_str()));
}

} // namespace
