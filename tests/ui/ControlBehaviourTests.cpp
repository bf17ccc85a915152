#include <windows.h>

#include "tests/ui/support/ProbeControls.h"
#include "ui/Delegate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using SkinUI::TInputEventUI;
using UiTest::MakeEvent;
using UiTest::NoticeLog;
using UiTest::Parent;
using UiTest::Probe;
using UiTest::SameRect;

namespace {

CControlUI* CALLBACK TakeAny(CControlUI* control, LPVOID) {
    return control;
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
    // Update needed stays as it was, set or clear.
    for (bool needed : {true, false}) {
        const RECT place = {1, 2, 3, needed ? 4 : 5};
        c.SetUpdateNeededFlag(needed);
        c.SetPos(place);
        EXPECT_TRUE(SameRect(place, c.GetPos()));
        EXPECT_EQ(needed, c.IsUpdateNeeded());
    }
    EXPECT_EQ(0, sized);
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

// ---- Visibility and enabling ------------------------------------------------------------------

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

// ---- Events
// ---------------------------------------------------------------------------------------

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
    ASSERT_EQ(1u, log.entries.size());
    EXPECT_EQ(L"timer", log.entries[0].type);
    EXPECT_EQ(t.a, log.entries[0].sender);
    EXPECT_EQ(7u, log.entries[0].wParam);
    EXPECT_EQ(99, log.entries[0].lParam);
    // The context menu without "menu" went to the parent.
    EXPECT_EQ((std::vector<int>{17}), t.root->handled);
    t.a->ApplyAttribute(L"menu", L"true");
    t.a->DispatchEvent(menu);
    ASSERT_EQ(2u, log.entries.size());
    EXPECT_EQ(L"menu", log.entries[1].type);
    EXPECT_EQ(3u, log.entries[1].wParam);
    EXPECT_EQ(4, log.entries[1].lParam);
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

// ---- Lifecycle
// -----------------------------------------------------------------------------------

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
    root->ReleaseChildren();
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
        root->ReleaseChildren();
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
