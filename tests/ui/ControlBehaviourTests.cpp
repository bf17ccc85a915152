#include <windows.h>

#include "tests/ui/ControlTestUtil.h"
#include "ui/Delegate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using ControlTest::MakeEvent;
using ControlTest::NoticeLog;
using ControlTest::Parent;
using ControlTest::Probe;
using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using SkinUI::TInputEventUI;

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

CControlUI* CALLBACK TakeAny(CControlUI* control, LPVOID) {
    return control;
}

// Collects every control visited; never matches.
CControlUI* CALLBACK CollectAll(CControlUI* control, LPVOID data) {
    static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

struct NamedSearch {
    const wchar_t* name;
};

CControlUI* CALLBACK TakeNamed(CControlUI* control, LPVOID data) {
    return control->GetName() == static_cast<NamedSearch*>(data)->name ? control : nullptr;
}

// A tree with a manager and no window: root (0,0,200,100) holding a (10,10,60,60)
// and b (40,40,120,90), which overlap in (40,40,60,60).
struct Tree {
    Tree() {
        root = new Parent(L"root");
        a = root->Add(new Probe(L"a"));
        b = root->Add(new Probe(L"b"));
        manager.AttachRootControl(root);
        root->SetPos(RECT{0, 0, 200, 100});
        a->SetPos(RECT{10, 10, 60, 60});
        b->SetPos(RECT{40, 40, 120, 90});
    }
    CWindowManagerUI manager;
    Parent* root;
    Probe* a;
    Probe* b;
};

} // namespace

// ---- Start values and plain properties -------------------------------------------------

TEST(ControlBaseTest, StartValues) {
    Probe c;
    EXPECT_EQ(L"", c.GetName());
    EXPECT_STREQ(L"ControlUI", c.GetClass());
    EXPECT_EQ(0u, c.GetControlFlags());
    EXPECT_EQ(nullptr, c.GetManager());
    EXPECT_EQ(nullptr, c.GetParent());
    EXPECT_TRUE(c.IsUpdateNeeded());
    EXPECT_FALSE(c.IsContextMenuUsed());
    EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, c.GetPos()));
    EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, c.GetPadding()));
    EXPECT_EQ(0, c.GetFixedXY().cx);
    EXPECT_EQ(0, c.GetFixedWidth());
    EXPECT_EQ(0, c.GetFixedHeight());
    EXPECT_EQ(9999, c.GetMaxWidth());
    EXPECT_EQ(9999, c.GetMaxHeight());
    EXPECT_TRUE(c.IsVisible());
    EXPECT_TRUE(c.IsEnabled());
    EXPECT_TRUE(c.IsMouseEnabled());
    EXPECT_TRUE(c.IsKeyboardEnabled());
    EXPECT_FALSE(c.IsFocused());
    EXPECT_FALSE(c.IsFloating());
    EXPECT_FALSE(c.IsRelativePos());
    EXPECT_EQ(L'\0', c.GetShortcut());
    EXPECT_EQ(0u, c.GetTag());
    EXPECT_EQ(300, c.GetToolTipWidth());
    EXPECT_EQ(0u, c.GetBkColor());
    EXPECT_EQ(0, c.GetBorderSize());
    EXPECT_FALSE(c.IsColorHSL());
    EXPECT_TRUE(c.Activate());
}

TEST(ControlBaseTest, QueryInterfaceAnswersControlOnly) {
    Probe c;
    EXPECT_EQ(&c, c.QueryInterfaceByName(L"Control"));
    EXPECT_EQ(nullptr, c.QueryInterfaceByName(L"control"));
    EXPECT_EQ(nullptr, c.QueryInterfaceByName(L"IContainer"));
    EXPECT_EQ(nullptr, c.QueryInterfaceByName(nullptr));
}

TEST(ControlBaseTest, UserDataTagShortcutAndMenu) {
    Probe c;
    c.SetUserData(L"{\"k\":1}");
    EXPECT_STREQ(L"{\"k\":1}", c.GetUserData());
    // The getter gives the stored string itself.
    EXPECT_EQ(&c.GetUserData(), &c.GetUserData());
    c.SetUserData(nullptr);
    EXPECT_STREQ(L"", c.GetUserData());
    const std::wstring big(10000, L'd');
    c.SetUserData(big.c_str());
    EXPECT_EQ(10000, c.GetUserData().GetLength());
    c.SetTag(static_cast<UINT_PTR>(-1));
    EXPECT_EQ(static_cast<UINT_PTR>(-1), c.GetTag());
    c.SetShortcut(L'x');
    EXPECT_EQ(L'x', c.GetShortcut());
    c.SetContextMenuUsed(true);
    EXPECT_TRUE(c.IsContextMenuUsed());
    c.SetText(L"t");
    EXPECT_EQ(L"t", c.GetText());
    c.SetText(nullptr);
    EXPECT_EQ(L"", c.GetText());
}

TEST(ControlBaseTest, ActivateNeedsVisibleAndEnabled) {
    Probe c;
    c.SetEnabled(false);
    EXPECT_FALSE(c.Activate());
    c.SetEnabled(true);
    c.SetVisible(false);
    EXPECT_FALSE(c.Activate());
    c.SetVisible(true);
    c.SetVisibleByParent(false);
    EXPECT_FALSE(c.Activate());
}

// ---- Position arithmetic ------------------------------------------------------------------

TEST(ControlPosTest, GeometryGetters) {
    Probe c;
    c.SetPos(RECT{10, 20, 110, 70});
    EXPECT_EQ(100, c.GetWidth());
    EXPECT_EQ(50, c.GetHeight());
    EXPECT_EQ(10, c.GetX());
    EXPECT_EQ(20, c.GetY());
}

TEST(ControlPosTest, InvertedRectanglesAreRepaired) {
    Probe c;
    c.SetPos(RECT{50, 60, 10, 20});
    EXPECT_TRUE(SameRect(RECT{50, 60, 50, 60}, c.GetPos()));
    EXPECT_EQ(0, c.GetWidth());
    EXPECT_EQ(0, c.GetHeight());
    c.SetPos(RECT{-10, -10, -20, 5});
    EXPECT_TRUE(SameRect(RECT{-10, -10, -10, 5}, c.GetPos()));
}

TEST(ControlPosTest, WithoutManagerOnlyTheRectangleIsStored) {
    Probe c;
    int sized = 0;
    struct Counter {
        int* n;
        bool OnSize(void*) {
            ++*n;
            return true;
        }
    } counter{&sized};
    c.SizeDelegates += SkinUI::MakeDelegate(&counter, &Counter::OnSize);
    ASSERT_TRUE(c.IsUpdateNeeded());
    c.SetPos(RECT{1, 2, 3, 4});
    EXPECT_TRUE(SameRect(RECT{1, 2, 3, 4}, c.GetPos()));
    EXPECT_TRUE(c.IsUpdateNeeded());
    EXPECT_EQ(0, sized);
    c.SetUpdateNeededFlag(false);
    c.SetPos(RECT{5, 6, 7, 8});
    EXPECT_FALSE(c.IsUpdateNeeded());
}

TEST(ControlPosTest, WithManagerSizeDelegatesRunAndUpdateIsCleared) {
    CWindowManagerUI manager;
    Probe* c = new Probe(L"c");
    manager.AttachRootControl(c);
    int sized = 0;
    struct Resizer {
        Probe* control;
        int* n;
        bool OnSize(void* param) {
            EXPECT_EQ(control, param);
            ++*n;
            // Moving the control again from its size hook does not recurse.
            control->SetPos(RECT{0, 0, 5, 5});
            return true;
        }
    } resizer{c, &sized};
    c->SizeDelegates += SkinUI::MakeDelegate(&resizer, &Resizer::OnSize);
    EXPECT_TRUE(c->IsUpdateNeeded());
    c->SetPos(RECT{0, 0, 50, 50});
    EXPECT_EQ(1, sized);
    EXPECT_FALSE(c->IsUpdateNeeded());
    // The hook's own move is stored last and wins.
    EXPECT_TRUE(SameRect(RECT{0, 0, 5, 5}, c->GetPos()));
}

TEST(ControlPosTest, FloatingControlKeepsItsPlaceAfterAMove) {
    CWindowManagerUI manager;
    Parent* root = new Parent(L"root");
    Probe* f = root->Add(new Probe(L"f"));
    manager.AttachRootControl(root);
    root->SetPos(RECT{100, 100, 400, 300});
    f->SetFloating(true);
    f->ApplyAttribute(L"pos", L"-60,10,-10,40");
    // Someone moves it: the fixed values follow the new place, measured from
    // the same edges as before (right for x, top for y).
    f->SetPos(RECT{320, 130, 380, 170});
    EXPECT_EQ(380 - 400, f->GetFixedXY().cx);
    EXPECT_EQ(130 - 100, f->GetFixedXY().cy);
    EXPECT_EQ(60, f->GetFixedWidth());
    EXPECT_EQ(40, f->GetFixedHeight());
    f->SetFixedXY(SIZE{5, -7});
    f->SetPos(RECT{110, 250, 130, 290});
    EXPECT_EQ(10, f->GetFixedXY().cx);
    EXPECT_EQ(-10, f->GetFixedXY().cy);
    // A control that is not floating keeps its fixed values.
    Probe* g = root->Add(new Probe(L"g"));
    g->SetFixedWidth(11);
    g->SetPos(RECT{100, 100, 200, 200});
    EXPECT_EQ(11, g->GetFixedWidth());
    EXPECT_EQ(0, g->GetFixedXY().cx);
}

TEST(ControlPosTest, RelativeBlockIsStoredNotApplied) {
    Probe c;
    c.SetPos(RECT{0, 0, 10, 10});
    c.SetRelativePos(10, 20, 30, 40);
    c.SetRelativeParentSize(SIZE{300, 200});
    const SkinUI::TRelativePosUI rel = c.GetRelativePos();
    EXPECT_TRUE(rel.bRelative);
    EXPECT_EQ(300, rel.szParent.cx);
    EXPECT_EQ(200, rel.szParent.cy);
    EXPECT_EQ(10, rel.nMoveXPercent);
    EXPECT_EQ(40, rel.nZoomYPercent);
    EXPECT_TRUE(SameRect(RECT{0, 0, 10, 10}, c.GetPos()));
}

TEST(ControlPosTest, MeasureDesiredSizeIsTheFixedSize) {
    Probe c;
    SIZE sz = c.MeasureDesiredSize(SIZE{500, 500});
    EXPECT_EQ(0, sz.cx);
    EXPECT_EQ(0, sz.cy);
    c.SetFixedWidth(40);
    c.SetFixedHeight(700);
    sz = c.MeasureDesiredSize(SIZE{10, 10});
    EXPECT_EQ(40, sz.cx);
    EXPECT_EQ(700, sz.cy);
}

// ---- Size properties and the update flags -------------------------------------------------

TEST(ControlUpdateTest, SizeSettersMarkTheParentForLayout) {
    Tree t;
    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetPos(RECT{10, 10, 60, 60});
    ASSERT_FALSE(t.root->IsUpdateNeeded());
    ASSERT_FALSE(t.a->IsUpdateNeeded());
    t.a->SetFixedWidth(30);
    EXPECT_TRUE(t.root->IsUpdateNeeded());
    EXPECT_FALSE(t.a->IsUpdateNeeded());
    EXPECT_TRUE(t.manager.IsUpdateNeeded());

    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetPadding(RECT{1, 1, 1, 1});
    EXPECT_TRUE(t.root->IsUpdateNeeded());

    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetMinWidth(5);
    EXPECT_TRUE(t.root->IsUpdateNeeded());
    t.root->SetPos(RECT{0, 0, 200, 100});
    // The value already held, or a negative one, changes nothing.
    t.a->SetMinWidth(5);
    t.a->SetMaxHeight(9999);
    t.a->SetMaxWidth(-3);
    t.a->SetFixedHeight(-1);
    EXPECT_FALSE(t.root->IsUpdateNeeded());
    EXPECT_EQ(5, t.a->GetMinWidth());
    EXPECT_EQ(9999, t.a->GetMaxWidth());

    t.a->SetFloating(true);
    EXPECT_TRUE(t.root->IsUpdateNeeded());
    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetFloating(true);
    EXPECT_FALSE(t.root->IsUpdateNeeded());
}

TEST(ControlUpdateTest, FloatingControlMarksItself) {
    Tree t;
    t.a->SetFloating(true);
    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetPos(RECT{10, 10, 60, 60});
    t.a->SetFixedXY(SIZE{3, 4});
    EXPECT_TRUE(t.a->IsUpdateNeeded());
    EXPECT_FALSE(t.root->IsUpdateNeeded());
    t.a->SetPos(t.a->GetPos());
    t.a->SetMaxWidth(77);
    EXPECT_TRUE(t.a->IsUpdateNeeded());
    EXPECT_FALSE(t.root->IsUpdateNeeded());
}

TEST(ControlUpdateTest, LookSettersDoNotMarkForLayout) {
    Tree t;
    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetPos(RECT{10, 10, 60, 60});
    t.a->SetText(L"x");
    t.a->SetBkColor(0xFF00FF00);
    t.a->SetBorderColor(0xFF000000);
    t.a->SetBorderSize(2);
    t.a->SetBkImage(L"x.png");
    t.a->SetEnabled(false);
    EXPECT_FALSE(t.root->IsUpdateNeeded());
    EXPECT_FALSE(t.a->IsUpdateNeeded());
}

TEST(ControlUpdateTest, HiddenControlsAreNotMarked) {
    Probe c;
    c.SetUpdateNeededFlag(false);
    c.SetVisible(false);
    c.MarkNeedsUpdate();
    EXPECT_FALSE(c.IsUpdateNeeded());
    c.SetVisible(true);
    EXPECT_TRUE(c.IsUpdateNeeded());
}

// ---- Visibility and enabling ------------------------------------------------------------------

TEST(ControlVisibilityTest, OwnAndParentVisibility) {
    Tree t;
    t.root->SetVisible(false);
    EXPECT_FALSE(t.root->IsVisible());
    EXPECT_FALSE(t.a->IsVisible());
    EXPECT_TRUE(t.a->OwnVisible());
    EXPECT_FALSE(t.a->VisibleByParent());
    t.a->SetVisible(false);
    t.root->SetVisible(true);
    EXPECT_FALSE(t.a->IsVisible());
    EXPECT_TRUE(t.a->VisibleByParent());
    EXPECT_TRUE(t.b->IsVisible());
    t.a->SetVisible(true);
    EXPECT_TRUE(t.a->IsVisible());
}

TEST(ControlVisibilityTest, HidingTheFocusedControlLeavesNoFocus) {
    Tree t;
    t.a->SetFocus();
    ASSERT_EQ(t.a, t.manager.GetFocus());
    EXPECT_TRUE(t.a->IsFocused());
    t.a->SetVisible(false);
    EXPECT_EQ(nullptr, t.manager.GetFocus());
    EXPECT_FALSE(t.a->IsFocused());
    t.a->SetVisible(true);
    t.b->SetFocus();
    ASSERT_EQ(t.b, t.manager.GetFocus());
    // Hidden through its parent.
    t.root->SetVisible(false);
    EXPECT_EQ(nullptr, t.manager.GetFocus());
    EXPECT_FALSE(t.b->IsFocused());
}

TEST(ControlVisibilityTest, HidingMarksTheParentOnlyWhenVisibilityChanges) {
    Tree t;
    t.root->SetVisible(false);
    t.root->SetVisible(true);
    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetVisible(false);
    EXPECT_TRUE(t.root->IsUpdateNeeded());
    t.root->SetPos(RECT{0, 0, 200, 100});
    t.a->SetVisible(false);
    EXPECT_FALSE(t.root->IsUpdateNeeded());
}

TEST(ControlVisibilityTest, DisabledControlCannotTakeFocus) {
    Tree t;
    t.a->SetEnabled(false);
    t.a->SetFocus();
    EXPECT_EQ(nullptr, t.manager.GetFocus());
    EXPECT_FALSE(t.a->IsFocused());
    t.a->SetEnabled(true);
    t.a->SetMouseEnabled(false);
    EXPECT_FALSE(t.a->IsMouseEnabled());
    t.a->SetKeyboardEnabled(false);
    EXPECT_FALSE(t.a->IsKeyboardEnabled());
    t.a->SetFocus();
    EXPECT_EQ(t.a, t.manager.GetFocus());
}

// ---- FindControl --------------------------------------------------------------------------------

TEST(ControlFindTest, LeafTestsItsOwnFlags) {
    Probe c;
    c.SetPos(RECT{10, 10, 20, 20});
    POINT in = {15, 15};
    POINT edge = {20, 20};
    POINT corner = {10, 10};
    EXPECT_EQ(&c, c.FindControl(TakeAny, &in, SkinUI::UIFIND_HITTEST));
    EXPECT_EQ(&c, c.FindControl(TakeAny, &corner, SkinUI::UIFIND_HITTEST));
    EXPECT_EQ(nullptr, c.FindControl(TakeAny, &edge, SkinUI::UIFIND_HITTEST));
    // A hit test without a point, or without a test operation, finds nothing.
    EXPECT_EQ(nullptr, c.FindControl(TakeAny, nullptr, SkinUI::UIFIND_HITTEST));
    EXPECT_EQ(nullptr, c.FindControl(nullptr, &in, SkinUI::UIFIND_ALL));
    c.SetMouseEnabled(false);
    EXPECT_EQ(nullptr, c.FindControl(TakeAny, &in, SkinUI::UIFIND_HITTEST));
    EXPECT_EQ(&c, c.FindControl(TakeAny, &in, SkinUI::UIFIND_VISIBLE));
    c.SetMouseEnabled(true);
    c.SetVisible(false);
    EXPECT_EQ(nullptr, c.FindControl(TakeAny, &in, SkinUI::UIFIND_VISIBLE));
    EXPECT_EQ(&c, c.FindControl(TakeAny, &in, SkinUI::UIFIND_HITTEST));
    c.SetVisible(true);
    c.SetEnabled(false);
    EXPECT_EQ(nullptr, c.FindControl(TakeAny, nullptr, SkinUI::UIFIND_ENABLED));
    EXPECT_EQ(&c, c.FindControl(TakeAny, nullptr, SkinUI::UIFIND_VISIBLE));
}

TEST(ControlFindTest, ByPointThroughTheManager) {
    Tree t;
    EXPECT_EQ(t.a, t.manager.FindControlAt(POINT{20, 20}));
    // Overlap: top first finds the later child.
    EXPECT_EQ(t.b, t.manager.FindControlAt(POINT{50, 50}));
    EXPECT_EQ(t.root, t.manager.FindControlAt(POINT{150, 20}));
    EXPECT_EQ(nullptr, t.manager.FindControlAt(POINT{250, 20}));
    t.b->SetMouseEnabled(false);
    EXPECT_EQ(t.a, t.manager.FindControlAt(POINT{50, 50}));
    t.a->SetVisible(false);
    EXPECT_EQ(t.root, t.manager.FindControlAt(POINT{50, 50}));
    // Disabled controls are still hit (the point search has no enabled flag).
    t.a->SetVisible(true);
    t.a->SetEnabled(false);
    EXPECT_EQ(t.a, t.manager.FindControlAt(POINT{50, 50}));
}

TEST(ControlFindTest, VisitingOrderFollowsTheFlags) {
    Tree t;
    std::vector<CControlUI*> seen;
    t.root->FindControl(CollectAll, &seen, SkinUI::UIFIND_ALL);
    EXPECT_EQ((std::vector<CControlUI*>{t.a, t.b, t.root}), seen);
    seen.clear();
    t.root->FindControl(CollectAll, &seen, SkinUI::UIFIND_ME_FIRST | SkinUI::UIFIND_TOP_FIRST);
    EXPECT_EQ((std::vector<CControlUI*>{t.root, t.b, t.a}), seen);
    seen.clear();
    t.a->SetEnabled(false);
    t.root->FindControl(CollectAll, &seen, SkinUI::UIFIND_ENABLED);
    EXPECT_EQ((std::vector<CControlUI*>{t.b, t.root}), seen);
}

TEST(ControlFindTest, ByNameThroughTheManager) {
    Tree t;
    EXPECT_EQ(t.a, t.manager.FindControl(L"a"));
    EXPECT_EQ(t.b, t.manager.FindControl(L"b"));
    EXPECT_EQ(nullptr, t.manager.FindControl(L"A"));
    NamedSearch search{L"b"};
    EXPECT_EQ(t.b, t.root->FindControl(TakeNamed, &search, SkinUI::UIFIND_ALL));
    t.b->SetVisible(false);
    EXPECT_EQ(nullptr, t.root->FindControl(TakeNamed, &search, SkinUI::UIFIND_VISIBLE));
    // A later control of the same name replaces the earlier in the index.
    Probe* a2 = t.root->Add(new Probe(L"a"));
    EXPECT_EQ(a2, t.manager.FindControl(L"a"));
}

// ---- Events
// ---------------------------------------------------------------------------------------

TEST(ControlEventTest, FocusEventsSetTheFlag) {
    Probe c;
    TInputEventUI set = MakeEvent(SkinUI::UIEVENT_SETFOCUS);
    c.DispatchEvent(set);
    EXPECT_TRUE(c.IsFocused());
    TInputEventUI kill = MakeEvent(SkinUI::UIEVENT_KILLFOCUS);
    c.DispatchEvent(kill);
    EXPECT_FALSE(c.IsFocused());
}

TEST(ControlEventTest, OtherEventsGoToTheParentsHandleEvent) {
    Tree t;
    for (int type : {SkinUI::UIEVENT_BUTTONDOWN, SkinUI::UIEVENT_KEYDOWN,
                     SkinUI::UIEVENT_SCROLLWHEEL, SkinUI::UIEVENT_CONTEXTMENU}) {
        TInputEventUI event = MakeEvent(type);
        t.a->DispatchEvent(event);
    }
    EXPECT_EQ((std::vector<int>{13, 3, 18, 17}), t.root->handled);
    // Without a parent the event is dropped.
    Probe lone;
    TInputEventUI event = MakeEvent(SkinUI::UIEVENT_BUTTONUP);
    lone.DispatchEvent(event);
    EXPECT_EQ((std::vector<int>{14}), lone.handled);
}

TEST(ControlEventTest, TimerAndMenuBecomeNotices) {
    Tree t;
    NoticeLog log;
    t.manager.AddNotifyListener(&log);
    TInputEventUI timer = MakeEvent(SkinUI::UIEVENT_TIMER, 7, 99);
    t.a->DispatchEvent(timer);
    TInputEventUI menu = MakeEvent(SkinUI::UIEVENT_CONTEXTMENU, 3, 4);
    t.a->DispatchEvent(menu);
    ASSERT_EQ(1u, log.types.size());
    EXPECT_EQ(L"timer", log.types[0]);
    EXPECT_EQ(t.a, log.senders[0]);
    EXPECT_EQ(7u, log.wParams[0]);
    EXPECT_EQ(99, log.lParams[0]);
    // The context menu without "menu" went to the parent.
    EXPECT_EQ((std::vector<int>{17}), t.root->handled);
    t.a->ApplyAttribute(L"menu", L"true");
    t.a->DispatchEvent(menu);
    ASSERT_EQ(2u, log.types.size());
    EXPECT_EQ(L"menu", log.types[1]);
    EXPECT_EQ(3u, log.wParams[1]);
    EXPECT_EQ(4, log.lParams[1]);
    EXPECT_EQ(1u, t.root->handled.size());
    t.manager.RemoveNotifyListener(&log);
}

TEST(ControlEventTest, EventDelegatesCanStopHandling) {
    Probe c;
    struct Filter {
        bool pass;
        int seen = 0;
        bool OnEvent(void* param) {
            ++seen;
            EXPECT_EQ(SkinUI::UIEVENT_SETFOCUS, static_cast<TInputEventUI*>(param)->Type);
            return pass;
        }
    } filter{false};
    c.EventDelegates += SkinUI::MakeDelegate(&filter, &Filter::OnEvent);
    TInputEventUI set = MakeEvent(SkinUI::UIEVENT_SETFOCUS);
    c.DispatchEvent(set);
    EXPECT_EQ(1, filter.seen);
    EXPECT_FALSE(c.IsFocused());
    EXPECT_TRUE(c.handled.empty());
    filter.pass = true;
    c.DispatchEvent(set);
    EXPECT_TRUE(c.IsFocused());
}

TEST(ControlEventTest, NotifyDelegatesRunBeforeListeners) {
    Tree t;
    std::vector<std::wstring> order;
    struct Hook {
        std::vector<std::wstring>* order;
        bool OnNotify(void* param) {
            order->push_back(L"delegate:" +
                             std::wstring(static_cast<SkinUI::TNoticeUI*>(param)->sType.GetData()));
            return false;
        }
    } hook{&order};
    struct Listener : SkinUI::INotifyUI {
        std::vector<std::wstring>* order;
        void Notify(SkinUI::TNoticeUI& msg) override {
            order->push_back(L"listener:" + std::wstring(msg.sType.GetData()));
        }
    } listener;
    listener.order = &order;
    t.a->NotifyDelegates += SkinUI::MakeDelegate(&hook, &Hook::OnNotify);
    t.manager.AddNotifyListener(&listener);
    TInputEventUI timer = MakeEvent(SkinUI::UIEVENT_TIMER, 1);
    t.a->DispatchEvent(timer);
    EXPECT_EQ((std::vector<std::wstring>{L"delegate:timer", L"listener:timer"}), order);
    t.manager.RemoveNotifyListener(&listener);
}

TEST(ControlEventTest, VirtualWindowNamesReachNotices) {
    Tree t;
    NoticeLog log;
    t.manager.AddNotifyListener(&log);
    EXPECT_EQ(L"", t.a->GetVirtualWnd());
    t.root->SetVirtualWnd(L"page");
    EXPECT_EQ(L"page", t.a->GetVirtualWnd());
    t.b->ApplyAttribute(L"virtualwnd", L"own");
    EXPECT_EQ(L"own", t.b->GetVirtualWnd());
    TInputEventUI timer = MakeEvent(SkinUI::UIEVENT_TIMER);
    t.a->DispatchEvent(timer);
    t.b->DispatchEvent(timer);
    ASSERT_EQ(2u, log.virtualWnds.size());
    EXPECT_EQ(L"page", log.virtualWnds[0]);
    EXPECT_EQ(L"own", log.virtualWnds[1]);
    t.manager.RemoveNotifyListener(&log);
}

// ---- Lifecycle
// -----------------------------------------------------------------------------------

TEST(ControlLifecycleTest, AttachRunsInitOnlyWithParentAndFlag) {
    struct Initialised : Probe {
        int selfInits = 0;
        void InitSelf() override { ++selfInits; }
    };
    int delegateRuns = 0;
    struct Hook {
        int* n;
        bool OnInit(void*) {
            ++*n;
            return true;
        }
    } hook{&delegateRuns};
    CWindowManagerUI manager;
    Parent parent;
    Initialised c;
    c.InitDelegates += SkinUI::MakeDelegate(&hook, &Hook::OnInit);
    c.AttachManager(&manager, nullptr, true);
    EXPECT_EQ(0, c.selfInits);
    c.AttachManager(&manager, &parent, false);
    EXPECT_EQ(0, c.selfInits);
    EXPECT_EQ(&manager, c.GetManager());
    EXPECT_EQ(&parent, c.GetParent());
    c.AttachManager(&manager, &parent, true);
    EXPECT_EQ(1, c.selfInits);
    EXPECT_EQ(1, delegateRuns);
    c.AttachManager(nullptr, nullptr, false);
}

TEST(ControlLifecycleTest, DestroyDelegatesRunAndTheManagerForgets) {
    CWindowManagerUI manager;
    Parent* root = new Parent(L"root");
    Probe* a = root->Add(new Probe(L"a"));
    manager.AttachRootControl(root);
    a->SetFocus();
    ASSERT_EQ(a, manager.GetFocus());
    CControlUI* destroyed = nullptr;
    struct Hook {
        CControlUI** out;
        bool OnDestroy(void* param) {
            *out = static_cast<CControlUI*>(param);
            return true;
        }
    } hook{&destroyed};
    a->DestroyDelegates += SkinUI::MakeDelegate(&hook, &Hook::OnDestroy);
    root->children.clear();
    delete a;
    EXPECT_EQ(a, destroyed);
    EXPECT_EQ(nullptr, manager.GetFocus());
    EXPECT_EQ(nullptr, manager.FindControl(L"a"));
}

TEST(ControlLifecycleTest, DelayedCleanupDetachesNowAndDeletesLater) {
    bool deleted = false;
    struct Watched : Probe {
        bool* flag = nullptr;
        ~Watched() override { *flag = true; }
    };
    {
        CWindowManagerUI manager;
        Parent* root = new Parent(L"root");
        Watched* w = root->Add(new Watched);
        w->flag = &deleted;
        w->SetName(L"w");
        manager.AttachRootControl(root);
        ASSERT_EQ(w, manager.FindControl(L"w"));
        root->children.clear();
        manager.AddDelayedCleanup(w);
        // Detached from its parent at once, still alive until the clean-up.
        EXPECT_EQ(nullptr, w->GetParent());
        EXPECT_EQ(&manager, w->GetManager());
        EXPECT_FALSE(deleted);
    }
    // Without a window the clean-up happens when the manager goes.
    EXPECT_TRUE(deleted);
}

// ---- Operations without a manager --------------------------------------------------------------

TEST(ControlNoManagerTest, ManagerOperationsDoNothing) {
    Probe c;
    c.SetPos(RECT{0, 0, 10, 10});
    c.SetFocus();
    EXPECT_FALSE(c.IsFocused());
    c.Invalidate();
    c.MarkNeedsUpdate();
    c.MarkParentNeedsUpdate();
    c.SetVirtualWnd(L"v");
    EXPECT_EQ(L"v", c.GetVirtualWnd());
    TInputEventUI timer = MakeEvent(SkinUI::UIEVENT_TIMER, 1);
    c.DispatchEvent(timer);
    c.SetContextMenuUsed(true);
    TInputEventUI menu = MakeEvent(SkinUI::UIEVENT_CONTEXTMENU);
    c.DispatchEvent(menu);
    TInputEventUI cursor = MakeEvent(SkinUI::UIEVENT_SETCURSOR);
    c.DispatchEvent(cursor);
    c.SetVisible(false);
    c.SetVisibleByParent(false);
    c.SetVisible(true);
    EXPECT_FALSE(c.DrawImage(nullptr, L"x.png"));
    // Configured before it has a manager, it keeps everything.
    c.ApplyAttributeList(L"bkimage=\"bk.png\" width=\"10\" text=\"t\"");
    EXPECT_STREQ(L"bk.png", c.GetBkImage());
    EXPECT_EQ(10, c.GetFixedWidth());
    EXPECT_EQ(nullptr, c.GetManager());
}
