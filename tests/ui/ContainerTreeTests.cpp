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

// Finds a control by name, as the manager's name search does.
CControlUI* CALLBACK ByName(CControlUI* control, LPVOID data) {
    return control->GetName() == static_cast<LPCWSTR>(data) ? control : nullptr;
}

CControlUI* CALLBACK Any(CControlUI* control, LPVOID) {
    return control;
}

// Every control the search visits, in order.
std::vector<std::wstring> g_visited;
CControlUI* CALLBACK Visit(CControlUI* control, LPVOID) {
    g_visited.push_back(control->GetName().GetData());
    return nullptr;
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
    a->deleted = &deleted;
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
    a->deleted = &deletedA;
    b->deleted = &deletedB;
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

TEST(ContainerChildren, RemoveDeletesAtOnceWithoutAManager) {
    CContainerUI box;
    bool deleted = false;
    auto* a = new Leaf(L"a");
    a->deleted = &deleted;
    box.Add(a);
    box.Add(new Leaf(L"b"));
    // Delayed destroy is on, but there is no manager to delay it.
    EXPECT_TRUE(box.IsDelayedDestroy());
    EXPECT_TRUE(box.Remove(a));
    EXPECT_TRUE(deleted);
    EXPECT_EQ((NameList{L"b"}), Names(box));
}

TEST(ContainerChildren, RemoveOfStrangersAndNullFails) {
    CContainerUI box;
    box.Add(new Leaf(L"a"));
    Leaf stranger(L"stranger");
    bool deleted = false;
    stranger.deleted = &deleted;
    EXPECT_FALSE(box.Remove(&stranger));
    EXPECT_FALSE(box.Remove(nullptr));
    EXPECT_FALSE(deleted);
    EXPECT_EQ(1, box.GetCount());
    stranger.deleted = nullptr;
}

TEST(ContainerChildren, WithoutAutoDestroyRemovedChildrenStayAlive) {
    CContainerUI box;
    box.SetAutoDestroy(false);
    EXPECT_FALSE(box.IsAutoDestroy());
    Leaf a(L"a");
    Leaf b(L"b");
    Leaf c(L"c");
    bool deleted = false;
    a.deleted = &deleted;
    b.deleted = &deleted;
    c.deleted = &deleted;
    box.Add(&a);
    box.Add(&b);
    box.Add(&c);
    EXPECT_TRUE(box.Remove(&a));
    EXPECT_TRUE(box.RemoveAt(0));
    EXPECT_EQ((NameList{L"c"}), Names(box));
    box.RemoveAll();
    EXPECT_EQ(0, box.GetCount());
    EXPECT_FALSE(deleted);
    a.deleted = b.deleted = c.deleted = nullptr;
}

TEST(ContainerChildren, RemoveAtUsesTheContainersOwnRemove) {
    WatchedContainer box;
    bool deleted = false;
    auto* a = new Leaf(L"a");
    a->deleted = &deleted;
    box.Add(new Leaf(L"x"));
    box.Add(a);
    EXPECT_FALSE(box.RemoveAt(2));
    EXPECT_FALSE(box.RemoveAt(-1));
    EXPECT_TRUE(box.RemoveAt(1));
    EXPECT_TRUE(deleted);
    // The derived class's Remove was bypassed.
    EXPECT_EQ(0, box.removeCalls);
    // Through the interface slot, Remove is the derived class's.
    IContainerUI* list = static_cast<IContainerUI*>(box.QueryInterfaceByName(L"IContainer"));
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(list->Remove(box.GetItemAt(0)));
    EXPECT_EQ(1, box.removeCalls);
}

TEST(ContainerChildren, RemoveAllDeletesEveryChild) {
    CContainerUI box;
    bool deleted[3] = {};
    for (bool& flag : deleted) {
        auto* leaf = new Leaf(L"x");
        leaf->deleted = &flag;
        box.Add(leaf);
    }
    box.RemoveAll();
    EXPECT_EQ(0, box.GetCount());
    EXPECT_TRUE(deleted[0] && deleted[1] && deleted[2]);
    // And again on an empty list.
    box.RemoveAll();
    EXPECT_EQ(0, box.GetCount());
}

TEST(ContainerChildren, SetItemIndexMovesAChild) {
    CContainerUI box;
    Leaf* a = new Leaf(L"a");
    box.Add(a);
    box.Add(new Leaf(L"b"));
    box.Add(new Leaf(L"c"));
    EXPECT_TRUE(box.SetItemIndex(a, 2));
    EXPECT_EQ((NameList{L"b", L"c", L"a"}), Names(box));
    EXPECT_TRUE(box.SetItemIndex(a, 0));
    EXPECT_EQ((NameList{L"a", L"b", L"c"}), Names(box));
    EXPECT_TRUE(box.SetItemIndex(a, 0));
    EXPECT_EQ((NameList{L"a", L"b", L"c"}), Names(box));
    EXPECT_TRUE(box.SetItemIndex(box.GetItemAt(1), 2));
    EXPECT_EQ((NameList{L"a", L"c", L"b"}), Names(box));
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

TEST(ContainerChildren, InterfacesByName) {
    CContainerUI box;
    EXPECT_STREQ(L"ContainerUI", box.GetClass());
    EXPECT_EQ(static_cast<IContainerUI*>(&box), box.QueryInterfaceByName(L"IContainer"));
    EXPECT_EQ(static_cast<void*>(&box), box.QueryInterfaceByName(L"Container"));
    EXPECT_EQ(static_cast<void*>(&box), box.QueryInterfaceByName(L"Control"));
    EXPECT_EQ(nullptr, box.QueryInterfaceByName(L"ListItem"));
    EXPECT_EQ(nullptr, box.QueryInterfaceByName(L"icontainer"));
    // The builder's way in: add through the interface without the class.
    auto* list = static_cast<IContainerUI*>(box.QueryInterfaceByName(L"IContainer"));
    EXPECT_TRUE(list->Add(new Leaf(L"a")));
    EXPECT_EQ(1, list->GetCount());
    EXPECT_EQ(box.GetItemAt(0), list->GetItemAt(0));
}

// ---- Manager and visibility ------------------------------------------------------------

TEST(ContainerManager, AddAttachesAndRegistersNames) {
    CWindowManagerUI pm;
    auto* root = new CContainerUI();
    root->SetName(L"root");
    ASSERT_TRUE(pm.AttachRootControl(root));
    auto* inner = new CContainerUI();
    inner->SetName(L"inner");
    inner->Add(new Leaf(L"deep"));
    // Built without a manager: not attached yet.
    EXPECT_EQ(nullptr, inner->GetItemAt(0)->GetManager());
    ASSERT_TRUE(root->Add(inner));
    EXPECT_EQ(&pm, inner->GetManager());
    EXPECT_EQ(root, inner->GetParent());
    EXPECT_EQ(&pm, inner->GetItemAt(0)->GetManager());
    EXPECT_EQ(inner, inner->GetItemAt(0)->GetParent());
    EXPECT_EQ(inner, pm.FindControl(L"inner"));
    EXPECT_EQ(inner->GetItemAt(0), pm.FindControl(L"deep"));
}

TEST(ContainerManager, AttachManagerReachesChildrenAndBars) {
    CWindowManagerUI pm;
    CContainerUI box;
    box.Add(new Leaf(L"a"));
    box.EnableScrollBar(true, true);
    box.AttachManager(&pm, nullptr, false);
    EXPECT_EQ(&pm, box.GetItemAt(0)->GetManager());
    EXPECT_EQ(&box, box.GetItemAt(0)->GetParent());
    EXPECT_EQ(&pm, box.GetVerticalScrollBar()->GetManager());
    EXPECT_EQ(&box, box.GetVerticalScrollBar()->GetParent());
    EXPECT_EQ(&pm, box.GetHorizontalScrollBar()->GetManager());
    box.AttachManager(nullptr, nullptr, false);
}

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

TEST(ContainerManager, MouseEnabledReachesTheBars) {
    CContainerUI box;
    box.EnableScrollBar(true, true);
    box.SetMouseEnabled(false);
    EXPECT_FALSE(box.IsMouseEnabled());
    EXPECT_FALSE(box.GetVerticalScrollBar()->IsMouseEnabled());
    EXPECT_FALSE(box.GetHorizontalScrollBar()->IsMouseEnabled());
    box.SetMouseEnabled(true);
    EXPECT_TRUE(box.GetVerticalScrollBar()->IsMouseEnabled());
}

// ---- Attributes -------------------------------------------------------------------------

TEST(ContainerAttributes, InsetPaddingAndMouseChild) {
    WatchedContainer box;
    box.ApplyAttribute(L"inset", L"1,2,3,4");
    EXPECT_RECT(Rect(1, 2, 3, 4), box.GetInset());
    // Missing numbers read as 0, and reading stops at the text's end.
    box.ApplyAttribute(L"inset", L"10,20");
    EXPECT_RECT(Rect(10, 20, 0, 0), box.GetInset());
    box.ApplyAttribute(L"inset", L"7");
    EXPECT_RECT(Rect(7, 0, 0, 0), box.GetInset());
    box.ApplyAttribute(L"inset", L"");
    EXPECT_RECT(Rect(0, 0, 0, 0), box.GetInset());
    box.ApplyAttribute(L"inset", L"5;6 7,8");
    EXPECT_RECT(Rect(5, 6, 7, 8), box.GetInset());
    box.ApplyAttribute(L"childpadding", L"12");
    EXPECT_EQ(12, box.GetChildPadding());
    box.ApplyAttribute(L"childpadding", L"x");
    EXPECT_EQ(0, box.GetChildPadding());
    EXPECT_TRUE(box.IsMouseChildEnabled());
    box.ApplyAttribute(L"mousechild", L"false");
    EXPECT_FALSE(box.IsMouseChildEnabled());
    box.ApplyAttribute(L"mousechild", L"TRUE");
    EXPECT_FALSE(box.IsMouseChildEnabled());
    box.ApplyAttribute(L"mousechild", L"true");
    EXPECT_TRUE(box.IsMouseChildEnabled());
    // Other names reach the control base.
    box.ApplyAttribute(L"name", L"named");
    EXPECT_EQ(L"named", box.GetName());
    box.ApplyAttribute(L"width", L"33");
    EXPECT_EQ(33, box.GetFixedWidth());
}

TEST(ContainerAttributes, ScrollBarSwitches) {
    CContainerUI box;
    box.ApplyAttribute(L"vscrollbar", L"true");
    ASSERT_NE(nullptr, box.GetVerticalScrollBar());
    EXPECT_EQ(nullptr, box.GetHorizontalScrollBar());
    EXPECT_FALSE(box.GetVerticalScrollBar()->IsHorizontal());
    EXPECT_EQ(&box, box.GetVerticalScrollBar()->GetOwner());
    box.ApplyAttribute(L"hscrollbar", L"true");
    ASSERT_NE(nullptr, box.GetHorizontalScrollBar());
    EXPECT_TRUE(box.GetHorizontalScrollBar()->IsHorizontal());
    EXPECT_EQ(0, box.GetHorizontalScrollBar()->GetFixedWidth());
    EXPECT_EQ(16, box.GetHorizontalScrollBar()->GetFixedHeight());
    // Switching one bar off keeps the other.
    box.ApplyAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(nullptr, box.GetVerticalScrollBar());
    EXPECT_NE(nullptr, box.GetHorizontalScrollBar());
    box.ApplyAttribute(L"hscrollbar", L"no");
    EXPECT_EQ(nullptr, box.GetHorizontalScrollBar());
}

TEST(ContainerAttributes, ScrollBarStylesCreateAndStyleTheBars) {
    CContainerUI box;
    box.ApplyAttribute(L"vscrollbarstyle",
                       L"width=\"10\" showbutton1=\"false\" thumbnormalimage=\"t.png\"");
    CScrollBarUI* v = box.GetVerticalScrollBar();
    ASSERT_NE(nullptr, v);
    EXPECT_EQ(10, v->GetFixedWidth());
    EXPECT_FALSE(v->GetShowButton1());
    EXPECT_STREQ(L"t.png", v->GetThumbNormalImage());
    // A new bar starts visible; the first layout of a layout hides it when
    // the content fits.
    EXPECT_TRUE(v->IsVisible());
    box.ApplyAttribute(L"hscrollbarstyle", L"height=\"9\"");
    ASSERT_NE(nullptr, box.GetHorizontalScrollBar());
    EXPECT_EQ(v, box.GetVerticalScrollBar());
    EXPECT_EQ(9, box.GetHorizontalScrollBar()->GetFixedHeight());
    // A broken list applies what comes before the fault.
    box.ApplyAttribute(L"vscrollbarstyle", L"width=\"11\" range=\"5");
    EXPECT_EQ(11, v->GetFixedWidth());
    EXPECT_EQ(100, v->GetScrollRange());
}

TEST(ContainerAttributes, NewBarsTakeTheManagersDefaults) {
    CWindowManagerUI pm;
    pm.AddDefaultAttributeList(L"VScrollBar", L"width=\"7\" linesize=\"3\"");
    pm.AddDefaultAttributeList(L"HScrollBar", L"height=\"5\"");
    CContainerUI box;
    box.AttachManager(&pm, nullptr, false);
    box.EnableScrollBar(true, true);
    EXPECT_EQ(7, box.GetVerticalScrollBar()->GetFixedWidth());
    EXPECT_EQ(3, box.GetVerticalScrollBar()->GetLineSize());
    EXPECT_EQ(&pm, box.GetVerticalScrollBar()->GetManager());
    EXPECT_EQ(nullptr, box.GetVerticalScrollBar()->GetParent());
    EXPECT_EQ(5, box.GetHorizontalScrollBar()->GetFixedHeight());
    box.AttachManager(nullptr, nullptr, false);
}

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

// ---- FindControl ------------------------------------------------------------------------

TEST(ContainerFind, NamesAreFoundThroughNestedContainers) {
    CContainerUI root;
    root.SetName(L"root");
    auto* inner = new CContainerUI();
    inner->SetName(L"inner");
    inner->Add(new Leaf(L"x"));
    inner->Add(new Leaf(L"y"));
    root.Add(new Leaf(L"a"));
    root.Add(inner);
    EXPECT_EQ(inner->GetItemAt(1), root.FindControl(ByName, const_cast<wchar_t*>(L"y"), 0));
    EXPECT_EQ(nullptr, root.FindControl(ByName, const_cast<wchar_t*>(L"z"), 0));
    g_visited.clear();
    root.FindControl(Visit, nullptr, 0);
    EXPECT_EQ((NameList{L"a", L"x", L"y", L"inner", L"root"}), g_visited);
    g_visited.clear();
    root.FindControl(Visit, nullptr, SkinUI::UIFIND_ME_FIRST | SkinUI::UIFIND_TOP_FIRST);
    EXPECT_EQ((NameList{L"root", L"inner", L"y", L"x", L"a"}), g_visited);
    // Hidden and disabled subtrees are skipped by the visible and enabled flags.
    inner->SetVisible(false);
    EXPECT_EQ(nullptr,
              root.FindControl(ByName, const_cast<wchar_t*>(L"y"), SkinUI::UIFIND_VISIBLE));
    EXPECT_NE(nullptr, root.FindControl(ByName, const_cast<wchar_t*>(L"y"), 0));
    inner->SetVisible(true);
    inner->SetEnabled(false);
    EXPECT_EQ(nullptr,
              root.FindControl(ByName, const_cast<wchar_t*>(L"x"), SkinUI::UIFIND_ENABLED));
}

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
    CContainerUI root;
    root.SetInset(Rect(10, 10, 10, 10));
    auto* child = new Leaf(L"child");
    auto* floating = new Leaf(L"floating");
    root.Add(child);
    root.Add(floating);
    root.SetPos(Rect(0, 0, 100, 100));
    // As scrolled: the child reaches under the inset.
    child->SetPos(Rect(0, 0, 100, 100));
    floating->SetFloating(true);
    floating->SetPos(Rect(0, 0, 8, 8));
    EXPECT_EQ(&root, HitTest(&root, 9, 50));
    EXPECT_EQ(child, HitTest(&root, 10, 50));
    EXPECT_EQ(floating, HitTest(&root, 4, 4));
}

TEST(ContainerFind, MouseChildOffFindsTheContainerOrItsBars) {
    StackLayout root;
    root.Add(new Leaf(L"a", 300));
    root.EnableScrollBar(true, false);
    root.SetPos(Rect(0, 0, 100, 100));
    root.SetMouseChildEnabled(false);
    EXPECT_EQ(&root, HitTest(&root, 50, 50));
    EXPECT_EQ(root.GetVerticalScrollBar(), HitTest(&root, 90, 50));
    root.SetMouseChildEnabled(true);
    EXPECT_EQ(root.GetItemAt(0), HitTest(&root, 50, 50));
    EXPECT_EQ(root.GetVerticalScrollBar(), HitTest(&root, 90, 50));
    // A child scrolled under the bar is not hit there.
    root.GetItemAt(0)->SetPos(Rect(0, 0, 100, 300));
    EXPECT_EQ(root.GetVerticalScrollBar(), HitTest(&root, 90, 50));
}

// ---- FindSelectable ---------------------------------------------------------------------

TEST(ContainerSelectable, FindsVisibleEnabledListItems) {
    CContainerUI list;
    EXPECT_EQ(-1, list.FindSelectable(0, true));
    EXPECT_EQ(-1, list.FindSelectable(0, false));
    Leaf* items[3];
    for (Leaf*& item : items) {
        item = new Leaf(L"item");
        item->listItem = true;
        list.Add(item);
    }
    // The start is clamped into the list.
    EXPECT_EQ(2, list.FindSelectable(5, false));
    EXPECT_EQ(0, list.FindSelectable(-3, true));
    EXPECT_EQ(2, list.FindSelectable(99, true));
    items[2]->SetEnabled(false);
    EXPECT_EQ(1, list.FindSelectable(5, false));
    EXPECT_EQ(-1, list.FindSelectable(2, true));
    items[0]->SetVisible(false);
    EXPECT_EQ(1, list.FindSelectable(0, true));
    // Backward with nothing before: the forward search from 0.
    items[1]->listItem = false;
    EXPECT_EQ(-1, list.FindSelectable(1, false));
    items[2]->SetEnabled(true);
    EXPECT_EQ(2, list.FindSelectable(1, false));
}

// ---- Events -----------------------------------------------------------------------------

TEST(ContainerEvents, KeysAndWheelScrollTheVisibleBar) {
    StackLayout box;
    for (int i = 0; i < 5; ++i) {
        box.Add(new Leaf(L"row", 50));
    }
    box.EnableScrollBar(true, false);
    box.SetPos(Rect(0, 0, 100, 100));
    ASSERT_EQ(150, box.GetScrollRange().cy);
    TInputEventUI down = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_DOWN);
    box.HandleEvent(down);
    EXPECT_EQ(8, box.GetScrollPos().cy); // no manager: a line is 8
    TInputEventUI next = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_NEXT);
    box.HandleEvent(next);
    EXPECT_EQ(108, box.GetScrollPos().cy);
    TInputEventUI end = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_END);
    box.HandleEvent(end);
    EXPECT_EQ(150, box.GetScrollPos().cy);
    TInputEventUI up = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_UP);
    box.HandleEvent(up);
    EXPECT_EQ(142, box.GetScrollPos().cy);
    TInputEventUI prior = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_PRIOR);
    box.HandleEvent(prior);
    EXPECT_EQ(42, box.GetScrollPos().cy);
    TInputEventUI home = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_HOME);
    box.HandleEvent(home);
    EXPECT_EQ(0, box.GetScrollPos().cy);
    TInputEventUI wheelDown = Event(SkinUI::UIEVENT_SCROLLWHEEL, POINT{0, 0}, 1);
    box.HandleEvent(wheelDown);
    box.HandleEvent(wheelDown);
    EXPECT_EQ(16, box.GetScrollPos().cy);
    TInputEventUI wheelUp = Event(SkinUI::UIEVENT_SCROLLWHEEL, POINT{0, 0}, 0);
    box.HandleEvent(wheelUp);
    EXPECT_EQ(8, box.GetScrollPos().cy);
    // A disabled bar doesn't scroll.
    box.GetVerticalScrollBar()->SetEnabled(false);
    box.HandleEvent(wheelUp);
    EXPECT_EQ(8, box.GetScrollPos().cy);
}

TEST(ContainerEvents, ChildEventsReachTheContainer) {
    StackLayout box;
    auto* row = new Leaf(L"row", 300);
    box.Add(row);
    box.EnableScrollBar(true, false);
    box.SetPos(Rect(0, 0, 100, 100));
    // The child doesn't handle the wheel: its base hands it to the parent,
    // which is set once the tree has a manager.
    CWindowManagerUI pm;
    box.AttachManager(&pm, nullptr, false);
    TInputEventUI wheel = Event(SkinUI::UIEVENT_SCROLLWHEEL, POINT{10, 10}, 1);
    row->HandleEvent(wheel);
    const int step = pm.GetDefaultFontInfo()->tm.tmHeight + 8;
    EXPECT_GT(step, 8);
    EXPECT_EQ(step, box.GetScrollPos().cy);
    EXPECT_EQ(-step, row->GetPos().top);
    box.AttachManager(nullptr, nullptr, false);
}

TEST(ContainerEvents, HorizontalBarTakesTheKeysWhenThereIsNoVerticalOne) {
    StackLayout box;
    box.Add(new Leaf(L"row", 50));
    box.EnableScrollBar(false, true);
    box.SetPos(Rect(0, 0, 100, 100));
    box.GetHorizontalScrollBar()->SetScrollRange(500);
    TInputEventUI down = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_DOWN);
    box.HandleEvent(down);
    EXPECT_EQ(8, box.GetScrollPos().cx);
    TInputEventUI next = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_NEXT);
    box.HandleEvent(next);
    EXPECT_EQ(108, box.GetScrollPos().cx);
    TInputEventUI end = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_END);
    box.HandleEvent(end);
    EXPECT_EQ(500, box.GetScrollPos().cx);
    TInputEventUI wheel = Event(SkinUI::UIEVENT_SCROLLWHEEL, POINT{0, 0}, 0);
    box.HandleEvent(wheel);
    EXPECT_EQ(492, box.GetScrollPos().cx);
    TInputEventUI home = Event(SkinUI::UIEVENT_KEYDOWN, POINT{0, 0}, 0, VK_HOME);
    box.HandleEvent(home);
    EXPECT_EQ(0, box.GetScrollPos().cx);
}

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
const DWORD kGrey = 0xFF808080;
const DWORD kRed = 0xFFFF0000;
const DWORD kGreen = 0xFF00FF00;
const DWORD kBlue = 0xFF0000FF;

uint32_t Rgb(const DibSurface& dib, int x, int y) {
    return dib.Rgb(x, y);
}

} // namespace

TEST(ContainerPaint, ChildrenAreClippedToTheInnerRectangle) {
    DibSurface dib(120, 120, kWhite);
    CContainerUI box;
    box.SetBkColor(kGrey);
    box.SetInset(Rect(10, 10, 10, 10));
    auto* child = new Leaf(L"child");
    child->SetBkColor(kRed);
    auto* floating = new Leaf(L"floating");
    floating->SetBkColor(kGreen);
    floating->SetFloating(true);
    box.Add(child);
    box.Add(floating);
    box.SetPos(Rect(0, 0, 100, 100));
    // As scrolled: the child reaches over the inset and out of the container;
    // the floating child lies partly outside the container.
    child->SetPos(Rect(0, 0, 120, 120));
    floating->SetPos(Rect(90, 0, 120, 8));
    box.Paint(dib.DC(), dib.Rect());
    EXPECT_EQ(0x808080u, Rgb(dib, 5, 50));
    EXPECT_EQ(0xFF0000u, Rgb(dib, 10, 10));
    EXPECT_EQ(0xFF0000u, Rgb(dib, 89, 89));
    EXPECT_EQ(0x808080u, Rgb(dib, 90, 50));
    EXPECT_EQ(0x00FF00u, Rgb(dib, 95, 4));  // over the inset
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 105, 4)); // outside the container
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 110, 110));
}

TEST(ContainerPaint, OnlyTheUpdateRectangleIsPainted) {
    DibSurface dib(100, 100, kWhite);
    CContainerUI box;
    box.SetBkColor(kGrey);
    auto* child = new Leaf(L"child");
    child->SetBkColor(kBlue);
    box.Add(child);
    box.SetPos(Rect(0, 0, 100, 100));
    box.Paint(dib.DC(), Rect(20, 20, 40, 40));
    EXPECT_EQ(0x0000FFu, Rgb(dib, 20, 20));
    EXPECT_EQ(0x0000FFu, Rgb(dib, 39, 39));
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 19, 20));
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 40, 40));
    // Outside the container nothing at all.
    dib.Fill(kWhite);
    box.SetPos(Rect(0, 0, 50, 50));
    box.Paint(dib.DC(), Rect(60, 60, 90, 90));
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 70, 70));
    // The clip is restored: drawing afterwards reaches the whole surface.
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    RECT all = dib.Rect();
    ::FillRect(dib.DC(), &all, brush);
    ::DeleteObject(brush);
    EXPECT_EQ(0x010203u, Rgb(dib, 99, 99));
}

TEST(ContainerPaint, FloatingChildrenPaintWhenTheInsetLeavesNoInnerArea) {
    DibSurface dib(100, 100, kWhite);
    CContainerUI box;
    box.SetBkColor(kGrey);
    box.SetInset(Rect(50, 50, 50, 50));
    auto* child = new Leaf(L"child");
    child->SetBkColor(kRed);
    auto* floating = new Leaf(L"floating");
    floating->SetBkColor(kGreen);
    floating->SetFloating(true);
    box.Add(child);
    box.Add(floating);
    box.SetPos(Rect(0, 0, 100, 100));
    child->SetPos(Rect(0, 0, 100, 100));
    floating->SetPos(Rect(10, 10, 30, 30));
    box.Paint(dib.DC(), dib.Rect());
    EXPECT_EQ(0x00FF00u, Rgb(dib, 20, 20));
    EXPECT_EQ(0x808080u, Rgb(dib, 60, 60));
}

TEST(ContainerPaint, VisibleBarsArePaintedOverTheChildren) {
    DibSurface dib(100, 100, kWhite);
    StackLayout box;
    box.Add(new Leaf(L"a", 300));
    box.GetItemAt(0)->SetBkColor(kRed);
    box.EnableScrollBar(true, false);
    box.SetPos(Rect(0, 0, 100, 100));
    ASSERT_TRUE(box.GetVerticalScrollBar()->IsVisible());
    box.Paint(dib.DC(), dib.Rect());
    // The bar (no images) has the fallback outline at its button 1.
    EXPECT_EQ(0x85E4FFu, Rgb(dib, 84, 0));
    EXPECT_EQ(0xFF0000u, Rgb(dib, 83, 0));
    box.GetVerticalScrollBar()->SetVisible(false);
    dib.Fill(kWhite);
    box.Paint(dib.DC(), dib.Rect());
    // A hidden bar is not painted and takes no room from the children.
    EXPECT_EQ(0xFFFFFFu, Rgb(dib, 84, 0));
    EXPECT_EQ(0xFF0000u, Rgb(dib, 83, 0));
}
