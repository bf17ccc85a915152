#include <windows.h>

#include "tests/support/DibSurface.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/ui/ControlTestUtil.h"
#include "tests/ui/RendererTestUtil.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using ControlTest::Probe;
using RendererTest::AreaIs;
using RendererTest::CountChanged;
using RendererTest::NearRgb;
using SkinUI::CWindowManagerUI;
using TestSupport::ArgbImage;
using TestSupport::DibSurface;
using TestSupport::EncodePng;
using TestSupport::TempDir;
using TestSupport::WriteFileBytes;

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

TEST_F(ControlPaint, LaterStepsDrawOverEarlierOnes) {
    control_.SetBkColor(0xFF0000FF);
    control_.stateMarker = RGB(255, 0, 0);
    control_.stateArea = RECT{0, 0, 30, 30};
    control_.textMarker = RGB(0, 255, 0);
    control_.textArea = RECT{10, 10, 40, 30};
    control_.SetBorderColor(0xFF000000);
    control_.SetBorderSize(1);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(45, 15), 0x0000FF)); // background only
    EXPECT_TRUE(NearRgb(surface_.Pixel(15, 15), 0xFF0000)); // state image over background
    EXPECT_TRUE(NearRgb(surface_.Pixel(25, 25), 0x00FF00)); // text over state image
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0x000000)); // border over all
    EXPECT_TRUE(NearRgb(surface_.Pixel(49, 25), 0x000000));
    EXPECT_TRUE(NearRgb(surface_.Pixel(5, 5), kWhite)); // outside the item
}

TEST_F(ControlPaint, NothingWhenTheUpdateMissesTheItem) {
    control_.SetBkColor(0xFF0000FF);
    control_.Paint(surface_.DC(), RECT{0, 0, 10, 10});
    EXPECT_TRUE(control_.steps.empty());
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
}

TEST_F(ControlPaint, PaintRectangleIsTheIntersection) {
    control_.Paint(surface_.DC(), RECT{0, 0, 30, 20});
    const RECT paint = control_.PaintRect();
    EXPECT_EQ(10, paint.left);
    EXPECT_EQ(10, paint.top);
    EXPECT_EQ(30, paint.right);
    EXPECT_EQ(20, paint.bottom);
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

TEST_F(ControlPaint, ColourWithoutAlphaDrawsNothing) {
    control_.ApplyAttribute(L"bkcolor", L"FF0000");
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

TEST_F(ControlPaint, ThreeColoursMakeTwoGradientsMeetingInTheMiddle) {
    control_.ApplyAttribute(L"bkcolor", L"#FFFF0000");
    control_.ApplyAttribute(L"bkcolor2", L"#FF00FF00");
    control_.ApplyAttribute(L"bkcolor3", L"#FF0000FF");
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(20, 10), 0xFF0000, 3));
    // Middle row (10 + 40) / 2 = 25 starts the second gradient with colour 2.
    EXPECT_TRUE(NearRgb(surface_.Pixel(20, 25), 0x00FF00, 3));
    EXPECT_TRUE(NearRgb(surface_.Pixel(20, 24), 0x00FF00, 24));
    EXPECT_TRUE(NearRgb(surface_.Pixel(20, 39), 0x0000FF, 24));
    EXPECT_EQ(0u, surface_.Rgb(20, 17) & 0x0000FF);
    EXPECT_EQ(0u, surface_.Rgb(20, 32) & 0xFF0000);
}

TEST_F(ControlPaint, HslFlagLeavesColoursAsTheyAreWhileNothingAdjustsThem) {
    const uint32_t colour = 0xFF4080C0;
    control_.SetBkColor(colour);
    control_.SetColorHSL(true);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(20, 20), colour & 0xFFFFFF, 0));
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

TEST_F(ControlPaintImage, AnImageThatCantBeHadIsForgotten) {
    const std::wstring missing = dir_ / L"missing.png";
    control_.SetBkImage(missing.c_str());
    PaintAll();
    EXPECT_STREQ(L"", control_.GetBkImage());
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
}

TEST_F(ControlPaintImage, WithoutManagerTheImageWaits) {
    Probe lone;
    lone.SetPos(item_);
    lone.SetBkImage(greenPath_.c_str());
    lone.Paint(surface_.DC(), surface_.Rect());
    EXPECT_STREQ(greenPath_.c_str(), lone.GetBkImage());
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
    // Attached, it draws.
    lone.AttachManager(&manager_, nullptr, false);
    lone.Paint(surface_.DC(), surface_.Rect());
    EXPECT_TRUE(NearRgb(surface_.Pixel(45, 35), 0x00FF00));
    lone.AttachManager(nullptr, nullptr, false);
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

TEST_F(ControlPaint, NoBorderWithoutColourOrSize) {
    control_.SetBorderSize(3);
    PaintAll();
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
    control_.SetBorderSize(0);
    control_.SetBorderColor(0xFF000000);
    PaintAll();
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
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

TEST_F(ControlPaint, EachSideHasItsOwnWidth) {
    control_.ApplyAttribute(L"bordercolor", L"#FF00FF00");
    control_.ApplyAttribute(L"topbordersize", L"1");
    control_.ApplyAttribute(L"bottombordersize", L"1");
    PaintAll();
    EXPECT_TRUE(AreaIs(surface_, RECT{10, 10, 50, 11}, 0x00FF00));
    EXPECT_TRUE(AreaIs(surface_, RECT{10, 40, 50, 41}, 0x00FF00));
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), kWhite));
    EXPECT_TRUE(AreaIs(surface_, RECT{10, 11, 50, 40}, kWhite));
}

TEST_F(ControlPaint, DottedStyleLeavesGaps) {
    control_.ApplyAttribute(L"bordercolor", L"#FF000000");
    control_.ApplyAttribute(L"leftbordersize", L"1");
    control_.ApplyAttribute(L"borderstyle", L"2");
    PaintAll();
    const int drawn = CountChanged(surface_, RECT{10, 10, 11, 40}, kWhite);
    EXPECT_GT(drawn, 5);
    EXPECT_LT(drawn, 30);
}

TEST_F(ControlPaint, FocusBorderWhenFocused) {
    control_.ApplyAttributeList(
        L"bordercolor=\"#FF000000\" focusbordercolor=\"#FF0000FF\" bordersize=\"1\"");
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0x000000));
    SkinUI::TInputEventUI set = ControlTest::MakeEvent(SkinUI::UIEVENT_SETFOCUS);
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

TEST_F(ControlPaint, FocusColourAloneDrawsOnlyWhenFocused) {
    control_.ApplyAttributeList(L"focusbordercolor=\"#FF0000FF\" bordersize=\"1\"");
    PaintAll();
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
    SkinUI::TInputEventUI set = ControlTest::MakeEvent(SkinUI::UIEVENT_SETFOCUS);
    control_.DispatchEvent(set);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0x0000FF));
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

TEST_F(ControlPaint, RoundBorderOutline) {
    control_.ApplyAttributeList(
        L"bordercolor=\"#FFFF0000\" bordersize=\"1\" borderround=\"12,12\"");
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 10), 0xFF0000));
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 25), 0xFF0000));
    EXPECT_TRUE(NearRgb(surface_.Pixel(10, 10), kWhite));
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 25), kWhite));
    // Focused with a focus colour, the rounded outline takes it.
    control_.SetFocusBorderColor(0xFF00FF00);
    SkinUI::TInputEventUI set = ControlTest::MakeEvent(SkinUI::UIEVENT_SETFOCUS);
    control_.DispatchEvent(set);
    PaintAll();
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 10), 0x00FF00));
}

TEST_F(ControlPaint, OneRoundedAxisIsEnoughForTheClip) {
    control_.ApplyAttributeList(L"bkcolor=\"#FF0000FF\" borderround=\"0,12\"");
    PaintAll();
    EXPECT_EQ((std::vector<std::wstring>{L"bkcolor", L"bkimage", L"state", L"text", L"border"}),
              control_.steps);
    EXPECT_TRUE(NearRgb(surface_.Pixel(30, 25), 0x0000FF));
}

// ---- The overlay ---------------------------------------------------------------------------

TEST_F(ControlPaint, OverlayIsEmptyInTheBase) {
    control_.SetBkColor(0xFF0000FF);
    control_.PaintOverlay(surface_.DC(), surface_.Rect());
    EXPECT_EQ((std::vector<std::wstring>{L"overlay"}), control_.steps);
    EXPECT_EQ(0, CountChanged(surface_, surface_.Rect(), kWhite));
}
