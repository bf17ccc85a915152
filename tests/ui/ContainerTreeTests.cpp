#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/support/DibSurface.h"
#include "tests/ui/ContainerTestTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace ContainerTest;
using SkinUI::CWindowManagerUI;
using SkinUI::IContainerUI;
using TestSupport::DibSurface;

namespace {

CControlUI* CALLBACK Any(CControlUI* control, LPVOID) {
    return control;
}

CControlUI* HitTest(CControlUI* root, int x, int y, UINT extra = 0) {
    POINT pt = {x, y};
    return root->FindControl(Any, &pt,
                             SkinUI::UIFIND_VISIBLE | SkinUI::UIFIND_HITTEST |
                                 SkinUI::UIFIND_TOP_FIRST | extra);
}

std::vector<std::wstring> Names(const CContainerUI& container) {
    std::vector<std::wstring> names;
    for (int i = 0; i < container.GetCount(); ++i) {
        names.push_back(container.GetItemAt(i)->GetName().GetData());
    }
    return names;
}

using NameList = std::vector<std::wstring>;

} // namespace

// ---- Children: ownership and order -------------------------------------------------------

TEST(ContainerChildren, AddKeepsOrderAndIndexes) {
    CContainerUI box;
    Leaf* a = new Leaf(L"a");
    Leaf* b = new Leaf(L"b");
    Leaf* c = new Leaf(L"c");
    EXPECT_TRUE(box.Add(a));
    EXPECT_TRUE(box.Add(c));
    EXPECT_TRUE(box.AddAt(b, 1));
    EXPECT_EQ((NameList{L"a", L"b", L"c"}), Names(box));
    EXPECT_EQ(3, box.GetCount());
    EXPECT_EQ(1, box.GetItemIndex(b));
    EXPECT_EQ(b, box.GetItemAt(1));
    EXPECT_EQ(nullptr, box.GetItemAt(-1));
    EXPECT_EQ(nullptr, box.GetItemAt(3));
    Leaf stranger;
    EXPECT_EQ(-1, box.GetItemIndex(&stranger));
    EXPECT_EQ(-1, box.GetItemIndex(nullptr));
    // Appending at the count is allowed.
    Leaf* d = new Leaf(L"d");
    EXPECT_TRUE(box.AddAt(d, 3));
    EXPECT_EQ(3, box.GetItemIndex(d));
}

TEST(ContainerChildren, BadAddsChangeNothing) {
    auto box = std::make_unique<CContainerUI>();
    EXPECT_FALSE(box->Add(nullptr));
    EXPECT_FALSE(box->AddAt(nullptr, 0));
    Leaf outside(L"outside");
    EXPECT_FALSE(box->AddAt(&outside, 1));
    EXPECT_FALSE(box->AddAt(&outside, -1));
    EXPECT_EQ(0, box->GetCount());
    EXPECT_EQ(nullptr, outside.GetParent());

    // The same control twice would be deleted twice; the container itself
    // would contain itself.
    Leaf* a = new Leaf(L"a");
    ASSERT_TRUE(box->Add(a));
    EXPECT_FALSE(box->Add(a));
    EXPECT_FALSE(box->AddAt(a, 0));
    EXPECT_FALSE(box->Add(box.get()));
    EXPECT_EQ(1, box->GetCount());
    bool deleted = false;
    a->WatchDeletion(&deleted);
    box.reset();
    EXPECT_TRUE(deleted);
}

TEST(ContainerChildren, AnAncestorCannotBecomeAChild) {
    CWindowManagerUI pm;
    auto* root = new CContainerUI();
    auto* middle = new CContainerUI();
    ASSERT_TRUE(pm.AttachRootControl(root));
    ASSERT_TRUE(root->Add(middle));
    EXPECT_EQ(root, middle->GetParent());
    EXPECT_FALSE(middle->Add(root));
    EXPECT_EQ(0, middle->GetCount());
}

TEST(ContainerChildren, DeletingTheContainerDeletesItsChildren) {
    bool deletedA = false;
    bool deletedB = false;
    bool deletedInner = false;
    auto* box = new CContainerUI();
    auto* inner = new WatchedContainer(L"inner");
    auto* a = new Leaf(L"a");
    auto* b = new Leaf(L"b");
    a->WatchDeletion(&deletedA);
    b->WatchDeletion(&deletedB);
    inner->deleted = &deletedInner;
    box->Add(a);
    box->Add(inner);
    inner->Add(b);
    box->EnableScrollBar(true, true);
    delete box;
    EXPECT_TRUE(deletedA);
    EXPECT_TRUE(deletedB);
    EXPECT_TRUE(deletedInner);
}

// Delayed destroy is on by default: with a manager the child is detached at
// once and deleted at the manager's clean-up (here, when the manager goes);
// without one it is deleted at once.
TEST(ContainerChildren, RemoveDeletesAtOnceOrThroughTheManager) {
    for (bool withManager : {false, true}) {
        bool deleted = false;
        {
            CWindowManagerUI pm;
            CContainerUI box;
            auto* a = new Leaf(L"a");
            a->WatchDeletion(&deleted);
            box.Add(a);
            box.Add(new Leaf(L"b"));
            if (withManager) {
                box.AttachManager(&pm, nullptr, false);
            }
            ASSERT_TRUE(box.IsDelayedDestroy());
            EXPECT_TRUE(box.Remove(a));
            EXPECT_EQ((NameList{L"b"}), Names(box));
            if (withManager) {
                ASSERT_FALSE(deleted);
                EXPECT_EQ(nullptr, a->GetParent());
            } else {
                EXPECT_TRUE(deleted);
            }
        }
        EXPECT_TRUE(deleted) << withManager;
    }
}

TEST(ContainerChildren, WithoutAutoDestroyRemovedChildrenStayAlive) {
    CContainerUI box;
    box.SetAutoDestroy(false);
    EXPECT_FALSE(box.IsAutoDestroy());
    Leaf a(L"a");
    Leaf b(L"b");
    Leaf c(L"c");
    bool deleted = false;
    a.WatchDeletion(&deleted);
    b.WatchDeletion(&deleted);
    c.WatchDeletion(&deleted);
    box.Add(&a);
    box.Add(&b);
    box.Add(&c);
    EXPECT_TRUE(box.Remove(&a));
    EXPECT_TRUE(box.RemoveAt(0));
    EXPECT_EQ((NameList{L"c"}), Names(box));
    box.RemoveAll();
    EXPECT_EQ(0, box.GetCount());
    EXPECT_FALSE(deleted);
    for (Leaf* leaf : {&a, &b, &c}) {
        leaf->WatchDeletion(nullptr);
    }
}

TEST(ContainerChildren, SetItemIndexOutOfRangeLeavesTheChildWhereItWas) {
    CContainerUI box;
    Leaf* a = new Leaf(L"a");
    box.Add(new Leaf(L"x"));
    box.Add(a);
    box.Add(new Leaf(L"y"));
    for (int index : {-1, 3, 4, 1000, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(box.SetItemIndex(a, index)) << index;
        EXPECT_EQ((NameList{L"x", L"a", L"y"}), Names(box)) << index;
    }
    Leaf stranger(L"s");
    EXPECT_FALSE(box.SetItemIndex(&stranger, 0));
    EXPECT_FALSE(box.SetItemIndex(nullptr, 0));
    EXPECT_EQ(3, box.GetCount());
}

// ---- Manager and visibility ------------------------------------------------------------

TEST(ContainerManager, VisibilityPassesDown) {
    CContainerUI outer;
    auto* inner = new CContainerUI();
    auto* leaf = new Leaf(L"leaf");
    inner->Add(leaf);
    outer.Add(inner);
    outer.SetVisible(false);
    EXPECT_FALSE(inner->IsVisible());
    EXPECT_FALSE(leaf->IsVisible());
    // A child added to a hidden container is hidden by it.
    auto* late = new Leaf(L"late");
    outer.Add(late);
    EXPECT_FALSE(late->VisibleByParent());
    outer.SetVisible(true);
    EXPECT_TRUE(inner->IsVisible());
    EXPECT_TRUE(leaf->IsVisible());
    EXPECT_TRUE(late->IsVisible());
    // A hidden inner container keeps its children hidden when the outer
    // one is shown again.
    inner->SetVisible(false);
    outer.SetVisible(false);
    outer.SetVisible(true);
    EXPECT_FALSE(leaf->IsVisible());
    EXPECT_TRUE(leaf->VisibleByParent() == false);
}

// ---- Attributes -------------------------------------------------------------------------

// ---- Layout -----------------------------------------------------------------------------

TEST(ContainerLayout, ChildrenAreStackedInsideTheInset) {
    CContainerUI box;
    box.SetInset(Rect(10, 5, 20, 15));
    auto* a = new Leaf(L"a");
    auto* b = new Leaf(L"b");
    auto* hidden = new Leaf(L"hidden");
    box.Add(a);
    box.Add(hidden);
    box.Add(b);
    hidden->SetPos(Rect(1, 2, 3, 4));
    hidden->SetVisible(false);
    // Fixed sizes and margins play no part here.
    b->SetFixedWidth(30);
    b->SetPadding(Rect(3, 3, 3, 3));
    box.SetPos(Rect(100, 50, 300, 150));
    EXPECT_RECT(Rect(100, 50, 300, 150), box.GetPos());
    EXPECT_RECT(Rect(110, 55, 280, 135), a->GetPos());
    EXPECT_RECT(Rect(110, 55, 280, 135), b->GetPos());
    EXPECT_RECT(Rect(1, 2, 3, 4), hidden->GetPos());
}

TEST(ContainerLayout, FloatingChildrenUseTheirOffsets) {
    CWindowManagerUI pm;
    auto* root = new CContainerUI();
    ASSERT_TRUE(pm.AttachRootControl(root));
    root->SetInset(Rect(5, 5, 5, 5));
    auto* right = new Leaf(L"right");
    auto* left = new Leaf(L"left");
    root->Add(right);
    root->Add(left);
    // "pos" -60,10,-10,40 on a floating control: 10 pixels inside the right
    // edge, 10 below the top, 50 x 30.
    right->ApplyAttribute(L"float", L"true");
    right->ApplyAttribute(L"pos", L"-60,10,-10,40");
    left->ApplyAttribute(L"float", L"true");
    // 20,-50,40,-5: offset (20, -5), 20 x 45, 5 above the bottom edge.
    left->ApplyAttribute(L"pos", L"20,-50,40,-5");
    root->SetPos(Rect(0, 0, 400, 300));
    // Against the item rectangle, not the inset one.
    EXPECT_RECT(Rect(340, 10, 390, 40), right->GetPos());
    EXPECT_RECT(Rect(20, 250, 40, 295), left->GetPos());
    root->SetPos(Rect(0, 0, 200, 100));
    EXPECT_RECT(Rect(140, 10, 190, 40), right->GetPos());
    EXPECT_RECT(Rect(20, 50, 40, 95), left->GetPos());

    // Out of range, hidden or not floating: nothing.
    root->PlaceFloatingChild(-1);
    root->PlaceFloatingChild(2);
    right->SetVisible(false);
    right->SetPos(Rect(0, 0, 1, 1));
    root->PlaceFloatingChild(0);
    EXPECT_RECT(Rect(0, 0, 1, 1), right->GetPos());
}

TEST(ContainerLayout, RelativeFloatingChildrenFollowTheSizeChange) {
    CWindowManagerUI pm;
    auto* root = new CContainerUI();
    ASSERT_TRUE(pm.AttachRootControl(root));
    auto* child = new Leaf(L"child");
    root->Add(child);
    child->SetFloating(true);
    child->SetFixedXY(SIZE{10, 10});
    child->SetFixedWidth(20);
    child->SetFixedHeight(20);
    child->SetRelativePos(50, 50, 50, 0);
    root->SetPos(Rect(0, 0, 100, 100));
    // The first placement only notes the parent's size.
    EXPECT_RECT(Rect(10, 10, 30, 30), child->GetPos());
    EXPECT_EQ(100, child->GetRelativePos().szParent.cx);
    root->SetPos(Rect(0, 0, 200, 150));
    // dx 100, dy 50: moved by half of each, widened by half of dx.
    EXPECT_RECT(Rect(60, 35, 130, 55), child->GetPos());
    EXPECT_EQ(60, child->GetFixedXY().cx);
    EXPECT_EQ(70, child->GetFixedWidth());
    root->SetPos(Rect(0, 0, 100, 100));
    EXPECT_RECT(Rect(10, 10, 30, 30), child->GetPos());
    // Negative changes divide toward zero: -33 * 50 / 100 = -16.
    root->SetPos(Rect(0, 0, 67, 100));
    EXPECT_RECT(Rect(-6, 10, -2, 30), child->GetPos());
}

TEST(ContainerLayout, FloatingArithmeticSaturates) {
    CWindowManagerUI pm;
    auto* root = new CContainerUI();
    ASSERT_TRUE(pm.AttachRootControl(root));
    auto* child = new Leaf(L"child");
    root->Add(child);
    child->SetFloating(true);
    child->SetFixedXY(SIZE{INT_MAX - 5, 0});
    child->SetFixedWidth(INT_MAX);
    child->SetFixedHeight(10);
    root->SetPos(Rect(100, 0, 200, 100));
    EXPECT_EQ(INT_MAX, child->GetPos().left);
    EXPECT_EQ(INT_MAX, child->GetPos().right);
}

namespace {

const DWORD kGrey = 0xFF808080;
const DWORD kRed = 0xFFFF0000;
const DWORD kGreen = 0xFF00FF00;

// A grey container at (0,0)-(100,100) with the given inset, holding a red
// child and a green floating child placed afterwards, as scrolling or a
// layout would place them.
struct InsetBox {
    InsetBox(RECT inset, RECT childPlace, RECT floatingPlace) {
        box.SetBkColor(kGrey);
        box.SetInset(inset);
        child->SetBkColor(kRed);
        floating->SetBkColor(kGreen);
        floating->SetFloating(true);
        box.Add(child);
        box.Add(floating);
        box.SetPos(Rect(0, 0, 100, 100));
        child->SetPos(childPlace);
        floating->SetPos(floatingPlace);
    }
    CContainerUI box;
    // Owned by box.
    Leaf* child = new Leaf(L"child");
    Leaf* floating = new Leaf(L"floating");
};

} // namespace

// ---- FindControl ------------------------------------------------------------------------

TEST(ContainerFind, HitTestsFindTheTopChild) {
    CContainerUI root;
    root.SetName(L"root");
    root.SetInset(Rect(10, 10, 10, 10));
    auto* under = new Leaf(L"under");
    auto* over = new Leaf(L"over");
    root.Add(under);
    root.Add(over);
    root.SetPos(Rect(0, 0, 100, 100));
    EXPECT_EQ(over, HitTest(&root, 50, 50));
    // Bottom first: the first child.
    POINT pt = {50, 50};
    EXPECT_EQ(under, root.FindControl(Any, &pt, SkinUI::UIFIND_VISIBLE | SkinUI::UIFIND_HITTEST));
    // Me first: the container.
    EXPECT_EQ(&root, HitTest(&root, 50, 50, SkinUI::UIFIND_ME_FIRST));
    // In the inset: the container. Outside: nothing.
    EXPECT_EQ(&root, HitTest(&root, 5, 5));
    EXPECT_EQ(nullptr, HitTest(&root, 100, 50));
    over->SetVisible(false);
    EXPECT_EQ(under, HitTest(&root, 50, 50));
    under->SetMouseEnabled(false);
    EXPECT_EQ(&root, HitTest(&root, 50, 50));
    root.SetMouseEnabled(false);
    EXPECT_EQ(nullptr, HitTest(&root, 50, 50));
}

TEST(ContainerFind, ChildrenUnderTheInsetAreNotHitUnlessFloating) {
    // As scrolled: the child reaches under the inset.
    InsetBox t(Rect(10, 10, 10, 10), Rect(0, 0, 100, 100), Rect(0, 0, 8, 8));
    EXPECT_EQ(&t.box, HitTest(&t.box, 9, 50));
    EXPECT_EQ(t.child, HitTest(&t.box, 10, 50));
    EXPECT_EQ(t.floating, HitTest(&t.box, 4, 4));
}

// ---- FindSelectable ---------------------------------------------------------------------

TEST(ContainerSelectable, TheStartIsClampedIntoTheList) {
    EXPECT_EQ(-1, CContainerUI().FindSelectable(0, false));
    const struct {
        int start;
        bool forward;
        int disabled; // -1: none
        int found;
    } cases[] = {
        {5, false, -1, 2}, {-3, true, -1, 0}, {99, true, -1, 2},
        {5, false, 2, 1},  {2, true, 2, -1},  {-3, false, 0, 1}, // backward: then forward from 0
    };
    for (const auto& c : cases) {
        CContainerUI list;
        for (int i = 0; i < 3; ++i) {
            auto* item = new Leaf(L"item");
            item->listItem = true;
            item->SetEnabled(i != c.disabled);
            list.Add(item);
        }
        EXPECT_EQ(c.found, list.FindSelectable(c.start, c.forward))
            << c.start << (c.forward ? " forward" : " backward") << ", disabled " << c.disabled;
    }
}

// ---- Events -----------------------------------------------------------------------------

TEST(ContainerEvents, MouseEventsOfADisabledMouseGoToTheParent) {
    WatchedContainer outer;
    auto* inner = new WatchedContainer(L"inner");
    outer.Add(inner);
    CWindowManagerUI pm;
    outer.AttachManager(&pm, nullptr, false);
    inner->SetMouseEnabled(false);
    inner->EnableScrollBar(true, false);
    TInputEventUI wheel = Event(SkinUI::UIEVENT_SCROLLWHEEL, POINT{0, 0}, 1);
    inner->HandleEvent(wheel);
    EXPECT_EQ((std::vector<int>{SkinUI::UIEVENT_SCROLLWHEEL}), outer.events);
    // Focus events only set the flag.
    TInputEventUI focus = Event(SkinUI::UIEVENT_SETFOCUS);
    outer.HandleEvent(focus);
    EXPECT_TRUE(outer.IsFocused());
    TInputEventUI kill = Event(SkinUI::UIEVENT_KILLFOCUS);
    outer.HandleEvent(kill);
    EXPECT_FALSE(outer.IsFocused());
    outer.AttachManager(nullptr, nullptr, false);
}

// ---- Painting ---------------------------------------------------------------------------

namespace {

const uint32_t kWhite = 0xFFFFFFFF;
const DWORD kBlue = 0xFF0000FF;

uint32_t Rgb(const DibSurface& dib, int x, int y) {
    return dib.Rgb(x, y);
}

} // namespace

TEST(ContainerPaint, FloatingChildrenPaintWhenTheInsetLeavesNoInnerArea) {
    DibSurface dib(100, 100, kWhite);
    InsetBox t(Rect(50, 50, 50, 50), Rect(0, 0, 100, 100), Rect(10, 10, 30, 30));
    t.box.Paint(dib.DC(), dib.Rect());
    EXPECT_EQ(0x00FF00u, Rgb(dib, 20, 20));
    EXPECT_EQ(0x808080u, Rgb(dib, 60, 60)); // the other child is not painted
}

TEST(ContainerPaint, ChildrenAreClippedToTheInnerRectangle) {
    DibSurface dib(120, 120, kWhite);
    // As scrolled: the child reaches over the inset and out of the container;
    // the floating child lies partly outside the container.
    InsetBox t(Rect(10, 10, 10, 10), Rect(0, 0, 120, 120), Rect(90, 0, 120, 8));
    t.box.Paint(dib.DC(), dib.Rect());
    EXPECT_EQ(0x808080u, Rgb(dib, 5, 50));
    EXPECT_EQ(0xFF0000u, Rgb(dib, 10, 10));
    EXPECT_EQ(0xFF0000u, Rgb(dib, 89, 89));
    EXPECT_EQ(0x808080u, Rgb(dib, 90, 50));
    EXPECT_EQ(0x00FF00u, Rgb(dib, 95, 4));  // over the inset
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 105, 4)); // outside the container
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 110, 110));
}
