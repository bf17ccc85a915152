#include <windows.h>

#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TileLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"

#include "tests/ui/LayoutTestTree.h"

#include <gtest/gtest.h>

using namespace SkinBuildTest;
using SkinUI::CContainerUI;
using SkinUI::CHorizontalLayoutUI;
using SkinUI::CTileLayoutUI;
using SkinUI::CVerticalLayoutUI;

namespace {

// ---- Vertical layout ----------------------------------------------------------------

TEST(VerticalLayout, FixedChildThenTwoStretchChildrenShareTheRest) {
    BuiltTree t(LR"(<VerticalLayout><Control name="a" height="100"/><Control name="b"/>
                   <Control name="c"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,100");
    EXPECT_EQ(t.Pos(L"b"), L"0,100,200,200");
    EXPECT_EQ(t.Pos(L"c"), L"0,200,200,300");
}

// Fixed total 120 (two gaps counted), share 90; the last stretch child gets
// 90 remaining - 20 fixed remainder = 70 and the children end 20 short.
TEST(VerticalLayout, ChildGapLeavesTheLastStretchChildShort) {
    BuiltTree t(LR"(<VerticalLayout childpadding="10"><Control name="a" height="100"/>
                   <Control name="b"/><Control name="c"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,100");
    EXPECT_EQ(t.Pos(L"b"), L"0,110,200,200");
    EXPECT_EQ(t.Pos(L"c"), L"0,210,200,280");
}

TEST(VerticalLayout, FixedChildBelowItsMinimumIsLaidOutAtTheMinimum) {
    BuiltTree t(LR"(<VerticalLayout><Control name="a" height="40" minheight="60"/>
                   <Control name="b"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,60");
    EXPECT_EQ(t.Pos(L"b"), L"0,60,200,300");
}

TEST(VerticalLayout, FixedChildAboveItsMaximumIsCut) {
    BuiltTree t(LR"(<VerticalLayout><Control name="a" height="90" maxheight="70"/>
                   <Control name="b"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,70");
    EXPECT_EQ(t.Pos(L"b"), L"0,70,200,300");
}

// Inner rectangle 10,20,270,360 (260 x 340). First pass: fixed total
// 50+6+8 + 0+2+4 = 70. a: 15,26 .. 263, 26+50+8 (its rectangle holds its
// bottom margin). b is the last stretch child: remaining 340-6-58-2 = 274,
// gets 274 - 4 - 20 (fixed remainder: a's margins and b's) = 250.
TEST(VerticalLayout, InsetAndMarginsFollowTheFixedRemainderRule) {
    BuiltTree t(LR"(<VerticalLayout inset="10,20,30,40">
                     <Control name="a" height="50" padding="5,6,7,8"/>
                     <Control name="b" padding="1,2,3,4"/></VerticalLayout>)",
                RECT{0, 0, 300, 400});
    EXPECT_EQ(t.Pos(L"a"), L"15,26,263,84");
    EXPECT_EQ(t.Pos(L"b"), L"11,86,267,340");
}

TEST(VerticalLayout, StretchChildrenKeepTheirLimits) {
    BuiltTree t(LR"(<VerticalLayout><Control name="a" height="100"/>
                   <Control name="b" maxheight="50"/><Control name="c"/>
                   <Control name="d" height="20"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    // Share (300 - 120) / 2 = 90, b capped at 50; c: 300-100-50-20 left.
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,100");
    EXPECT_EQ(t.Pos(L"b"), L"0,100,200,150");
    EXPECT_EQ(t.Pos(L"c"), L"0,150,200,280");
    EXPECT_EQ(t.Pos(L"d"), L"0,280,200,300");
}

TEST(VerticalLayout, NegativeShareBecomesZeroAndMinimumsStillHold) {
    BuiltTree t(LR"(<VerticalLayout><Control name="a" height="400"/>
                   <Control name="b"/><Control name="c" minheight="15"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,400");
    EXPECT_EQ(t.Pos(L"b"), L"0,400,200,400");
    EXPECT_EQ(t.Pos(L"c"), L"0,400,200,415");
}

TEST(VerticalLayout, WidthsComeFromFixedWidthsAndWidthLimits) {
    BuiltTree t(LR"(<VerticalLayout><Control name="a" height="10" width="50"/>
                   <Control name="b" height="10" maxwidth="30"/>
                   <Control name="c" height="10" width="20" minwidth="40"/>
                   <Control name="d" height="10" padding="300,0,0,0"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,50,10");
    EXPECT_EQ(t.Pos(L"b"), L"0,10,30,20");
    EXPECT_EQ(t.Pos(L"c"), L"0,20,40,30");
    // 200 - 300 is below 0: no width.
    EXPECT_EQ(t.Pos(L"d"), L"300,30,300,40");
}

TEST(VerticalLayout, FloatingAndHiddenChildrenStayOutOfTheStack) {
    BuiltTree t(LR"(<VerticalLayout><Control name="f" float="true" pos="-60,10,-10,40"/>
                   <Control name="h" height="50" visible="false"/>
                   <Control name="a" height="100"/><Control name="b"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"f"), L"140,10,190,40");
    EXPECT_EQ(t.Pos(L"h"), L"0,0,0,0");
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,100");
    EXPECT_EQ(t.Pos(L"b"), L"0,100,200,300");
}

TEST(VerticalLayout, OverflowShowsTheVerticalBarAndScrollingMovesChildren) {
    BuiltTree t(LR"(<VerticalLayout name="v" vscrollbar="true"><Control name="a" height="100"/>
                   <Control name="b" height="100"/><Control name="c" height="100"/>
                   </VerticalLayout>)",
                RECT{0, 0, 200, 200});
    auto* v = t.As<CVerticalLayoutUI>(L"v");
    ASSERT_NE(v, nullptr);
    SkinUI::CScrollBarUI* bar = v->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 100);
    EXPECT_EQ(RectText(bar->GetPos()), L"184,0,200,200");
    EXPECT_EQ(t.Pos(L"c"), L"0,200,184,300");

    v->SetScrollPos(SIZE{0, 40});
    EXPECT_EQ(t.Pos(L"a"), L"0,-40,184,60");
    t.Layout(RECT{0, 0, 200, 200});
    EXPECT_EQ(t.Pos(L"b"), L"0,60,184,160");

    // Growing the layout until everything fits hides the bar again.
    t.Layout(RECT{0, 0, 200, 400});
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(t.Pos(L"c"), L"0,200,200,300");
}

TEST(VerticalLayout, HugeSizesNeitherOverflowNorWrap) {
    BuiltTree t(LR"(<VerticalLayout><Control name="a" height="2000000000" maxheight="2147483647"/>
                   <Control name="b" height="2000000000" maxheight="2147483647"/>
                   <Control name="c"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,200,2000000000");
    // 4,000,000,000 saturates at the largest coordinate instead of wrapping.
    EXPECT_EQ(t.Pos(L"b"), L"0,2000000000,200,2147483647");
    EXPECT_GE(t[L"c"]->GetPos().top, 0);
}

TEST(VerticalLayout, AnswersItsNamesAndClass) {
    CVerticalLayoutUI v;
    EXPECT_STREQ(v.GetClass(), L"VerticalLayoutUI");
    EXPECT_EQ(v.QueryInterfaceByName(L"VerticalLayout"), static_cast<LPVOID>(&v));
    EXPECT_NE(v.QueryInterfaceByName(L"IContainer"), nullptr);
    EXPECT_EQ(v.QueryInterfaceByName(L"HorizontalLayout"), nullptr);
}

// ---- Horizontal layout --------------------------------------------------------------

TEST(HorizontalLayout, FixedChildThenTwoStretchChildrenShareTheRest) {
    BuiltTree t(LR"(<HorizontalLayout><Control name="a" width="100"/><Control name="b"/>
                   <Control name="c"/></HorizontalLayout>)",
                RECT{0, 0, 300, 50});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,100,50");
    EXPECT_EQ(t.Pos(L"b"), L"100,0,200,50");
    EXPECT_EQ(t.Pos(L"c"), L"200,0,300,50");
}

TEST(HorizontalLayout, ChildGapLeavesTheLastStretchChildShort) {
    BuiltTree t(LR"(<HorizontalLayout childpadding="10"><Control name="a" width="100"/>
                   <Control name="b"/><Control name="c"/></HorizontalLayout>)",
                RECT{0, 0, 300, 50});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,100,50");
    EXPECT_EQ(t.Pos(L"b"), L"110,0,200,50");
    EXPECT_EQ(t.Pos(L"c"), L"210,0,280,50");
}

// Inner rectangle 10,20,270,360. a: 15 .. 15+50+7 (right margin included),
// height 340-6-8; b, the last stretch child: 260-5-57-1 = 197 remaining,
// minus 3 and the fixed remainder 16 (the margins of both) = 178.
TEST(HorizontalLayout, InsetMarginsFixedAndMinMaxSizes) {
    BuiltTree t(LR"(<HorizontalLayout inset="10,20,30,40">
                     <Control name="a" width="50" padding="5,6,7,8"/>
                     <Control name="b" padding="1,2,3,4"/></HorizontalLayout>)",
                RECT{0, 0, 300, 400});
    EXPECT_EQ(t.Pos(L"a"), L"15,26,72,352");
    EXPECT_EQ(t.Pos(L"b"), L"73,22,254,356");

    BuiltTree limits(LR"(<HorizontalLayout><Control name="a" width="40" minwidth="60"/>
                        <Control name="b" maxwidth="30"/><Control name="c" height="20"/>
                        <Control name="d" width="10" height="5" minheight="8"/>
                        </HorizontalLayout>)",
                     RECT{0, 0, 300, 50});
    EXPECT_EQ(limits.Pos(L"a"), L"0,0,60,50");
    // Share (300 - 60 - 10) / 2 = 115, b capped at 30.
    EXPECT_EQ(limits.Pos(L"b"), L"60,0,90,50");
    EXPECT_EQ(limits.Pos(L"c"), L"90,0,290,20");
    EXPECT_EQ(limits.Pos(L"d"), L"290,0,300,8");
}

TEST(HorizontalLayout, HidesAVisibleVerticalBarAtItsNextLayout) {
    BuiltTree t(LR"(<HorizontalLayout name="h" vscrollbar="true"><Control name="a"/>
                   </HorizontalLayout>)",
                RECT{0, 0, 300, 50});
    auto* h = t.As<CHorizontalLayoutUI>(L"h");
    ASSERT_NE(h, nullptr);
    ASSERT_NE(h->GetVerticalScrollBar(), nullptr);
    EXPECT_FALSE(h->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(t.Pos(L"a"), L"0,0,300,50");
}

TEST(HorizontalLayout, FloatingChildAndScrolledPosition) {
    BuiltTree t(LR"(<HorizontalLayout name="h" hscrollbar="true">
                     <Control name="f" float="true" pos="10,-30,60,-10"/>
                     <Control name="a" width="200"/><Control name="b" width="200"/>
                   </HorizontalLayout>)",
                RECT{0, 0, 300, 100});
    auto* h = t.As<CHorizontalLayoutUI>(L"h");
    ASSERT_NE(h, nullptr);
    SkinUI::CScrollBarUI* bar = h->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(t.Pos(L"f"), L"10,70,60,90");
    const int barHeight = bar->GetFixedHeight();
    // The horizontal range comes only from the bar; a position moves the
    // children left.
    bar->SetScrollRange(150);
    bar->SetScrollPos(100);
    t.Layout(RECT{0, 0, 300, 100});
    EXPECT_EQ(t.Pos(L"a"), RectText(RECT{-100, 0, 100, 100 - barHeight}));
    EXPECT_EQ(t.Pos(L"b"), RectText(RECT{100, 0, 300, 100 - barHeight}));
}

// ---- Tile layout --------------------------------------------------------------------

// 350 / 100 = 3 columns of 116 pixels; 50 x 40 children centred in cells
// as high as the row.
TEST(TileLayout, ItemSizeGivesThreeColumnsOf116) {
    BuiltTree t(LR"(<TileLayout name="tile" itemsize="100,100">
                     <Control name="a" width="50" height="40"/>
                     <Control name="b" width="50" height="40"/>
                     <Control name="c" width="50" height="40"/>
                     <Control name="d" width="50" height="40"/></TileLayout>)",
                RECT{0, 0, 350, 400});
    EXPECT_EQ(t.Pos(L"a"), L"33,0,83,40");
    EXPECT_EQ(t.Pos(L"b"), L"149,0,199,40");
    EXPECT_EQ(t.Pos(L"c"), L"265,0,315,40");
    EXPECT_EQ(t.Pos(L"d"), L"33,40,83,80");
}

// Three columns of 100 with a gap of 10: outer cells lose half the gap on
// their inner side, middle cells half on each side.
TEST(TileLayout, ColumnsWithAGapSplitTheGapBetweenCells) {
    BuiltTree t(LR"(<TileLayout columns="3" childpadding="10">
                     <Control name="a" height="30"/><Control name="b" height="30"/>
                     <Control name="c" height="30"/><Control name="d" height="30"/>
                   </TileLayout>)",
                RECT{0, 0, 300, 400});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,95,30");
    EXPECT_EQ(t.Pos(L"b"), L"105,0,195,30");
    EXPECT_EQ(t.Pos(L"c"), L"205,0,300,30");
    EXPECT_EQ(t.Pos(L"d"), L"0,40,95,70");
}

TEST(TileLayout, RowHeightIsTheTallestChildWithItsMargins) {
    BuiltTree t(LR"(<TileLayout columns="2">
                     <Control name="a" height="20"/>
                     <Control name="b" height="50" padding="0,5,0,5"/>
                     <Control name="c" height="10"/></TileLayout>)",
                RECT{0, 0, 200, 400});
    // Row height 60: a is centred in 0..60, b in 5..60.
    EXPECT_EQ(t.Pos(L"a"), L"0,20,100,40");
    EXPECT_EQ(t.Pos(L"b"), L"100,7,200,57");
    EXPECT_EQ(t.Pos(L"c"), L"0,60,100,70");
}

TEST(TileLayout, NarrowLayoutStillGetsOneColumnAndBadColumnsAreIgnored) {
    BuiltTree t(LR"(<TileLayout name="tile" itemsize="500,20" columns="4">
                     <Control name="a" height="10"/><Control name="b" height="10"/>
                   </TileLayout>)",
                RECT{0, 0, 350, 400});
    EXPECT_EQ(t.Pos(L"a"), L"0,0,350,10");
    EXPECT_EQ(t.Pos(L"b"), L"0,10,350,20");

    BuiltTree bad(LR"(<TileLayout name="tile" columns="0"><Control name="a" height="10"/>
                     </TileLayout>)",
                  RECT{0, 0, 350, 400});
    auto* tile = bad.As<CTileLayoutUI>(L"tile");
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->GetColumns(), 1);
    tile->SetColumns(-3);
    EXPECT_EQ(tile->GetColumns(), 1);
    tile->SetColumns(2);
    EXPECT_EQ(tile->GetColumns(), 2);
    EXPECT_TRUE(tile->IsUpdateNeeded());
}

TEST(TileLayout, TallContentShowsTheVerticalBar) {
    BuiltTree t(LR"(<TileLayout name="tile" columns="2" vscrollbar="true">
                     <Control height="80"/><Control height="80"/><Control height="80"/>
                     <Control height="80"/><Control name="last" height="80"/></TileLayout>)",
                RECT{0, 0, 216, 200});
    auto* tile = t.As<CTileLayoutUI>(L"tile");
    ASSERT_NE(tile, nullptr);
    ASSERT_NE(tile->GetVerticalScrollBar(), nullptr);
    EXPECT_TRUE(tile->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(tile->GetVerticalScrollBar()->GetScrollRange(), 40);
    EXPECT_EQ(t.Pos(L"last"), L"0,160,100,240");
}

} // namespace
