#include <windows.h>

#include <commctrl.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

#include "tests/ui/support/ProbeControls.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"
#include "tests/ui/support/ToolTipText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using SkinUI::TInputEventUI;
using SkinUI::TNoticeUI;
using namespace UiTest;

namespace {

const int kLeft = 100;
const int kTop = 100;
const int kWidth = 400;
const int kHeight = 300;
const UINT kPing = WM_APP + 40;

// One shared log of what notices, filters and the window itself saw, in
// order, as short texts.
std::vector<std::wstring> g_trail;

using HostWnd = UiTest::ProgramWindow;

HostWnd& Host() {
    HostWnd& host = UiTest::TheProgramWindow(kLeft, kTop, kWidth, kHeight);
    host.answer = [](UINT message, LRESULT& result) {
        if (message != kPing) {
            return false;
        }
        g_trail.push_back(L"window:ping");
        result = 7;
        return true;
    };
    return host;
}

// ---- Real input ------------------------------------------------------------------

void MoveTo(int clientX, int clientY) {
    MoveScreen(kLeft + clientX, kTop + clientY);
}

// ---- Listeners and filters ---------------------------------------------------------

class Listener : public SkinUI::INotifyUI {
public:
    explicit Listener(const wchar_t* tag) : tag_(tag) {}
    void Notify(TNoticeUI& msg) override {
        notices.push_back(msg);
        g_trail.push_back(tag_ + L":" + msg.sType.GetData());
    }
    int Count(const wchar_t* type) const {
        return static_cast<int>(std::count_if(notices.begin(), notices.end(),
                                              [&](const TNoticeUI& n) { return n.sType == type; }));
    }
    std::vector<TNoticeUI> notices;

private:
    std::wstring tag_;
};

class Filter : public SkinUI::IMessageFilterUI {
public:
    explicit Filter(UINT watched) : watched_(watched) {}
    LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM, bool& handled) override {
        if (uMsg == watched_) {
            g_trail.push_back(L"filter:" + std::to_wstring(uMsg));
            seen.push_back(wParam);
            handled = consume;
            return 99;
        }
        return 0;
    }
    bool consume = false;
    std::vector<WPARAM> seen;

private:
    UINT watched_;
};

// Each test builds a fresh tree on the shared window.
class ManagerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = &Host();
        MoveScreen(5, 5);
        ASSERT_TRUE(TakeKeyboard(hwnd()));
        g_trail.clear();
    }
    void TearDown() override {
        SendMouse(MOUSEEVENTF_LEFTUP);
        SendMouse(MOUSEEVENTF_RIGHTUP);
        MoveScreen(5, 5);
        Pump();
        // A test may have added the listener more than once; the window and
        // its manager outlive this fixture.
        while (pm().RemoveNotifyListener(&listener_)) {
        }
        pm().SetFocus(nullptr);
        Pump();
    }

    CWindowManagerUI& pm() { return host_->pm; }
    HWND hwnd() { return *host_; }

    Parent* NewRoot(DWORD fill = RGB(240, 240, 240)) {
        return new Parent(&log_, L"root", RECT{0, 0, kWidth, kHeight}, fill);
    }
    // Attaches the tree, paints once (layout and "windowinit") and lets the
    // previous tree go.
    void Attach(Parent* root) {
        pm().AddNotifyListener(&listener_);
        ASSERT_TRUE(pm().AttachRootControl(root));
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        ::UpdateWindow(hwnd());
        Pump();
        log_.Clear();
        listener_.notices.clear();
        g_trail.clear();
    }

    HostWnd* host_ = nullptr;
    EventLog log_;
    Listener listener_{L"listener"};
};

} // namespace

namespace {

using Types = std::vector<int>;

// Events 9 (move) aside.
Types TypesOf(const EventLog& log, const wchar_t* control) {
    return log.TypesOf(control);
}

RECT Box(int left, int top, int right, int bottom) {
    return RECT{left, top, right, bottom};
}

// A window of the test's own, never shown (showing costs time under Wine).
class HiddenHost {
public:
    HiddenHost() { wnd.Create(nullptr, L"hidden", WS_POPUP, 0, 0, 0, 200, 150); }
    ~HiddenHost() {
        if (::IsWindow(wnd)) {
            ::DestroyWindow(wnd);
        }
    }
    HostWnd wnd;
};

} // namespace

// ---- Mouse ---------------------------------------------------------------------------

TEST_F(ManagerWindowTest, MouseMovesGiveEnterMoveAndLeave) {
    Parent* root = NewRoot();
    root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    root->Add(new Probe(&log_, L"b", Box(120, 10, 220, 60)));
    Attach(root);

    MoveTo(20, 20);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_MOUSEMOVE) > 0; }));
    EXPECT_EQ(SkinUI::UIEVENT_MOUSEENTER, log_.Records().front().type);
    const EventRecord* move = log_.Last(L"a", SkinUI::UIEVENT_MOUSEMOVE);
    EXPECT_EQ(20, move->pt.x);
    EXPECT_EQ(20, move->pt.y);
    EXPECT_EQ(pm().FindControl(L"a"), move->sender);

    MoveTo(130, 20);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"b", SkinUI::UIEVENT_MOUSEMOVE) > 0; }));
    EXPECT_EQ((Types{11, 10}), TypesOf(log_, L"a"));
    EXPECT_EQ((Types{11}), TypesOf(log_, L"b"));
    EXPECT_EQ(130, log_.Last(L"a", SkinUI::UIEVENT_MOUSELEAVE)->pt.x);
    // The root is under the mouse too, but only the top-most control counts.
    EXPECT_TRUE(TypesOf(log_, L"root").empty());

    // Leaving the window: WM_MOUSELEAVE ends in a leave for the hover control.
    MoveScreen(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"b", SkinUI::UIEVENT_MOUSELEAVE) > 0; }));
    EXPECT_EQ(-1, pm().GetMousePos().x);
    EXPECT_EQ(-1, pm().GetMousePos().y);
}

TEST_F(ManagerWindowTest, ClickFocusesCapturesAndReleases) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    root->Add(new Probe(&log_, L"b", Box(120, 10, 220, 60)));
    Attach(root);

    MoveTo(20, 30);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_BUTTONDOWN) > 0; }));
    EXPECT_EQ((Types{11, 21, 13}), TypesOf(log_, L"a"));
    const EventRecord* down = log_.Last(L"a", SkinUI::UIEVENT_BUTTONDOWN);
    EXPECT_EQ(a, down->sender);
    EXPECT_EQ(20, down->pt.x);
    EXPECT_EQ(30, down->pt.y);
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON), down->wParam & MK_LBUTTON);
    EXPECT_EQ(LOWORD(down->wParam), down->keyState);
    EXPECT_EQ(MAKELPARAM(20, 30), down->lParam);
    EXPECT_EQ(a, pm().GetFocus());
    EXPECT_TRUE(a->IsFocused());
    EXPECT_TRUE(pm().IsCaptured());
    EXPECT_EQ(hwnd(), ::GetCapture());
    ASSERT_EQ(1, listener_.Count(L"setfocus"));
    EXPECT_EQ(a, listener_.notices.back().pSender);

    // While pressed, moves go to the pressed control, even over another one.
    MoveTo(130, 30);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"b", SkinUI::UIEVENT_MOUSEENTER) > 0; }));
    EXPECT_EQ(130, log_.Last(L"a", SkinUI::UIEVENT_MOUSEMOVE)->pt.x);
    EXPECT_EQ(0, log_.Count(L"b", SkinUI::UIEVENT_MOUSEMOVE));

    // Released outside the window: the pressed control still gets it.
    MoveScreen(kLeft + kWidth + 50, kTop + 20);
    LeftUp();
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_BUTTONUP) > 0; }));
    EXPECT_EQ(a, log_.Last(L"a", SkinUI::UIEVENT_BUTTONUP)->sender);
    EXPECT_EQ(kWidth + 50, log_.Last(L"a", SkinUI::UIEVENT_BUTTONUP)->pt.x);
    EXPECT_FALSE(pm().IsCaptured());
    EXPECT_EQ(nullptr, ::GetCapture());
    // The next move goes to the control under the mouse again.
    MoveTo(140, 30);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"b", SkinUI::UIEVENT_MOUSEMOVE) > 0; }));
}

// ---- Keyboard ------------------------------------------------------------------------

TEST_F(ManagerWindowTest, KeysGoToTheFocusedControl) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    Probe* b = root->Add(new Probe(&log_, L"b", Box(120, 10, 220, 60)));
    Attach(root);
    MoveTo(20, 20);
    LeftDown();
    LeftUp();
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_BUTTONUP) > 0; }));
    ASSERT_EQ(a, pm().GetFocus());
    log_.Clear();

    Press('K');
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_KEYUP) > 0; }));
    EXPECT_EQ((Types{3, 5, 4}), TypesOf(log_, L"a"));
    const EventRecord* down = log_.Last(L"a", SkinUI::UIEVENT_KEYDOWN);
    EXPECT_EQ(L'K', down->key);
    EXPECT_EQ(nullptr, down->sender);
    EXPECT_EQ(20, down->pt.x);
    EXPECT_EQ(L'k', log_.Last(L"a", SkinUI::UIEVENT_CHAR)->key);
    EXPECT_EQ(L'K', log_.Last(L"a", SkinUI::UIEVENT_KEYUP)->key);

    // Shift shows in the key state.
    log_.Clear();
    Key(VK_SHIFT);
    Press('J');
    Key(VK_SHIFT, true);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_CHAR) > 0; }));
    EXPECT_EQ(L'J', log_.Last(L"a", SkinUI::UIEVENT_CHAR)->key);
    EXPECT_NE(0, log_.Last(L"a", SkinUI::UIEVENT_CHAR)->keyState & SkinUI::UIKEYSTATE_SHIFT);

    // The key-up goes to the control that had the key-down.
    log_.Clear();
    Key('L');
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_KEYDOWN) > 0; }));
    pm().SetFocus(b);
    Key('L', true);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_KEYUP) > 0; }));
    EXPECT_EQ(0, log_.Count(L"b", SkinUI::UIEVENT_KEYUP));
}

TEST_F(ManagerWindowTest, TabWalksTheTabStops) {
    const UINT tab = SkinUI::UIFLAG_TABSTOP;
    Parent* root = NewRoot();
    Probe* t1 = root->Add(new Probe(&log_, L"t1", Box(10, 10, 50, 30), tab));
    root->Add(new Probe(&log_, L"plain", Box(60, 10, 100, 30)));
    Probe* t2 = root->Add(new Probe(&log_, L"t2", Box(110, 10, 150, 30), tab));
    Probe* hidden = root->Add(new Probe(&log_, L"hidden", Box(160, 10, 200, 30), tab));
    Probe* off = root->Add(new Probe(&log_, L"off", Box(210, 10, 250, 30), tab));
    Probe* t3 = root->Add(new Probe(&log_, L"t3", Box(260, 10, 300, 30), tab));
    hidden->SetVisible(false);
    off->SetEnabled(false);
    Attach(root);
    // The first paint after attaching moved the focus to the first stop.
    ASSERT_EQ(t1, pm().GetFocus());

    std::vector<CControlUI*> seen;
    auto tabAndWait = [&](bool shift) {
        CControlUI* before = pm().GetFocus();
        if (shift) {
            Key(VK_SHIFT);
        }
        Press(VK_TAB);
        if (shift) {
            Key(VK_SHIFT, true);
        }
        PumpUntil([&] { return pm().GetFocus() != before; });
        Pump();
        seen.push_back(pm().GetFocus());
    };
    tabAndWait(false);
    tabAndWait(false);
    tabAndWait(false);
    tabAndWait(true);
    tabAndWait(true);
    EXPECT_EQ((std::vector<CControlUI*>{t2, t3, t1, t3, t2}), seen);
    // Tab key-downs were taken before dispatch: no control saw them.
    for (const EventRecord& r : log_.Records()) {
        EXPECT_FALSE(r.type == SkinUI::UIEVENT_KEYDOWN && r.key == VK_TAB) << r.control;
    }
    EXPECT_EQ(t3, log_.Last(L"t2", SkinUI::UIEVENT_KILLFOCUS)->sender);

    // Each move: kill focus then set focus, with their notices.
    const std::vector<TNoticeUI>& n = listener_.notices;
    ASSERT_GE(n.size(), 2u);
    EXPECT_STREQ(L"killfocus", n[0].sType);
    EXPECT_EQ(t1, n[0].pSender);
    EXPECT_STREQ(L"setfocus", n[1].sType);
    EXPECT_EQ(t2, n[1].pSender);

    // Nothing focused: Tab goes to the first stop; Shift+Tab from the first
    // to the last.
    pm().SetFocus(nullptr);
    seen.clear();
    tabAndWait(false);
    tabAndWait(true);
    EXPECT_EQ((std::vector<CControlUI*>{t1, t3}), seen);

    // A focused control that is no tab stop: Tab goes to the next stop.
    pm().SetFocus(root->Add(new Probe(&log_, L"late", Box(305, 10, 310, 30))));
    EXPECT_STREQ(L"late", pm().GetFocus()->GetName());
    pm().SetFocus(pm().FindControl(L"plain"));
    seen.clear();
    tabAndWait(false);
    EXPECT_EQ((std::vector<CControlUI*>{t2}), seen);

    // Hiding the focused control leaves no focus.
    t2->SetVisible(false);
    EXPECT_EQ(nullptr, pm().GetFocus());
    EXPECT_FALSE(t2->IsFocused());
}

TEST_F(ManagerWindowTest, AltShortcutsFocusAndActivate) {
    Parent* root = NewRoot();
    // Searches run top-first (children from the last), so the control that
    // "follows" a label is the one before it in the list.
    Probe* target = root->Add(new Probe(&log_, L"target", Box(10, 10, 50, 30), 0, L"ButtonUI"));
    Probe* label = root->Add(new Probe(&log_, L"label", Box(60, 10, 100, 30), 0, L"LabelUI"));
    Probe* direct = root->Add(new Probe(&log_, L"direct", Box(110, 10, 150, 30), 0, L"ButtonUI"));
    Probe* off = root->Add(new Probe(&log_, L"off", Box(160, 10, 200, 30), 0, L"ButtonUI"));
    label->SetShortcut(L'S');
    direct->SetShortcut(L'x');
    off->SetShortcut(L'Q');
    off->SetEnabled(false);
    Attach(root);
    pm().SetFocus(nullptr);

    auto alt = [&](WORD vk) {
        Key(VK_MENU);
        Press(vk);
        Key(VK_MENU, true);
        PumpFor(100);
    };
    alt('S');
    ASSERT_TRUE(PumpUntil([&] { return pm().GetFocus() == target; }));
    EXPECT_EQ(1, target->Activations());
    EXPECT_EQ(0, label->Activations());

    alt('X');
    ASSERT_TRUE(PumpUntil([&] { return pm().GetFocus() == direct; }));
    EXPECT_EQ(1, direct->Activations());

    // A disabled control's shortcut does nothing; the Alt key-down is a
    // system-key event for the focused control.
    alt('Q');
    EXPECT_EQ(direct, pm().GetFocus());
    EXPECT_EQ(0, off->Activations());
    ASSERT_NE(nullptr, log_.Last(L"direct", SkinUI::UIEVENT_SYSKEY));
    EXPECT_EQ(nullptr, log_.Last(L"direct", SkinUI::UIEVENT_SYSKEY)->sender);
}

// ---- Hover and tool tip ----------------------------------------------------------------

TEST_F(ManagerWindowTest, HoverShowsTheToolTipAndLeaveHidesIt) {
    Parent* root = NewRoot();
    Probe* tipped = root->Add(new Probe(&log_, L"tipped", Box(10, 10, 110, 60)));
    root->Add(new Probe(&log_, L"bare", Box(120, 10, 220, 60)));
    tipped->SetToolTip(L"tip<n>two");
    tipped->SetToolTipWidth(200);
    Attach(root);

    MoveTo(30, 30);
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"tipped", SkinUI::UIEVENT_MOUSEHOVER) > 0; }));
    HWND tip = pm().GetTooltipWindow();
    ASSERT_NE(nullptr, tip);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; }));
    EXPECT_EQ(200, ::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_EQ(L"tip\r\ntwo", ToolTipText(tip, hwnd()));
    EXPECT_EQ(hwnd(), ::GetWindow(tip, GW_OWNER));

    // Moving to a control without a tip hides it.
    MoveTo(130, 30);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip) == FALSE; }));
    MoveTo(30, 30);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; }));
    MoveScreen(5, 5);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip) == FALSE; }));
    // Leaving the window after a hover still ends in a leave.
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"tipped", SkinUI::UIEVENT_MOUSELEAVE) == 2; }));
    EXPECT_EQ((Types{11, 12, 10, 11, 12, 10}), TypesOf(log_, L"tipped"));
}

// ---- Notifications ---------------------------------------------------------------------

namespace {

bool g_delegateVeto = false;

bool RecordNoticeDelegate(void* param) {
    g_trail.push_back(std::wstring(L"delegate:") + static_cast<TNoticeUI*>(param)->sType.GetData());
    return !g_delegateVeto;
}

class ChainingListener : public SkinUI::INotifyUI {
public:
    explicit ChainingListener(CWindowManagerUI* pm) : pm_(pm) {}
    void Notify(TNoticeUI& msg) override {
        if (msg.sType == L"first") {
            pm_->SendNotify(msg.pSender, L"second", 0, 0, true);
        }
    }

private:
    CWindowManagerUI* pm_;
};

} // namespace

TEST_F(ManagerWindowTest, ImmediateNoticesRunDelegatesThenListeners) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    Attach(root);
    Listener second(L"second");
    pm().AddNotifyListener(&second);
    a->NotifyDelegates += SkinUI::MakeDelegate(&RecordNoticeDelegate);
    MoveTo(40, 50);
    Pump();

    const DWORD before = ::GetTickCount();
    pm().SendNotify(a, L"x", 11, 22);
    EXPECT_EQ((std::vector<std::wstring>{L"delegate:x", L"listener:x", L"second:x"}), g_trail);
    const TNoticeUI& n = listener_.notices.back();
    EXPECT_EQ(a, n.pSender);
    EXPECT_EQ(11u, n.wParam);
    EXPECT_EQ(22, n.lParam);
    EXPECT_EQ(40, n.ptMouse.x);
    EXPECT_EQ(50, n.ptMouse.y);
    EXPECT_GE(n.dwTimestamp, before);
    EXPECT_TRUE(n.sVirtualWnd.IsEmpty());

    // A delegate's result does not stop the listeners.
    g_delegateVeto = true;
    g_trail.clear();
    pm().SendNotify(a, L"y");
    EXPECT_EQ((std::vector<std::wstring>{L"delegate:y", L"listener:y", L"second:y"}), g_trail);
    g_delegateVeto = false;
    pm().RemoveNotifyListener(&second);

    // Virtual-window names are copied once a control asks for them.
    root->SetVirtualWnd(L"page");
    pm().SendNotify(a, L"v");
    EXPECT_STREQ(L"page", listener_.notices.back().sVirtualWnd);
    pm().SetUsedVirtualWnd(false);
    pm().SendNotify(a, L"w");
    EXPECT_TRUE(listener_.notices.back().sVirtualWnd.IsEmpty());
}

TEST_F(ManagerWindowTest, QueuedNoticesArriveBeforeTheNextMessage) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    Probe* b = root->Add(new Probe(&log_, L"b", Box(120, 10, 220, 60)));
    Attach(root);
    Filter filter(kPing);
    ChainingListener chain(&pm());
    pm().AddMessageFilter(&filter);
    pm().AddNotifyListener(&chain);

    pm().SendNotify(a, L"first", 0, 0, true);
    EXPECT_TRUE(g_trail.empty());
    EXPECT_EQ(7, ::SendMessageW(hwnd(), kPing, 0, 0));
    const std::wstring ping = L"filter:" + std::to_wstring(kPing);
    EXPECT_EQ(
        (std::vector<std::wstring>{L"listener:first", L"listener:second", ping, L"window:ping"}),
        g_trail);

    // A filter that handles the message ends it; the notices still came first.
    g_trail.clear();
    filter.consume = true;
    pm().SendNotify(a, L"third", 0, 0, true);
    EXPECT_EQ(99, ::SendMessageW(hwnd(), kPing, 0, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"listener:third", ping}), g_trail);
    EXPECT_TRUE(pm().RemoveMessageFilter(&filter));
    EXPECT_FALSE(pm().RemoveMessageFilter(&filter));

    // A control deleted while its notice waits: the notice has no sender.
    pm().SendNotify(b, L"orphan", 0, 0, true);
    root->Detach(b);
    delete b;
    EXPECT_EQ(nullptr, pm().FindControl(L"b"));
    ::SendMessageW(hwnd(), kPing, 0, 0);
    ASSERT_STREQ(L"orphan", listener_.notices.back().sType);
    EXPECT_EQ(nullptr, listener_.notices.back().pSender);
    pm().RemoveNotifyListener(&chain);
}

TEST_F(ManagerWindowTest, WindowInitOnceAfterAttaching) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    pm().AddNotifyListener(&listener_);
    ASSERT_TRUE(pm().AttachRootControl(root));
    EXPECT_EQ(0, listener_.Count(L"windowinit"));
    // The first paint lays out and tells; later ones, even with a layout, don't.
    for (int paint = 0; paint < 3; ++paint) {
        if (paint == 2) {
            pm().SetUpdateNeeded();
        }
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        ::UpdateWindow(hwnd());
        ASSERT_EQ(1, listener_.Count(L"windowinit")) << paint;
    }
    EXPECT_EQ(root, listener_.notices.front().pSender);
    EXPECT_EQ(kWidth, root->GetPos().right);
    EXPECT_EQ(110, a->GetPos().right);
}

TEST_F(ManagerWindowTest, DelayedCleanupDeletesLater) {
    Parent* first = NewRoot();
    bool firstDeleted = false;
    first->WatchDeletion(&firstDeleted);
    Attach(first);
    EXPECT_FALSE(firstDeleted);

    Parent* root = NewRoot();
    Probe* doomed = root->Add(new Probe(&log_, L"doomed", Box(10, 10, 110, 60)));
    bool doomedDeleted = false;
    doomed->WatchDeletion(&doomedDeleted);
    // Deleting itself from inside its own button-down.
    doomed->OnEvent([](Probe* self, TInputEventUI& event) {
        if (event.Type == SkinUI::UIEVENT_BUTTONDOWN) {
            static_cast<Parent*>(self->GetParent())->Detach(self);
            self->GetManager()->AddDelayedCleanup(self);
        }
    });
    pm().AddNotifyListener(&listener_);
    ASSERT_TRUE(pm().AttachRootControl(root));
    // The old root waits for WM_APP+1.
    EXPECT_FALSE(firstDeleted);
    ASSERT_TRUE(PumpUntil([&] { return firstDeleted; }));
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    ::UpdateWindow(hwnd());

    MoveTo(20, 20);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return doomedDeleted; }));
    LeftUp();
    PumpFor(50);
    EXPECT_EQ(nullptr, pm().FindControl(L"doomed"));

    // A control that pumps messages while it is deleted (a closing child
    // window, a message box) lets the next cleanup message run inside the
    // round: each control is still deleted once.
    Probe* pumping = new Probe(L"pumping");
    Probe* next = new Probe(L"next");
    pumping->onDelete = [] { PumpFor(20); };
    Probe::deletions = 0;
    pm().AddDelayedCleanup(pumping);
    pm().AddDelayedCleanup(next);
    ASSERT_TRUE(PumpUntil([&] { return Probe::deletions >= 2; }));
    PumpFor(50);
    EXPECT_EQ(2, Probe::deletions);
}

TEST_F(ManagerWindowTest, ForgetControlDropsEveryReference) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"dup", Box(10, 10, 110, 60)));
    Probe* b = root->Add(new Probe(&log_, L"dup", Box(120, 10, 220, 60)));
    Probe* overlay = root->Add(new Probe(&log_, L"overlay", Box(10, 70, 60, 90)));
    Attach(root);
    // A later control with the same name replaces the earlier one.
    EXPECT_EQ(b, pm().FindControl(L"dup"));
    EXPECT_TRUE(pm().AddPostPaint(overlay));
    EXPECT_EQ(1, pm().GetPostPaintCount());
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    ::UpdateWindow(hwnd());
    EXPECT_GT(overlay->Overlays(), 0);
    EXPECT_TRUE(pm().SetTimer(overlay, 3, 100000));
    pm().SetFocus(overlay);

    root->Detach(a);
    delete a;
    EXPECT_EQ(b, pm().FindControl(L"dup"));
    root->Detach(overlay);
    delete overlay;
    EXPECT_EQ(0, pm().GetPostPaintCount());
    EXPECT_EQ(nullptr, pm().GetFocus());
    EXPECT_EQ(nullptr, pm().FindControl(L"overlay"));
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    ::UpdateWindow(hwnd());
    EXPECT_FALSE(pm().RemovePostPaint(b));
}

// ---- Timers ----------------------------------------------------------------------------

TEST_F(ManagerWindowTest, TimersFireWithTheControlsOwnId) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    Attach(root);
    ASSERT_TRUE(pm().SetTimer(a, 42, 10));
    EXPECT_FALSE(pm().SetTimer(a, 42, 10));
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_TIMER) >= 2; }));
    const EventRecord* timer = log_.Last(L"a", SkinUI::UIEVENT_TIMER);
    EXPECT_EQ(42u, timer->wParam);
    EXPECT_EQ(a, timer->sender);
    // The base control turns it into a "timer" notice.
    ASSERT_GT(listener_.Count(L"timer"), 0);
    EXPECT_EQ(42u, listener_.notices.back().wParam);

    EXPECT_TRUE(pm().KillTimer(a, 42));
    EXPECT_FALSE(pm().KillTimer(a, 42));
    PumpFor(30);
    const int fired = log_.Count(L"a", SkinUI::UIEVENT_TIMER);
    PumpFor(60);
    EXPECT_EQ(fired, log_.Count(L"a", SkinUI::UIEVENT_TIMER));
    // A killed timer restarts.
    ASSERT_TRUE(pm().SetTimer(a, 42, 10));
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_TIMER) > fired; }));
    pm().KillTimer(a);
    EXPECT_FALSE(pm().KillTimer(a, 42));
}

TEST(ManagerWindowTimers, WindowTimerIdsCycleAndSkipIdsInUse) {
    // A window of its own: window timer ids count per manager.
    HiddenHost host;
    CWindowManagerUI& pm = host.wnd.pm;
    Filter filter(WM_TIMER);
    pm.AddMessageFilter(&filter);
    std::vector<Probe*> controls;
    for (int i = 0; i < 256; ++i) {
        controls.push_back(new Probe(nullptr, L"", Box(0, 0, 0, 0)));
    }
    const UINT hour = 3600 * 1000;
    // The window id of the only timer that fires soon.
    auto idSeen = [&] {
        filter.seen.clear();
        PumpUntil([&] { return !filter.seen.empty(); });
        return filter.seen.empty() ? static_cast<WPARAM>(-1) : filter.seen.front();
    };

    // The first window id of a window is 17; then 18..254 stay running.
    ASSERT_TRUE(pm.SetTimer(controls[0], 1, 10));
    EXPECT_EQ(17u, idSeen());
    pm.KillTimer(controls[0]);
    for (int i = 1; i < 238; ++i) {
        ASSERT_TRUE(pm.SetTimer(controls[i], 1, hour)) << i;
    }
    // The 239th timer gets id 0 (17 is free by now, but the count runs on).
    ASSERT_TRUE(pm.SetTimer(controls[238], 1, 10));
    EXPECT_EQ(0u, idSeen());
    // Killed and set again: the same id.
    ASSERT_TRUE(pm.KillTimer(controls[238], 1));
    ASSERT_TRUE(pm.SetTimer(controls[238], 1, 10));
    EXPECT_EQ(0u, idSeen());
    ASSERT_TRUE(pm.KillTimer(controls[238], 1));
    // The 240th gets id 1.
    ASSERT_TRUE(pm.SetTimer(controls[239], 1, 10));
    EXPECT_EQ(1u, idSeen());
    ASSERT_TRUE(pm.KillTimer(controls[239], 1));
    for (int i = 240; i < 255; ++i) {
        ASSERT_TRUE(pm.SetTimer(controls[i], 1, hour)) << i;
    }
    // Ids 2..16 went to those; 17 comes next and is free.
    ASSERT_TRUE(pm.SetTimer(controls[255], 1, 10));
    EXPECT_EQ(17u, idSeen());
    ASSERT_TRUE(pm.KillTimer(controls[255], 1));
    ASSERT_TRUE(pm.SetTimer(controls[255], 1, hour));
    // Every id is held now (0 and 1 by killed timers kept for a restart):
    // a new timer is refused rather than sharing an id.
    EXPECT_FALSE(pm.SetTimer(controls[255], 2, 10));
    // Freeing the timers of the control holding id 22 makes room there:
    // ids 18..21 are passed over.
    pm.KillTimer(controls[5]);
    ASSERT_TRUE(pm.SetTimer(controls[255], 2, 10));
    EXPECT_EQ(22u, idSeen());

    pm.RemoveAllTimers();
    pm.RemoveMessageFilter(&filter);
    for (Probe* control : controls) {
        delete control;
    }
}

// ---- Per-window settings ------------------------------------------------------------------

TEST(ManagerWindowSettings, OpacityMakesTheWindowLayeredOnlyWithinRange) {
    HiddenHost host;
    CWindowManagerUI& pm = host.wnd.pm;
    pm.SetWindowOpacity(128);
    EXPECT_EQ(128, pm.GetWindowOpacity());
    EXPECT_NE(0, ::GetWindowLongW(host.wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(host.wnd, nullptr, &alpha, &flags));
    EXPECT_EQ(128, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags & LWA_ALPHA);
    pm.SetWindowOpacity(300);
    EXPECT_EQ(255, pm.GetWindowOpacity());
    EXPECT_EQ(0, ::GetWindowLongW(host.wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

// ---- Painting ----------------------------------------------------------------------------

namespace {

COLORREF PixelAt(HWND hWnd, int x, int y) {
    HDC dc = ::GetDC(hWnd);
    const COLORREF color = ::GetPixel(dc, x, y);
    ::ReleaseDC(hWnd, dc);
    return color;
}

} // namespace

TEST_F(ManagerWindowTest, PaintsTheRootThroughTheOffscreenBitmap) {
    Parent* root = NewRoot(RGB(10, 200, 30));
    Probe* a = root->Add(new Parent(&log_, L"a", Box(50, 50, 150, 100), RGB(0, 0, 250)));
    Attach(root);
    EXPECT_EQ(RGB(10, 200, 30), PixelAt(hwnd(), 5, 5));
    EXPECT_EQ(RGB(0, 0, 250), PixelAt(hwnd(), 60, 60));
    const int paints = a->Paints();
    // Only the invalid part is painted and copied.
    RECT part = {300, 200, 320, 220};
    ::InvalidateRect(hwnd(), &part, FALSE);
    ::UpdateWindow(hwnd());
    EXPECT_EQ(paints, a->Paints());

    pm().SetShowUpdateRect(true);
    RECT dirty = {20, 20, 40, 40};
    ::InvalidateRect(hwnd(), &dirty, FALSE);
    ::UpdateWindow(hwnd());
    EXPECT_EQ(RGB(220, 0, 0), PixelAt(hwnd(), 20, 20));
    EXPECT_EQ(RGB(10, 200, 30), PixelAt(hwnd(), 30, 30));
    pm().SetShowUpdateRect(false);

    // WM_PRINTCLIENT paints the tree into any device context.
    HDC screen = ::GetDC(hwnd());
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    EXPECT_EQ(RGB(0, 0, 250), ::GetPixel(memory, 100, 70));
    EXPECT_EQ(RGB(10, 200, 30), ::GetPixel(memory, 300, 250));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd(), screen);
}

// ---- Other messages ---------------------------------------------------------------------

TEST_F(ManagerWindowTest, CloseReleasesHoverAndPressAndIsNotConsumed) {
    Parent* root = NewRoot();
    Probe* a = root->Add(new Probe(&log_, L"a", Box(10, 10, 110, 60)));
    Attach(root);
    MoveTo(20, 20);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return log_.Count(L"a", SkinUI::UIEVENT_BUTTONDOWN) > 0; }));
    host_->passedOn.clear();
    ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(1, log_.Count(L"a", SkinUI::UIEVENT_MOUSELEAVE));
    EXPECT_EQ(1, log_.Count(L"a", SkinUI::UIEVENT_BUTTONUP));
    EXPECT_EQ(nullptr, pm().GetFocus());
    EXPECT_FALSE(a->IsFocused());
    // The window's own close handling ran.
    EXPECT_NE(host_->passedOn.end(),
              std::find(host_->passedOn.begin(), host_->passedOn.end(), WM_CLOSE));
    LeftUp();
    Pump();
}

namespace {

LRESULT CALLBACK ReflectingChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND + 0x2000:
        return 55;
    case WM_NOTIFY + 0x2000:
        return 66;
    case WM_CTLCOLOREDIT + 0x2000:
        return 77;
    case WM_CTLCOLORSTATIC + 0x2000:
        return 88;
    default:
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
}

class Accelerator : public SkinUI::ITranslateAccelerator {
public:
    LRESULT TranslateAccelerator(MSG* pMsg) override {
        ++offered;
        return pMsg->message == kPing ? 0 : 1;
    }
    int offered = 0;
};

} // namespace

TEST_F(ManagerWindowTest, ChildWindowMessagesAreReflected) {
    Attach(NewRoot());
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ReflectingChildProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ManagerTestReflector";
    ::RegisterClassW(&wc);
    HWND child = ::CreateWindowExW(0, L"ManagerTestReflector", L"", WS_CHILD, 0, 0, 10, 10, hwnd(),
                                   nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, child);
    const LPARAM childParam = reinterpret_cast<LPARAM>(child);
    EXPECT_EQ(55, ::SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), childParam));
    NMHDR header = {child, 1, NM_CLICK};
    EXPECT_EQ(66, ::SendMessageW(hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(77, ::SendMessageW(hwnd(), WM_CTLCOLOREDIT, 0, childParam));
    EXPECT_EQ(88, ::SendMessageW(hwnd(), WM_CTLCOLORSTATIC, 0, childParam));
    host_->passedOn.clear();
    EXPECT_EQ(0, ::SendMessageW(hwnd(), WM_NOTIFY, 1, 0));
    EXPECT_TRUE(host_->passedOn.empty());

    MINMAXINFO info = {};
    info.ptMinTrackSize = POINT{1, 2};
    info.ptMaxTrackSize = POINT{3000, 4000};
    pm().SetMinInfo(300, 0);
    pm().SetMaxInfo(0, 700);
    ::SendMessageW(hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(300, info.ptMinTrackSize.x);
    EXPECT_EQ(2, info.ptMinTrackSize.y);
    EXPECT_EQ(3000, info.ptMaxTrackSize.x);
    EXPECT_EQ(700, info.ptMaxTrackSize.y);
    pm().SetMinInfo(0, 0);
    pm().SetMaxInfo(0, 0);

    // Keys of a child window: the manager of an ancestor sees them once.
    const UINT tab = SkinUI::UIFLAG_TABSTOP;
    Parent* root = NewRoot();
    Probe* t1 = root->Add(new Probe(&log_, L"t1", Box(10, 10, 50, 30), tab));
    Probe* t2 = root->Add(new Probe(&log_, L"t2", Box(60, 10, 100, 30), tab));
    root->Add(new Probe(&log_, L"t3", Box(110, 10, 150, 30), tab));
    Attach(root);
    pm().SetFocus(t1);
    MSG tabMsg = {child, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(CWindowManagerUI::PreTranslateMessage(&tabMsg));
    EXPECT_EQ(t2, pm().GetFocus());

    Accelerator accelerator;
    pm().AddTranslateAccelerator(&accelerator);
    MSG ping = {child, kPing, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(CWindowManagerUI::PreTranslateMessage(&ping));
    MSG own = {hwnd(), kPing, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(CWindowManagerUI::PreTranslateMessage(&own));
    MSG other = {hwnd(), WM_NULL, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(CWindowManagerUI::PreTranslateMessage(&other));
    EXPECT_EQ(3, accelerator.offered);
    EXPECT_TRUE(pm().RemoveTranslateAccelerator(&accelerator));
    EXPECT_FALSE(pm().TranslateAccelerator(&own));
    MSG noWindow = {nullptr, kPing, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(CWindowManagerUI::PreTranslateMessage(&noWindow));
    ::DestroyWindow(child);
}
