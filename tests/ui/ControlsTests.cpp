#include <windows.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TextUI.h"

#include "tests/support/DibSurface.h"
#include "tests/ui/ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
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
using TestSupport::DibSurface;

namespace {

// A windowless manager with a tree: controls draw into memory surfaces and
// send their notices to the log.
class WindowlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseStateImageArchive();
        root_ = new Parent();
        root_->SetBkColor(kBackground);
        root_->SetName(L"root");
        ASSERT_TRUE(pm_.AttachRootControl(root_));
        root_->SetPos(RECT{0, 0, 400, 300});
        pm_.AddNotifyListener(&log_);
    }

    template <typename T> T* Add(T* control, RECT place, const wchar_t* name = nullptr) {
        if (name != nullptr) {
            control->SetName(name);
        }
        return root_->Add(control, place);
    }

    // Paints the whole tree into a fresh surface of the root's size.
    std::unique_ptr<DibSurface> PaintAll() {
        auto surface = std::make_unique<DibSurface>(400, 300, 0xFFFFFFFFu);
        root_->Paint(surface->DC(), RECT{0, 0, 400, 300});
        return surface;
    }

    static bool Near(uint32_t a, uint32_t b, int tolerance = 3) {
        return TestSupport::ChannelDistance(a, b) <= tolerance;
    }

    // Pixels within the rectangle close to the colour.
    static int CountNear(const DibSurface& s, RECT rc, uint32_t color, int tolerance = 40) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                n += Near(s.Pixel(x, y), color, tolerance) ? 1 : 0;
            }
        }
        return n;
    }

    CWindowManagerUI pm_;
    Parent* root_ = nullptr;
    NoticeLog log_;
};

} // namespace

// ---- Label attributes ---------------------------------------------------------------

TEST(LabelAttributeTest, AlignTestsSubstringsInOrder) {
    const auto styleAfter = [](const wchar_t* align, UINT start) {
        CLabelUI label;
        label.SetTextStyle(start);
        label.ApplyAttribute(L"align", align);
        return label.GetTextStyle();
    };
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), CLabelUI().GetTextStyle());
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_CENTER), styleAfter(L"center", DT_VCENTER));
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE),
              styleAfter(L"vcenter", DT_BOTTOM));
    EXPECT_EQ(0u, styleAfter(L"left", DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE));
    EXPECT_EQ(static_cast<UINT>(DT_RIGHT),
              styleAfter(L"right", DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE), styleAfter(L"top", DT_VCENTER | DT_BOTTOM));
    EXPECT_EQ(static_cast<UINT>(DT_BOTTOM | DT_SINGLELINE), styleAfter(L"bottom", DT_VCENTER));
    // Both words count: right first clears the centre, bottom then sets its bits.
    EXPECT_EQ(static_cast<UINT>(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE),
              styleAfter(L"right bottom", DT_VCENTER));
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), styleAfter(L"nothing known", DT_VCENTER));
}

TEST(LabelAttributeTest, NumberListsNeverReadPastTheText) {
    CLabelUI label;
    label.ApplyAttribute(L"textpadding", L"1,2,3,4");
    EXPECT_EQ((RECT{1, 2, 3, 4}).bottom, label.GetTextPadding().bottom);
    label.ApplyAttribute(L"textpadding", L"10,20");
    RECT rc = label.GetTextPadding();
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(0, rc.right);
    EXPECT_EQ(0, rc.bottom);
    label.ApplyAttribute(L"textpadding", L"7");
    rc = label.GetTextPadding();
    EXPECT_EQ(7, rc.left);
    EXPECT_EQ(0, rc.top);
    label.ApplyAttribute(L"textpadding", L"");
    rc = label.GetTextPadding();
    EXPECT_EQ(0, rc.left);
    // A value that ends right after a separator.
    label.ApplyAttribute(L"textpadding", L"5,");
    EXPECT_EQ(5, label.GetTextPadding().left);
    EXPECT_EQ(0, label.GetTextPadding().top);

    CSliderUI slider;
    slider.ApplyAttribute(L"thumbsize", L"14,16");
    EXPECT_EQ(14, slider.GetThumbSize().cx);
    EXPECT_EQ(16, slider.GetThumbSize().cy);
    slider.ApplyAttribute(L"thumbsize", L"12");
    EXPECT_EQ(12, slider.GetThumbSize().cx);
    EXPECT_EQ(0, slider.GetThumbSize().cy);

    // A value held in a buffer with no room after it.
    std::vector<wchar_t> tight = {L'9', L',', L'8', L'\0'};
    label.ApplyAttribute(L"textpadding", tight.data());
    EXPECT_EQ(9, label.GetTextPadding().left);
    EXPECT_EQ(8, label.GetTextPadding().top);
    EXPECT_EQ(0, label.GetTextPadding().right);
}

TEST(LabelAttributeTest, ShadowOffsetFromOffsetAndAngle) {
    const auto offsetOf = [](const wchar_t* value) {
        CLabelUI label;
        label.ApplyAttribute(L"shadowoffset", value);
        return std::make_pair(label.GetShadowOffsetX(), label.GetShadowOffsetY());
    };
    EXPECT_EQ(std::make_pair(-2.0f, -2.0f), offsetOf(L"2,45"));
    EXPECT_EQ(std::make_pair(0.0f, 0.0f), offsetOf(L"2,200"));
    EXPECT_EQ(std::make_pair(0.0f, 0.0f), offsetOf(L"2,-181"));
    EXPECT_EQ(std::make_pair(-3.0f, -3.0f), offsetOf(L"3,90"));
    EXPECT_EQ(std::make_pair(-3.0f, 3.0f), offsetOf(L"3,91"));
    EXPECT_EQ(std::make_pair(-3.0f, 3.0f), offsetOf(L"3,180"));
    EXPECT_EQ(std::make_pair(3.0f, -3.0f), offsetOf(L"3,-89"));
    EXPECT_EQ(std::make_pair(3.0f, 0.0f), offsetOf(L"3,-90"));
    EXPECT_EQ(std::make_pair(3.0f, 3.0f), offsetOf(L"3,-135"));
    EXPECT_EQ(std::make_pair(0.0f, 3.0f), offsetOf(L"3,-180"));
    EXPECT_EQ(std::make_pair(-4.0f, -4.0f), offsetOf(L"4"));

    // Measured from where the control is: X takes the top, Y the left.
    CLabelUI placed;
    placed.SetPos(RECT{10, 20, 110, 40});
    placed.SetShadowOffset(2, 45);
    EXPECT_EQ(18.0f, placed.GetShadowOffsetX());
    EXPECT_EQ(8.0f, placed.GetShadowOffsetY());
    // Absurd offsets don't wrap around.
    placed.SetShadowOffset(INT_MAX, 45);
    EXPECT_LT(placed.GetShadowOffsetX(), 0.0f);
}

// ---- Label painting -------------------------------------------------------------------

TEST_F(WindowlessTest, LabelDrawsItsTextInThePaddedRectangle) {
    pm_.AddFont(L"DejaVu Sans", 20, true, false, false);
    CLabelUI* label = Add(new CLabelUI(), RECT{10, 10, 210, 50});
    label->SetFont(0);
    label->SetText(L"MMMM");
    label->SetTextColor(0xFFFF0000);
    label->SetTextPadding(RECT{60, 0, 0, 0});
    auto surface = PaintAll();
    EXPECT_GT(CountNear(*surface, RECT{70, 10, 210, 50}, 0xFFFF0000), 20);
    EXPECT_EQ(0, CountNear(*surface, RECT{0, 0, 70, 300}, 0xFFFF0000));

    // Disabled: the disabled colour, and a colour left at 0 takes the
    // manager's default.
    label->SetEnabled(false);
    label->SetDisabledTextColor(0);
    pm_.SetDefaultDisabledColor(0xFF0000FF);
    surface = PaintAll();
    EXPECT_EQ(0, CountNear(*surface, RECT{70, 10, 210, 50}, 0xFFFF0000));
    EXPECT_GT(CountNear(*surface, RECT{70, 10, 210, 50}, 0xFF0000FF), 20);
    EXPECT_EQ(0xFF0000FFu, label->GetDisabledTextColor());
}

TEST_F(WindowlessTest, EffectTextDrawsGradientShadowAndStroke) {
    pm_.AddFont(L"DejaVu Sans", 28, true, false, false);
    CLabelUI* label = Add(new CLabelUI(), RECT{20, 20, 320, 80});
    label->SetFont(0);
    label->SetEnabledEffect(true);
    label->SetText(L"WWW");
    label->SetTextColor(0xFFFF0000);
    label->SetTransText(255);
    label->SetTransText1(255);
    auto surface = PaintAll();
    const int red = CountNear(*surface, RECT{20, 20, 320, 80}, 0xFFFF0000, 60);
    EXPECT_GT(red, 30);
    // The base text was never set: a plain label would draw nothing.
    EXPECT_STREQ(L"", label->CControlUI::GetText());

    // A blue shadow moved right and down by 4 (offset 4 at -135 degrees).
    label->SetEnabledShadow(true);
    label->SetTextShadowColorA(0xFF0000FF);
    label->SetTransShadow(255);
    label->SetTransShadow1(255);
    label->ApplyAttribute(L"shadowoffset", L"4,-135");
    surface = PaintAll();
    EXPECT_GT(CountNear(*surface, RECT{20, 20, 330, 90}, 0xFF0000FF, 60), 10);

    // A green stroke around the text.
    label->SetEnabledShadow(false);
    label->SetEnabledStroke(true);
    label->SetStrokeColor(0xFF00FF00);
    surface = PaintAll();
    EXPECT_GT(CountNear(*surface, RECT{18, 18, 322, 82}, 0xFF00FF00, 60), 10);
    EXPECT_EQ(0, CountNear(*surface, RECT{18, 18, 330, 90}, 0xFF0000FF, 60));
}

TEST_F(WindowlessTest, EffectTextSurvivesDegenerateSettings) {
    CLabelUI* label = Add(new CLabelUI(), RECT{20, 20, 20, 20});
    label->SetEnabledEffect(true);
    label->SetText(L"x");
    label->SetEnabledShadow(true);
    label->SetEnabledStroke(true);
    label->SetStrokeColor(0xFF00FF00);
    label->SetTransText(9999);
    label->SetFont(42);
    PaintAll(); // an empty rectangle, an unknown font, an alpha out of range
    label->SetPos(RECT{20, 20, 120, 60});
    label->SetText(L"");
    auto surface = PaintAll();
    EXPECT_EQ(0, CountNear(*surface, RECT{0, 0, 400, 300}, 0xFF00FF00, 60));
}

// ---- Text ---------------------------------------------------------------------------

TEST_F(WindowlessTest, TextFindsLinksAndSendsLinkNotices) {
    CTextUI* text = Add(new CTextUI(), RECT{0, 0, 380, 60}, L"text");
    EXPECT_EQ(0u, text->GetControlFlags());
    text->SetShowHtml(true);
    text->SetText(L"Go <a first>one</a> or <a second>two</a> now");
    PaintAll();
    ASSERT_EQ(2, text->GetLinkCount());
    EXPECT_STREQ(L"first", *text->GetLinkContent(0));
    EXPECT_STREQ(L"second", *text->GetLinkContent(1));
    EXPECT_EQ(nullptr, text->GetLinkContent(2));
    EXPECT_EQ(static_cast<UINT>(SkinUI::UIFLAG_SETCURSOR), text->GetControlFlags());

    const RECT second = text->GetLinkRect(1);
    const POINT inSecond = {(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    Fire(text, SkinUI::UIEVENT_MOUSEMOVE, inSecond);
    EXPECT_EQ(1, text->GetHotLink());
    Fire(text, SkinUI::UIEVENT_BUTTONDOWN, inSecond);
    Fire(text, SkinUI::UIEVENT_BUTTONUP, inSecond);
    ASSERT_EQ(1, log_.Count(L"link"));
    EXPECT_EQ(text, log_.entries.back().sender);
    EXPECT_EQ(1u, log_.entries.back().wParam);
    Fire(text, SkinUI::UIEVENT_MOUSELEAVE, inSecond);
    EXPECT_EQ(-1, text->GetHotLink());

    // Outside the links: no notice.
    Fire(text, SkinUI::UIEVENT_BUTTONUP, POINT{379, 59});
    EXPECT_EQ(1, log_.Count(L"link"));

    // Disabled: no notice, no set-cursor flag.
    text->SetEnabled(false);
    EXPECT_EQ(0u, text->GetControlFlags());
    Fire(text, SkinUI::UIEVENT_BUTTONUP, inSecond);
    EXPECT_EQ(1, log_.Count(L"link"));

    // Plain text has no links, even after mark-up had some.
    text->SetEnabled(true);
    text->SetShowHtml(false);
    PaintAll();
    EXPECT_EQ(0, text->GetLinkCount());
    Fire(text, SkinUI::UIEVENT_BUTTONUP, inSecond);
    EXPECT_EQ(1, log_.Count(L"link"));

    // An empty text: no links.
    text->SetShowHtml(true);
    text->SetText(L"");
    PaintAll();
    EXPECT_EQ(0, text->GetLinkCount());
}

TEST_F(WindowlessTest, TextKeepsAtMostEightLinks) {
    CTextUI* text = Add(new CTextUI(), RECT{0, 0, 400, 300});
    text->SetShowHtml(true);
    std::wstring many;
    for (int i = 0; i < 12; ++i) {
        many += L"<a l" + std::to_wstring(i) + L">x" + std::to_wstring(i) + L"</a> ";
    }
    text->SetText(many.c_str());
    PaintAll();
    EXPECT_EQ(CTextUI::MAX_LINK, text->GetLinkCount());
    EXPECT_STREQ(L"l7", *text->GetLinkContent(7));
}

// ---- Button -------------------------------------------------------------------------

TEST_F(WindowlessTest, ButtonClickNeedsPressAndReleaseInside) {
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 110, 40}, L"btn");
    const POINT inside = {50, 20};
    const POINT outside = {200, 200};

    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, inside);
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED),
              button->GetButtonState());
    Fire(button, SkinUI::UIEVENT_BUTTONUP, inside);
    EXPECT_EQ(0u, button->GetButtonState());
    ASSERT_EQ(1, log_.Count(L"click", button));
    EXPECT_EQ(0u, log_.entries.back().wParam);
    EXPECT_EQ(0, log_.entries.back().lParam);

    // Out and released outside: nothing.
    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, inside);
    Fire(button, SkinUI::UIEVENT_MOUSEMOVE, outside);
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_CAPTURED), button->GetButtonState());
    Fire(button, SkinUI::UIEVENT_BUTTONUP, outside);
    EXPECT_EQ(1, log_.Count(L"click"));

    // Out and back in: one click.
    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, inside);
    Fire(button, SkinUI::UIEVENT_MOUSEMOVE, outside);
    Fire(button, SkinUI::UIEVENT_MOUSEMOVE, inside);
    EXPECT_NE(0u, button->GetButtonState() & SkinUI::UISTATE_PUSHED);
    Fire(button, SkinUI::UIEVENT_BUTTONUP, inside);
    EXPECT_EQ(2, log_.Count(L"click"));

    // A release without a press on the button: nothing.
    Fire(button, SkinUI::UIEVENT_BUTTONUP, inside);
    EXPECT_EQ(2, log_.Count(L"click"));

    // A press outside the item rectangle (a stray event) does not capture.
    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, outside);
    EXPECT_EQ(0u, button->GetButtonState());

    // Double click presses as well.
    Fire(button, SkinUI::UIEVENT_DBLCLICK, inside);
    Fire(button, SkinUI::UIEVENT_BUTTONUP, inside);
    EXPECT_EQ(3, log_.Count(L"click"));
}

TEST_F(WindowlessTest, DisabledButtonIgnoresInputAndResetsItsState) {
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 110, 40}, L"btn");
    Fire(button, SkinUI::UIEVENT_MOUSEENTER, POINT{50, 20});
    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, POINT{50, 20});
    EXPECT_EQ(
        static_cast<UINT>(SkinUI::UISTATE_HOT | SkinUI::UISTATE_PUSHED | SkinUI::UISTATE_CAPTURED),
        button->GetButtonState());
    button->SetEnabled(false);
    EXPECT_EQ(0u, button->GetButtonState());
    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, POINT{50, 20});
    Fire(button, SkinUI::UIEVENT_BUTTONUP, POINT{50, 20});
    Fire(button, SkinUI::UIEVENT_KEYDOWN, POINT{}, 0, VK_SPACE);
    Fire(button, SkinUI::UIEVENT_MOUSEENTER, POINT{50, 20});
    EXPECT_EQ(0, log_.Count(L"click"));
    EXPECT_EQ(0u, button->GetButtonState() & ~SkinUI::UISTATE_DISABLED);
    EXPECT_FALSE(button->Activate());
}

TEST_F(WindowlessTest, ButtonPaintsItsStateImages) {
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 110, 40}, L"btn");
    button->ApplyAttribute(L"normalimage", L"normal.png");
    button->ApplyAttribute(L"hotimage", L"hot.png");
    button->ApplyAttribute(L"pushedimage", L"pushed.png");
    button->ApplyAttribute(L"focusedimage", L"focused.png");
    button->ApplyAttribute(L"disabledimage", L"disabled.png");
    button->ApplyAttribute(L"foreimage", L"file='fore.png' dest='0,0,6,6'");
    const auto centre = [&] { return PaintAll()->Pixel(60, 30); };
    const auto corner = [&] { return PaintAll()->Pixel(12, 12); };

    EXPECT_TRUE(Near(kNormal, centre()));
    EXPECT_TRUE(Near(kFore, corner()));
    Fire(button, SkinUI::UIEVENT_MOUSEENTER, POINT{60, 30});
    EXPECT_TRUE(Near(kHot, centre()));
    EXPECT_TRUE(Near(kFore, corner()));
    // A hot fore image replaces the fore image.
    button->ApplyAttribute(L"hotforeimage", L"file='hotfore.png' dest='0,0,6,6'");
    EXPECT_TRUE(Near(kHotFore, corner()));
    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, POINT{60, 30});
    EXPECT_TRUE(Near(kPushed, centre()));
    EXPECT_TRUE(Near(kFore, corner()));
    button->SetPushedForeImage(L"file='hotfore.png' dest='0,0,6,6'");
    EXPECT_TRUE(Near(kHotFore, corner()));
    Fire(button, SkinUI::UIEVENT_BUTTONUP, POINT{60, 30});
    Fire(button, SkinUI::UIEVENT_MOUSELEAVE, POINT{300, 300});
    pm_.SetFocus(button);
    EXPECT_TRUE(button->IsFocused());
    EXPECT_TRUE(Near(kFocused, centre()));
    EXPECT_NE(0u, button->GetButtonState() & SkinUI::UISTATE_FOCUSED);
    pm_.SetFocus(nullptr);
    EXPECT_TRUE(Near(kNormal, centre()));

    button->SetEnabled(false);
    EXPECT_TRUE(Near(kDisabled, centre()));
    EXPECT_TRUE(Near(kFore, corner()));
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_DISABLED), button->GetButtonState());
    // Without a disabled image: the normal image.
    button->SetDisabledImage(L"");
    EXPECT_TRUE(Near(kNormal, centre()));
}

// ---- Options ------------------------------------------------------------------------

TEST_F(WindowlessTest, GroupedOptionsKeepOneSelected) {
    COptionUI* a = Add(new COptionUI(), RECT{0, 0, 50, 20}, L"a");
    COptionUI* b = Add(new COptionUI(), RECT{0, 30, 50, 50}, L"b");
    a->SetGroup(L"g");
    b->SetGroup(L"g");
    ASSERT_NE(nullptr, pm_.GetOptionGroup(L"g"));
    EXPECT_EQ(2, pm_.GetOptionGroup(L"g")->GetSize());

    EXPECT_TRUE(a->Activate());
    EXPECT_TRUE(b->Activate());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(0u, a->GetButtonState() & SkinUI::UISTATE_SELECTED);
    EXPECT_EQ(
        (std::vector<std::wstring>{L"click@a", L"selectchanged@a", L"click@b", L"selectchanged@b"}),
        log_.Trail({L"click", L"selectchanged"}));

    // Clicking the selected grouped option: a click, no change.
    log_.Clear();
    EXPECT_TRUE(b->Activate());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ((std::vector<std::wstring>{L"click@b"}), log_.Trail({L"click", L"selectchanged"}));

    // Deselecting a grouped option sends nothing.
    log_.Clear();
    b->Select(false);
    EXPECT_FALSE(b->IsSelected());
    EXPECT_TRUE(log_.entries.empty());
}

TEST_F(WindowlessTest, OptionGroupMembershipFollowsNameManagerAndLifetime) {
    COptionUI* a = Add(new COptionUI(), RECT{0, 0, 50, 20}, L"a");
    COptionUI* b = Add(new COptionUI(), RECT{0, 30, 50, 50}, L"b");
    a->SetGroup(L"g");
    b->SetGroup(L"g");
    a->SetGroup(L"g"); // same name: nothing
    EXPECT_EQ(2, pm_.GetOptionGroup(L"g")->GetSize());

    a->SetGroup(L"h");
    EXPECT_EQ(1, pm_.GetOptionGroup(L"g")->GetSize());
    EXPECT_EQ(b, pm_.GetOptionGroup(L"g")->GetAt(0));
    ASSERT_NE(nullptr, pm_.GetOptionGroup(L"h"));
    a->SetGroup(nullptr);
    EXPECT_EQ(nullptr, pm_.GetOptionGroup(L"h"));
    EXPECT_STREQ(L"", a->GetGroup());

    // A deleted option leaves its group; the emptied group goes.
    root_->Delete(b);
    EXPECT_EQ(nullptr, pm_.GetOptionGroup(L"g"));

    // Two grouped options, one deleted: the other still works alone.
    COptionUI* c = Add(new COptionUI(), RECT{0, 60, 50, 80}, L"c");
    COptionUI* d = Add(new COptionUI(), RECT{0, 90, 50, 110}, L"d");
    c->SetGroup(L"k");
    d->SetGroup(L"k");
    c->Select(true);
    root_->Delete(c);
    ASSERT_NE(nullptr, pm_.GetOptionGroup(L"k"));
    EXPECT_EQ(1, pm_.GetOptionGroup(L"k")->GetSize());
    d->Select(true);
    EXPECT_EQ(L"selectchanged@d", log_.Trail({L"selectchanged"}).back());

    // Built before it has a manager: it joins when attached.
    auto* e = new COptionUI();
    e->ApplyAttribute(L"group", L"late");
    e->ApplyAttribute(L"name", L"e");
    EXPECT_EQ(nullptr, pm_.GetOptionGroup(L"late"));
    root_->Add(e, RECT{0, 120, 50, 140});
    ASSERT_NE(nullptr, pm_.GetOptionGroup(L"late"));
    EXPECT_EQ(e, pm_.GetOptionGroup(L"late")->GetAt(0));
}

TEST(OptionLifetimeTest, OptionMovedToAnotherManagerLeavesTheOldGroup) {
    CWindowManagerUI first;
    CWindowManagerUI second;
    COptionUI option;
    option.SetGroup(L"g");
    option.AttachManager(&first, nullptr, true);
    ASSERT_NE(nullptr, first.GetOptionGroup(L"g"));
    option.AttachManager(&second, nullptr, true);
    EXPECT_EQ(nullptr, first.GetOptionGroup(L"g"));
    ASSERT_NE(nullptr, second.GetOptionGroup(L"g"));
    option.AttachManager(nullptr, nullptr, false);
    EXPECT_EQ(nullptr, second.GetOptionGroup(L"g"));
}

TEST_F(WindowlessTest, OptionPaintsSelectedStates) {
    pm_.AddFont(L"DejaVu Sans", 22, true, false, false);
    COptionUI* a = Add(new COptionUI(), RECT{10, 10, 210, 60}, L"a");
    a->SetNormalImage(L"normal.png");
    a->SetHotImage(L"hot.png");
    a->SetPushedImage(L"pushed.png");
    a->SetSelectedImage(L"selected.png");
    a->SetSelectedHotImage(L"selhot.png");
    a->SetForeImage(L"file='fore.png' dest='0,0,6,6'");
    a->SetFont(0);
    a->SetText(L"WWWW");
    a->SetTextColor(0xFF000000);
    a->SetHotTextColor(0xFFFF0000);
    a->SetSelectedTextColor(0xFF0000FF);
    a->SetDisabledTextColor(0xFFFFFFFF);
    const RECT area = {10, 10, 210, 60};

    auto surface = PaintAll();
    EXPECT_TRUE(Near(kNormal, surface->Pixel(20, 55)));
    EXPECT_TRUE(Near(kFore, surface->Pixel(12, 12)));
    // Pressed, an option shows hot, never pushed.
    Fire(a, SkinUI::UIEVENT_MOUSEENTER, POINT{100, 30});
    Fire(a, SkinUI::UIEVENT_BUTTONDOWN, POINT{100, 30});
    surface = PaintAll();
    EXPECT_TRUE(Near(kHot, surface->Pixel(20, 55)));
    EXPECT_GT(CountNear(*surface, area, 0xFFFF0000), 20);
    Fire(a, SkinUI::UIEVENT_BUTTONUP, POINT{100, 30});
    EXPECT_TRUE(a->IsSelected());
    // Selected and hot: the selected hot image; the text takes the selected
    // colour, not the hot one.
    surface = PaintAll();
    EXPECT_TRUE(Near(kSelectedHot, surface->Pixel(20, 55)));
    EXPECT_TRUE(Near(kFore, surface->Pixel(12, 12)));
    EXPECT_GT(CountNear(*surface, area, 0xFF0000FF), 20);
    EXPECT_EQ(0, CountNear(*surface, area, 0xFFFF0000));
    Fire(a, SkinUI::UIEVENT_MOUSELEAVE, POINT{300, 300});
    surface = PaintAll();
    EXPECT_TRUE(Near(kSelected, surface->Pixel(20, 55)));
    // Disabled and selected: the selected image and the disabled colour; enabled again, the
    // selected image and colour. The selection and its state bit stay throughout.
    for (const bool enabled : {false, true}) {
        a->SetEnabled(enabled);
        EXPECT_TRUE(a->IsSelected());
        EXPECT_EQ(SkinUI::UISTATE_SELECTED, a->GetButtonState() & SkinUI::UISTATE_SELECTED);
        surface = PaintAll();
        EXPECT_TRUE(Near(kSelected, surface->Pixel(20, 55))) << enabled;
        EXPECT_EQ(enabled, CountNear(*surface, area, 0xFF0000FF) > 20);
        EXPECT_EQ(!enabled, CountNear(*surface, area, 0xFFFFFFFF, 10) > 20);
    }

    // Without a selected image: the selected colour, and no fore image.
    a->SetSelectedImage(L"");
    a->SetSelectedBkColor(0xFF654321);
    surface = PaintAll();
    EXPECT_TRUE(Near(0xFF654321, surface->Pixel(20, 55)));
    EXPECT_TRUE(Near(0xFF654321, surface->Pixel(12, 12)));
    // Without either: the button's images.
    a->SetSelectedBkColor(0);
    surface = PaintAll();
    EXPECT_TRUE(Near(kNormal, surface->Pixel(20, 55)));
}

// ---- Progress -----------------------------------------------------------------------

namespace {

// Where the ramp (red = x of the image) is drawn along row y.
int CoveredRight(const DibSurface& s, int left, int right, int y) {
    int last = left - 1;
    for (int x = left; x < right; ++x) {
        const uint32_t p = s.Pixel(x, y) & 0xFFFF;
        if (p == 0x4080) {
            last = x;
        }
    }
    return last + 1;
}

} // namespace

TEST_F(WindowlessTest, ProgressCoversItsValue) {
    CProgressUI* bar = Add(new CProgressUI(), RECT{0, 0, 200, 12}, L"bar");
    bar->SetForeImage(L"ramp.png");
    bar->SetValue(50);
    auto surface = PaintAll();
    EXPECT_EQ(100, CoveredRight(*surface, 0, 200, 6));
    // Stretched: the whole image in 0..100, so x = 90 shows about 180.
    EXPECT_NEAR(180, static_cast<int>((surface->Pixel(90, 6) >> 16) & 0xFF), 3);

    // Revealed: the same rectangle as the image's source part.
    bar->SetStretchForeImage(false);
    surface = PaintAll();
    EXPECT_EQ(100, CoveredRight(*surface, 0, 200, 6));
    EXPECT_EQ(90u, (surface->Pixel(90, 6) >> 16) & 0xFF);

    // Out of range: stored clamped at the paint.
    bar->SetValue(150);
    surface = PaintAll();
    EXPECT_EQ(100, bar->GetValue());
    EXPECT_EQ(200, CoveredRight(*surface, 0, 200, 6));
    bar->SetValue(-20);
    surface = PaintAll();
    EXPECT_EQ(0, bar->GetValue());
    EXPECT_EQ(0, CoveredRight(*surface, 0, 200, 6));

    // A maximum at the minimum becomes minimum + 1.
    bar->SetMinValue(40);
    bar->SetMaxValue(40);
    bar->SetValue(40);
    PaintAll();
    EXPECT_EQ(41, bar->GetMaxValue());
    EXPECT_EQ(40, bar->GetValue());
}

TEST_F(WindowlessTest, VerticalProgressGrowsFromTheBottom) {
    CProgressUI* bar = Add(new CProgressUI(), RECT{10, 10, 22, 110}, L"bar");
    bar->SetForeImage(L"ramp.png");
    bar->SetHorizontal(false);
    bar->SetValue(0);
    auto surface = PaintAll();
    int covered = 0;
    for (int y = 10; y < 110; ++y) {
        covered += ((surface->Pixel(15, y) & 0xFFFF) == 0x4080) ? 1 : 0;
    }
    EXPECT_EQ(0, covered);
    bar->SetValue(25);
    surface = PaintAll();
    EXPECT_EQ(0x4080u, surface->Pixel(15, 109) & 0xFFFF);
    EXPECT_EQ(0x4080u, surface->Pixel(15, 85) & 0xFFFF);
    EXPECT_NE(0x4080u, surface->Pixel(15, 84) & 0xFFFF);
}

TEST_F(WindowlessTest, ProgressRangeArithmeticDoesNotOverflow) {
    CProgressUI* bar = Add(new CProgressUI(), RECT{0, 0, 200, 12}, L"bar");
    bar->SetForeImage(L"ramp.png");
    bar->SetMinValue(INT_MIN);
    bar->SetMaxValue(INT_MAX);
    bar->SetValue(0);
    auto surface = PaintAll();
    EXPECT_EQ(100, CoveredRight(*surface, 0, 200, 6));
    bar->SetValue(INT_MAX);
    surface = PaintAll();
    EXPECT_EQ(200, CoveredRight(*surface, 0, 200, 6));
    bar->SetValue(INT_MIN);
    surface = PaintAll();
    EXPECT_EQ(0, CoveredRight(*surface, 0, 200, 6));

    // Big values in a small range.
    bar->SetMinValue(INT_MAX - 10);
    bar->SetMaxValue(INT_MAX);
    bar->SetValue(INT_MAX - 5);
    surface = PaintAll();
    EXPECT_EQ(100, CoveredRight(*surface, 0, 200, 6));

    // A minimum at the top of the range leaves room for the maximum.
    bar->SetMinValue(INT_MAX);
    bar->SetMaxValue(INT_MAX);
    bar->SetValue(INT_MAX);
    surface = PaintAll();
    EXPECT_EQ(INT_MAX, bar->GetMaxValue());
    EXPECT_EQ(INT_MAX - 1, bar->GetMinValue());
    EXPECT_EQ(200, CoveredRight(*surface, 0, 200, 6));

    // Vertical at the extremes.
    bar->SetHorizontal(false);
    bar->SetMinValue(INT_MIN);
    bar->SetMaxValue(INT_MAX);
    bar->SetValue(INT_MIN);
    surface = PaintAll();
    EXPECT_EQ(0, CoveredRight(*surface, 0, 200, 6));
}

// ---- Slider -------------------------------------------------------------------------

TEST_F(WindowlessTest, SliderThumbFollowsTheValue) {
    CSliderUI* slider = Add(new CSliderUI(), RECT{20, 10, 130, 30}, L"s");
    slider->SetValue(50);
    RECT thumb = slider->GetThumbRect();
    EXPECT_EQ(70, thumb.left);
    EXPECT_EQ(80, thumb.right);
    EXPECT_EQ(15, thumb.top);
    EXPECT_EQ(25, thumb.bottom);
    slider->SetValue(100);
    EXPECT_EQ(120, slider->GetThumbRect().left);
    slider->SetValue(0);
    EXPECT_EQ(20, slider->GetThumbRect().left);

    // Vertical: from the bottom.
    CSliderUI* upright = Add(new CSliderUI(), RECT{200, 10, 220, 120}, L"v");
    upright->SetHorizontal(false);
    upright->SetValue(0);
    thumb = upright->GetThumbRect();
    EXPECT_EQ(205, thumb.left);
    EXPECT_EQ(110, thumb.top);
    upright->SetValue(100);
    EXPECT_EQ(10, upright->GetThumbRect().top);
    upright->SetValue(50);
    EXPECT_EQ(60, upright->GetThumbRect().top);
}

TEST_F(WindowlessTest, SliderGuardsDegenerateRangesAndTracks) {
    CSliderUI* slider = Add(new CSliderUI(), RECT{20, 10, 130, 30}, L"s");
    slider->SetMinValue(INT_MIN);
    slider->SetMaxValue(INT_MAX);
    slider->SetValue(INT_MAX);
    EXPECT_EQ(120, slider->GetThumbRect().left);
    slider->SetValue(0);
    EXPECT_EQ(70, slider->GetThumbRect().left);
    // Clicking the middle of the track with the widest range.
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{75, 20});
    EXPECT_NEAR(0.0, static_cast<double>(slider->GetValue()), 2.0 * (4294967295.0 / 100.0));
    EXPECT_EQ(static_cast<WPARAM>(slider->GetValue()), log_.entries.back().wParam);

    // A track as wide as coordinates go, with the widest range.
    slider->SetPos(RECT{-2000000000, 10, 2000000000, 30});
    slider->SetValue(INT_MAX);
    EXPECT_EQ(2000000000 - 10, slider->GetThumbRect().left);
    slider->SetValue(INT_MIN);
    EXPECT_EQ(-2000000000, slider->GetThumbRect().left);
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{5, 20});
    EXPECT_NEAR(0.0, static_cast<double>(slider->GetValue()), 10.0);
    slider->SetHorizontal(false);
    slider->SetPos(RECT{20, -2000000000, 40, 2000000000});
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{30, -5});
    EXPECT_NEAR(0.0, static_cast<double>(slider->GetValue()), 10.0);
    slider->SetHorizontal(true);
    slider->SetPos(RECT{20, 10, 130, 30});

    // Maximum at the minimum (before any paint): the thumb stays at the
    // start and the value where it is.
    slider->SetMinValue(5);
    slider->SetMaxValue(5);
    slider->SetValue(5);
    EXPECT_EQ(20, slider->GetThumbRect().left);
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{100, 20});
    EXPECT_EQ(5, slider->GetValue());

    // A track no longer than the thumb.
    slider->SetMinValue(0);
    slider->SetMaxValue(100);
    slider->SetThumbSize(SIZE{200, 10});
    slider->SetValue(30);
    EXPECT_EQ(20, slider->GetThumbRect().left);
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{100, 20});
    EXPECT_EQ(30, slider->GetValue());
}

TEST_F(WindowlessTest, SliderValueFromPointsWheelAndState) {
    CSliderUI* slider = Add(new CSliderUI(), RECT{20, 10, 130, 30}, L"s");
    EXPECT_EQ(static_cast<UINT>(SkinUI::UIFLAG_SETCURSOR), slider->GetControlFlags());
    slider->SetValue(50);
    // A release left of the half thumb: the minimum, and the notice says so.
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{24, 20});
    EXPECT_EQ(0, slider->GetValue());
    ASSERT_EQ(1, log_.Count(L"valuechanged", slider));
    EXPECT_EQ(0u, log_.entries.back().wParam);
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{126, 20});
    EXPECT_EQ(100, slider->GetValue());
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{75, 20});
    EXPECT_EQ(50, slider->GetValue());

    // Pressing the thumb captures it; moves then follow without notices.
    const RECT thumb = slider->GetThumbRect();
    Fire(slider, SkinUI::UIEVENT_BUTTONDOWN, CenterPoint(thumb));
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_CAPTURED), slider->GetButtonState());
    Fire(slider, SkinUI::UIEVENT_MOUSEMOVE, POINT{45, 20});
    EXPECT_EQ(20, slider->GetValue());
    EXPECT_EQ(3, log_.Count(L"valuechanged"));
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{45, 20});
    EXPECT_EQ(0u, slider->GetButtonState());
    EXPECT_EQ(4, log_.Count(L"valuechanged"));
    // Moves without capture change nothing.
    Fire(slider, SkinUI::UIEVENT_MOUSEMOVE, POINT{100, 20});
    EXPECT_EQ(20, slider->GetValue());
    // A press on the track (not the thumb) doesn't capture.
    Fire(slider, SkinUI::UIEVENT_BUTTONDOWN, POINT{120, 20});
    EXPECT_EQ(0u, slider->GetButtonState());

    // The wheel: 0 adds the step, 1 subtracts it; clamped, and the notice
    // carries the clamped value.
    slider->SetChangeStep(30);
    Fire(slider, SkinUI::UIEVENT_SCROLLWHEEL, POINT{75, 20}, 0);
    EXPECT_EQ(50, slider->GetValue());
    EXPECT_EQ(50u, log_.entries.back().wParam);
    Fire(slider, SkinUI::UIEVENT_SCROLLWHEEL, POINT{75, 20}, 0);
    Fire(slider, SkinUI::UIEVENT_SCROLLWHEEL, POINT{75, 20}, 0);
    EXPECT_EQ(100, slider->GetValue());
    EXPECT_EQ(100u, log_.entries.back().wParam);
    for (int i = 0; i < 5; ++i) {
        Fire(slider, SkinUI::UIEVENT_SCROLLWHEEL, POINT{75, 20}, 1);
    }
    EXPECT_EQ(0, slider->GetValue());
    EXPECT_EQ(0u, log_.entries.back().wParam);
    // A step that would overflow.
    slider->SetMaxValue(INT_MAX);
    slider->SetValue(INT_MAX - 1);
    slider->SetChangeStep(INT_MAX);
    Fire(slider, SkinUI::UIEVENT_SCROLLWHEEL, POINT{75, 20}, 0);
    EXPECT_EQ(INT_MAX, slider->GetValue());
    slider->SetMaxValue(100);
    slider->SetValue(50);
    slider->SetChangeStep(1);

    // Hot and captured bits; disabling clears them.
    Fire(slider, SkinUI::UIEVENT_MOUSEENTER, POINT{75, 20});
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_HOT), slider->GetButtonState());
    Fire(slider, SkinUI::UIEVENT_BUTTONDOWN, CenterPoint(slider->GetThumbRect()));
    slider->SetEnabled(false);
    EXPECT_EQ(0u, slider->GetButtonState());
    EXPECT_EQ(0u, slider->GetControlFlags());

    // Disabled: the value stays and nothing is sent.
    log_.Clear();
    Fire(slider, SkinUI::UIEVENT_BUTTONDOWN, CenterPoint(slider->GetThumbRect()));
    Fire(slider, SkinUI::UIEVENT_MOUSEMOVE, POINT{30, 20});
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{30, 20});
    Fire(slider, SkinUI::UIEVENT_SCROLLWHEEL, POINT{30, 20}, 0);
    Fire(slider, SkinUI::UIEVENT_MOUSEENTER, POINT{30, 20});
    EXPECT_EQ(50, slider->GetValue());
    EXPECT_EQ(0, log_.Count(L"valuechanged"));
    EXPECT_EQ(0u, slider->GetButtonState());
}

TEST_F(WindowlessTest, VerticalSliderValueFromPoints) {
    CSliderUI* slider = Add(new CSliderUI(), RECT{20, 10, 40, 120}, L"v");
    slider->SetHorizontal(false);
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{30, 118});
    EXPECT_EQ(0, slider->GetValue());
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{30, 12});
    EXPECT_EQ(100, slider->GetValue());
    Fire(slider, SkinUI::UIEVENT_BUTTONUP, POINT{30, 65});
    EXPECT_EQ(50, slider->GetValue());
}
