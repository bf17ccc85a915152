#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/support/DibSurface.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/ZipWriter.h"
#include "tests/ui/ContainerTestTree.h"
#include "tests/ui/ScrollBarSkin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
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

// Each part shows the image of its own state; pushed comes before hot, and
// the thumb (with the background and rail) is hot only under the mouse.
// Inputs: Enter, Move, Leave, Down, Up at x,y; "-" disables the bar. States
// of background, button 1, button 2, thumb, rail: Normal, Hot, Pushed,
// Disabled, or "." when not looked at.
TEST_F(ScrollBarPaint, EachPartShowsItsStateImage) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "NNNNN"},
        {"E8,90", "NHHN."},
        {"E8,90 M8,20", "HHHHH"},
        {"E8,90 M8,20 L8,200", "NN.N."},
        {"E8,20 D8,20", "PH.PP"},
        {"E8,20 D8,20 U8,20", "...H."},
        {"E8,20 D8,92", ".HP.."},
        {"E8,20 D8,92 U8,92", "..H.."},
        {"E8,20 -", "DDDDD"},
    };
    const std::string events = "EMLDU";
    const int types[] = {SkinUI::UIEVENT_MOUSEENTER, SkinUI::UIEVENT_MOUSEMOVE,
                         SkinUI::UIEVENT_MOUSELEAVE, SkinUI::UIEVENT_BUTTONDOWN,
                         SkinUI::UIEVENT_BUTTONUP};
    const std::string states = "NHPD";
    const int parts[] = {kBk, kButton1, kButton2, kThumb, kRail};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.first) + " -> " + row.second);
        CScrollBarUI bar;
        bar.AttachManager(&pm_, nullptr, false);
        bar.SetPos(Rect(0, 0, 16, 100));
        ApplyAllImages(bar);
        std::istringstream inputs(row.first);
        for (std::string input; inputs >> input;) {
            int x = 0, y = 0;
            std::sscanf(input.c_str() + 1, "%d,%d", &x, &y);
            if (input == "-") {
                bar.SetEnabled(false);
                continue;
            }
            TInputEventUI event = Event(types[events.find(input[0])], POINT{x, y});
            bar.HandleEvent(event);
        }
        dib_.Fill(kWhite);
        bar.Paint(dib_.DC(), dib_.Rect());
        const uint32_t actual[] = {Background(), Button1(), Button2(), Thumb(), Rail()};
        for (int i = 0; i < 5; ++i) {
            if (row.second[i] != '.') {
                const int state = static_cast<int>(states.find(row.second[i]));
                EXPECT_EQ(Rgb(parts[i], state), actual[i]) << PartName(parts[i]);
            }
        }
        bar.AttachManager(nullptr, nullptr, false);
    }
}

// The rail is a square in the thumb's middle; nothing is drawn outside the bar.
TEST_F(ScrollBarPaint, RailSitsInTheThumbsMiddle) {
    ApplyAllImages(bar_);
    Paint();
    EXPECT_EQ(Rgb(kThumb, kNormal), At(8, 24));
    EXPECT_EQ(Rgb(kRail, kNormal), At(8, 25));
    EXPECT_EQ(Rgb(kRail, kNormal), At(8, 40));
    EXPECT_EQ(Rgb(kThumb, kNormal), At(8, 41));
    EXPECT_EQ(0xFFFFFFu, At(20, 50));
    EXPECT_EQ(0xFFFFFFu, At(8, 105));
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
