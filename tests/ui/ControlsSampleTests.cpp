#include <windows.h>

#include "ui/controls/ButtonUI.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TextUI.h"

#include "tests/support/FileUtil.h"
#include "tests/ui/ControlsDesktop.h"

#include <gtest/gtest.h>

#include <climits>

using namespace ControlsTest;
using SkinUI::CButtonUI;
using SkinUI::CCheckBoxUI;
using SkinUI::CLabelUI;
using SkinUI::COptionUI;
using SkinUI::CProgressUI;
using SkinUI::CSliderUI;
using SkinUI::CTextUI;

namespace {

// Fonts of the sample: 0 text, 1 bold text, 2 the title.
void AddSampleFonts(CWindowManagerUI& pm) {
    pm.RemoveAllFonts();
    pm.AddFont(L"DejaVu Sans", 13, false, false, false);
    pm.AddFont(L"DejaVu Sans", 13, true, false, false);
    pm.AddFont(L"DejaVu Sans", 30, true, false, false);
}

CLabelUI* Caption(HostBox* root, const wchar_t* text, RECT place) {
    CLabelUI* label = root->Add(new CLabelUI(), place);
    label->SetFont(1);
    label->SetText(text);
    label->SetTextColor(0xFF303030);
    return label;
}

CButtonUI* SampleButton(HostBox* root, const wchar_t* text, RECT place) {
    CButtonUI* button = root->Add(new CButtonUI(), place);
    button->SetFont(0);
    button->SetText(text);
    button->SetTextColor(0xFFFFFFFF);
    button->SetDisabledTextColor(0xFFA0A0A0);
    button->SetHotTextColor(0xFF000000);
    button->ApplyAttribute(L"normalimage", L"normal.png");
    button->ApplyAttribute(L"hotimage", L"hot.png");
    button->ApplyAttribute(L"pushedimage", L"pushed.png");
    button->ApplyAttribute(L"focusedimage", L"focused.png");
    button->ApplyAttribute(L"disabledimage", L"disabled.png");
    button->ApplyAttribute(L"foreimage", L"file='fore.png' dest='2,2,8,8'");
    return button;
}

template <typename T> T* SampleOption(HostBox* root, T* option, const wchar_t* text, RECT place) {
    root->Add(option, place);
    option->SetFont(0);
    option->SetText(text);
    option->SetTextColor(0xFF202020);
    option->SetDisabledTextColor(0xFFA0A0A0);
    option->SetTextStyle(DT_SINGLELINE | DT_VCENTER);
    option->SetTextPadding(RECT{22, 0, 0, 0});
    option->ApplyAttribute(L"normalimage", L"file='normal.png' dest='0,5,16,21'");
    option->ApplyAttribute(L"hotimage", L"file='hot.png' dest='0,5,16,21'");
    option->ApplyAttribute(L"disabledimage", L"file='disabled.png' dest='0,5,16,21'");
    option->ApplyAttribute(L"selectedimage", L"file='selected.png' dest='0,5,16,21'");
    option->ApplyAttribute(L"selectedhotimage", L"file='selhot.png' dest='0,5,16,21'");
    return option;
}

CProgressUI* SampleProgress(HostBox* root, RECT place, int min, int max, int value) {
    CProgressUI* bar = root->Add(new CProgressUI(), place);
    bar->SetBkColor(0xFFD0D0D0);
    bar->SetForeImage(L"ramp.png");
    bar->SetMinValue(min);
    bar->SetMaxValue(max);
    bar->SetValue(value);
    return bar;
}

CSliderUI* SampleSlider(HostBox* root, RECT place, int value) {
    CSliderUI* slider = root->Add(new CSliderUI(), place);
    slider->SetBkColor(0xFFD0D0D0);
    slider->SetForeImage(L"ramp.png");
    slider->SetThumbSize(SIZE{10, place.bottom - place.top});
    slider->SetThumbImage(L"thumb.png");
    slider->SetThumbHotImage(L"thumbhot.png");
    slider->SetThumbPushedImage(L"thumbpushed.png");
    slider->SetValue(value);
    return slider;
}

} // namespace

// One window with every control of the family in several states, saved as
// controls_sample.png in the working folder for a person to look at.
TEST(ControlsSampleTest, EveryControlInSeveralStates) {
    HostWnd& host = Host();
    CWindowManagerUI& pm = host.pm;
    AddSampleFonts(pm);
    auto* root = new HostBox();

    CLabelUI* title = root->Add(new CLabelUI(), RECT{16, 8, 624, 52});
    title->SetFont(2);
    title->SetEnabledEffect(true);
    title->SetText(L"Controls sample");
    title->SetTextColor(0xFFFF6000);
    title->SetTextColor1(0xFF8000C0);
    title->SetTransText(255);
    title->SetTransText1(255);
    title->SetGradientLength(52);
    title->SetEnabledShadow(true);
    title->SetTextShadowColorA(0xFF000000);
    title->SetTransShadow(120);
    title->SetTransShadow1(120);
    title->SetShadowOffset(3, -135);
    title->SetEnabledStroke(true);
    title->SetStrokeColor(0xFFFFFFFF);
    title->SetTextRenderingHintAntiAlias(4);

    Caption(root, L"Labels and text", RECT{16, 56, 300, 74});
    CLabelUI* plain = root->Add(new CLabelUI(), RECT{16, 76, 300, 94});
    plain->SetFont(0);
    plain->SetText(L"A plain label, cut at its end with an ellipsis when too long");
    plain->ApplyAttribute(L"endellipsis", L"true");
    CLabelUI* markup = root->Add(new CLabelUI(), RECT{16, 96, 300, 114});
    markup->SetFont(0);
    markup->SetShowHtml(true);
    markup->SetText(L"Mark-up: <b>bold</b>, <c #FFC00000>red</c>, <u>underlined</u>");
    CLabelUI* disabled = root->Add(new CLabelUI(), RECT{16, 116, 300, 134});
    disabled->SetFont(0);
    disabled->SetText(L"A disabled label");
    disabled->SetEnabled(false);
    CTextUI* text = root->Add(new CTextUI(), RECT{16, 136, 300, 190});
    text->SetFont(0);
    text->SetShowHtml(true);
    text->SetText(L"Wrapped text with <a one>a link</a> and <a two>a hot link under the "
                  L"mouse</a> that breaks across lines.");

    Caption(root, L"Buttons", RECT{330, 56, 624, 74});
    SampleButton(root, L"normal", RECT{330, 78, 420, 106});
    CButtonUI* hot = SampleButton(root, L"hot", RECT{430, 78, 520, 106});
    CButtonUI* pushed = SampleButton(root, L"pushed", RECT{530, 78, 620, 106});
    CButtonUI* focused = SampleButton(root, L"focused", RECT{330, 114, 420, 142});
    CButtonUI* off = SampleButton(root, L"disabled", RECT{430, 114, 520, 142});
    off->SetEnabled(false);
    CButtonUI* hotColour = root->Add(new CButtonUI(), RECT{530, 114, 620, 142});
    hotColour->SetFont(0);
    hotColour->SetText(L"hot colour");
    hotColour->SetBkColor(0xFFB0B0B0);
    hotColour->SetHotBkColor(0xFF60A0FF);

    Caption(root, L"Options and check boxes", RECT{330, 150, 624, 168});
    SampleOption(root, new COptionUI(), L"option", RECT{330, 170, 470, 196})->SetGroup(L"g");
    COptionUI* chosen = SampleOption(root, new COptionUI(), L"selected", RECT{480, 170, 620, 196});
    chosen->SetGroup(L"g");
    chosen->Select(true);
    COptionUI* hotChosen =
        SampleOption(root, new COptionUI(), L"selected, hot", RECT{330, 198, 470, 224});
    hotChosen->Select(true);
    COptionUI* offChosen =
        SampleOption(root, new COptionUI(), L"selected, disabled", RECT{480, 198, 620, 224});
    offChosen->Select(true);
    offChosen->SetEnabled(false);
    SampleOption(root, new CCheckBoxUI(), L"check box", RECT{330, 226, 470, 252});
    SampleOption(root, new CCheckBoxUI(), L"checked", RECT{480, 226, 620, 252})->SetCheck(true);

    Caption(root, L"Progress bars", RECT{16, 200, 300, 218});
    SampleProgress(root, RECT{16, 222, 216, 236}, 0, 100, 0);
    SampleProgress(root, RECT{16, 242, 216, 256}, 0, 100, 35);
    SampleProgress(root, RECT{16, 262, 216, 276}, 0, 100, 100);
    SampleProgress(root, RECT{16, 282, 216, 296}, INT_MIN, INT_MAX, INT_MAX / 2);
    CProgressUI* unstretched = SampleProgress(root, RECT{16, 302, 216, 316}, 0, 100, 60);
    unstretched->SetStretchForeImage(false);
    unstretched->SetFont(0);
    unstretched->SetText(L"60 %");
    CProgressUI* upright = SampleProgress(root, RECT{240, 222, 254, 316}, 0, 100, 60);
    upright->SetHorizontal(false);

    Caption(root, L"Sliders", RECT{330, 262, 624, 280});
    SampleSlider(root, RECT{330, 284, 620, 300}, 30);
    CSliderUI* hotSlider = SampleSlider(root, RECT{330, 308, 620, 324}, 60);
    CSliderUI* dragged = SampleSlider(root, RECT{330, 332, 620, 348}, 85);
    CSliderUI* offSlider = SampleSlider(root, RECT{330, 356, 620, 372}, 45);
    offSlider->SetEnabled(false);
    CSliderUI* uprightSlider = SampleSlider(root, RECT{600, 380, 616, 470}, 70);
    uprightSlider->SetHorizontal(false);
    uprightSlider->SetThumbSize(SIZE{16, 10});

    NoticeLog log;
    pm.AddNotifyListener(&log);
    ASSERT_TRUE(pm.AttachRootControl(root));
    ::InvalidateRect(host, nullptr, FALSE);
    ::UpdateWindow(host);
    Pump();

    // States that the mouse alone can't show together come from events.
    Fire(hot, SkinUI::UIEVENT_MOUSEENTER, CenterPoint(hot->GetPos()));
    Fire(pushed, SkinUI::UIEVENT_BUTTONDOWN, CenterPoint(pushed->GetPos()));
    Fire(hotColour, SkinUI::UIEVENT_MOUSEENTER, CenterPoint(hotColour->GetPos()));
    Fire(hotChosen, SkinUI::UIEVENT_MOUSEENTER, CenterPoint(hotChosen->GetPos()));
    Fire(hotSlider, SkinUI::UIEVENT_MOUSEENTER, CenterPoint(hotSlider->GetPos()));
    Fire(dragged, SkinUI::UIEVENT_BUTTONDOWN, CenterPoint(dragged->GetThumbRect()));
    pm.SetFocus(focused);
    // The hot link is the one under the real mouse.
    ASSERT_TRUE(PumpUntil([&] { return text->GetLinkCount() >= 2; }));
    MoveTo(CenterPoint(text->GetLinkRect(1)));
    ASSERT_TRUE(PumpUntil([&] { return text->GetHotLink() == 1; }));

    auto surface = Capture(host);
    ASSERT_TRUE(TestSupport::WriteFileBytes(L"controls_sample.png",
                                            TestSupport::EncodePng(surface->Snapshot())));

    // A few of the states, as painted.
    EXPECT_TRUE(Near(kHot, surface->Pixel(475, 104)));
    EXPECT_TRUE(Near(kPushed, surface->Pixel(575, 104)));
    EXPECT_TRUE(Near(kFocused, surface->Pixel(375, 140)));
    EXPECT_TRUE(Near(kDisabled, surface->Pixel(475, 140)));
    EXPECT_TRUE(Near(kFore, surface->Pixel(334, 82)));
    EXPECT_TRUE(Near(0xFF60A0FF, surface->Pixel(535, 140)));
    EXPECT_TRUE(Near(kNormal, surface->Pixel(338, 183)));
    EXPECT_TRUE(Near(kSelected, surface->Pixel(488, 183)));
    EXPECT_TRUE(Near(kSelectedHot, surface->Pixel(338, 211)));
    EXPECT_TRUE(Near(kSelected, surface->Pixel(488, 211)));
    const POINT hotThumb = CenterPoint(hotSlider->GetThumbRect());
    EXPECT_TRUE(Near(kThumbHot, surface->Pixel(hotThumb.x, hotThumb.y)));
    const POINT pushedThumb = CenterPoint(dragged->GetThumbRect());
    EXPECT_TRUE(Near(kThumbPushed, surface->Pixel(pushedThumb.x, pushedThumb.y)));
    EXPECT_EQ(0x4080u, surface->Pixel(20, 249) & 0xFFFF);
    EXPECT_NE(0x4080u, surface->Pixel(100, 249) & 0xFFFF);

    pm.RemoveNotifyListener(&log);
    MoveScreen(5, 5);
    Pump();
}
