#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/WindowManagerUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/ui/ContainerTestTree.h"
#include "tests/ui/ScrollBarSkin.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ContainerTest;
using namespace ScrollBarSkin;
using SkinUI::CWindowManagerUI;
using SkinUI::TNoticeUI;
using namespace UiTest;

namespace {

const int kLeft = 100;
const int kTop = 100;
const int kWidth = 300;
const int kHeight = 200;

// ---- Window and input ------------------------------------------------------------------

class SkinEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const std::string& bytes = Archive();
        ASSERT_NE(nullptr, CWindowManagerUI::SetResourceZip(const_cast<char*>(bytes.data()),
                                                            static_cast<unsigned>(bytes.size())));
    }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);
UiTest::ProgramWindow& Host() {
    return UiTest::TheProgramWindow(kLeft, kTop, kWidth, kHeight);
}

void MoveTo(int clientX, int clientY) {
    MoveScreen(kLeft + clientX, kTop + clientY);
}

COLORREF PixelAt(int x, int y) {
    HDC dc = ::GetDC(Host());
    const COLORREF color = ::GetPixel(dc, x, y);
    ::ReleaseDC(Host(), dc);
    return color;
}

// 0xRRGGBB of a window pixel, as the skin's colours are written.
uint32_t RgbAt(int x, int y) {
    const COLORREF c = PixelAt(x, y);
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

class Listener : public SkinUI::INotifyUI {
public:
    void Notify(TNoticeUI& msg) override {
        types.push_back(msg.sType.GetData());
        senders.push_back(msg.pSender);
    }
    int Count(const wchar_t* type) const {
        int n = 0;
        for (const std::wstring& t : types) {
            n += t == type ? 1 : 0;
        }
        return n;
    }
    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
};

// Rows of alternating colours, 40 pixels each, in a layout that fills the
// window and scrolls with a skinned vertical bar at x 284..300.
class ContainerWindow : public ::testing::Test {
protected:
    static const int kRowHeight = 40;
    static const DWORD kRowColor[2];

    void SetUp() override {
        host_ = &Host();
        MoveScreen(5, 5);
        ASSERT_TRUE(TakeKeyboard(*host_));
    }
    void TearDown() override {
        LeftUp();
        MoveScreen(5, 5);
        Pump();
        pm().RemoveNotifyListener(&listener_);
        pm().SetFocus(nullptr);
        Pump();
    }

    CWindowManagerUI& pm() { return host_->pm; }

    StackLayout* BuildRows(int rows) {
        auto* root = new StackLayout(L"root");
        for (int i = 0; i < rows; ++i) {
            auto* row = new Leaf((L"row" + std::to_wstring(i)).c_str(), kRowHeight);
            row->SetBkColor(kRowColor[i % 2]);
            root->Add(row);
        }
        root->EnableScrollBar(true, false);
        ApplyAllImages(*root->GetVerticalScrollBar());
        return root;
    }
    void Attach(CControlUI* root) {
        pm().AddNotifyListener(&listener_);
        ASSERT_TRUE(pm().AttachRootControl(root));
        Repaint();
        listener_.types.clear();
        listener_.senders.clear();
    }
    void Repaint() {
        ::InvalidateRect(*host_, nullptr, FALSE);
        ::UpdateWindow(*host_);
        Pump();
    }
    // The vertical line step: the default font's height plus 8.
    int Line() { return pm().GetDefaultFontInfo()->tm.tmHeight + 8; }
    int Pos(CContainerUI* c) { return c->GetScrollPos().cy; }

    UiTest::ProgramWindow* host_ = nullptr;
    Listener listener_;
};

const DWORD ContainerWindow::kRowColor[2] = {0xFFC03020, 0xFF2040C0};

} // namespace

TEST_F(ContainerWindow, TheWheelScrollsByLines) {
    StackLayout* root = BuildRows(20);
    Attach(root);
    MoveTo(100, 50);
    Wheel(-WHEEL_DELTA);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) != 0; }));
    EXPECT_EQ(Line(), Pos(root));
    EXPECT_EQ(-Line(), root->GetItemAt(0)->GetPos().top);
    Repaint();
    // Row 1 now starts a line higher.
    EXPECT_EQ(0x2040C0u, RgbAt(100, 40 - Line()));
    EXPECT_EQ(0xC03020u, RgbAt(100, 40 - Line() - 1));
    Wheel(-WHEEL_DELTA);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 2 * Line(); }));
    Wheel(WHEEL_DELTA);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == Line(); }));
    // Over the bar the wheel scrolls the container too.
    MoveTo(292, 120);
    Wheel(WHEEL_DELTA);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 0; }));
    Wheel(WHEEL_DELTA);
    PumpFor(50);
    EXPECT_EQ(0, Pos(root));
}

TEST_F(ContainerWindow, TheDownButtonStepsOnceThenRepeatsWhileHeld) {
    StackLayout* root = BuildRows(20);
    Attach(root);
    MoveTo(292, 192);
    const ULONGLONG pressed = ::GetTickCount64();
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) != 0; }));
    // One line at once.
    EXPECT_EQ(Line(), Pos(root));
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) >= 2 * Line(); }));
    // The first repeat waits for the sixth 50 ms tick.
    EXPECT_GE(::GetTickCount64() - pressed, 200u);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) >= 4 * Line(); }));
    LeftUp();
    PumpUntil([&] {
        return (root->GetVerticalScrollBar()->GetButton2State() & CScrollBarUI::kStatePushed) == 0;
    });
    const int released = Pos(root);
    PumpFor(200);
    EXPECT_EQ(released, Pos(root));
    EXPECT_EQ(0, released % Line()); // whole lines only
    // The up button goes back.
    MoveTo(292, 8);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == released - Line(); }));
    LeftUp();
    Pump();
}

TEST_F(ContainerWindow, DraggingTheThumbScrollsByItsShareOfTheTrack) {
    StackLayout* root = BuildRows(20);
    Attach(root);
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    // Thumb 200 * 168 / 800 = 42 long at 16..58; 126 pixels of travel for a
    // range of 600.
    ASSERT_TRUE(SameRect(Rect(284, 16, 300, 58), bar->GetThumbRect()));
    MoveTo(292, 37);
    LeftDown();
    ASSERT_TRUE(
        PumpUntil([&] { return (bar->GetThumbState() & CScrollBarUI::kStateCaptured) != 0; }));
    MoveTo(292, 100);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 300; }));
    EXPECT_EQ(-300, root->GetItemAt(0)->GetPos().top);
    // Past the end of the track the position stops at the range.
    MoveTo(292, 190);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 600; }));
    MoveTo(292, 37);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 0; }));
    MoveTo(292, 58);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 100; }));
    LeftUp();
    ASSERT_TRUE(
        PumpUntil([&] { return (bar->GetThumbState() & CScrollBarUI::kStateCaptured) == 0; }));
    MoveTo(292, 150);
    PumpFor(100);
    EXPECT_EQ(100, Pos(root));
}

TEST_F(ContainerWindow, ThePressOnTheTrackPagesTowardsIt) {
    StackLayout* root = BuildRows(20);
    Attach(root);
    MoveTo(292, 150);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) != 0; }));
    EXPECT_EQ(200, Pos(root)); // a page is the layout's height
    // Held, it pages on until the thumb reaches the pointer: at 600 the
    // thumb lies at 142..184.
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 600; }));
    PumpFor(200);
    EXPECT_EQ(600, Pos(root));
    LeftUp();
    Pump();
    MoveTo(292, 20);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) != 600; }));
    EXPECT_EQ(400, Pos(root));
    LeftUp();
    Pump();
}

TEST_F(ContainerWindow, KeysReachTheContainerThroughItsFocusedChild) {
    StackLayout* root = BuildRows(20);
    Attach(root);
    MoveTo(100, 10);
    LeftDown();
    LeftUp();
    ASSERT_TRUE(PumpUntil([&] { return pm().GetFocus() == root->GetItemAt(0); }));
    Press(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == Line(); }));
    Press(VK_NEXT);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == Line() + 200; }));
    Press(VK_END);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 600; }));
    Press(VK_UP);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 600 - Line(); }));
    Press(VK_PRIOR);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 400 - Line(); }));
    Press(VK_HOME);
    ASSERT_TRUE(PumpUntil([&] { return Pos(root) == 0; }));
}

TEST_F(ContainerWindow, StateImagesFollowTheMouse) {
    StackLayout* root = BuildRows(20);
    Attach(root);
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    MoveTo(292, 120); // over the bar's track
    ASSERT_TRUE(PumpUntil([&] { return RgbAt(292, 8) == Rgb(kButton1, kHot); }));
    EXPECT_EQ(Rgb(kButton2, kHot), RgbAt(292, 192));
    EXPECT_EQ(Rgb(kThumb, kNormal), RgbAt(292, 20));
    EXPECT_EQ(Rgb(kBk, kNormal), RgbAt(292, 120));
    MoveTo(292, 22); // over the thumb
    ASSERT_TRUE(PumpUntil([&] { return RgbAt(292, 20) == Rgb(kThumb, kHot); }));
    EXPECT_EQ(Rgb(kRail, kHot), RgbAt(292, 37));
    EXPECT_EQ(Rgb(kBk, kHot), RgbAt(292, 120));
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return RgbAt(292, 20) == Rgb(kThumb, kPushed); }));
    EXPECT_EQ(Rgb(kRail, kPushed), RgbAt(292, 37));
    EXPECT_EQ(Rgb(kBk, kPushed), RgbAt(292, 120));
    LeftUp();
    ASSERT_TRUE(PumpUntil([&] { return RgbAt(292, 20) == Rgb(kThumb, kHot); }));
    MoveTo(100, 100); // off the bar
    ASSERT_TRUE(PumpUntil([&] { return RgbAt(292, 8) == Rgb(kButton1, kNormal); }));
    EXPECT_EQ(Rgb(kThumb, kNormal), RgbAt(292, 20));
    bar->SetEnabled(false);
    Repaint();
    EXPECT_EQ(Rgb(kThumb, kDisabled), RgbAt(292, 20));
    EXPECT_EQ(Rgb(kButton1, kDisabled), RgbAt(292, 8));
    EXPECT_EQ(Rgb(kBk, kDisabled), RgbAt(292, 120));
    // Disabled, it neither scrolls nor lights up.
    MoveTo(292, 192);
    LeftDown();
    LeftUp();
    PumpFor(100);
    EXPECT_EQ(0, Pos(root));
    EXPECT_EQ(Rgb(kButton2, kDisabled), RgbAt(292, 192));
}

TEST_F(ContainerWindow, AHorizontalOnlyContainerScrollsSidewaysByWheel) {
    StackLayout* root = BuildRows(3);
    root->EnableScrollBar(false, true);
    Attach(root);
    CScrollBarUI* bar = root->GetHorizontalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_RECT(Rect(0, 184, 300, 200), bar->GetPos());
    bar->SetScrollRange(400);
    MoveTo(100, 50);
    Wheel(-WHEEL_DELTA);
    ASSERT_TRUE(PumpUntil([&] { return root->GetScrollPos().cx == 8; }));
    EXPECT_EQ(-8, root->GetItemAt(0)->GetPos().left);
    Wheel(WHEEL_DELTA);
    ASSERT_TRUE(PumpUntil([&] { return root->GetScrollPos().cx == 0; }));
}
