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
#include "tests/ui/support/ColourCount.h"

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
using TestSupport::CountDominant;
using TestSupport::DibSurface;

namespace {

// A windowless manager with a tree: controls draw into memory surfaces and
// send their notices to the log.
class WindowlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseStateImageArchive();
        root_ = new HostBox();
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
    HostBox* root_ = nullptr;
    NoticeLog log_;
};

} // namespace

// ---- Names ----------------------------------------------------------------------------

TEST(ControlNamesTest, ClassesAndInterfaces) {
    CLabelUI label;
    CTextUI text;
    CButtonUI button;
    COptionUI option;
    CCheckBoxUI check;
    CProgressUI progress;
    CSliderUI slider;
    EXPECT_STREQ(L"LabelUI", label.GetClass());
    EXPECT_STREQ(L"TextUI", text.GetClass());
    EXPECT_STREQ(L"ButtonUI", button.GetClass());
    EXPECT_STREQ(L"OptionUI", option.GetClass());
    EXPECT_STREQ(L"CheckBoxUI", check.GetClass());
    EXPECT_STREQ(L"ProgressUI", progress.GetClass());
    EXPECT_STREQ(L"SliderUI", slider.GetClass());

    EXPECT_EQ(&label, label.QueryInterfaceByName(L"Label"));
    EXPECT_EQ(&label, label.QueryInterfaceByName(L"Control"));
    EXPECT_EQ(nullptr, label.QueryInterfaceByName(L"Button"));
    EXPECT_EQ(&text, text.QueryInterfaceByName(L"Text"));
    EXPECT_EQ(&text, text.QueryInterfaceByName(L"Label"));
    EXPECT_EQ(&button, button.QueryInterfaceByName(L"Button"));
    EXPECT_EQ(&button, button.QueryInterfaceByName(L"Label"));
    EXPECT_EQ(nullptr, button.QueryInterfaceByName(L"Option"));
    EXPECT_EQ(&option, option.QueryInterfaceByName(L"Option"));
    EXPECT_EQ(&option, option.QueryInterfaceByName(L"Button"));
    EXPECT_EQ(static_cast<COptionUI*>(&check), check.QueryInterfaceByName(L"Option"));
    EXPECT_EQ(nullptr, check.QueryInterfaceByName(L"CheckBox"));
    EXPECT_EQ(&progress, progress.QueryInterfaceByName(L"Progress"));
    EXPECT_EQ(&progress, progress.QueryInterfaceByName(L"Label"));
    EXPECT_EQ(&slider, slider.QueryInterfaceByName(L"Slider"));
    EXPECT_EQ(static_cast<CProgressUI*>(&slider), slider.QueryInterfaceByName(L"Progress"));
    EXPECT_EQ(nullptr, slider.QueryInterfaceByName(L"Button"));
    EXPECT_EQ(nullptr, slider.QueryInterfaceByName(nullptr));
}

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

TEST(LabelAttributeTest, TextAttributes) {
    CLabelUI label;
    label.ApplyAttribute(L"endellipsis", L"true");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_END_ELLIPSIS), label.GetTextStyle());
    label.ApplyAttribute(L"endellipsis", L"TRUE");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), label.GetTextStyle());
    label.ApplyAttribute(L"font", L"3");
    EXPECT_EQ(3, label.GetFont());
    label.ApplyAttribute(L"textcolor", L"#FF112233");
    EXPECT_EQ(0xFF112233u, label.GetTextColor());
    label.ApplyAttribute(L"disabledtextcolor", L"80A0B0C0");
    EXPECT_EQ(0x80A0B0C0u, label.GetDisabledTextColor());
    label.ApplyAttribute(L"showhtml", L"true");
    EXPECT_TRUE(label.IsShowHtml());
    label.ApplyAttribute(L"text", L"base text");
    EXPECT_STREQ(L"base text", label.GetText());
    label.ApplyAttribute(L"name", L"lbl");
    EXPECT_STREQ(L"lbl", label.GetName());
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

TEST(LabelAttributeTest, EffectAttributesOnlyStore) {
    CLabelUI label;
    EXPECT_EQ(60, label.GetTransShadow());
    EXPECT_EQ(60, label.GetTransShadow1());
    EXPECT_EQ(168, label.GetTransText());
    EXPECT_EQ(168, label.GetTransText1());
    EXPECT_EQ(255, label.GetTransStroke());
    EXPECT_EQ(0xFFFFFFFFu, label.GetTextColor1());
    EXPECT_EQ(0xFF000000u, label.GetTextShadowColorA());
    EXPECT_EQ(0xFFFFFFFFu, label.GetTextShadowColorB());
    EXPECT_EQ(0u, label.GetStrokeColor());
    EXPECT_EQ(0, label.GetEffectTextAlignment());
    EXPECT_EQ(1, label.GetEffectLineAlignment());

    label.ApplyAttribute(L"enabledeffect", L"true");
    label.ApplyAttribute(L"enabledstroke", L"true");
    label.ApplyAttribute(L"enabledshadow", L"true");
    label.ApplyAttribute(L"transshadow", L"10");
    label.ApplyAttribute(L"transshadow1", L"11");
    label.ApplyAttribute(L"transtext", L"12");
    label.ApplyAttribute(L"transtext1", L"13");
    label.ApplyAttribute(L"transstroke", L"14");
    label.ApplyAttribute(L"gradientangle", L"30");
    label.ApplyAttribute(L"gradientlength", L"40");
    label.ApplyAttribute(L"textcolor1", L"#FF010203");
    label.ApplyAttribute(L"textshadowcolora", L"FF040506");
    label.ApplyAttribute(L"textshadowcolorb", L"#FF070809");
    label.ApplyAttribute(L"strokecolor", L"#FF0A0B0C");
    label.ApplyAttribute(L"rhaa", L"4");
    EXPECT_TRUE(label.GetEnabledEffect());
    EXPECT_TRUE(label.GetEnabledStroke());
    EXPECT_TRUE(label.GetEnabledShadow());
    EXPECT_EQ(10, label.GetTransShadow());
    EXPECT_EQ(11, label.GetTransShadow1());
    EXPECT_EQ(12, label.GetTransText());
    EXPECT_EQ(13, label.GetTransText1());
    EXPECT_EQ(14, label.GetTransStroke());
    EXPECT_EQ(30, label.GetGradientAngle());
    EXPECT_EQ(40, label.GetGradientLength());
    EXPECT_EQ(0xFF010203u, label.GetTextColor1());
    EXPECT_EQ(0xFF040506u, label.GetTextShadowColorA());
    EXPECT_EQ(0xFF070809u, label.GetTextShadowColorB());
    EXPECT_EQ(0xFF0A0B0Cu, label.GetStrokeColor());
    EXPECT_EQ(4, label.GetTextRenderingHintAntiAlias());
    label.ApplyAttribute(L"rhaa", L"7");
    EXPECT_EQ(0, label.GetTextRenderingHintAntiAlias());
    label.ApplyAttribute(L"rhaa", L"5");
    EXPECT_EQ(5, label.GetTextRenderingHintAntiAlias());
    label.ApplyAttribute(L"rhaa", L"-1");
    EXPECT_EQ(0, label.GetTextRenderingHintAntiAlias());
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

TEST(LabelAttributeTest, EffectTextIsSeparateFromTheBaseText) {
    CLabelUI label;
    label.SetText(L"base");
    label.SetEnabledEffect(true);
    EXPECT_STREQ(L"", label.GetText());
    label.SetText(L"effect");
    EXPECT_STREQ(L"effect", label.GetText());
    label.SetEnabledEffect(false);
    EXPECT_STREQ(L"base", label.GetText());
    label.SetText(nullptr);
    EXPECT_STREQ(L"", label.GetText());
}

TEST(LabelAttributeTest, DesiredSizeWithoutManagerIsTheFixedSize) {
    CLabelUI label;
    label.SetFixedWidth(80);
    EXPECT_EQ(80, label.MeasureDesiredSize(SIZE{500, 500}).cx);
    EXPECT_EQ(0, label.MeasureDesiredSize(SIZE{500, 500}).cy);
    CButtonUI button;
    EXPECT_EQ(0, button.MeasureDesiredSize(SIZE{500, 500}).cy);
    CTextUI text;
    text.SetText(L"words");
    EXPECT_EQ(0, text.MeasureDesiredSize(SIZE{500, 500}).cy);
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

TEST_F(WindowlessTest, LabelMarkupIsDrawnSingleLine) {
    CLabelUI* label = Add(new CLabelUI(), RECT{0, 0, 300, 100});
    label->SetShowHtml(true);
    label->SetTextStyle(DT_TOP);
    label->SetText(L"<c #FF00FF00>WWWW</c><n>second line WWWW");
    label->SetTextColor(0xFFFF0000);
    auto surface = PaintAll();
    EXPECT_GT(CountDominant(*surface, RECT{0, 0, 300, 30}, 0xFF00FF00), 5);
    // The line break is ignored: nothing is drawn on a second line.
    EXPECT_EQ(0, CountDominant(*surface, RECT{0, 30, 300, 100}, 0xFFFF0000));
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

TEST_F(WindowlessTest, EffectTextGradientRunsFromTheTopOfTheSurface) {
    pm_.AddFont(L"DejaVu Sans", 28, true, false, false);
    // The gradient's points are those of the surface, not of the text: a
    // label at the top with the length of its height shows both colours.
    CLabelUI* label = Add(new CLabelUI(), RECT{20, 0, 320, 60});
    label->SetFont(0);
    label->SetEnabledEffect(true);
    label->SetText(L"WWW");
    label->SetTextColor(0xFFFF0000);
    label->SetTextColor1(0xFF0000FF);
    label->SetTransText(255);
    label->SetTransText1(255);
    label->SetGradientLength(60);
    auto surface = PaintAll();
    int reddish = 0;
    int bluish = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 20; x < 320; ++x) {
            const uint32_t p = surface->Pixel(x, y) & 0xFFFFFF;
            const int r = (p >> 16) & 0xFF;
            const int g = (p >> 8) & 0xFF;
            const int b = p & 0xFF;
            if (g > 100) {
                continue; // background and its blends
            }
            reddish += (r > b + 60) ? 1 : 0;
            bluish += (b > r + 60) ? 1 : 0;
        }
    }
    EXPECT_GT(reddish, 5);
    EXPECT_GT(bluish, 5);
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
    EXPECT_EQ(static_cast<UINT>(DT_WORDBREAK), text->GetTextStyle());
    EXPECT_EQ(2, text->GetTextPadding().left);
    EXPECT_EQ(2, text->GetTextPadding().right);
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

TEST_F(WindowlessTest, TextWrapsWordsAndDrawsDisabledColour) {
    pm_.AddFont(L"DejaVu Sans", 20, true, false, false);
    CTextUI* text = Add(new CTextUI(), RECT{0, 0, 120, 200});
    text->SetFont(0);
    text->SetText(L"WWW WWW WWW WWW WWW WWW");
    text->SetTextColor(0xFFFF0000);
    text->SetDisabledTextColor(0xFF0000FF);
    auto surface = PaintAll();
    EXPECT_GT(CountNear(*surface, RECT{0, 0, 120, 20}, 0xFFFF0000), 5);
    EXPECT_GT(CountNear(*surface, RECT{0, 30, 120, 200}, 0xFFFF0000), 5);
    text->SetEnabled(false);
    surface = PaintAll();
    EXPECT_EQ(0, CountNear(*surface, RECT{0, 0, 120, 200}, 0xFFFF0000));
    EXPECT_GT(CountNear(*surface, RECT{0, 0, 120, 200}, 0xFF0000FF), 10);
}

namespace {

// Records the events that children hand up.
class RecordingBox : public HostBox {
public:
    void HandleEvent(TInputEventUI& event) override { types.push_back(event.Type); }
    std::vector<int> types;
};

} // namespace

TEST(MouseDisabledTest, MouseEventsGoToTheParent) {
    CWindowManagerUI pm;
    auto* box = new RecordingBox();
    CButtonUI* button = box->Add(new CButtonUI(), RECT{0, 0, 50, 20});
    CTextUI* text = box->Add(new CTextUI(), RECT{0, 30, 50, 50});
    CSliderUI* slider = box->Add(new CSliderUI(), RECT{0, 60, 50, 70});
    ASSERT_TRUE(pm.AttachRootControl(box));
    box->SetPos(RECT{0, 0, 100, 100});
    for (CControlUI* c : std::vector<CControlUI*>{button, text, slider}) {
        c->SetMouseEnabled(false);
        Fire(c, SkinUI::UIEVENT_BUTTONDOWN, POINT{5, 5});
        Fire(c, SkinUI::UIEVENT_SCROLLWHEEL, POINT{5, 5});
        Fire(c, SkinUI::UIEVENT_KEYDOWN, POINT{5, 5}, 0, VK_SPACE);
    }
    // Keys are not mouse events: the button takes the blank, the text and
    // the slider pass it on as any control does.
    EXPECT_EQ((std::vector<int>{13, 18, 13, 18, 3, 13, 18, 3}), box->types);
    EXPECT_EQ(0u, button->GetButtonState() & SkinUI::UISTATE_PUSHED);
}

// ---- Button -------------------------------------------------------------------------

TEST(ButtonAttributeTest, AttributesAndFlags) {
    CButtonUI button;
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), button.GetTextStyle());
    button.ApplyAttribute(L"normalimage", L"normal.png");
    button.ApplyAttribute(L"hotimage", L"hot.png");
    button.ApplyAttribute(L"pushedimage", L"pushed.png");
    button.ApplyAttribute(L"focusedimage", L"focused.png");
    button.ApplyAttribute(L"disabledimage", L"disabled.png");
    button.ApplyAttribute(L"foreimage", L"fore.png");
    button.ApplyAttribute(L"hotforeimage", L"hotfore.png");
    button.ApplyAttribute(L"pushedforeimage", L"ignored.png");
    button.ApplyAttribute(L"hotbkcolor", L"#FF010101");
    button.ApplyAttribute(L"hottextcolor", L"FF020202");
    button.ApplyAttribute(L"pushedtextcolor", L"#FF030303");
    button.ApplyAttribute(L"focusedtextcolor", L"#FF040404");
    button.ApplyAttribute(L"textcolor", L"#FF050505");
    EXPECT_STREQ(L"normal.png", button.GetNormalImage());
    EXPECT_STREQ(L"hot.png", button.GetHotImage());
    EXPECT_STREQ(L"pushed.png", button.GetPushedImage());
    EXPECT_STREQ(L"focused.png", button.GetFocusedImage());
    EXPECT_STREQ(L"disabled.png", button.GetDisabledImage());
    EXPECT_STREQ(L"fore.png", button.GetForeImage());
    EXPECT_STREQ(L"hotfore.png", button.GetHotForeImage());
    EXPECT_STREQ(L"", button.GetPushedForeImage());
    EXPECT_EQ(0xFF010101u, button.GetHotBkColor());
    EXPECT_EQ(0xFF020202u, button.GetHotTextColor());
    EXPECT_EQ(0xFF030303u, button.GetPushedTextColor());
    EXPECT_EQ(0xFF040404u, button.GetFocusedTextColor());
    EXPECT_EQ(0xFF050505u, button.GetTextColor());

    EXPECT_EQ(static_cast<UINT>(SkinUI::UIFLAG_TABSTOP | SkinUI::UIFLAG_SETCURSOR),
              button.GetControlFlags());
    button.SetKeyboardEnabled(false);
    EXPECT_EQ(static_cast<UINT>(SkinUI::UIFLAG_SETCURSOR), button.GetControlFlags());
    button.SetKeyboardEnabled(true);
    button.SetEnabled(false);
    EXPECT_EQ(static_cast<UINT>(SkinUI::UIFLAG_TABSTOP), button.GetControlFlags());
}

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

TEST_F(WindowlessTest, ButtonKeysActivate) {
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 110, 40}, L"btn");
    Fire(button, SkinUI::UIEVENT_KEYDOWN, POINT{}, 0, VK_SPACE);
    Fire(button, SkinUI::UIEVENT_KEYDOWN, POINT{}, 0, VK_RETURN);
    Fire(button, SkinUI::UIEVENT_KEYDOWN, POINT{}, 0, L'A');
    EXPECT_EQ(2, log_.Count(L"click", button));
    button->SetKeyboardEnabled(false);
    Fire(button, SkinUI::UIEVENT_KEYDOWN, POINT{}, 0, VK_SPACE);
    EXPECT_EQ(2, log_.Count(L"click", button));
    button->SetKeyboardEnabled(true);
    button->SetVisible(false);
    EXPECT_FALSE(button->Activate());
    EXPECT_EQ(2, log_.Count(L"click", button));
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

TEST_F(WindowlessTest, ButtonContextMenuOnlyWithMenu) {
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 110, 40}, L"btn");
    Fire(button, SkinUI::UIEVENT_CONTEXTMENU, POINT{50, 20}, 7);
    EXPECT_EQ(0, log_.Count(L"menu"));
    button->ApplyAttribute(L"menu", L"true");
    Fire(button, SkinUI::UIEVENT_CONTEXTMENU, POINT{50, 20}, 7);
    ASSERT_EQ(1, log_.Count(L"menu", button));
    EXPECT_EQ(7u, log_.entries.back().wParam);
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

TEST_F(WindowlessTest, HotButtonFallsBackToColourThenNormalImage) {
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 110, 40}, L"btn");
    button->SetNormalImage(L"normal.png");
    button->SetForeImage(L"file='fore.png' dest='0,0,6,6'");
    button->SetHotBkColor(0xFF123456);
    Fire(button, SkinUI::UIEVENT_MOUSEENTER, POINT{60, 30});
    auto surface = PaintAll();
    EXPECT_TRUE(Near(0xFF123456, surface->Pixel(60, 30)));
    EXPECT_TRUE(Near(0xFF123456, surface->Pixel(12, 12))); // no fore image
    button->SetHotBkColor(0);
    surface = PaintAll();
    EXPECT_TRUE(Near(kNormal, surface->Pixel(60, 30)));
    EXPECT_TRUE(Near(kFore, surface->Pixel(12, 12)));
}

TEST_F(WindowlessTest, MissingImagesAreEmptiedAndNotRetried) {
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 110, 40}, L"btn");
    button->SetNormalImage(L"normal.png");
    button->SetHotImage(L"no-such.png");
    Fire(button, SkinUI::UIEVENT_MOUSEENTER, POINT{60, 30});
    auto surface = PaintAll();
    EXPECT_STREQ(L"", button->GetHotImage());
    EXPECT_TRUE(Near(kNormal, surface->Pixel(60, 30)));
}

TEST_F(WindowlessTest, ButtonTextColourFollowsState) {
    pm_.AddFont(L"DejaVu Sans", 22, true, false, false);
    CButtonUI* button = Add(new CButtonUI(), RECT{10, 10, 210, 60}, L"btn");
    button->SetFont(0);
    button->SetText(L"WWWW");
    button->SetTextColor(0xFF000000);
    button->SetHotTextColor(0xFFFF0000);
    button->SetPushedTextColor(0xFF00C000);
    button->SetFocusedTextColor(0xFF0000FF);
    const RECT area = {10, 10, 210, 60};
    EXPECT_GT(CountNear(*PaintAll(), area, 0xFF000000), 20);
    Fire(button, SkinUI::UIEVENT_MOUSEENTER, POINT{60, 30});
    EXPECT_GT(CountNear(*PaintAll(), area, 0xFFFF0000), 20);
    Fire(button, SkinUI::UIEVENT_BUTTONDOWN, POINT{60, 30});
    auto surface = PaintAll();
    EXPECT_GT(CountNear(*surface, area, 0xFF00C000), 20);
    EXPECT_EQ(0, CountNear(*surface, area, 0xFFFF0000));
    Fire(button, SkinUI::UIEVENT_BUTTONUP, POINT{500, 500});
    Fire(button, SkinUI::UIEVENT_MOUSELEAVE, POINT{500, 500});
    pm_.SetFocus(button);
    EXPECT_GT(CountNear(*PaintAll(), area, 0xFF0000FF), 20);
}

// ---- Options ------------------------------------------------------------------------

TEST(OptionAttributeTest, AttributesAndCheckBox) {
    COptionUI option;
    option.ApplyAttribute(L"group", L"g");
    option.ApplyAttribute(L"selected", L"true");
    option.ApplyAttribute(L"selectedimage", L"selected.png");
    option.ApplyAttribute(L"selectedhotimage", L"selhot.png");
    option.ApplyAttribute(L"foreimage", L"fore.png");
    option.ApplyAttribute(L"selectedbkcolor", L"#FF0000AA");
    option.ApplyAttribute(L"selectedtextcolor", L"FF0000BB");
    option.ApplyAttribute(L"normalimage", L"normal.png");
    EXPECT_STREQ(L"g", option.GetGroup());
    EXPECT_TRUE(option.IsSelected());
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_SELECTED), option.GetButtonState());
    EXPECT_STREQ(L"selected.png", option.GetSelectedImage());
    EXPECT_STREQ(L"selhot.png", option.GetSelectedHotImage());
    EXPECT_STREQ(L"fore.png", option.GetForeImage());
    // The option's fore image is its own, not the button's.
    EXPECT_STREQ(L"", static_cast<CButtonUI&>(option).GetForeImage());
    EXPECT_EQ(0xFF0000AAu, option.GetSelectedBkColor());
    EXPECT_EQ(0xFF0000BBu, option.GetSelectedTextColor());
    EXPECT_STREQ(L"normal.png", option.GetNormalImage());
    option.ApplyAttribute(L"selected", L"yes");
    EXPECT_FALSE(option.IsSelected());

    CCheckBoxUI check;
    check.ApplyAttribute(L"selected", L"true");
    EXPECT_STREQ(L"CheckBoxUI", check.GetClass());
    EXPECT_TRUE(check.GetCheck());
    check.SetCheck(false);
    EXPECT_FALSE(check.GetCheck());
    EXPECT_FALSE(check.IsSelected());
}

TEST(OptionAttributeTest, WithoutManagerNothingIsSentAndNothingBreaks) {
    COptionUI option;
    option.SetGroup(L"g");
    option.Select(true);
    EXPECT_TRUE(option.IsSelected());
    EXPECT_TRUE(option.Activate());
    EXPECT_TRUE(option.IsSelected());
    option.SetGroup(nullptr);
    EXPECT_TRUE(option.Activate());
    EXPECT_FALSE(option.IsSelected());
    option.SetGroup(L"h");
    option.SetGroup(L"");
    EXPECT_STREQ(L"", option.GetGroup());
}

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

TEST_F(WindowlessTest, UngroupedOptionToggles) {
    COptionUI* c = Add(new COptionUI(), RECT{0, 0, 50, 20}, L"c");
    EXPECT_TRUE(c->Activate());
    EXPECT_TRUE(c->IsSelected());
    EXPECT_TRUE(c->Activate());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"click@c", L"selectchanged@c", L"click@c", L"selectchanged@c"}),
        log_.Trail({L"click", L"selectchanged"}));
    // Selecting to the same state sends nothing.
    c->Select(false);
    EXPECT_EQ(4u, log_.entries.size());
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

TEST_F(WindowlessTest, DisabledSelectedOptionStaysSelected) {
    COptionUI* a = Add(new COptionUI(), RECT{10, 10, 210, 60}, L"a");
    a->SetGroup(L"g");
    a->SetSelectedImage(L"selected.png");
    a->SetNormalImage(L"normal.png");
    a->SetDisabledImage(L"disabled.png");
    a->Select(true);
    a->SetEnabled(false);
    EXPECT_TRUE(a->IsSelected());
    auto surface = PaintAll();
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_SELECTED | SkinUI::UISTATE_DISABLED),
              a->GetButtonState());
    EXPECT_TRUE(Near(kSelected, surface->Pixel(100, 30)));
    EXPECT_FALSE(a->Activate());
    EXPECT_TRUE(a->IsSelected());
    a->SetEnabled(true);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(static_cast<UINT>(SkinUI::UISTATE_SELECTED), a->GetButtonState());
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
    // Disabled and selected: the selected image and the disabled colour.
    a->SetEnabled(false);
    surface = PaintAll();
    EXPECT_TRUE(Near(kSelected, surface->Pixel(20, 55)));
    EXPECT_EQ(0, CountNear(*surface, area, 0xFF0000FF));
    EXPECT_GT(CountNear(*surface, area, 0xFFFFFFFF, 10), 20);
    a->SetEnabled(true);

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

TEST(ProgressAttributeTest, DefaultsAndAttributes) {
    CProgressUI progress;
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_SINGLELINE), progress.GetTextStyle());
    EXPECT_EQ(12, progress.GetFixedHeight());
    EXPECT_TRUE(progress.IsHorizontal());
    EXPECT_TRUE(progress.IsStretchForeImage());
    EXPECT_EQ(0, progress.GetMinValue());
    EXPECT_EQ(100, progress.GetMaxValue());
    EXPECT_EQ(0, progress.GetValue());
    progress.ApplyAttribute(L"foreimage", L"ramp.png");
    progress.ApplyAttribute(L"hor", L"false");
    progress.ApplyAttribute(L"min", L"-5");
    progress.ApplyAttribute(L"max", L"2147483647");
    progress.ApplyAttribute(L"value", L"99999999999");
    progress.ApplyAttribute(L"isstretchfore", L"false");
    progress.ApplyAttribute(L"text", L"label text");
    EXPECT_STREQ(L"ramp.png", progress.GetForeImage());
    EXPECT_FALSE(progress.IsHorizontal());
    EXPECT_FALSE(progress.IsStretchForeImage());
    EXPECT_EQ(-5, progress.GetMinValue());
    EXPECT_EQ(INT_MAX, progress.GetMaxValue());
    EXPECT_EQ(INT_MAX, progress.GetValue());
    EXPECT_STREQ(L"label text", progress.GetText());
    // Setters store without clamping.
    progress.SetValue(-100);
    EXPECT_EQ(-100, progress.GetValue());

    CSliderUI slider;
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_SINGLELINE), slider.GetTextStyle());
    EXPECT_EQ(10, slider.GetThumbSize().cx);
    EXPECT_EQ(1, slider.GetChangeStep());
    slider.ApplyAttribute(L"thumbimage", L"thumb.png");
    slider.ApplyAttribute(L"thumbhotimage", L"thumbhot.png");
    slider.ApplyAttribute(L"thumbpushedimage", L"thumbpushed.png");
    slider.ApplyAttribute(L"step", L"5");
    slider.ApplyAttribute(L"max", L"50");
    EXPECT_STREQ(L"thumb.png", slider.GetThumbImage());
    EXPECT_STREQ(L"thumbhot.png", slider.GetThumbHotImage());
    EXPECT_STREQ(L"thumbpushed.png", slider.GetThumbPushedImage());
    EXPECT_EQ(5, slider.GetChangeStep());
    EXPECT_EQ(50, slider.GetMaxValue());
}

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

TEST_F(WindowlessTest, ProgressWithMissingImageEmptiesIt) {
    CProgressUI* bar = Add(new CProgressUI(), RECT{0, 0, 200, 12}, L"bar");
    bar->SetForeImage(L"gone.png");
    bar->SetValue(50);
    PaintAll();
    EXPECT_STREQ(L"", bar->GetForeImage());
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

TEST_F(WindowlessTest, SliderPaintsThumbForState) {
    CSliderUI* slider = Add(new CSliderUI(), RECT{20, 10, 130, 30}, L"s");
    slider->SetThumbImage(L"thumb.png");
    slider->SetThumbHotImage(L"thumbhot.png");
    slider->SetThumbPushedImage(L"thumbpushed.png");
    slider->SetForeImage(L"ramp.png");
    slider->SetValue(50);
    auto surface = PaintAll();
    EXPECT_TRUE(Near(kThumb, surface->Pixel(75, 20)));
    EXPECT_EQ(0x4080u, surface->Pixel(60, 20) & 0xFFFF); // the covered part left of it
    Fire(slider, SkinUI::UIEVENT_MOUSEENTER, POINT{75, 20});
    EXPECT_TRUE(Near(kThumbHot, PaintAll()->Pixel(75, 20)));
    Fire(slider, SkinUI::UIEVENT_BUTTONDOWN, POINT{75, 20});
    EXPECT_TRUE(Near(kThumbPushed, PaintAll()->Pixel(75, 20)));
    // A pushed image that can't be had: emptied, the thumb image instead.
    slider->SetThumbPushedImage(L"gone.png");
    EXPECT_TRUE(Near(kThumb, PaintAll()->Pixel(75, 20)));
    EXPECT_STREQ(L"", slider->GetThumbPushedImage());
}

TEST(NoManagerTest, PaintingWithoutManagerKeepsImagesAndDrawsNothing) {
    UseStateImageArchive();
    DibSurface surface(200, 100, 0xFFFFFFFFu);
    CButtonUI button;
    button.SetNormalImage(L"normal.png");
    button.SetForeImage(L"fore.png");
    button.SetText(L"text");
    button.SetPos(RECT{0, 0, 100, 30});
    button.Paint(surface.DC(), RECT{0, 0, 200, 100});
    COptionUI option;
    option.SetSelectedImage(L"selected.png");
    option.SetForeImage(L"fore.png");
    option.Select(true);
    option.SetPos(RECT{0, 30, 100, 60});
    option.Paint(surface.DC(), RECT{0, 0, 200, 100});
    CSliderUI slider;
    slider.SetForeImage(L"ramp.png");
    slider.SetThumbImage(L"thumb.png");
    slider.SetValue(50);
    slider.SetPos(RECT{0, 60, 100, 80});
    slider.Paint(surface.DC(), RECT{0, 0, 200, 100});
    CLabelUI label;
    label.SetText(L"label");
    label.SetPos(RECT{100, 0, 200, 30});
    label.Paint(surface.DC(), RECT{0, 0, 200, 100});
    CTextUI text;
    text.SetText(L"text");
    text.SetPos(RECT{100, 30, 200, 60});
    text.Paint(surface.DC(), RECT{0, 0, 200, 100});

    EXPECT_STREQ(L"normal.png", button.GetNormalImage());
    EXPECT_STREQ(L"fore.png", button.GetForeImage());
    EXPECT_STREQ(L"selected.png", option.GetSelectedImage());
    EXPECT_STREQ(L"fore.png", option.GetForeImage());
    EXPECT_STREQ(L"ramp.png", slider.GetForeImage());
    EXPECT_STREQ(L"thumb.png", slider.GetThumbImage());
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(0xFFFFFFu, surface.Rgb(x, y)) << x << "," << y;
        }
    }
}
