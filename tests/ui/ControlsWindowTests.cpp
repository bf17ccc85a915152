#include <windows.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TextUI.h"

#include "tests/ui/ControlsDesktop.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace ControlsTest;
using SkinUI::CButtonUI;
using SkinUI::CCheckBoxUI;
using SkinUI::CLabelUI;
using SkinUI::COptionUI;
using SkinUI::CProgressUI;
using SkinUI::CSliderUI;
using SkinUI::CTextUI;

namespace {

using Trail = std::vector<std::wstring>;

// Each test builds a fresh tree on the shared window and drives it with
// real mouse and keyboard input.
class ControlsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = &Host();
        MoveScreen(5, 5);
        root_ = new Parent();
        root_->SetBkColor(kBackground);
        root_->SetName(L"root");
        ASSERT_TRUE(TakeKeyboard(hwnd()));
    }
    void TearDown() override {
        LeftUp();
        MoveScreen(5, 5);
        Pump();
        pm().RemoveNotifyListener(&log_);
        pm().SetFocus(nullptr);
        Pump();
    }

    CWindowManagerUI& pm() { return host_->pm; }
    HWND hwnd() { return *host_; }

    template <typename T> T* Add(T* control, RECT place, const wchar_t* name) {
        control->SetName(name);
        return root_->Add(control, place);
    }
    // Attaches the tree, paints it once and forgets what that sent. The
    // first paint focuses the first tab stop; tests start without focus.
    void Attach() {
        pm().AddNotifyListener(&log_);
        ASSERT_TRUE(pm().AttachRootControl(root_));
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        ::UpdateWindow(hwnd());
        Pump();
        pm().SetFocus(nullptr);
        Pump();
        log_.Clear();
    }

    uint32_t PixelAt(int x, int y) { return Capture(hwnd())->Pixel(x, y); }
    uint32_t PixelAt(POINT pt) { return PixelAt(pt.x, pt.y); }
    // Waits for a paint that shows the colour at the point.
    bool Shows(POINT pt, uint32_t color) {
        return PumpUntil([&] { return Near(PixelAt(pt), color); }, 2000);
    }
    void Click(POINT pt) {
        MoveTo(pt);
        LeftDown();
        LeftUp();
        PumpFor(30);
    }
    // Waits for the count of a notice type to reach n.
    bool Notices(const wchar_t* type, int n) {
        return PumpUntil([&] { return log_.Count(type) >= n; }, 2000) && log_.Count(type) == n;
    }

    HostWnd* host_ = nullptr;
    Parent* root_ = nullptr;
    NoticeLog log_;
};

CButtonUI* StateButton(CButtonUI* button) {
    button->ApplyAttribute(L"normalimage", L"normal.png");
    button->ApplyAttribute(L"hotimage", L"hot.png");
    button->ApplyAttribute(L"pushedimage", L"pushed.png");
    button->ApplyAttribute(L"focusedimage", L"focused.png");
    button->ApplyAttribute(L"disabledimage", L"disabled.png");
    button->ApplyAttribute(L"foreimage", L"file='fore.png' dest='0,0,6,6'");
    return button;
}

} // namespace

// ---- Buttons --------------------------------------------------------------------------

TEST_F(ControlsWindowTest, ButtonPaintsHotPushedAndClicksOnReleaseInside) {
    CButtonUI* button = StateButton(Add(new CButtonUI(), RECT{20, 20, 180, 60}, L"btn"));
    Attach();
    const POINT centre = {100, 40};
    EXPECT_TRUE(Shows(centre, kNormal));
    EXPECT_TRUE(Near(kFore, PixelAt(22, 22)));

    MoveTo(centre);
    EXPECT_TRUE(Shows(centre, kHot));
    EXPECT_TRUE(Near(kFore, PixelAt(22, 22)));
    LeftDown();
    EXPECT_TRUE(Shows(centre, kPushed));
    EXPECT_EQ(button, pm().GetFocus());

    // Dragged out while pressed: no longer pushed (and no longer hot); the
    // focus shows.
    MoveTo(300, 300);
    EXPECT_TRUE(Shows(centre, kFocused));
    MoveTo(centre);
    EXPECT_TRUE(Shows(centre, kPushed));
    LeftUp();
    ASSERT_TRUE(Notices(L"click", 1));
    EXPECT_EQ(button, log_.Of({L"click"}).back().sender);
    EXPECT_TRUE(Shows(centre, kHot));

    // Released outside: no click.
    LeftDown();
    EXPECT_TRUE(Shows(centre, kPushed));
    MoveTo(300, 300);
    LeftUp();
    PumpFor(100);
    EXPECT_EQ(1, log_.Count(L"click"));
    EXPECT_EQ(0u, button->GetButtonState() & (SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED));
    // The hand over the button.
    MoveTo(centre);
    EXPECT_TRUE(PumpUntil([] { return ::GetCursor() == ::LoadCursorW(nullptr, IDC_HAND); }));
}

// ---- Options ------------------------------------------------------------------------

// ---- Slider and progress --------------------------------------------------------------

TEST_F(ControlsWindowTest, SliderFollowsDragClickAndWheel) {
    CSliderUI* slider = Add(new CSliderUI(), RECT{20, 100, 230, 124}, L"slider");
    slider->SetThumbSize(SIZE{10, 24});
    slider->SetMaxValue(200);
    slider->SetThumbImage(L"thumb.png");
    slider->SetThumbHotImage(L"thumbhot.png");
    slider->SetThumbPushedImage(L"thumbpushed.png");
    slider->SetForeImage(L"ramp.png");
    slider->SetChangeStep(10);
    Attach();
    // Track 200 long: the value is x - 25 between the half thumbs.
    EXPECT_TRUE(Shows(POINT{25, 112}, kThumb));

    MoveTo(25, 112);
    EXPECT_TRUE(Shows(POINT{25, 112}, kThumbHot));
    LeftDown();
    PumpFor(50);
    MoveTo(125, 112);
    ASSERT_TRUE(PumpUntil([&] { return slider->GetValue() == 100; }));
    EXPECT_TRUE(Shows(POINT{125, 112}, kThumbPushed));
    EXPECT_EQ(0, log_.Count(L"valuechanged"));
    MoveTo(145, 112);
    ASSERT_TRUE(PumpUntil([&] { return slider->GetValue() == 120; }));
    LeftUp();
    ASSERT_TRUE(Notices(L"valuechanged", 1));
    EXPECT_EQ(slider, log_.entries.back().sender);
    EXPECT_EQ(120u, log_.entries.back().wParam);
    EXPECT_TRUE(Shows(POINT{145, 112}, kThumbHot));

    // A click on the track moves the value there.
    Click(POINT{70, 112});
    ASSERT_TRUE(Notices(L"valuechanged", 2));
    EXPECT_EQ(45, slider->GetValue());
    EXPECT_EQ(45u, log_.entries.back().wParam);
    // Left of the half thumb: the minimum.
    Click(POINT{22, 112});
    ASSERT_TRUE(Notices(L"valuechanged", 3));
    EXPECT_EQ(0, slider->GetValue());

    // The wheel away from the user adds the step, toward the user takes it.
    MoveTo(100, 112);
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
    ASSERT_TRUE(Notices(L"valuechanged", 4));
    EXPECT_EQ(10, slider->GetValue());
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA));
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA));
    ASSERT_TRUE(Notices(L"valuechanged", 6));
    EXPECT_EQ(0, slider->GetValue());
    EXPECT_EQ(0u, log_.entries.back().wParam); // clamped, not -10

    // Disabled: nothing moves, nothing is sent.
    slider->SetEnabled(false);
    Click(POINT{200, 112});
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
    PumpFor(150);
    EXPECT_EQ(0, slider->GetValue());
    EXPECT_EQ(6, log_.Count(L"valuechanged"));
}

// ---- Label and text -------------------------------------------------------------------

TEST_F(ControlsWindowTest, DesiredSizesUseTheWindowFont) {
    CLabelUI* label = Add(new CLabelUI(), RECT{20, 20, 220, 40}, L"label");
    CButtonUI* button = Add(new CButtonUI(), RECT{20, 50, 220, 80}, L"button");
    CTextUI* text = Add(new CTextUI(), RECT{20, 90, 220, 200}, L"text");
    text->SetText(L"many words that need more than one line when the room is small");
    Attach();
    const int height = pm().GetFontInfo(-1)->tm.tmHeight;
    ASSERT_GT(height, 0);
    label->SetFixedWidth(70);
    EXPECT_EQ(70, label->MeasureDesiredSize(SIZE{500, 500}).cx);
    EXPECT_EQ(height + 4, label->MeasureDesiredSize(SIZE{500, 500}).cy);
    EXPECT_EQ(height + 8, button->MeasureDesiredSize(SIZE{500, 500}).cy);
    label->SetFixedHeight(33);
    EXPECT_EQ(33, label->MeasureDesiredSize(SIZE{500, 500}).cy);

    const SIZE wide = text->MeasureDesiredSize(SIZE{1000, 500});
    const SIZE narrow = text->MeasureDesiredSize(SIZE{120, 500});
    EXPECT_EQ(height, wide.cy);
    EXPECT_GT(narrow.cy, 2 * height);
    EXPECT_LE(narrow.cx, 120);
    text->SetTextPadding(RECT{5, 6, 7, 8});
    EXPECT_EQ(height + 14, text->MeasureDesiredSize(SIZE{1000, 500}).cy);
    text->SetFixedHeight(50);
    EXPECT_EQ(50, text->MeasureDesiredSize(SIZE{1000, 500}).cy);
    text->SetShowHtml(true);
    text->SetFixedHeight(0);
    EXPECT_GT(text->MeasureDesiredSize(SIZE{120, 500}).cy, 2 * height);
    // Mark-up ending in a line break is one empty line taller.
    text->SetTextPadding(RECT{0, 0, 0, 0});
    text->SetText(L"one line<n>");
    const TEXTMETRICW& tm = pm().GetFontInfo(-1)->tm;
    EXPECT_EQ(2 * (tm.tmHeight + tm.tmExternalLeading),
              text->MeasureDesiredSize(SIZE{1000, 500}).cy);
}
