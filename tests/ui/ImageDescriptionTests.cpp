#include <windows.h>

#include "ui/ImageDescriptionUI.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

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

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ImageDescriptionParse, BareNameUsesDefaults) {
    const Parsed p = Parse(L"bk.png");
    EXPECT_EQ(std::wstring(L"bk.png"), p.settings.sFile.GetData());
    EXPECT_TRUE(p.settings.sResType.IsEmpty());
    EXPECT_TRUE(SameRect(kItem, p.settings.rcDest));
    EXPECT_TRUE(SameRect({0, 0, 0, 0}, p.settings.rcSource));
    EXPECT_TRUE(SameRect({0, 0, 0, 0}, p.settings.rcCorners));
    EXPECT_EQ(0u, p.settings.dwMask);
    EXPECT_EQ(255, p.settings.uFade);
    EXPECT_FALSE(p.settings.bHole);
    EXPECT_FALSE(p.settings.bXTiled);
    EXPECT_FALSE(p.settings.bYTiled);
    EXPECT_TRUE(p.drawnEarly.empty());
}

TEST(ImageDescriptionParse, EveryKeyIsRead) {
    const Parsed p = Parse(L"file='btn.png' restype='PNG' source='1,2,30,40' corner='4,5,6,7' "
                           L"mask='#FFFF00FF' fade='128' hole='true' xtiled='true' ytiled='true' "
                           L"dest='5,6,50,60'");
    EXPECT_EQ(std::wstring(L"btn.png"), p.settings.sFile.GetData());
    EXPECT_EQ(std::wstring(L"PNG"), p.settings.sResType.GetData());
    EXPECT_TRUE(SameRect({1, 2, 30, 40}, p.settings.rcSource));
    EXPECT_TRUE(SameRect({4, 5, 6, 7}, p.settings.rcCorners));
    EXPECT_EQ(0xFFFF00FFu, p.settings.dwMask);
    EXPECT_EQ(128, p.settings.uFade);
    EXPECT_TRUE(p.settings.bHole);
    EXPECT_TRUE(p.settings.bXTiled);
    EXPECT_TRUE(p.settings.bYTiled);
    EXPECT_TRUE(SameRect({15, 26, 60, 80}, p.settings.rcDest));
    // "restype" after "file" draws the file first with what was set so far.
    ASSERT_EQ(1u, p.drawnEarly.size());
    EXPECT_EQ(L"btn.png", p.drawnEarly[0]);
}

TEST(ImageDescriptionParse, DestIsLimitedToTheItem) {
    const Parsed p = Parse(L"file='a.png' dest='0,0,300,300'");
    EXPECT_TRUE(SameRect(kItem, p.settings.rcDest));
}

TEST(ImageDescriptionParse, SecondFileDrawsTheFirst) {
    const Parsed p = Parse(L"file='a.png' file='b.png'");
    ASSERT_EQ(1u, p.drawnEarly.size());
    EXPECT_EQ(L"a.png", p.drawnEarly[0]);
    EXPECT_EQ(std::wstring(L"b.png"), p.settings.sFile.GetData());
}

TEST(ImageDescriptionParse, ResDoesNotCountAsNamedImage) {
    const Parsed p = Parse(L"res='1.png' res='2.png'");
    EXPECT_TRUE(p.drawnEarly.empty());
    EXPECT_EQ(std::wstring(L"2.png"), p.settings.sFile.GetData());
}

TEST(ImageDescriptionParse, ModifierChangesSettingsAndStartsItsOwnCount) {
    const Parsed p = Parse(L"file='a.png' fade='100'", L"dest='1,1,11,11' file='b.png'");
    EXPECT_TRUE(p.drawnEarly.empty());
    EXPECT_EQ(std::wstring(L"b.png"), p.settings.sFile.GetData());
    EXPECT_EQ(100, p.settings.uFade);
    EXPECT_TRUE(SameRect({11, 21, 21, 31}, p.settings.rcDest));
}

TEST(ImageDescriptionParse, FlagsAreTrueOnlyForExactTrue) {
    const Parsed p = Parse(L"file='a' hole='TRUE' xtiled='1' ytiled='yes'");
    EXPECT_FALSE(p.settings.bHole);
    EXPECT_FALSE(p.settings.bXTiled);
    EXPECT_FALSE(p.settings.bYTiled);
}

TEST(ImageDescriptionParse, BlanksAroundEqualsAndEmptyValues) {
    const Parsed p = Parse(L"  file = 'x.png'   fade=''  mask='00FF00' ");
    EXPECT_EQ(std::wstring(L"x.png"), p.settings.sFile.GetData());
    EXPECT_EQ(255, p.settings.uFade);
    EXPECT_EQ(0x00FF00u, p.settings.dwMask);
}

TEST(ImageDescriptionParse, MalformedTextStopsWhereItGoesWrong) {
    // No closing quote: nothing of that pair, nothing after it.
    Parsed p = Parse(L"file='x.png' fade='12 hole='true'");
    EXPECT_EQ(std::wstring(L"x.png"), p.settings.sFile.GetData());
    EXPECT_EQ(12, p.settings.uFade); // the value runs to the next quote: "12 hole="
    EXPECT_FALSE(p.settings.bHole);
    // A pair must be followed by a blank.
    p = Parse(L"file='x.png'fade='12'");
    EXPECT_EQ(255, p.settings.uFade);
    // No equals sign: the bare name stays.
    p = Parse(L"file 'x.png'");
    EXPECT_EQ(std::wstring(L"file 'x.png'"), p.settings.sFile.GetData());
    // Missing numbers count as 0 and nothing is read past the end.
    p = Parse(L"file='x' source='5' corner='1,2,'");
    EXPECT_TRUE(SameRect({5, 0, 0, 0}, p.settings.rcSource));
    EXPECT_TRUE(SameRect({1, 2, 0, 0}, p.settings.rcCorners));
    // Fade outside 0..255 is clamped.
    p = Parse(L"file='x' fade='300'");
    EXPECT_EQ(255, p.settings.uFade);
    p = Parse(L"file='x' fade='-5'");
    EXPECT_EQ(0, p.settings.uFade);
}

TEST(ImageDescriptionParse, UnknownKeysAreIgnored) {
    const Parsed p = Parse(L"file='a.png' colour='red' fade='9'");
    EXPECT_EQ(9, p.settings.uFade);
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

TEST_F(ImageDescriptionDraw, TwoFilesDrawInOrder) {
    DibSurface surface(20, 20, 0xFFFFFFFF);
    const RECT item = surface.Rect();
    const std::wstring d = L"file='" + redPath_ + L"' file='" + bluePath_ + L"' dest='0,0,10,20'";
    ASSERT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, d.c_str()));
    // red over the whole item, then blue over the left half only
    EXPECT_TRUE(AreaIs(surface, {0, 0, 10, 20}, 0x0000FF));
    EXPECT_TRUE(AreaIs(surface, {10, 0, 20, 20}, 0xFF0000));
}

TEST_F(ImageDescriptionDraw, ModifierPlacesTheImage) {
    DibSurface surface(20, 20, 0xFFFFFFFF);
    const RECT item = {2, 2, 18, 18};
    ASSERT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item,
                                                  redPath_.c_str(), L"dest='2,2,6,6'"));
    EXPECT_TRUE(AreaIs(surface, {4, 4, 8, 8}, 0xFF0000));
    EXPECT_EQ(16, CountChanged(surface, surface.Rect(), 0xFFFFFF));
}

TEST_F(ImageDescriptionDraw, SourcePartAndFade) {
    DibSurface surface(8, 8, 0xFFFFFFFF);
    const RECT item = surface.Rect();
    const std::wstring d = L"file='" + gridPath_ + L"' source='8,0,12,4' fade='128'";
    ASSERT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, item, d.c_str()));
    EXPECT_TRUE(AreaIs(surface, item, 0x7FFF7F)); // half green over white
}

TEST_F(ImageDescriptionDraw, DestOutsidePaintDrawsNothingButSucceeds) {
    DibSurface surface(20, 20, 0xFFFFFFFF);
    const RECT item = surface.Rect();
    const RECT paint = {0, 0, 5, 5};
    const std::wstring d = L"file='" + redPath_ + L"' dest='10,10,20,20'";
    EXPECT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager_, item, paint, d.c_str()));
    EXPECT_EQ(0, CountChanged(surface, item, 0xFFFFFF));
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

} // namespace
