#include <windows.h>

#include <commctrl.h>

#include "tests/support/DibSurface.h"
#include "tests/ui/ControlTestUtil.h"
#include "tests/ui/RendererTestUtil.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"
#include "ui/Delegate.h"

#include <gtest/gtest.h>

#include <string>

using ControlTest::NoticeLog;
using ControlTest::Parent;
using ControlTest::Probe;
using RendererTest::NearRgb;
using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using TestSupport::DibSurface;
using UiTest::MoveScreen;
using UiTest::Pump;
using UiTest::PumpUntil;

namespace {

const int kLeft = 120;
const int kTop = 90;
const int kWidth = 320;
const int kHeight = 240;

class HostWnd : public UiTest::HostWindow {
public:
    HostWnd() : UiTest::HostWindow(L"ControlTestHost") {}
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// One window for all tests (creating and destroying windows is slow under
// Wine); each test attaches a fresh tree: root (0,0)-(320,240), a box at
// (50,50)-(150,150) and a leaf at (100,100)-(200,200) inside the box, half of
// it outside.
auto& g_shared = UiTest::AddSharedHost<HostWnd>(L"control test", kLeft, kTop, kWidth, kHeight);

class ControlWindow : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = &g_shared.Get();
        ASSERT_TRUE(::IsWindow(host()));
        root_ = new Parent(L"root");
        box_ = root_->Add(new Parent(L"box"));
        leaf_ = box_->Add(new Probe(L"leaf"));
        ASSERT_TRUE(pm().AttachRootControl(root_));
        ::InvalidateRect(host(), nullptr, FALSE);
        ::UpdateWindow(host());
        Pump();
        box_->SetPos(RECT{50, 50, 150, 150});
        leaf_->SetPos(RECT{100, 100, 200, 200});
        ::UpdateWindow(host());
        Pump();
        Validate();
    }
    void TearDown() override {
        pm().SetFocus(nullptr);
        Pump();
    }

    CWindowManagerUI& pm() { return host().pm; }
    void Validate() { ::ValidateRect(host(), nullptr); }
    // The bounding box of the window's pending update region (empty: none).
    RECT Pending() {
        RECT rc = {};
        ::GetUpdateRect(host(), &rc, FALSE);
        return rc;
    }
    bool NothingPending() {
        RECT rc = Pending();
        return ::IsRectEmpty(&rc) != FALSE;
    }

    HostWnd& host() { return *host_; }
    HostWnd* host_ = nullptr;
    Parent* root_ = nullptr;
    Parent* box_ = nullptr;
    Probe* leaf_ = nullptr;
};

} // namespace

// ---- Invalidation -----------------------------------------------------------------------------

TEST_F(ControlWindow, InvalidationIsNarrowedToWhatAncestorsLeaveVisible) {
    leaf_->Invalidate();
    EXPECT_TRUE(SameRect(RECT{100, 100, 150, 150}, Pending()));
    Validate();
    // Moved out of its parent: only the old place, which was visible.
    leaf_->SetPos(RECT{160, 160, 200, 200});
    EXPECT_TRUE(SameRect(RECT{100, 100, 150, 150}, Pending()));
    Validate();
    // Entirely outside its parent: nothing.
    leaf_->Invalidate();
    leaf_->SetPos(RECT{170, 170, 210, 210});
    EXPECT_TRUE(NothingPending());
    // Hidden: nothing.
    leaf_->SetPos(RECT{60, 60, 70, 70});
    Validate();
    leaf_->SetVisible(false);
    Validate();
    leaf_->Invalidate();
    leaf_->SetText(L"changed");
    EXPECT_TRUE(NothingPending());
}

TEST_F(ControlWindow, SetPosInvalidatesOldAndNewPlace) {
    leaf_->SetPos(RECT{60, 60, 80, 80});
    Validate();
    leaf_->SetPos(RECT{100, 60, 120, 90});
    EXPECT_TRUE(SameRect(RECT{60, 60, 120, 90}, Pending()));
    Validate();
    // An empty old rectangle contributes nothing.
    Probe* fresh = root_->Add(new Probe(L"fresh"));
    Validate();
    fresh->SetPos(RECT{200, 20, 230, 40});
    EXPECT_TRUE(SameRect(RECT{200, 20, 230, 40}, Pending()));
}

TEST_F(ControlWindow, UnchangedValuesCauseNoRepaint) {
    leaf_->SetPos(RECT{60, 60, 90, 90});
    leaf_->SetText(L"text");
    leaf_->SetBkColor(0xFF102030);
    leaf_->SetBkColor2(0xFF102031);
    leaf_->SetBkColor3(0xFF102032);
    leaf_->SetBorderColor(0xFF000000);
    leaf_->SetFocusBorderColor(0xFF0000FF);
    leaf_->SetBorderSize(1);
    leaf_->SetColorHSL(true);
    leaf_->SetMinWidth(3);
    leaf_->SetMaxHeight(300);
    ::UpdateWindow(host());
    Pump();
    // Set after the paint: an image that can't be had is forgotten by a paint.
    leaf_->SetBkImage(L"none.png");
    Validate();

    leaf_->SetText(L"text");
    leaf_->SetBkColor(0xFF102030);
    leaf_->SetBkColor2(0xFF102031);
    leaf_->SetBkColor3(0xFF102032);
    leaf_->SetBorderColor(0xFF000000);
    leaf_->SetFocusBorderColor(0xFF0000FF);
    leaf_->SetBorderSize(1);
    leaf_->SetBkImage(L"none.png");
    leaf_->SetColorHSL(true);
    leaf_->SetEnabled(true);
    leaf_->SetFloating(false);
    leaf_->SetMinWidth(3);
    leaf_->SetMaxHeight(300);
    leaf_->SetVisible(true);
    EXPECT_TRUE(NothingPending());
    EXPECT_FALSE(box_->IsUpdateNeeded());

    const struct {
        const wchar_t* what;
        void (*change)(Probe*);
    } changes[] = {
        {L"text", [](Probe* p) { p->SetText(L"other"); }},
        {L"bkcolor", [](Probe* p) { p->SetBkColor(0xFF000001); }},
        {L"bkcolor2", [](Probe* p) { p->SetBkColor2(0); }},
        {L"bkcolor3", [](Probe* p) { p->SetBkColor3(0); }},
        {L"bordercolor", [](Probe* p) { p->SetBorderColor(0xFF000002); }},
        {L"focusbordercolor", [](Probe* p) { p->SetFocusBorderColor(0); }},
        {L"bordersize", [](Probe* p) { p->SetBorderSize(2); }},
        {L"bkimage", [](Probe* p) { p->SetBkImage(L""); }},
        {L"colorhsl", [](Probe* p) { p->SetColorHSL(false); }},
        {L"enabled", [](Probe* p) { p->SetEnabled(false); }},
        {L"borderround", [](Probe* p) { p->SetBorderRound(0, 0); }},
        {L"borderstyle", [](Probe* p) { p->SetBorderStyle(0); }},
        {L"leftbordersize", [](Probe* p) { p->SetLeftBorderSize(0); }},
        {L"bordersizes", [](Probe* p) { p->SetBorderSizes(0, 0, 0, 0); }},
    };
    for (const auto& c : changes) {
        Validate();
        c.change(leaf_);
        EXPECT_TRUE(SameRect(RECT{60, 60, 90, 90}, Pending())) << c.what;
    }
}

TEST_F(ControlWindow, SizeChangesRelayoutAtTheNextPaint) {
    int sized = 0;
    struct Hook {
        int* n;
        bool OnSize(void*) {
            ++*n;
            return true;
        }
    } hook{&sized};
    box_->SizeDelegates += SkinUI::MakeDelegate(&hook, &Hook::OnSize);
    leaf_->SetFixedWidth(44);
    EXPECT_TRUE(box_->IsUpdateNeeded());
    EXPECT_TRUE(pm().IsUpdateNeeded());
    EXPECT_FALSE(NothingPending());
    ::UpdateWindow(host());
    Pump();
    EXPECT_EQ(1, sized);
    EXPECT_FALSE(box_->IsUpdateNeeded());
}

// ---- Painting through the window ---------------------------------------------------------------

TEST_F(ControlWindow, WindowShowsTheControlsLook) {
    root_->ApplyAttribute(L"bkcolor", L"#FFFFFFFF");
    leaf_->SetPos(RECT{60, 60, 140, 120});
    leaf_->ApplyAttributeList(L"bkcolor=\"#FF0000FF\" bordercolor=\"#FFFF0000\" "
                              L"bordersize=\"2\" borderround=\"16,16\"");
    ::InvalidateRect(host(), nullptr, FALSE);
    ::UpdateWindow(host());
    Pump();
    DibSurface shot(kWidth, kHeight);
    HDC screen = ::GetDC(host());
    ::BitBlt(shot.DC(), 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY);
    ::ReleaseDC(host(), screen);
    EXPECT_TRUE(NearRgb(shot.Pixel(100, 90), 0x0000FF));
    EXPECT_TRUE(NearRgb(shot.Pixel(100, 60), 0xFF0000));
    EXPECT_TRUE(NearRgb(shot.Pixel(61, 90), 0xFF0000));
    EXPECT_TRUE(NearRgb(shot.Pixel(60, 60), 0xFFFFFF)); // rounded away
    EXPECT_TRUE(NearRgb(shot.Pixel(139, 119), 0xFFFFFF));
    EXPECT_TRUE(NearRgb(shot.Pixel(30, 30), 0xFFFFFF));
}

// ---- Focus, timers and deletion
// ------------------------------------------------------------------

TEST_F(ControlWindow, FocusMovesThroughTheManager) {
    NoticeLog log;
    pm().AddNotifyListener(&log);
    leaf_->SetPos(RECT{60, 60, 90, 90});
    leaf_->SetFocus();
    EXPECT_EQ(leaf_, pm().GetFocus());
    EXPECT_TRUE(leaf_->IsFocused());
    box_->SetFocus();
    EXPECT_FALSE(leaf_->IsFocused());
    EXPECT_TRUE(box_->IsFocused());
    box_->SetVisible(false);
    EXPECT_EQ(nullptr, pm().GetFocus());
    EXPECT_FALSE(box_->IsFocused());
    EXPECT_EQ((std::vector<std::wstring>{L"setfocus", L"killfocus", L"setfocus", L"killfocus"}),
              log.types);
    pm().RemoveNotifyListener(&log);
}

TEST_F(ControlWindow, TimerEventsBecomeTimerNotices) {
    NoticeLog log;
    pm().AddNotifyListener(&log);
    ASSERT_TRUE(pm().SetTimer(leaf_, 42, 10));
    ASSERT_TRUE(PumpUntil([&] { return !log.types.empty(); }));
    pm().KillTimer(leaf_, 42);
    EXPECT_EQ(L"timer", log.types[0]);
    EXPECT_EQ(leaf_, log.senders[0]);
    EXPECT_EQ(42u, log.wParams[0]);
    pm().RemoveNotifyListener(&log);
}

TEST_F(ControlWindow, DelayedDeletionWaitsForTheCleanupMessage) {
    bool destroyed = false;
    struct Hook {
        bool* flag;
        bool OnDestroy(void*) {
            *flag = true;
            return true;
        }
    } hook{&destroyed};
    leaf_->DestroyDelegates += SkinUI::MakeDelegate(&hook, &Hook::OnDestroy);
    leaf_->SetPos(RECT{60, 60, 90, 90});
    leaf_->SetFocus();
    ASSERT_TRUE(pm().SetTimer(leaf_, 1, 10000));
    box_->children.clear();
    pm().AddDelayedCleanup(leaf_);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(nullptr, leaf_->GetParent());
    ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
    EXPECT_EQ(nullptr, pm().GetFocus());
    EXPECT_EQ(nullptr, pm().FindControl(L"leaf"));
    // Its timer went with it.
    EXPECT_FALSE(pm().KillTimer(leaf_, 1));
    leaf_ = nullptr;
}

// ---- Tool tips -----------------------------------------------------------------------------

TEST_F(ControlWindow, ToolTipFromTheSkinShowsOnHover) {
    leaf_->SetPos(RECT{60, 60, 140, 140});
    leaf_->ApplyAttributeList(L"tooltip=\"first<n>second\" userdata=\"ud\"");
    leaf_->SetToolTipWidth(150);
    MoveScreen(5, 5);
    MoveScreen(kLeft + 80, kTop + 80);
    HWND tip = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            tip = pm().GetTooltipWindow();
            return tip != nullptr && ::IsWindowVisible(tip) != FALSE;
        },
        5000));
    wchar_t text[80] = {};
    TTTOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = host();
    info.uId = reinterpret_cast<UINT_PTR>(static_cast<HWND>(host()));
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(L"first\r\nsecond", text);
    EXPECT_EQ(150, ::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_STREQ(L"ud", leaf_->GetUserData());
    MoveScreen(5, 5);
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip) == FALSE; }));
}
