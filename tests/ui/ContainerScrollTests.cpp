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

// A 200 x 100 stacking layout with a vertical bar and rows of 40 pixels.
class ScrollingLayout : public ::testing::Test {
protected:
    void SetUp() override { layout_.ApplyAttribute(L"vscrollbar", L"true"); }

    void AddRows(int count, int height = 40) {
        for (int i = 0; i < count; ++i) {
            layout_.Add(new Leaf(L"row", height));
        }
    }
    void Layout() { layout_.SetPos(Rect(0, 0, 200, 100)); }
    CScrollBarUI* Bar() { return layout_.GetVerticalScrollBar(); }
    Leaf* Row(int i) { return static_cast<Leaf*>(layout_.GetItemAt(i)); }

    StackLayout layout_;
};

} // namespace

TEST_F(ScrollingLayout, ContentTallerThanTheLayoutGetsARange) {
    AddRows(6);
    ASSERT_TRUE(Bar()->IsVisible()); // a new bar starts visible
    Layout();
    EXPECT_EQ(1, layout_.setPosCalls);
    EXPECT_TRUE(Bar()->IsVisible());
    EXPECT_EQ(140, Bar()->GetScrollRange());
    EXPECT_EQ(0, Bar()->GetScrollPos());
    EXPECT_RECT(Rect(184, 0, 200, 100), Bar()->GetPos());
    EXPECT_RECT(Rect(0, 40, 184, 80), Row(1)->GetPos());
    EXPECT_EQ(140, layout_.GetScrollRange().cy);
    EXPECT_EQ(0, layout_.GetScrollRange().cx);
}

TEST_F(ScrollingLayout, ACutPositionLaysOutOnceMore) {
    AddRows(6);
    Layout();
    layout_.SetScrollPos(SIZE{0, 140});
    EXPECT_EQ(140, Bar()->GetScrollPos());
    EXPECT_RECT(Rect(0, -140, 184, -100), Row(0)->GetPos());
    layout_.RemoveAt(5);
    layout_.RemoveAt(4);
    layout_.setPosCalls = 0;
    Layout();
    EXPECT_EQ(60, Bar()->GetScrollRange());
    EXPECT_EQ(60, Bar()->GetScrollPos());
    EXPECT_EQ(2, layout_.setPosCalls);
    EXPECT_RECT(Rect(0, -60, 184, -20), Row(0)->GetPos());
    // A range that grows keeps the position and needs no extra layout.
    AddRows(1);
    layout_.setPosCalls = 0;
    Layout();
    EXPECT_EQ(100, Bar()->GetScrollRange());
    EXPECT_EQ(60, Bar()->GetScrollPos());
    EXPECT_EQ(1, layout_.setPosCalls);
}

TEST_F(ScrollingLayout, ScrollingMovesTheChildrenByTheChange) {
    AddRows(6);
    auto* floating = new Leaf(L"floating");
    floating->SetFloating(true);
    layout_.Add(floating);
    Layout();
    floating->SetPos(Rect(5, 5, 15, 15));
    const int rowCalls = Row(0)->setPosCalls;
    const int floatCalls = floating->setPosCalls;
    layout_.SetScrollPos(SIZE{0, 30});
    EXPECT_RECT(Rect(0, -30, 184, 10), Row(0)->GetPos());
    EXPECT_RECT(Rect(0, 170, 184, 210), Row(5)->GetPos());
    EXPECT_RECT(Rect(5, 5, 15, 15), floating->GetPos());
    EXPECT_EQ(rowCalls + 1, Row(0)->setPosCalls);
    EXPECT_EQ(floatCalls, floating->setPosCalls);
    // The same position again moves nothing.
    layout_.SetScrollPos(SIZE{0, 30});
    EXPECT_EQ(rowCalls + 1, Row(0)->setPosCalls);
    // The bar clamps; the children move by what the bar really moved.
    layout_.SetScrollPos(SIZE{0, 5000});
    EXPECT_EQ(140, layout_.GetScrollPos().cy);
    EXPECT_RECT(Rect(0, -140, 184, -100), Row(0)->GetPos());
    layout_.SetScrollPos(SIZE{0, -5});
    EXPECT_EQ(0, layout_.GetScrollPos().cy);
    EXPECT_RECT(Rect(0, 0, 184, 40), Row(0)->GetPos());
    // Hidden children are not moved.
    Row(1)->SetVisible(false);
    const RECT hidden = Row(1)->GetPos();
    layout_.SetScrollPos(SIZE{0, 20});
    EXPECT_RECT(hidden, Row(1)->GetPos());
}

TEST_F(ScrollingLayout, LineAndPageSteps) {
    AddRows(20); // 800 high, range 700
    layout_.SetInset(Rect(0, 5, 0, 7));
    Layout();
    ASSERT_EQ(712, Bar()->GetScrollRange());
    layout_.LineDown();
    EXPECT_EQ(8, layout_.GetScrollPos().cy); // no manager: 8
    layout_.PageDown();
    EXPECT_EQ(8 + 88, layout_.GetScrollPos().cy); // 100 - 5 - 7
    layout_.LineUp();
    EXPECT_EQ(88, layout_.GetScrollPos().cy);
    layout_.PageUp();
    EXPECT_EQ(0, layout_.GetScrollPos().cy);
    layout_.EndDown();
    EXPECT_EQ(712, layout_.GetScrollPos().cy);
    layout_.LineDown();
    EXPECT_EQ(712, layout_.GetScrollPos().cy);
    layout_.HomeUp();
    EXPECT_EQ(0, layout_.GetScrollPos().cy);
    layout_.LineUp();
    EXPECT_EQ(0, layout_.GetScrollPos().cy);

    // With a manager a line is the default font's height plus 8.
    CWindowManagerUI pm;
    layout_.AttachManager(&pm, nullptr, false);
    const int line = pm.GetDefaultFontInfo()->tm.tmHeight + 8;
    layout_.LineDown();
    EXPECT_EQ(line, layout_.GetScrollPos().cy);
    layout_.AttachManager(nullptr, nullptr, false);
}

TEST_F(ScrollingLayout, HorizontalBarSitsBelowTheInnerRectangle) {
    AddRows(6);
    layout_.EnableScrollBar(true, true);
    CScrollBarUI* hbar = layout_.GetHorizontalScrollBar();
    ASSERT_NE(nullptr, hbar);
    Layout();
    EXPECT_RECT(Rect(0, 84, 184, 100), hbar->GetPos());
    EXPECT_RECT(Rect(184, 0, 200, 84), Bar()->GetPos());
    // The horizontal range is the bar's own.
    EXPECT_EQ(100, hbar->GetScrollRange());
    EXPECT_EQ(156, Bar()->GetScrollRange());
    layout_.LineRight();
    EXPECT_EQ(8, layout_.GetScrollPos().cx);
    EXPECT_RECT(Rect(-8, 0, 176, 40), Row(0)->GetPos());
    layout_.PageRight(); // 200 - 16
    EXPECT_EQ(100, layout_.GetScrollPos().cx);
    layout_.LineLeft();
    EXPECT_EQ(92, layout_.GetScrollPos().cx);
    layout_.PageLeft();
    EXPECT_EQ(0, layout_.GetScrollPos().cx);
    layout_.EndRight();
    EXPECT_EQ(100, layout_.GetScrollPos().cx);
    layout_.HomeLeft();
    EXPECT_EQ(0, layout_.GetScrollPos().cx);
    // The vertical page leaves out the horizontal bar.
    layout_.PageDown();
    EXPECT_EQ(84, layout_.GetScrollPos().cy);
}

TEST_F(ScrollingLayout, HugeRangesSaturate) {
    AddRows(3, 1000000000); // 3e9 pixels of content
    Layout();
    EXPECT_EQ(INT_MAX - 100, Bar()->GetScrollRange());
    layout_.EndDown();
    EXPECT_EQ(INT_MAX - 100, layout_.GetScrollPos().cy);
    layout_.LineDown();
    layout_.PageDown();
    EXPECT_EQ(INT_MAX - 100, layout_.GetScrollPos().cy);
    // The thumb stays inside the track.
    EXPECT_EQ(84, Bar()->GetThumbRect().bottom);
    EXPECT_GE(Bar()->GetThumbRect().top, 16);

    Bar()->SetScrollRange(INT_MAX);
    layout_.SetScrollPos(SIZE{0, INT_MAX - 3});
    layout_.LineDown();
    EXPECT_EQ(INT_MAX, layout_.GetScrollPos().cy);
    layout_.PageDown();
    EXPECT_EQ(INT_MAX, layout_.GetScrollPos().cy);
    layout_.HomeUp();
    EXPECT_EQ(0, layout_.GetScrollPos().cy);
    // Children far out are moved without wrapping around.
    Row(0)->SetPos(Rect(0, INT_MIN + 5, 10, INT_MIN + 10));
    layout_.SetScrollPos(SIZE{0, 100});
    EXPECT_EQ(INT_MIN, Row(0)->GetPos().top);
    EXPECT_EQ(INT_MIN, Row(0)->GetPos().bottom);
}
