#include <windows.h>

#include <commctrl.h>

#include "tests/support/DibSurface.h"
#include "tests/ui/support/ProbeControls.h"
#include "tests/ui/RendererTestUtil.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"
#include "ui/Delegate.h"

#include <gtest/gtest.h>

#include <string>

using RendererTest::NearRgb;
using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using TestSupport::DibSurface;
using UiTest::MoveScreen;
using UiTest::NoticeLog;
using UiTest::Parent;
using UiTest::Probe;
using UiTest::Pump;
using UiTest::PumpUntil;
using UiTest::SameRect;

namespace {

const int kLeft = 120;
const int kTop = 90;
const int kWidth = 320;
const int kHeight = 240;

// One window for all tests (creating and destroying windows is slow under
// Wine); each test attaches a fresh tree: root (0,0)-(320,240), a box at
// (50,50)-(150,150) and a leaf at (100,100)-(200,200) inside the box, half of
// it outside.

class ControlWindow : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = &UiTest::TheProgramWindow(kLeft, kTop, kWidth, kHeight);
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

    UiTest::ProgramWindow& host() { return *host_; }
    UiTest::ProgramWindow* host_ = nullptr;
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

// Look setters given the value the control already has repaint nothing.
TEST_F(ControlWindow, UnchangedLookValuesCauseNoRepaint) {
    const struct {
        const char* what;
        void (*set)(Probe*, bool other);
    } setters[] = {
        {"text", [](Probe* p, bool other) { p->SetText(other ? L"other" : L"text"); }},
        {"bkcolor", [](Probe* p, bool other) { p->SetBkColor(other ? 0xFF000001 : 0xFF102030); }},
        {"bordersize", [](Probe* p, bool other) { p->SetBorderSize(other ? 2 : 1); }},
        {"enabled", [](Probe* p, bool other) { p->SetEnabled(!other); }},
    };
    leaf_->SetPos(RECT{60, 60, 90, 90});
    for (const auto& s : setters) {
        s.set(leaf_, false);
        ::UpdateWindow(host());
        Pump();
        Validate();
        s.set(leaf_, false);
        EXPECT_TRUE(NothingPending()) << s.what;
        s.set(leaf_, true);
        EXPECT_TRUE(SameRect(RECT{60, 60, 90, 90}, Pending())) << s.what;
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

// ---- Focus, timers and deletion
// ------------------------------------------------------------------

// ---- Tool tips -----------------------------------------------------------------------------
