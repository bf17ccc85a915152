#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/support/DibSurface.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/ZipWriter.h"
#include "tests/ui/ContainerTestTree.h"
#include "tests/ui/ScrollBarSkin.h"

#include <gtest/gtest.h>

#include <string>

using namespace ContainerTest;
using namespace ScrollBarSkin;
using SkinUI::CWindowManagerUI;
using TestSupport::DibSurface;

namespace {

const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kOutline = 0x85E4FF;

class ScrollBarPaint : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string& bytes = Archive();
        ASSERT_NE(nullptr, CWindowManagerUI::SetResourceZip(const_cast<char*>(bytes.data()),
                                                            static_cast<unsigned>(bytes.size())));
    }
    void SetUp() override {
        bar_.AttachManager(&pm_, nullptr, false);
        bar_.SetPos(Rect(0, 0, 16, 100));
    }
    void TearDown() override { bar_.AttachManager(nullptr, nullptr, false); }

    void Paint() {
        dib_.Fill(kWhite);
        bar_.Paint(dib_.DC(), dib_.Rect());
    }
    void Send(int type, int x, int y) {
        TInputEventUI event = Event(type, POINT{x, y});
        bar_.HandleEvent(event);
    }
    uint32_t At(int x, int y) const { return dib_.Rgb(x, y); }

    // Where each part shows in a 16 x 100 bar at position 0: button 1 at the
    // top, button 2 at the bottom, the thumb at 16..50 with the rail square
    // at 25..41 in its middle, and background between thumb and button 2.
    uint32_t Background() const { return At(8, 70); }
    uint32_t Button1() const { return At(8, 8); }
    uint32_t Button2() const { return At(8, 92); }
    uint32_t Thumb() const { return At(8, 18); }
    uint32_t Rail() const { return At(8, 33); }

    CWindowManagerUI pm_;
    CScrollBarUI bar_;
    DibSurface dib_{120, 120, kWhite};
};

} // namespace

TEST_F(ScrollBarPaint, NormalImages) {
    ApplyAllImages(bar_);
    Paint();
    EXPECT_EQ(Rgb(kBk, kNormal), Background());
    EXPECT_EQ(Rgb(kButton1, kNormal), Button1());
    EXPECT_EQ(Rgb(kButton2, kNormal), Button2());
    EXPECT_EQ(Rgb(kThumb, kNormal), Thumb());
    EXPECT_EQ(Rgb(kRail, kNormal), Rail());
    EXPECT_EQ(Rgb(kThumb, kNormal), At(8, 24));
    EXPECT_EQ(Rgb(kRail, kNormal), At(8, 25));
    EXPECT_EQ(Rgb(kRail, kNormal), At(8, 40));
    EXPECT_EQ(Rgb(kThumb, kNormal), At(8, 41));
    // Nothing outside the bar.
    EXPECT_EQ(0xFFFFFFu, At(20, 50));
    EXPECT_EQ(0xFFFFFFu, At(8, 105));
}

TEST_F(ScrollBarPaint, HotImagesWhileTheMouseIsOver) {
    ApplyAllImages(bar_);
    Send(SkinUI::UIEVENT_MOUSEENTER, 8, 90);
    Paint();
    EXPECT_EQ(Rgb(kButton1, kHot), Button1());
    EXPECT_EQ(Rgb(kButton2, kHot), Button2());
    // The thumb (and with it the background and rail) only when under the mouse.
    EXPECT_EQ(Rgb(kThumb, kNormal), Thumb());
    EXPECT_EQ(Rgb(kBk, kNormal), Background());
    Send(SkinUI::UIEVENT_MOUSEMOVE, 8, 20);
    Paint();
    EXPECT_EQ(Rgb(kThumb, kHot), Thumb());
    EXPECT_EQ(Rgb(kBk, kHot), Background());
    EXPECT_EQ(Rgb(kRail, kHot), Rail());
    Send(SkinUI::UIEVENT_MOUSELEAVE, 8, 200);
    Paint();
    EXPECT_EQ(Rgb(kButton1, kNormal), Button1());
    EXPECT_EQ(Rgb(kThumb, kNormal), Thumb());
    EXPECT_EQ(Rgb(kBk, kNormal), Background());
}

TEST_F(ScrollBarPaint, PushedImagesWhilePressed) {
    ApplyAllImages(bar_);
    Send(SkinUI::UIEVENT_MOUSEENTER, 8, 20);
    Send(SkinUI::UIEVENT_BUTTONDOWN, 8, 20);
    Paint();
    // Pushed comes before hot.
    EXPECT_EQ(Rgb(kThumb, kPushed), Thumb());
    EXPECT_EQ(Rgb(kBk, kPushed), Background());
    EXPECT_EQ(Rgb(kRail, kPushed), Rail());
    EXPECT_EQ(Rgb(kButton1, kHot), Button1());
    Send(SkinUI::UIEVENT_BUTTONUP, 8, 20);
    Paint();
    EXPECT_EQ(Rgb(kThumb, kHot), Thumb());
    // Button 2 pressed: its pushed image, one line down.
    Send(SkinUI::UIEVENT_BUTTONDOWN, 8, 92);
    Paint();
    EXPECT_EQ(Rgb(kButton2, kPushed), Button2());
    EXPECT_EQ(Rgb(kButton1, kHot), Button1());
    Send(SkinUI::UIEVENT_BUTTONUP, 8, 92);
    Paint();
    EXPECT_EQ(Rgb(kButton2, kHot), Button2());
}

TEST_F(ScrollBarPaint, DisabledImagesWhenDisabled) {
    ApplyAllImages(bar_);
    Send(SkinUI::UIEVENT_MOUSEENTER, 8, 20);
    bar_.SetEnabled(false);
    Paint();
    EXPECT_EQ(Rgb(kBk, kDisabled), Background());
    EXPECT_EQ(Rgb(kButton1, kDisabled), Button1());
    EXPECT_EQ(Rgb(kButton2, kDisabled), Button2());
    EXPECT_EQ(Rgb(kThumb, kDisabled), Thumb());
    EXPECT_EQ(Rgb(kRail, kDisabled), Rail());
    EXPECT_EQ(CScrollBarUI::kStateDisabled, bar_.GetThumbState());
    bar_.SetEnabled(true);
    Paint();
    EXPECT_EQ(Rgb(kThumb, kNormal), Thumb());
    EXPECT_EQ(0u, bar_.GetThumbState());
}

TEST_F(ScrollBarPaint, AMissingStateImageFallsBackToTheNormalOne) {
    ApplyAllImages(bar_);
    bar_.SetButton1HotImage(L"");
    bar_.SetThumbHotImage(L"no-such-image.png");
    Send(SkinUI::UIEVENT_MOUSEENTER, 8, 20);
    Paint();
    EXPECT_EQ(Rgb(kButton1, kNormal), Button1());
    EXPECT_EQ(Rgb(kThumb, kNormal), Thumb());
    // The image that failed is forgotten, so it is not tried again.
    EXPECT_STREQ(L"", bar_.GetThumbHotImage());
    EXPECT_EQ(Rgb(kButton2, kHot), Button2());
}

TEST_F(ScrollBarPaint, WithoutImagesButtonsAndThumbAreOutlined) {
    Paint();
    // A 2-pixel outline inside each part.
    EXPECT_EQ(kOutline, At(0, 0));
    EXPECT_EQ(kOutline, At(1, 1));
    EXPECT_EQ(0xFFFFFFu, At(2, 2));
    EXPECT_EQ(kOutline, At(15, 15));
    EXPECT_EQ(kOutline, At(0, 84));
    EXPECT_EQ(kOutline, At(14, 98));
    EXPECT_EQ(kOutline, At(0, 16));
    EXPECT_EQ(kOutline, At(15, 49));
    EXPECT_EQ(0xFFFFFFu, At(8, 33)); // no rail
    EXPECT_EQ(0xFFFFFFu, At(8, 70)); // no background
    // A failing normal image gets the outline too.
    bar_.SetThumbNormalImage(L"no-such-image.png");
    Paint();
    EXPECT_EQ(kOutline, At(0, 16));
    EXPECT_STREQ(L"", bar_.GetThumbNormalImage());
}

TEST_F(ScrollBarPaint, WithoutAManagerImagesAreKeptForLater) {
    ApplyAllImages(bar_);
    bar_.AttachManager(nullptr, nullptr, false);
    Paint();
    EXPECT_EQ(kOutline, At(0, 0));
    EXPECT_EQ(kOutline, At(0, 16));
    EXPECT_STREQ(ImageName(kThumb, kNormal).c_str(), bar_.GetThumbNormalImage());
    EXPECT_STREQ(ImageName(kBk, kNormal).c_str(), bar_.GetBkNormalImage());
    bar_.AttachManager(&pm_, nullptr, false);
    Paint();
    EXPECT_EQ(Rgb(kThumb, kNormal), Thumb());
}

TEST_F(ScrollBarPaint, HiddenButtonsAreNotPainted) {
    ApplyAllImages(bar_);
    bar_.SetShowButton1(false);
    bar_.SetShowButton2(false);
    Paint();
    // The thumb (0..50) starts at the top now; the background shows below.
    EXPECT_EQ(Rgb(kThumb, kNormal), At(8, 2));
    EXPECT_EQ(Rgb(kBk, kNormal), At(8, 92));
}

TEST_F(ScrollBarPaint, ShortBarsHaveNoThumbOrRail) {
    ApplyAllImages(bar_);
    bar_.SetPos(Rect(0, 0, 16, 40));
    Paint();
    EXPECT_EQ(Rgb(kButton1, kNormal), At(8, 5));
    EXPECT_EQ(Rgb(kButton2, kNormal), At(8, 35));
    EXPECT_EQ(Rgb(kBk, kNormal), At(8, 20));
}

TEST_F(ScrollBarPaint, HorizontalRailIsCentredAcross) {
    ApplyAllImages(bar_);
    bar_.SetHorizontal(true);
    bar_.SetPos(Rect(0, 0, 100, 16));
    Paint();
    // Thumb 16..50, rail 25..41.
    EXPECT_EQ(Rgb(kButton1, kNormal), At(8, 8));
    EXPECT_EQ(Rgb(kThumb, kNormal), At(18, 8));
    EXPECT_EQ(Rgb(kRail, kNormal), At(33, 8));
    EXPECT_EQ(Rgb(kThumb, kNormal), At(45, 8));
    EXPECT_EQ(Rgb(kBk, kNormal), At(70, 8));
    EXPECT_EQ(Rgb(kButton2, kNormal), At(92, 8));
}

TEST_F(ScrollBarPaint, OnlyWhereTheUpdateRectangleMeetsTheBar) {
    ApplyAllImages(bar_);
    dib_.Fill(kWhite);
    bar_.Paint(dib_.DC(), Rect(20, 0, 40, 120));
    EXPECT_EQ(0xFFFFFFu, Button1());
    EXPECT_EQ(0xFFFFFFu, Thumb());
    dib_.Fill(kWhite);
    bar_.Paint(dib_.DC(), Rect(0, 60, 16, 80));
    EXPECT_EQ(Rgb(kBk, kNormal), At(8, 70));
    // Images that meet the update rectangle are drawn whole (the window's
    // paint clips), those that don't are skipped: button 1's image is not
    // drawn over the background.
    EXPECT_EQ(Rgb(kBk, kNormal), Button1());
}
