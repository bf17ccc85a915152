#include <windows.h>

#include "tests/support/DibSurface.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/ui/support/ProbeControls.h"
#include "tests/ui/RendererTestUtil.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using RendererTest::AreaIs;
using RendererTest::CountChanged;
using RendererTest::NearRgb;
using SkinUI::CWindowManagerUI;
using TestSupport::ArgbImage;
using TestSupport::DibSurface;
using TestSupport::EncodePng;
using TestSupport::TempDir;
using TestSupport::WriteFileBytes;
using UiTest::Probe;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// A control at (10,10)-(50,40) on a white 60 x 50 surface, attached to a
// manager without a window.
class ControlPaint : public ::testing::Test {
protected:
    ControlPaint() : surface_(60, 50, 0xFFFFFFFF) {
        control_.AttachManager(&manager_, nullptr, false);
        control_.SetPos(item_);
    }
    ~ControlPaint() override { control_.AttachManager(nullptr, nullptr, false); }

    void PaintAll() { control_.Paint(surface_.DC(), surface_.Rect()); }

    CWindowManagerUI manager_;
    Probe control_;
    DibSurface surface_;
    const RECT item_ = {10, 10, 50, 40};
};

} // namespace

// ---- Order -------------------------------------------------------------------------------------

TEST_F(ControlPaint, StepsRunInTheFixedOrderWithoutTheOverlay) {
    PaintAll();
    EXPECT_EQ((std::vector<std::wstring>{L"bkcolor", L"bkimage", L"state", L"text", L"border"}),
              control_.steps);
    control_.steps.clear();
    control_.SetBorderRound(4, 4);
    PaintAll();
    EXPECT_EQ(5u, control_.steps.size());
}

// ---- Background colours -------------------------------------------------------------------

TEST_F(ControlPaint, OpaqueColourFillsOnlyThePaintRectangle) {
    control_.ApplyAttribute(L"bkcolor", L"#FF00FF00");
    control_.Paint(surface_.DC(), RECT{0, 0, 30, 20});
    EXPECT_TRUE(AreaIs(surface_, RECT{10, 10, 30, 20}, 0x00FF00));
    EXPECT_EQ(20 * 10, CountChanged(surface_, surface_.Rect(), kWhite));
}

TEST_F(ControlPaint, TranslucentColourFillsTheWholeItemBlended) {
    control_.ApplyAttribute(L"bkcolor", L"#80FF0000");
    control_.Paint(surface_.DC(), RECT{0, 0, 30, 20});
    EXPECT_TRUE(AreaIs(surface_, item_, 0xFF7F7F, 3));
    EXPECT_EQ(40 * 30, CountChanged(surface_, surface_.Rect(), kWhite));
}

TEST_F(ControlPaint, SixDigitColourHasNoAlphaAndDrawsNothing) {
    control_.ApplyAttribute(L"bkcolor", L"FF0000");
    EXPECT_EQ(0x00FF0000u, control_.GetBkColor());
    PaintAll();
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
}

TEST_F(ControlPaint, TwoColoursMakeOneVerticalGradient) {
    control_.ApplyAttribute(L"bkcolor", L"#FF000000");
    control_.ApplyAttribute(L"bkcolor2", L"#FF0000FF");
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 10), 0x000000, 3));
    EXPECT_TRUE(NearRgb(surface_.Pixel(49, 39), 0x0000FF, 10));
    // Vertical: rows are uniform, blue grows downwards.
    int previous = -1;
    for (int y = 10; y < 40; ++y) {
        const uint32_t left = surface_.Rgb(10, y);
        EXPECT_EQ(left, surface_.Rgb(49, y)) << y;
        const int blue = static_cast<int>(left & 0xFF);
        EXPECT_GE(blue, previous) << y;
        previous = blue;
    }
    EXPECT_TRUE(NearRgb(surface_.Pixel(25, 25), 0x00007F, 12));
    EXPECT_EQ(0, CountChanged(surface_, RECT{0, 0, 60, 10}, kWhite));
}

// ---- Background image ---------------------------------------------------------------------

class ControlPaintImage : public ControlPaint {
protected:
    void SetUp() override {
        ArgbImage image(4, 4, 0xFF00FF00);
        image.FillRect(0, 0, 2, 2, 0xFFFF0000);
        greenPath_ = dir_ / L"bk.png";
        ASSERT_TRUE(WriteFileBytes(greenPath_, EncodePng(image)));
    }
    TempDir dir_{L"ctlimg"};
    std::wstring greenPath_;
};

TEST_F(ControlPaintImage, ImageIsStretchedOverTheItem) {
    control_.ApplyAttribute(L"bkimage", greenPath_.c_str());
    PaintAll();
    // Stretching smooths the seams; the quadrants keep their colours.
    EXPECT_TRUE(AreaIs(surface_, RECT{10, 10, 16, 16}, 0xFF0000, 40));
    EXPECT_TRUE(AreaIs(surface_, RECT{40, 30, 50, 40}, 0x00FF00, 40));
    EXPECT_EQ(40 * 30, CountChanged(surface_, surface_.Rect(), kWhite));
    EXPECT_STREQ(greenPath_.c_str(), control_.GetBkImage());
}

TEST_F(ControlPaintImage, ImageDrawsOverTheColourAndUnderTheBorder) {
    const std::wstring description = L"file='" + greenPath_ + L"' dest='10,0,40,30'";
    control_.SetBkImage(description.c_str());
    control_.SetBkColor(0xFF0000FF);
    control_.SetBorderColor(0xFF000000);
    control_.SetBorderSize(1);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(15, 20), 0x0000FF));
    EXPECT_TRUE(NearRgb(surface_.Pixel(45, 35), 0x00FF00));
    EXPECT_TRUE(NearRgb(surface_.Pixel(45, 39), 0x000000));
}

// An opaque image over the whole control hides the colours under it, so
// they are not drawn: pieces of the image outside the paint rectangle are
// skipped and leave the surface as it was, where the gradient (drawn over
// the whole item) would have shown. A translucent image lets them show.
TEST_F(ControlPaintImage, ColoursUnderAnOpaqueCoveringImageAreNotDrawn) {
    ArgbImage grid(12, 12, 0xFF00FF00);
    ArgbImage seeThrough(12, 12, 0x80008000);
    const std::wstring gridPath = dir_ / L"grid.png";
    const std::wstring seeThroughPath = dir_ / L"seethrough.png";
    ASSERT_TRUE(WriteFileBytes(gridPath, EncodePng(grid)));
    ASSERT_TRUE(WriteFileBytes(seeThroughPath, EncodePng(seeThrough)));
    control_.SetBkColor(0xFF000000);
    control_.SetBkColor2(0xFF0000FF);
    control_.SetBkImage((L"file='" + gridPath + L"' corner='4,4,4,4'").c_str());
    control_.Paint(surface_.DC(), RECT{0, 0, 20, 20});
    EXPECT_TRUE(AreaIs(surface_, RECT{10, 10, 46, 36}, 0x00FF00));
    EXPECT_TRUE(AreaIs(surface_, RECT{46, 10, 50, 40}, kWhite));
    EXPECT_TRUE(AreaIs(surface_, RECT{10, 36, 50, 40}, kWhite));

    surface_.Fill(0xFFFFFFFF);
    control_.SetBkImage((L"file='" + seeThroughPath + L"' corner='4,4,4,4'").c_str());
    control_.Paint(surface_.DC(), RECT{0, 0, 20, 20});
    EXPECT_TRUE(NearRgb(surface_.Pixel(48, 38), 0x0000FF, 40));
}

// ---- Borders -----------------------------------------------------------------------------------

TEST_F(ControlPaint, UniformBorderIsAnInsideFrame) {
    control_.ApplyAttributeList(L"bordercolor=\"#FF0000FF\" bordersize=\"2\"");
    PaintAll();
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(NearRgb(surface_.Pixel(10 + i, 25), 0x0000FF)) << i;
        EXPECT_TRUE(NearRgb(surface_.Pixel(49 - i, 25), 0x0000FF)) << i;
        EXPECT_TRUE(NearRgb(surface_.Pixel(30, 10 + i), 0x0000FF)) << i;
        EXPECT_TRUE(NearRgb(surface_.Pixel(30, 39 - i), 0x0000FF)) << i;
    }
    EXPECT_TRUE(AreaIs(surface_, RECT{12, 12, 48, 38}, kWhite));
    EXPECT_EQ(0, CountChanged(surface_, RECT{0, 0, 60, 10}, kWhite));
    EXPECT_EQ(0, CountChanged(surface_, RECT{50, 0, 60, 50}, kWhite));
}

TEST_F(ControlPaint, PerSideLinesTakePrecedenceOverTheUniformSize) {
    control_.ApplyAttribute(L"bordercolor", L"#FFFF0000");
    control_.ApplyAttribute(L"bordersize", L"2");
    control_.ApplyAttribute(L"bordersize", L"1,0,1,0");
    ASSERT_EQ(2, control_.GetBorderSize());
    PaintAll();
    // Left line on the left column, right line on the column of the right edge.
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0xFF0000));
    EXPECT_TRUE(NearRgb(surface_.Pixel(50, 25), 0xFF0000));
    // No top or bottom frame, no 2-pixel frame.
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 10), kWhite));
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 39), kWhite));
    EXPECT_TRUE(NearRgb(surface_.Pixel(11, 25), kWhite));
}

TEST_F(ControlPaint, FocusBorderWhenFocused) {
    control_.ApplyAttributeList(
        L"bordercolor=\"#FF000000\" focusbordercolor=\"#FF0000FF\" bordersize=\"1\"");
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0x000000));
    SkinUI::TInputEventUI set = UiTest::MakeEvent(SkinUI::UIEVENT_SETFOCUS);
    control_.DispatchEvent(set);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0x0000FF));
    // Focused, the focus frame wins over per-side lines too.
    control_.SetBorderSizes(0, 3, 0, 0);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0x0000FF));
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 11), kWhite));
    // Per-side lines never use the focus colour.
    control_.SetBorderSize(0);
    surface_.Fill(0xFFFFFFFF);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 11), 0x000000));
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), kWhite));
}

// ---- Round corners -------------------------------------------------------------------------

TEST_F(ControlPaint, RoundCornersClipTheBackground) {
    control_.ApplyAttributeList(L"bkcolor=\"#FF0000FF\" borderround=\"12,12\"");
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 10), kWhite));
    EXPECT_TRUE(NearRgb(surface_.Pixel(49, 10), kWhite));
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 39), kWhite));
    EXPECT_TRUE(NearRgb(surface_.Pixel(49, 39), kWhite));
    EXPECT_TRUE(AreaIs(surface_, RECT{16, 16, 44, 34}, 0x0000FF));
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 10), 0x0000FF));
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0x0000FF));
    // The clip is gone afterwards.
    HBRUSH brush = ::CreateSolidBrush(RGB(0, 0, 0));
    RECT all = surface_.Rect();
    ::FillRect(surface_.DC(), &all, brush);
    ::DeleteObject(brush);
    EXPECT_TRUE(AreaIs(surface_, all, 0x000000));
}

// ---- The overlay ---------------------------------------------------------------------------
