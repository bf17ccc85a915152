#include <windows.h>

#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"

#include "tests/support/DibSurface.h"
#include "tests/ui/LayoutTestTree.h"

#include <gtest/gtest.h>

using namespace SkinBuildTest;
using SkinUI::CContainerUI;
using SkinUI::CHorizontalLayoutUI;
using SkinUI::CVerticalLayoutUI;
using SkinUI::TInputEventUI;

namespace {

void Fire(CControlUI* control, int type, POINT pt) {
    TInputEventUI event = {};
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse = pt;
    control->DispatchEvent(event);
}

void Down(CControlUI* c, int x, int y) {
    Fire(c, SkinUI::UIEVENT_BUTTONDOWN, POINT{x, y});
}
void Move(CControlUI* c, int x, int y) {
    Fire(c, SkinUI::UIEVENT_MOUSEMOVE, POINT{x, y});
}
void Up(CControlUI* c, int x, int y) {
    Fire(c, SkinUI::UIEVENT_BUTTONUP, POINT{x, y});
}

// A pane of height 100 with a 6-pixel band at its bottom, above a stretch
// control, in a 200 x 300 window area.
const wchar_t* const kBottomBand = LR"(<VerticalLayout name="root">
  <VerticalLayout name="pane" sepheight="6" height="100" minheight="80" maxheight="150"/>
  <Control name="rest"/></VerticalLayout>)";

// ---- Band geometry ------------------------------------------------------------------

TEST(Splitter, BandGeometryAtEachEdge) {
    CVerticalLayoutUI v;
    v.SetPos(RECT{0, 0, 100, 200});
    EXPECT_EQ(RectText(v.GetThumbRect()), L"0,200,100,200"); // size 0: an empty band
    v.SetSepHeight(10);
    EXPECT_EQ(v.GetSepHeight(), 10);
    EXPECT_EQ(RectText(v.GetThumbRect()), L"0,190,100,200");
    v.SetSepHeight(-10);
    EXPECT_EQ(RectText(v.GetThumbRect()), L"0,0,100,10");
    // The vertical band never leaves the layout.
    v.SetSepHeight(300);
    EXPECT_EQ(RectText(v.GetThumbRect()), L"0,0,100,200");
    v.SetSepHeight(-300);
    EXPECT_EQ(RectText(v.GetThumbRect()), L"0,0,100,200");

    CHorizontalLayoutUI h;
    h.SetPos(RECT{0, 0, 100, 200});
    h.SetSepWidth(10);
    EXPECT_EQ(h.GetSepWidth(), 10);
    EXPECT_EQ(RectText(h.GetThumbRect()), L"90,0,100,200");
    h.SetSepWidth(-10);
    EXPECT_EQ(RectText(h.GetThumbRect()), L"0,0,10,200");
    // The horizontal twin is not clamped.
    h.SetSepWidth(300);
    EXPECT_EQ(RectText(h.GetThumbRect()), L"-200,0,100,200");
}

// ---- Dragging with a preview --------------------------------------------------------

TEST(Splitter, DragWithPreviewMovesTheBandAndAppliesOnRelease) {
    BuiltTree t(kBottomBand, RECT{0, 0, 200, 300});
    auto* pane = t.As<CVerticalLayoutUI>(L"pane");
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(t.Pos(L"pane"), L"0,0,200,100");
    CWindowManagerUI& pm = t.Manager();

    // A press outside the band is not the splitter's.
    Down(pane, 50, 50);
    EXPECT_EQ(pm.GetPostPaintCount(), 0);
    Up(pane, 50, 50);

    Down(pane, 50, 97);
    EXPECT_EQ(pm.GetPostPaintCount(), 1);
    Move(pane, 50, 127);
    EXPECT_EQ(pane->GetFixedHeight(), 130);
    EXPECT_EQ(RectText(pane->GetThumbRect(true)), L"0,124,200,130");
    // The layout keeps its place until the button goes up.
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,100");

    TestSupport::DibSurface surface(200, 300, 0xFFFFFFFF);
    pane->PaintOverlay(surface.DC(), surface.Rect());
    // Translucent black (alpha 0xAA) over white.
    EXPECT_LE(TestSupport::ChannelDistance(surface.Pixel(50, 127), 0xFF555555), 3);
    EXPECT_EQ(surface.Rgb(50, 120), 0xFFFFFFu);
    EXPECT_EQ(surface.Rgb(50, 131), 0xFFFFFFu);

    Up(pane, 50, 127);
    EXPECT_EQ(pm.GetPostPaintCount(), 0);
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,130");
    EXPECT_TRUE(t.Root()->IsUpdateNeeded());
    t.Layout(RECT{0, 0, 200, 300});
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,130");
    EXPECT_EQ(t.Pos(L"rest"), L"0,130,200,300");

    // No preview after the drag.
    TestSupport::DibSurface after(200, 300, 0xFFFFFFFF);
    pane->PaintOverlay(after.DC(), after.Rect());
    EXPECT_EQ(after.Rgb(50, 127), 0xFFFFFFu);
}

TEST(Splitter, DragStopsAtTheMaximumUntilThePointerComesBack) {
    BuiltTree t(kBottomBand, RECT{0, 0, 200, 300});
    auto* pane = t.As<CVerticalLayoutUI>(L"pane");
    ASSERT_NE(pane, nullptr);
    Down(pane, 50, 97);
    Move(pane, 50, 167); // 170 > 150: stops at the maximum
    EXPECT_EQ(RectText(pane->GetThumbRect(true)), L"0,144,200,150");
    Move(pane, 50, 197); // further out: ignored
    EXPECT_EQ(pane->GetFixedHeight(), 150);
    Move(pane, 50, 187); // back, but still below the edge: ignored
    EXPECT_EQ(pane->GetFixedHeight(), 150);
    Move(pane, 50, 140); // above the edge again: follows
    EXPECT_EQ(pane->GetFixedHeight(), 103);
    Up(pane, 50, 140);
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,103");
}

TEST(Splitter, DragStopsAtTheMinimum) {
    BuiltTree t(kBottomBand, RECT{0, 0, 200, 300});
    auto* pane = t.As<CVerticalLayoutUI>(L"pane");
    ASSERT_NE(pane, nullptr);
    Down(pane, 50, 97);
    Move(pane, 50, 60); // 63 < 80: stops at the minimum
    EXPECT_EQ(pane->GetFixedHeight(), 80);
    Move(pane, 50, 40); // further in: ignored
    EXPECT_EQ(pane->GetFixedHeight(), 80);
    EXPECT_EQ(RectText(pane->GetThumbRect(true)), L"0,74,200,80");
    Up(pane, 50, 40);
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,80");
}

TEST(Splitter, HorizontalRightBandMovesTheRightEdge) {
    BuiltTree t(LR"(<HorizontalLayout><HorizontalLayout name="pane" sepwidth="6" width="100"/>
                   <Control name="rest"/></HorizontalLayout>)",
                RECT{0, 0, 300, 200});
    auto* pane = t.As<CHorizontalLayoutUI>(L"pane");
    ASSERT_NE(pane, nullptr);
    Down(pane, 97, 50);
    EXPECT_EQ(t.Manager().GetPostPaintCount(), 1);
    Move(pane, 130, 50);
    EXPECT_EQ(pane->GetFixedWidth(), 133);
    EXPECT_EQ(RectText(pane->GetThumbRect(true)), L"127,0,133,200");
    Up(pane, 130, 50);
    EXPECT_EQ(t.Manager().GetPostPaintCount(), 0);
    t.Layout(RECT{0, 0, 300, 200});
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,133,200");
    EXPECT_EQ(t.Pos(L"rest"), L"133,0,300,200");
}

// ---- Immediate mode, disabled layouts and going away --------------------------------

TEST(Splitter, ImmediateModeResizesWhileDragging) {
    BuiltTree t(LR"(<VerticalLayout><VerticalLayout name="pane" sepheight="6" sepimm="true"
                   height="100"/><Control/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    auto* pane = t.As<CVerticalLayoutUI>(L"pane");
    ASSERT_NE(pane, nullptr);
    Down(pane, 50, 97);
    EXPECT_EQ(t.Manager().GetPostPaintCount(), 0);
    Move(pane, 50, 117);
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,120");
    TestSupport::DibSurface surface(200, 300, 0xFFFFFFFF);
    pane->PaintOverlay(surface.DC(), surface.Rect());
    EXPECT_EQ(surface.Rgb(50, 117), 0xFFFFFFu);
    Up(pane, 50, 117);
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,120");
}

TEST(Splitter, SwitchingToImmediateModeDuringADragLeavesThePostPaintList) {
    BuiltTree t(kBottomBand, RECT{0, 0, 200, 300});
    auto* pane = t.As<CVerticalLayoutUI>(L"pane");
    ASSERT_NE(pane, nullptr);
    Down(pane, 50, 97);
    ASSERT_EQ(t.Manager().GetPostPaintCount(), 1);
    pane->SetSepImmMode(true);
    EXPECT_EQ(t.Manager().GetPostPaintCount(), 0);
    Move(pane, 50, 107);
    EXPECT_EQ(t.Pos(L"pane"), L"0,0,200,110");
    Up(pane, 50, 107);
    EXPECT_EQ(t.Manager().GetPostPaintCount(), 0);
}

TEST(Splitter, LayoutDeletedDuringADragLeavesThePostPaintList) {
    BuiltTree t(kBottomBand, RECT{0, 0, 200, 300});
    auto* root = t.As<CVerticalLayoutUI>(L"root");
    auto* pane = t.As<CVerticalLayoutUI>(L"pane");
    ASSERT_NE(pane, nullptr);
    Down(pane, 50, 97);
    Move(pane, 50, 110);
    ASSERT_EQ(t.Manager().GetPostPaintCount(), 1);
    root->SetDelayedDestroy(false);
    ASSERT_TRUE(root->Remove(pane));
    EXPECT_EQ(t.Manager().GetPostPaintCount(), 0);
}

} // namespace
