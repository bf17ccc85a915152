#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/ui/ContainerTestTree.h"

#include <gtest/gtest.h>

#include <climits>

using namespace ContainerTest;
using SkinUI::CWindowManagerUI;

namespace {

const UINT kPushed = CScrollBarUI::kStatePushed;
const UINT kHot = CScrollBarUI::kStateHot;
const UINT kCaptured = CScrollBarUI::kStateCaptured;

void Send(CScrollBarUI& bar, int type, int x = 0, int y = 0, WPARAM wParam = 0) {
    TInputEventUI event = Event(type, POINT{x, y}, wParam);
    bar.HandleEvent(event);
}

void Tick(CScrollBarUI& bar, int times = 1) {
    for (int i = 0; i < times; ++i) {
        Send(bar, SkinUI::UIEVENT_TIMER, 0, 0, CScrollBarUI::kRepeatTimerId);
    }
}

// A stand-alone vertical bar 16 x 100 at the origin.
class StandAloneBar : public ::testing::Test {
protected:
    void SetUp() override { bar_.SetPos(Rect(0, 0, 16, 100)); }
    CScrollBarUI bar_;
};

} // namespace

// ---- Construction and attributes
// ---------------------------------------------------------

// ---- Geometry
// ----------------------------------------------------------------------------

// Buttons take the bar's thickness at each end (or half a short bar each);
// the thumb's share of the track is length / (range + length), never less
// than the thickness, placed by the position.
TEST(ScrollBarGeometry, ButtonsAndThumbAlongTheBar) {
    struct Row {
        bool horizontal, button1, button2;
        RECT place;
        int range, pos;
        RECT b1, b2, thumb;
    };
    const RECT none = Rect(0, 0, 0, 0);
    const Row rows[] = {
        {false, true, true, Rect(0, 0, 16, 100), 100, 0, Rect(0, 0, 16, 16), Rect(0, 84, 16, 100),
         Rect(0, 16, 16, 50)},
        {false, true, true, Rect(0, 0, 16, 100), 100, 100, Rect(0, 0, 16, 16), Rect(0, 84, 16, 100),
         Rect(0, 50, 16, 84)},
        {false, true, true, Rect(0, 0, 16, 100), 100, 50, Rect(0, 0, 16, 16), Rect(0, 84, 16, 100),
         Rect(0, 33, 16, 67)},
        // Range 0: the thumb fills the track.
        {false, true, true, Rect(0, 0, 16, 100), 0, 0, Rect(0, 0, 16, 16), Rect(0, 84, 16, 100),
         Rect(0, 16, 16, 84)},
        // A long range: the thumb keeps the bar's thickness at least.
        {false, true, true, Rect(0, 0, 16, 100), 100000, 0, Rect(0, 0, 16, 16),
         Rect(0, 84, 16, 100), Rect(0, 16, 16, 32)},
        {false, true, true, Rect(0, 0, 16, 100), 100000, 100000, Rect(0, 0, 16, 16),
         Rect(0, 84, 16, 100), Rect(0, 68, 16, 84)},
        // Three times the thickness or less: buttons only.
        {false, true, true, Rect(0, 0, 16, 48), 100, 0, Rect(0, 0, 16, 16), Rect(0, 32, 16, 48),
         none},
        {false, true, true, Rect(0, 0, 16, 20), 100, 0, Rect(0, 0, 16, 10), Rect(0, 10, 16, 20),
         none},
        {false, true, true, Rect(0, 0, 16, 49), 100, 0, Rect(0, 0, 16, 16), Rect(0, 33, 16, 49),
         Rect(0, 16, 16, 32)},
        {false, true, true, Rect(5, 5, 21, 5), 100, 0, Rect(5, 5, 21, 5), Rect(5, 5, 21, 5), none},
        // Hidden buttons leave the track to the thumb.
        {false, false, true, Rect(10, 20, 26, 120), 100, 0, Rect(10, 20, 10, 20),
         Rect(10, 104, 26, 120), Rect(10, 20, 26, 62)},
        {false, false, true, Rect(10, 20, 26, 120), 100, 100, Rect(10, 20, 10, 20),
         Rect(10, 104, 26, 120), Rect(10, 62, 26, 104)},
        {false, false, false, Rect(10, 20, 26, 120), 100, 100, Rect(10, 20, 10, 20),
         Rect(10, 120, 10, 120), Rect(10, 70, 26, 120)},
        {false, false, false, Rect(10, 20, 26, 120), 100, 0, Rect(10, 20, 10, 20),
         Rect(10, 120, 10, 120), Rect(10, 20, 26, 70)},
        // Horizontal bars are the vertical ones transposed.
        {true, true, true, Rect(0, 50, 100, 66), 100, 0, Rect(0, 50, 16, 66), Rect(84, 50, 100, 66),
         Rect(16, 50, 50, 66)},
        {true, true, true, Rect(0, 50, 100, 66), 100, 100, Rect(0, 50, 16, 66),
         Rect(84, 50, 100, 66), Rect(50, 50, 84, 66)},
        {true, false, true, Rect(0, 50, 100, 66), 100, 100, Rect(0, 50, 0, 50),
         Rect(84, 50, 100, 66), Rect(42, 50, 84, 66)},
    };
    int line = 0;
    for (const Row& r : rows) {
        CScrollBarUI bar;
        bar.SetHorizontal(r.horizontal);
        bar.SetShowButton1(r.button1);
        bar.SetShowButton2(r.button2);
        bar.SetScrollRange(r.range);
        bar.SetScrollPos(r.pos);
        bar.SetPos(r.place);
        SCOPED_TRACE(++line);
        EXPECT_RECT(r.b1, bar.GetButton1Rect());
        EXPECT_RECT(r.b2, bar.GetButton2Rect());
        EXPECT_RECT(r.thumb, bar.GetThumbRect());
    }
}

TEST_F(StandAloneBar, PositionsAreClampedIntoTheRange) {
    bar_.SetScrollPos(500);
    EXPECT_EQ(100, bar_.GetScrollPos());
    bar_.SetScrollRange(30);
    EXPECT_EQ(30, bar_.GetScrollPos());
    bar_.SetScrollPos(-1);
    EXPECT_EQ(0, bar_.GetScrollPos());
    bar_.SetScrollRange(-5);
    EXPECT_EQ(0, bar_.GetScrollRange());
}

TEST(ScrollBarGeometry, HugeRangesAndExtentsStayInsideTheTrack) {
    CScrollBarUI bar;
    bar.SetPos(Rect(0, 0, 16, 100));
    bar.SetScrollRange(INT_MAX);
    bar.SetScrollPos(INT_MAX / 2);
    // 52 * (INT_MAX / 2) / INT_MAX = 25 (a 32-bit product would wrap).
    EXPECT_RECT(Rect(0, 41, 16, 57), bar.GetThumbRect());
    bar.SetScrollPos(INT_MAX);
    EXPECT_RECT(Rect(0, 68, 16, 84), bar.GetThumbRect());

    // A bar longer than the int range: extent 4e9.
    bar.SetScrollRange(100);
    bar.SetScrollPos(0);
    bar.SetPos(Rect(0, -2000000000, 16, 2000000000));
    EXPECT_EQ(-2000000000 + 16, bar.GetThumbRect().top);
    EXPECT_GT(bar.GetThumbRect().bottom, bar.GetThumbRect().top);
    EXPECT_LE(bar.GetThumbRect().bottom, 2000000000 - 16);
    bar.SetScrollPos(100);
    EXPECT_EQ(2000000000 - 16, bar.GetThumbRect().bottom);
    EXPECT_GE(bar.GetThumbRect().top, -2000000000 + 16);
    bar.SetScrollRange(INT_MAX);
    bar.SetScrollPos(INT_MAX);
    EXPECT_EQ(2000000000 - 16, bar.GetThumbRect().bottom);
    EXPECT_GE(bar.GetThumbRect().top, -2000000000 + 16);

    // A bar at the right end of the coordinates: its 16 pixels stop there.
    bar.SetPos(Rect(INT_MAX - 5, 0, INT_MAX, 100));
    EXPECT_EQ(INT_MAX, bar.GetButton1Rect().right);
    EXPECT_EQ(INT_MAX, bar.GetThumbRect().right);
}

// ---- Events of a stand-alone bar
// ----------------------------------------------------------

TEST_F(StandAloneBar, ButtonsStepByTheLineSize) {
    bar_.SetScrollPos(50);
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 90);
    EXPECT_EQ(58, bar_.GetScrollPos());
    EXPECT_EQ(kPushed, bar_.GetButton2State() & kPushed);
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 90);
    EXPECT_EQ(0u, bar_.GetButton2State() & kPushed);
    Send(bar_, SkinUI::UIEVENT_DBLCLICK, 8, 5);
    EXPECT_EQ(50, bar_.GetScrollPos());
    EXPECT_EQ(kPushed, bar_.GetButton1State() & kPushed);
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 5);
    EXPECT_EQ(0u, bar_.GetButton1State());
    bar_.SetLineSize(30);
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 5);
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 5);
    EXPECT_EQ(0, bar_.GetScrollPos());
}

TEST_F(StandAloneBar, TheTrackPagesByTheBarsLength) {
    bar_.SetScrollRange(1000);
    // Thumb 100 * 68 / 1100 = 6, at least 16: 16..32.
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 70);
    EXPECT_EQ(100, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 70);
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 80);
    EXPECT_EQ(200, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 80);
    // Thumb now at 16 + 52 * 200 / 1000 = 26: a press above it pages back.
    ASSERT_EQ(26, bar_.GetThumbRect().top);
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 18);
    EXPECT_EQ(100, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 18);
}

TEST_F(StandAloneBar, HoldingAButtonRepeatsFromTheSixthTick) {
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 90);
    EXPECT_EQ(8, bar_.GetScrollPos());
    Tick(bar_, 5);
    EXPECT_EQ(8, bar_.GetScrollPos());
    Tick(bar_);
    EXPECT_EQ(16, bar_.GetScrollPos());
    Tick(bar_);
    EXPECT_EQ(24, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 90);
    Tick(bar_, 10);
    EXPECT_EQ(24, bar_.GetScrollPos());
    // Another timer id is not the bar's repeat.
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 5);
    EXPECT_EQ(16, bar_.GetScrollPos());
    for (int i = 0; i < 10; ++i) {
        Send(bar_, SkinUI::UIEVENT_TIMER, 0, 0, 3);
    }
    EXPECT_EQ(16, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 5);
}

TEST_F(StandAloneBar, DraggingTheThumbFollowsTheTrack) {
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 30);
    EXPECT_EQ(kPushed | kCaptured, bar_.GetThumbState() & (kPushed | kCaptured));
    EXPECT_EQ(0, bar_.GetScrollPos());
    // The free track less the thumb is 68 - 34 = 34 pixels for the range of
    // 100; the position moves at the next tick, not with the mouse.
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, 47);
    EXPECT_EQ(0, bar_.GetScrollPos());
    Tick(bar_);
    EXPECT_EQ(50, bar_.GetScrollPos());
    EXPECT_RECT(Rect(0, 33, 16, 67), bar_.GetThumbRect());
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, 500);
    Tick(bar_);
    EXPECT_EQ(100, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, -500);
    Tick(bar_);
    EXPECT_EQ(0, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, 40);
    Tick(bar_);
    EXPECT_EQ(29, bar_.GetScrollPos()); // 10 * 100 / 34
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 40);
    EXPECT_EQ(0u, bar_.GetThumbState() & (kPushed | kCaptured));
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, 90);
    Tick(bar_);
    EXPECT_EQ(29, bar_.GetScrollPos());
}

TEST(ScrollBarDrag, HugeRangesDoNotOverflow) {
    CScrollBarUI bar;
    bar.SetPos(Rect(0, 0, 16, 100));
    bar.SetScrollRange(INT_MAX);
    // Thumb 16 long at 16..32; travel 68 - 16 = 52 pixels.
    ASSERT_TRUE(SameRect(Rect(0, 16, 16, 32), bar.GetThumbRect()));
    Send(bar, SkinUI::UIEVENT_BUTTONDOWN, 8, 20);
    Send(bar, SkinUI::UIEVENT_MOUSEMOVE, 8, 46);
    Tick(bar);
    EXPECT_EQ(INT_MAX / 2, bar.GetScrollPos());
    Send(bar, SkinUI::UIEVENT_MOUSEMOVE, 8, 72);
    Tick(bar);
    EXPECT_EQ(INT_MAX, bar.GetScrollPos());
    Send(bar, SkinUI::UIEVENT_MOUSEMOVE, 8, INT_MAX);
    Tick(bar);
    EXPECT_EQ(INT_MAX, bar.GetScrollPos());
    Send(bar, SkinUI::UIEVENT_BUTTONUP, 8, 0);

    // From the top end, a drag far back stops at 0.
    Send(bar, SkinUI::UIEVENT_BUTTONDOWN, 8, 70);
    Send(bar, SkinUI::UIEVENT_MOUSEMOVE, 8, INT_MIN);
    Tick(bar);
    EXPECT_EQ(0, bar.GetScrollPos());
    Send(bar, SkinUI::UIEVENT_BUTTONUP, 8, 0);

    // Line steps at the ends don't wrap either.
    bar.SetScrollPos(INT_MAX);
    bar.SetLineSize(INT_MAX);
    Send(bar, SkinUI::UIEVENT_BUTTONDOWN, 8, 90);
    EXPECT_EQ(INT_MAX, bar.GetScrollPos());
    Send(bar, SkinUI::UIEVENT_BUTTONUP, 8, 90);
    bar.SetScrollPos(0);
    bar.SetLineSize(INT_MIN);
    Send(bar, SkinUI::UIEVENT_BUTTONDOWN, 8, 5);
    EXPECT_EQ(INT_MAX, bar.GetScrollPos());
    Send(bar, SkinUI::UIEVENT_BUTTONUP, 8, 5);
}

// ---- Bars of a container
// ---------------------------------------------------------------

namespace {

class OwnedBar : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i) {
            layout_.Add(new Leaf(L"row", 40));
        }
        layout_.EnableScrollBar(true, true);
        layout_.SetPos(Rect(0, 0, 200, 100));
        layout_.GetHorizontalScrollBar()->SetScrollRange(300);
        ASSERT_EQ(316, V()->GetScrollRange());
        ASSERT_TRUE(SameRect(Rect(184, 0, 200, 84), V()->GetPos()));
        ASSERT_TRUE(SameRect(Rect(0, 84, 184, 100), H()->GetPos()));
    }
    CScrollBarUI* V() { return layout_.GetVerticalScrollBar(); }
    CScrollBarUI* H() { return layout_.GetHorizontalScrollBar(); }

    StackLayout layout_;
};

} // namespace

TEST_F(OwnedBar, StepsGoThroughTheOwner) {
    // Vertical bar at (184, 0, 200, 84).
    Send(*V(), SkinUI::UIEVENT_BUTTONDOWN, 190, 80);
    EXPECT_EQ(8, layout_.GetScrollPos().cy);
    EXPECT_RECT(Rect(0, -8, 184, 32), layout_.GetItemAt(0)->GetPos());
    Send(*V(), SkinUI::UIEVENT_BUTTONUP, 190, 80);
    Send(*V(), SkinUI::UIEVENT_BUTTONDOWN, 190, 60); // the track: a page of 84
    EXPECT_EQ(92, layout_.GetScrollPos().cy);
    Send(*V(), SkinUI::UIEVENT_BUTTONUP, 190, 60);
    Send(*V(), SkinUI::UIEVENT_BUTTONDOWN, 190, 2);
    EXPECT_EQ(84, layout_.GetScrollPos().cy);
    Send(*V(), SkinUI::UIEVENT_BUTTONUP, 190, 2);
    // The horizontal bar at (0, 84, 184, 100) steps sideways.
    Send(*H(), SkinUI::UIEVENT_BUTTONDOWN, 180, 90);
    EXPECT_EQ(8, layout_.GetScrollPos().cx);
    EXPECT_EQ(84, layout_.GetScrollPos().cy);
    Send(*H(), SkinUI::UIEVENT_BUTTONUP, 180, 90);
    Send(*H(), SkinUI::UIEVENT_BUTTONDOWN, 150, 90); // page right: 200 - 16
    EXPECT_EQ(192, layout_.GetScrollPos().cx);
    Send(*H(), SkinUI::UIEVENT_BUTTONUP, 150, 90);
    Send(*H(), SkinUI::UIEVENT_BUTTONDOWN, 3, 90);
    EXPECT_EQ(184, layout_.GetScrollPos().cx);
    Send(*H(), SkinUI::UIEVENT_BUTTONUP, 3, 90);
}
