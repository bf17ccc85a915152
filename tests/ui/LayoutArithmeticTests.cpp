#include <windows.h>

#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TileLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"

#include "ui/UIAttributeValue.h"

#include "tests/ui/LayoutTestTree.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace SkinBuildTest;
using SkinUI::CContainerUI;
using SkinUI::CHorizontalLayoutUI;
using SkinUI::CTileLayoutUI;
using SkinUI::CVerticalLayoutUI;

namespace {

// ---- Linear layouts
// ------------------------------------------------------------------

// The skin text for one direction: {Layout}, {main} and {cross} name the
// layout and the sizes along and across its line ({minmain}, {maxcross}...
// their limits), and {l,t,r,b} is a rectangle written for the vertical layout,
// transposed for the horizontal one.
std::wstring ForDirection(const wchar_t* skin, bool horizontal) {
    static const std::map<std::wstring, std::pair<const wchar_t*, const wchar_t*>> names = {
        {L"Layout", {L"VerticalLayout", L"HorizontalLayout"}},
        {L"main", {L"height", L"width"}},
        {L"cross", {L"width", L"height"}},
        {L"minmain", {L"minheight", L"minwidth"}},
        {L"maxmain", {L"maxheight", L"maxwidth"}},
        {L"mincross", {L"minwidth", L"minheight"}},
        {L"maxcross", {L"maxwidth", L"maxheight"}},
    };
    const std::wstring text = skin;
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t end = text.find(L'}', i);
        if (text[i] != L'{' || end == std::wstring::npos) {
            out += text[i];
            continue;
        }
        const std::wstring token = text.substr(i + 1, end - i - 1);
        i = end;
        const auto named = names.find(token);
        if (named != names.end()) {
            out += horizontal ? named->second.second : named->second.first;
            continue;
        }
        RECT rc = SkinUI::ParseRectValue(token.c_str());
        if (horizontal) {
            rc = RECT{rc.top, rc.left, rc.bottom, rc.right};
        }
        out += RectText(rc);
    }
    return out;
}

RECT Transposed(const RECT& rc, bool horizontal) {
    return horizontal ? RECT{rc.top, rc.left, rc.bottom, rc.right} : rc;
}

struct LineRow {
    const wchar_t* skin;
    RECT area;
    std::vector<std::pair<const wchar_t*, RECT>> places; // in vertical terms
};

// The horizontal layout is the vertical one transposed: every row is laid
// out both ways. Stretch children share what fixed children, margins and
// gaps leave; the last one takes the rest minus what is still to come.
TEST(LinearLayout, ChildrenAlongAndAcrossTheLine) {
    const LineRow rows[] = {
        {L"<{Layout}><Control name=\"a\" {main}=\"100\"/><Control "
         L"name=\"b\"/><Control name=\"c\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 200, 100}}, {L"b", {0, 100, 200, 200}}, {L"c", {0, 200, 200, 300}}}},
        // Fixed total 120 (two gaps counted), share 90; the last stretch child
        // gets 90 remaining - 20 fixed remainder = 70, ending 20 short.
        {L"<{Layout} childpadding=\"10\"><Control name=\"a\" "
         L"{main}=\"100\"/><Control name=\"b\"/>"
         L"<Control name=\"c\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 200, 100}}, {L"b", {0, 110, 200, 200}}, {L"c", {0, 210, 200, 280}}}},
        {L"<{Layout}><Control name=\"a\" {main}=\"40\" "
         L"{minmain}=\"60\"/><Control name=\"b\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 200, 60}}, {L"b", {0, 60, 200, 300}}}},
        {L"<{Layout}><Control name=\"a\" {main}=\"90\" "
         L"{maxmain}=\"70\"/><Control name=\"b\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 200, 70}}, {L"b", {0, 70, 200, 300}}}},
        // Inner rectangle 10,20,270,360. a holds its trailing margin; b, the
        // last stretch child: 340-6-58-2 = 274 remaining, minus 4 and the
        // fixed remainder 20 (the margins of both) = 250.
        {L"<{Layout} inset=\"{10,20,30,40}\"><Control name=\"a\" {main}=\"50\" "
         L"padding=\"{5,6,7,8}\"/>"
         L"<Control name=\"b\" padding=\"{1,2,3,4}\"/>",
         RECT{0, 0, 300, 400},
         {{L"a", {15, 26, 263, 84}}, {L"b", {11, 86, 267, 340}}}},
        // Share (300 - 120) / 2 = 90, b capped at 50; c takes what is left.
        {L"<{Layout}><Control name=\"a\" {main}=\"100\"/><Control name=\"b\" "
         L"{maxmain}=\"50\"/>"
         L"<Control name=\"c\"/><Control name=\"d\" {main}=\"20\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 200, 100}},
          {L"b", {0, 100, 200, 150}},
          {L"c", {0, 150, 200, 280}},
          {L"d", {0, 280, 200, 300}}}},
        // A negative share becomes 0; minimums still hold.
        {L"<{Layout}><Control name=\"a\" {main}=\"400\"/><Control name=\"b\"/>"
         L"<Control name=\"c\" {minmain}=\"15\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 200, 400}}, {L"b", {0, 400, 200, 400}}, {L"c", {0, 400, 200, 415}}}},
        // Across the line: fixed sizes and their limits; 200 - 300 leaves none.
        {L"<{Layout}><Control name=\"a\" {main}=\"10\" {cross}=\"50\"/>"
         L"<Control name=\"b\" {main}=\"10\" {maxcross}=\"30\"/>"
         L"<Control name=\"c\" {main}=\"10\" {cross}=\"20\" {mincross}=\"40\"/>"
         L"<Control name=\"d\" {main}=\"10\" padding=\"{300,0,0,0}\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 50, 10}},
          {L"b", {0, 10, 30, 20}},
          {L"c", {0, 20, 40, 30}},
          {L"d", {300, 30, 300, 40}}}},
        // Floating and hidden children stay out of the line.
        {L"<{Layout}><Control name=\"f\" float=\"true\" pos=\"{-60,10,-10,40}\"/>"
         L"<Control name=\"h\" {main}=\"50\" visible=\"false\"/><Control "
         L"name=\"a\" {main}=\"100\"/>"
         L"<Control name=\"b\"/>",
         RECT{0, 0, 200, 300},
         {{L"f", {140, 10, 190, 40}},
          {L"h", {0, 0, 0, 0}},
          {L"a", {0, 0, 200, 100}},
          {L"b", {0, 100, 200, 300}}}},
        // 4,000,000,000 saturates at the largest coordinate instead of wrapping.
        {L"<{Layout}><Control name=\"a\" {main}=\"2000000000\" "
         L"{maxmain}=\"2147483647\"/>"
         L"<Control name=\"b\" {main}=\"2000000000\" "
         L"{maxmain}=\"2147483647\"/><Control name=\"c\"/>",
         RECT{0, 0, 200, 300},
         {{L"a", {0, 0, 200, 2000000000}}, {L"b", {0, 2000000000, 200, 2147483647}}}},
    };
    for (const bool horizontal : {false, true}) {
        for (const LineRow& row : rows) {
            const std::wstring skin = ForDirection(row.skin, horizontal) +
                                      (horizontal ? L"</HorizontalLayout>" : L"</VerticalLayout>");
            SCOPED_TRACE(TestSupport::ToUtf8(skin.c_str()));
            BuiltTree t(skin.c_str(), Transposed(row.area, horizontal));
            for (const auto& place : row.places) {
                EXPECT_EQ(t.Pos(place.first), RectText(Transposed(place.second, horizontal)))
                    << TestSupport::ToUtf8(place.first);
            }
        }
    }
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

// A new bar is visible; the first layout of each layout hides it when the
// content fits.
TEST(LinearLayout, ScrollBarStyleAloneMakesTheBarThatTheFirstLayoutHides) {
    const struct {
        const char* kind;
        CContainerUI* (*make)();
    } layouts[] = {
        {"vertical", [] { return static_cast<CContainerUI*>(new CVerticalLayoutUI()); }},
        {"horizontal", [] { return static_cast<CContainerUI*>(new CHorizontalLayoutUI()); }},
        {"tile", [] { return static_cast<CContainerUI*>(new CTileLayoutUI()); }},
    };
    for (const auto& l : layouts) {
        std::unique_ptr<CContainerUI> layout(l.make());
        layout->ApplyAttribute(L"vscrollbarstyle", L"width=\"12\" showbutton1=\"false\"");
        SkinUI::CScrollBarUI* bar = layout->GetVerticalScrollBar();
        ASSERT_NE(bar, nullptr) << l.kind;
        EXPECT_EQ(layout->GetHorizontalScrollBar(), nullptr) << l.kind;
        EXPECT_EQ(bar->GetFixedWidth(), 12) << l.kind;
        EXPECT_FALSE(bar->GetShowButton1()) << l.kind;
        EXPECT_TRUE(bar->IsVisible()) << l.kind;
        auto* row = new SkinUI::CControlUI();
        row->SetFixedHeight(40);
        layout->Add(row);
        layout->SetPos(RECT{0, 0, 200, 100});
        EXPECT_FALSE(bar->IsVisible()) << l.kind;
    }
}

// ---- Horizontal layout
// --------------------------------------------------------------

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

// ---- Tile layout
// --------------------------------------------------------------------

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
