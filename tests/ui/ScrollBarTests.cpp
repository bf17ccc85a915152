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

// ---- Construction and attributes ---------------------------------------------------------

TEST(ScrollBar, StartsAsAVerticalBarOf16Pixels) {
    CScrollBarUI bar;
    EXPECT_STREQ(L"ScrollBarUI", bar.GetClass());
    EXPECT_EQ(static_cast<void*>(&bar), bar.QueryInterfaceByName(L"ScrollBar"));
    EXPECT_EQ(static_cast<void*>(&bar), bar.QueryInterfaceByName(L"Control"));
    EXPECT_EQ(nullptr, bar.QueryInterfaceByName(L"IContainer"));
    EXPECT_FALSE(bar.IsHorizontal());
    EXPECT_EQ(16, bar.GetFixedWidth());
    EXPECT_EQ(0, bar.GetFixedHeight());
    EXPECT_EQ(100, bar.GetScrollRange());
    EXPECT_EQ(0, bar.GetScrollPos());
    EXPECT_EQ(8, bar.GetLineSize());
    EXPECT_TRUE(bar.GetShowButton1());
    EXPECT_TRUE(bar.GetShowButton2());
    EXPECT_EQ(nullptr, bar.GetOwner());
    EXPECT_TRUE(bar.IsVisible());
}

TEST(ScrollBar, TurningKeepsAGivenThickness) {
    CScrollBarUI bar;
    bar.SetHorizontal(true);
    EXPECT_EQ(0, bar.GetFixedWidth());
    EXPECT_EQ(16, bar.GetFixedHeight());
    bar.SetHorizontal(false);
    EXPECT_EQ(16, bar.GetFixedWidth());
    EXPECT_EQ(0, bar.GetFixedHeight());
    // A thickness the skin gave is kept.
    CScrollBarUI thick;
    thick.SetFixedHeight(9);
    thick.SetHorizontal(true);
    EXPECT_EQ(16, thick.GetFixedWidth());
    EXPECT_EQ(9, thick.GetFixedHeight());
    thick.SetHorizontal(false);
    EXPECT_EQ(16, thick.GetFixedWidth());
    EXPECT_EQ(9, thick.GetFixedHeight());
}

TEST(ScrollBar, Attributes) {
    CScrollBarUI bar;
    bar.ApplyAttribute(L"linesize", L"5");
    EXPECT_EQ(5, bar.GetLineSize());
    bar.ApplyAttribute(L"range", L"-7");
    EXPECT_EQ(0, bar.GetScrollRange());
    bar.ApplyAttribute(L"range", L"50");
    bar.ApplyAttribute(L"value", L"70");
    EXPECT_EQ(50, bar.GetScrollPos());
    bar.ApplyAttribute(L"value", L"-3");
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.ApplyAttribute(L"range", L"99999999999999");
    EXPECT_EQ(INT_MAX, bar.GetScrollRange());
    bar.ApplyAttribute(L"showbutton1", L"false");
    bar.ApplyAttribute(L"showbutton2", L"yes");
    EXPECT_FALSE(bar.GetShowButton1());
    EXPECT_FALSE(bar.GetShowButton2());
    bar.ApplyAttribute(L"showbutton2", L"true");
    EXPECT_TRUE(bar.GetShowButton2());
    bar.ApplyAttribute(L"hor", L"true");
    EXPECT_TRUE(bar.IsHorizontal());
    bar.ApplyAttribute(L"name", L"bar");
    EXPECT_EQ(L"bar", bar.GetName());

    const wchar_t* parts[] = {L"button1", L"button2", L"thumb", L"rail", L"bk"};
    const wchar_t* states[] = {L"normal", L"hot", L"pushed", L"disabled"};
    for (const wchar_t* part : parts) {
        for (const wchar_t* state : states) {
            const std::wstring name = std::wstring(part) + state + L"image";
            bar.ApplyAttribute(name.c_str(), (name + L".png").c_str());
        }
    }
    EXPECT_STREQ(L"button1normalimage.png", bar.GetButton1NormalImage());
    EXPECT_STREQ(L"button1hotimage.png", bar.GetButton1HotImage());
    EXPECT_STREQ(L"button1pushedimage.png", bar.GetButton1PushedImage());
    EXPECT_STREQ(L"button1disabledimage.png", bar.GetButton1DisabledImage());
    EXPECT_STREQ(L"button2normalimage.png", bar.GetButton2NormalImage());
    EXPECT_STREQ(L"button2hotimage.png", bar.GetButton2HotImage());
    EXPECT_STREQ(L"button2pushedimage.png", bar.GetButton2PushedImage());
    EXPECT_STREQ(L"button2disabledimage.png", bar.GetButton2DisabledImage());
    EXPECT_STREQ(L"thumbnormalimage.png", bar.GetThumbNormalImage());
    EXPECT_STREQ(L"thumbhotimage.png", bar.GetThumbHotImage());
    EXPECT_STREQ(L"thumbpushedimage.png", bar.GetThumbPushedImage());
    EXPECT_STREQ(L"thumbdisabledimage.png", bar.GetThumbDisabledImage());
    EXPECT_STREQ(L"railnormalimage.png", bar.GetRailNormalImage());
    EXPECT_STREQ(L"railhotimage.png", bar.GetRailHotImage());
    EXPECT_STREQ(L"railpushedimage.png", bar.GetRailPushedImage());
    EXPECT_STREQ(L"raildisabledimage.png", bar.GetRailDisabledImage());
    EXPECT_STREQ(L"bknormalimage.png", bar.GetBkNormalImage());
    EXPECT_STREQ(L"bkhotimage.png", bar.GetBkHotImage());
    EXPECT_STREQ(L"bkpushedimage.png", bar.GetBkPushedImage());
    EXPECT_STREQ(L"bkdisabledimage.png", bar.GetBkDisabledImage());
}

TEST(ScrollBar, AttributeListFromAStyle) {
    CScrollBarUI bar;
    bar.ApplyAttributeList(L"hor=\"true\" height=\"12\" range=\"40\" value=\"10\"");
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(12, bar.GetFixedHeight());
    EXPECT_EQ(40, bar.GetScrollRange());
    EXPECT_EQ(10, bar.GetScrollPos());
}

// ---- Geometry ----------------------------------------------------------------------------

TEST_F(StandAloneBar, ThumbShareOfTheTrack) {
    // 100 high, buttons of 16: free length 68, thumb 100 * 68 / 200 = 34.
    EXPECT_RECT(Rect(0, 0, 16, 16), bar_.GetButton1Rect());
    EXPECT_RECT(Rect(0, 84, 16, 100), bar_.GetButton2Rect());
    EXPECT_RECT(Rect(0, 16, 16, 50), bar_.GetThumbRect());
    bar_.SetScrollPos(100);
    EXPECT_RECT(Rect(0, 50, 16, 84), bar_.GetThumbRect());
    bar_.SetScrollPos(50);
    EXPECT_RECT(Rect(0, 33, 16, 67), bar_.GetThumbRect());
    // Range 0: the thumb fills the track.
    bar_.SetScrollRange(0);
    EXPECT_EQ(0, bar_.GetScrollPos());
    EXPECT_RECT(Rect(0, 16, 16, 84), bar_.GetThumbRect());
    // A long range: the thumb keeps the bar's thickness at least.
    bar_.SetScrollRange(100000);
    EXPECT_RECT(Rect(0, 16, 16, 32), bar_.GetThumbRect());
    bar_.SetScrollPos(100000);
    EXPECT_RECT(Rect(0, 68, 16, 84), bar_.GetThumbRect());
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

TEST(ScrollBarGeometry, ShortBarsShowOnlyButtons) {
    CScrollBarUI bar;
    bar.SetPos(Rect(0, 0, 16, 48)); // three times the thickness
    EXPECT_RECT(Rect(0, 0, 16, 16), bar.GetButton1Rect());
    EXPECT_RECT(Rect(0, 32, 16, 48), bar.GetButton2Rect());
    EXPECT_RECT(Rect(0, 0, 0, 0), bar.GetThumbRect());
    bar.SetPos(Rect(0, 0, 16, 20));
    EXPECT_RECT(Rect(0, 0, 16, 10), bar.GetButton1Rect());
    EXPECT_RECT(Rect(0, 10, 16, 20), bar.GetButton2Rect());
    EXPECT_RECT(Rect(0, 0, 0, 0), bar.GetThumbRect());
    bar.SetPos(Rect(0, 0, 16, 49));
    EXPECT_RECT(Rect(0, 16, 16, 32), bar.GetThumbRect());
    bar.SetPos(Rect(5, 5, 21, 5));
    EXPECT_RECT(Rect(5, 5, 21, 5), bar.GetButton1Rect());
    EXPECT_RECT(Rect(0, 0, 0, 0), bar.GetThumbRect());
}

TEST(ScrollBarGeometry, HiddenButtonsLeaveTheTrackToTheThumb) {
    CScrollBarUI bar;
    bar.SetShowButton1(false);
    bar.SetPos(Rect(10, 20, 26, 120));
    EXPECT_RECT(Rect(10, 20, 10, 20), bar.GetButton1Rect());
    EXPECT_RECT(Rect(10, 104, 26, 120), bar.GetButton2Rect());
    EXPECT_RECT(Rect(10, 20, 26, 62), bar.GetThumbRect()); // 100 * 84 / 200
    bar.SetScrollPos(100);
    EXPECT_RECT(Rect(10, 62, 26, 104), bar.GetThumbRect());
    bar.SetShowButton2(false);
    EXPECT_RECT(Rect(10, 120, 10, 120), bar.GetButton2Rect());
    EXPECT_RECT(Rect(10, 70, 26, 120), bar.GetThumbRect()); // 50 long
    bar.SetScrollPos(0);
    EXPECT_RECT(Rect(10, 20, 26, 70), bar.GetThumbRect());
}

TEST(ScrollBarGeometry, HorizontalBarsExchangeTheAxes) {
    CScrollBarUI bar;
    bar.SetHorizontal(true);
    bar.SetPos(Rect(0, 50, 100, 66));
    EXPECT_RECT(Rect(0, 50, 16, 66), bar.GetButton1Rect());
    EXPECT_RECT(Rect(84, 50, 100, 66), bar.GetButton2Rect());
    EXPECT_RECT(Rect(16, 50, 50, 66), bar.GetThumbRect());
    bar.SetScrollPos(100);
    EXPECT_RECT(Rect(50, 50, 84, 66), bar.GetThumbRect());
    bar.SetShowButton1(false);
    EXPECT_RECT(Rect(0, 50, 0, 50), bar.GetButton1Rect());
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

// ---- Events of a stand-alone bar ----------------------------------------------------------

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

TEST_F(StandAloneBar, HoldingTheTrackNeedsAWindowToRepeat) {
    bar_.SetScrollRange(1000);
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 70);
    EXPECT_EQ(100, bar_.GetScrollPos());
    // Without a manager there is no window to read the cursor against.
    Tick(bar_, 10);
    EXPECT_EQ(100, bar_.GetScrollPos());
    Send(bar_, SkinUI::UIEVENT_BUTTONUP, 8, 70);
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

TEST(ScrollBarDrag, WithoutButtonsTheRealTrackCounts) {
    CScrollBarUI bar;
    bar.SetShowButton1(false);
    bar.SetShowButton2(false);
    bar.SetPos(Rect(0, 0, 16, 100));
    ASSERT_TRUE(SameRect(Rect(0, 0, 16, 50), bar.GetThumbRect()));
    // Thumb 50 of 100: 50 pixels of travel for the range of 100.
    Send(bar, SkinUI::UIEVENT_BUTTONDOWN, 8, 25);
    Send(bar, SkinUI::UIEVENT_MOUSEMOVE, 8, 50);
    Tick(bar);
    EXPECT_EQ(50, bar.GetScrollPos());
    EXPECT_RECT(Rect(0, 25, 16, 75), bar.GetThumbRect());
    Send(bar, SkinUI::UIEVENT_MOUSEMOVE, 8, 75);
    Tick(bar);
    EXPECT_EQ(100, bar.GetScrollPos());
    Send(bar, SkinUI::UIEVENT_BUTTONUP, 8, 75);

    // Only the first button hidden: 84 - 42 pixels of travel.
    CScrollBarUI one;
    one.SetShowButton1(false);
    one.SetPos(Rect(0, 0, 16, 100));
    Send(one, SkinUI::UIEVENT_BUTTONDOWN, 8, 10);
    Send(one, SkinUI::UIEVENT_MOUSEMOVE, 8, 31);
    Tick(one);
    EXPECT_EQ(50, one.GetScrollPos());
    Send(one, SkinUI::UIEVENT_BUTTONUP, 8, 31);
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

TEST_F(StandAloneBar, HotStatesFollowTheMouse) {
    Send(bar_, SkinUI::UIEVENT_MOUSEENTER, 8, 90);
    EXPECT_EQ(kHot, bar_.GetButton1State() & kHot);
    EXPECT_EQ(kHot, bar_.GetButton2State() & kHot);
    EXPECT_EQ(0u, bar_.GetThumbState() & kHot);
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, 30);
    EXPECT_EQ(kHot, bar_.GetThumbState() & kHot);
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, 60);
    EXPECT_EQ(0u, bar_.GetThumbState() & kHot);
    Send(bar_, SkinUI::UIEVENT_MOUSELEAVE, 8, 200);
    EXPECT_EQ(0u, bar_.GetButton1State() & kHot);
    EXPECT_EQ(0u, bar_.GetButton2State() & kHot);
    Send(bar_, SkinUI::UIEVENT_MOUSEENTER, 8, 20);
    EXPECT_EQ(kHot, bar_.GetThumbState() & kHot);
    Send(bar_, SkinUI::UIEVENT_MOUSELEAVE, 8, 200);
    EXPECT_EQ(0u, bar_.GetThumbState());
}

TEST_F(StandAloneBar, ADisabledBarIgnoresPressesAndHotness) {
    Send(bar_, SkinUI::UIEVENT_MOUSEENTER, 8, 20);
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 20);
    ASSERT_NE(0u, bar_.GetThumbState());
    bar_.SetEnabled(false);
    EXPECT_EQ(0u, bar_.GetThumbState());
    EXPECT_EQ(0u, bar_.GetButton1State());
    EXPECT_EQ(0u, bar_.GetButton2State());
    Send(bar_, SkinUI::UIEVENT_BUTTONDOWN, 8, 90);
    EXPECT_EQ(0, bar_.GetScrollPos());
    EXPECT_EQ(0u, bar_.GetButton2State());
    Send(bar_, SkinUI::UIEVENT_MOUSEENTER, 8, 20);
    Send(bar_, SkinUI::UIEVENT_MOUSEMOVE, 8, 20);
    EXPECT_EQ(0u, bar_.GetThumbState());
    EXPECT_EQ(0u, bar_.GetButton1State());
}

// ---- Bars of a container ---------------------------------------------------------------

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

TEST_F(OwnedBar, DraggingSetsTheOwnersPositionAndKeepsTheOther) {
    layout_.SetScrollPos(SIZE{40, 0});
    const RECT thumb = V()->GetThumbRect();
    const int x = 190;
    const int y = (thumb.top + thumb.bottom) / 2;
    Send(*V(), SkinUI::UIEVENT_BUTTONDOWN, x, y);
    Send(*V(), SkinUI::UIEVENT_MOUSEMOVE, x, y + 1000);
    Tick(*V());
    EXPECT_EQ(316, layout_.GetScrollPos().cy);
    EXPECT_EQ(40, layout_.GetScrollPos().cx);
    EXPECT_RECT(Rect(-40, -316, 144, -276), layout_.GetItemAt(0)->GetPos());
    Send(*V(), SkinUI::UIEVENT_BUTTONUP, x, y + 1000);
}

TEST_F(OwnedBar, OtherEventsGoToTheOwner) {
    // The wheel over a bar scrolls the container.
    Send(*V(), SkinUI::UIEVENT_SCROLLWHEEL, 190, 40, 1);
    EXPECT_EQ(8, layout_.GetScrollPos().cy);
    EXPECT_EQ((std::vector<int>{SkinUI::UIEVENT_SCROLLWHEEL}), layout_.events);
    TInputEventUI key = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_END);
    V()->HandleEvent(key);
    EXPECT_EQ(316, layout_.GetScrollPos().cy);
    // Focus and context-menu events stay with the bar.
    Send(*V(), SkinUI::UIEVENT_SETFOCUS);
    Send(*V(), SkinUI::UIEVENT_CONTEXTMENU);
    EXPECT_EQ(2u, layout_.events.size());
    // With the mouse off, mouse events go to the owner too.
    V()->SetMouseEnabled(false);
    Send(*V(), SkinUI::UIEVENT_BUTTONDOWN, 190, 80);
    EXPECT_EQ(316, layout_.GetScrollPos().cy);
    EXPECT_EQ(SkinUI::UIEVENT_BUTTONDOWN, layout_.events.back());
}

TEST_F(OwnedBar, ShowingOrHidingABarLaysNothingOut) {
    CWindowManagerUI pm;
    auto* root = new StackLayout(L"root");
    ASSERT_TRUE(pm.AttachRootControl(root));
    for (int i = 0; i < 5; ++i) {
        root->Add(new Leaf(L"row", 40));
    }
    root->EnableScrollBar(true, false);
    root->SetPos(Rect(0, 0, 100, 100));
    ASSERT_FALSE(root->IsUpdateNeeded());
    root->GetVerticalScrollBar()->SetVisible(false);
    EXPECT_FALSE(root->IsUpdateNeeded());
    // Turning it marks the owner.
    root->GetVerticalScrollBar()->SetHorizontal(true);
    EXPECT_TRUE(root->IsUpdateNeeded());
    // A child that hides does mark its container.
    root->SetPos(Rect(0, 0, 100, 100));
    ASSERT_FALSE(root->IsUpdateNeeded());
    root->GetItemAt(0)->SetVisible(false);
    EXPECT_TRUE(root->IsUpdateNeeded());
}
