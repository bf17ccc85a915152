#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowWnd.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/ChildLayoutUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/RichEditUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/controls/TextUI.h"
#include "ui/controls/TileLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"

#include "tests/ui/LayoutTestTree.h"
#include "tests/ui/SkinBuildTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace SkinBuildTest;
using namespace SkinUI;

namespace {

// ---- A window for the window-level settings ----------------------------------------

class HostWnd : public CWindowWnd {
public:
    CWindowManagerUI pm;

    LPCWSTR GetWindowClassName() const override { return L"BuilderTestHost"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) {
            pm.Init(m_hWnd);
            return 0;
        }
        LRESULT result = 0;
        if (pm.HandleWindowMessage(message, wParam, lParam, result)) {
            return result;
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
};

struct HostDeleter {
    void operator()(HostWnd* host) const {
        if (host->GetHWND() != nullptr) {
            ::DestroyWindow(host->GetHWND());
        }
        delete host;
    }
};
using Host = std::unique_ptr<HostWnd, HostDeleter>;

Host MakeHost() {
    UseSkinArchive();
    Host host(new HostWnd());
    host->Create(nullptr, L"builder test", WS_POPUP, 0, 40, 40, 100, 100);
    return host;
}

SIZE WindowSize(HWND hwnd) {
    RECT rc = {};
    ::GetWindowRect(hwnd, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// Counts the live instances of a control made by the callback.
class Tracked : public CControlUI {
public:
    Tracked() { ++live; }
    ~Tracked() override { --live; }
    static int live;
};
int Tracked::live = 0;

class TrackingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCWSTR className) override {
        return std::wstring(className) == L"Tracked" ? new Tracked() : nullptr;
    }
};

// ---- Window settings ----------------------------------------------------------------

TEST(BuilderWindow, RootAttributesGoToTheWindowManager) {
    Host host = MakeHost();
    CWindowManagerUI& pm = host->pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        LR"(<Window size="320,240" sizebox="4,5,6,7" caption="0,0,0,110" roundcorner="4,4"
             mininfo="200,100" maxinfo="900,800" showdirty="true" alpha="200" bktrans="true"
             disabledfontcolor="#FF010203" defaultfontcolor="#FF040506" linkfontcolor="FF070809"
             linkhoverfontcolor="#FF0A0B0C" selectedcolor="#FF0D0E0F" unknown="1" Size="9,9">
             <Control name="c"/></Window>)",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(pm.GetInitSize().cx, 320);
    EXPECT_EQ(pm.GetInitSize().cy, 240);
    // No root was attached yet: the window took the size.
    EXPECT_EQ(WindowSize(host->GetHWND()).cx, 320);
    EXPECT_EQ(WindowSize(host->GetHWND()).cy, 240);
    EXPECT_EQ(RectText(pm.GetSizeBox()), L"4,5,6,7");
    EXPECT_EQ(RectText(pm.GetCaptionRect()), L"0,0,0,110");
    EXPECT_EQ(pm.GetRoundCorner().cx, 4);
    EXPECT_EQ(pm.GetRoundCorner().cy, 4);
    EXPECT_EQ(pm.GetMinInfo().cx, 200);
    EXPECT_EQ(pm.GetMinInfo().cy, 100);
    EXPECT_EQ(pm.GetMaxInfo().cx, 900);
    EXPECT_EQ(pm.GetMaxInfo().cy, 800);
    EXPECT_TRUE(pm.IsShowUpdateRect());
    EXPECT_EQ(pm.GetWindowOpacity(), 200);
    EXPECT_NE(::GetWindowLongPtrW(host->GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_TRUE(pm.IsBackgroundTransparent());
    EXPECT_EQ(pm.GetDefaultDisabledColor(), 0xFF010203u);
    EXPECT_EQ(pm.GetDefaultFontColor(), 0xFF040506u);
    EXPECT_EQ(pm.GetDefaultLinkFontColor(), 0xFF070809u);
    EXPECT_EQ(pm.GetDefaultLinkHoverFontColor(), 0xFF0A0B0Cu);
    EXPECT_EQ(pm.GetDefaultSelectedBkColor(), 0xFF0D0E0Fu);
    delete root;
}

// Size and default font are in place before the first control is made.
TEST(BuilderWindow, SettingsComeBeforeAnyControl) {
    Host host = MakeHost();
    struct Probe : IDialogBuilderCallback {
        CWindowManagerUI* pm = nullptr;
        int cx = -1;
        std::wstring face;
        CControlUI* CreateControl(LPCWSTR) override {
            cx = pm->GetInitSize().cx;
            face = pm->GetDefaultFontInfo()->sFontName.GetData();
            return new AppControl();
        }
    } probe;
    probe.pm = &host->pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(LR"(<Window size="250,150"><AppTag/>
        <Font name="DejaVu Serif" size="17" default="true"/></Window>)",
                                      nullptr, &probe, &host->pm);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(probe.cx, 250);
    EXPECT_EQ(probe.face, L"DejaVu Serif");
    EXPECT_EQ(host->pm.GetDefaultFontInfo()->iSize, 17);
    delete root;
}

// ---- Fonts, images, default attribute lists ----------------------------------------

// Fonts with a name are numbered in document order; "True" is not "true".
TEST(BuilderResources, FontsAreNumberedInDocumentOrder) {
    BuiltTree t(LR"(<Font name="DejaVu Sans" size="15" bold="true"/>
                   <Font size="30"/>
                   <Font name="DejaVu Sans Mono" underline="true" italic="true"/>
                   <Font name="DejaVu Serif" bold="True"/>
                   <VerticalLayout><Label name="l" font="1"/></VerticalLayout>)");
    CWindowManagerUI& pm = t.Manager();
    // Three fonts: numbers 0 to 2 are fonts of their own, 3 is the default font.
    ASSERT_NE(pm.GetFontInfo(2), pm.GetDefaultFontInfo());
    ASSERT_EQ(pm.GetFontInfo(3), pm.GetDefaultFontInfo());
    EXPECT_EQ(pm.GetFont(3), pm.GetDefaultFontInfo()->hFont);
    const struct {
        const wchar_t* face;
        int size;
        bool bold, underline, italic;
    } fonts[] = {
        {L"DejaVu Sans", 15, true, false, false},
        {L"DejaVu Sans Mono", 12, false, true, true},
        {L"DejaVu Serif", 12, false, false, false},
    };
    using Flags = std::vector<bool>;
    for (int i = 0; i < 3; ++i) {
        const TFontRecordUI* font = pm.GetFontInfo(i);
        EXPECT_EQ(font->sFontName, fonts[i].face) << i;
        EXPECT_EQ(font->iSize, fonts[i].size) << i;
        EXPECT_EQ((Flags{font->bBold, font->bUnderline, font->bItalic}),
                  (Flags{fonts[i].bold, fonts[i].underline, fonts[i].italic}))
            << i;
    }
    auto* label = t.As<CLabelUI>(L"l");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetFont(), 1);
}

TEST(BuilderResources, DefaultListsApplyBeforeTheElementsOwnAttributes) {
    RecordingCallback callback;
    callback.Knows(L"ComputerExamine");
    BuiltTree t(
        LR"(<Default name="Button" value="text=&quot;from default&quot; width=&quot;70&quot;"/>
            <Default name="Button" value="width=&quot;99&quot;"/>
            <Default name="VScrollBar" value="width=&quot;9&quot; showbutton1=&quot;false&quot;"/>
            <Default name="HScrollBar" value="height=&quot;7&quot;"/>
            <Default name="ComputerExamine" value="bkcolor=&quot;#FF00FF00&quot; height=&quot;33&quot;"/>
            <Default value="text=&quot;nameless&quot;"/>
            <VerticalLayout name="v" vscrollbar="true" hscrollbar="true">
              <Button name="b1"/><Button name="b2" text="own"/>
              <ComputerExamine name="exam" height="44"/>
            </VerticalLayout>)",
        RECT{0, 0, 200, 300}, &callback);
    auto* b1 = t.As<CButtonUI>(L"b1");
    auto* b2 = t.As<CButtonUI>(L"b2");
    ASSERT_NE(b1, nullptr);
    ASSERT_NE(b2, nullptr);
    EXPECT_EQ(b1->GetText(), L"from default");
    EXPECT_EQ(b1->GetFixedWidth(), 70); // the first list for a class stays
    EXPECT_EQ(b2->GetText(), L"own");
    EXPECT_EQ(b2->GetFixedWidth(), 70);
    auto* v = t.As<CVerticalLayoutUI>(L"v");
    ASSERT_NE(v, nullptr);
    ASSERT_NE(v->GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(v->GetVerticalScrollBar()->GetFixedWidth(), 9);
    EXPECT_FALSE(v->GetVerticalScrollBar()->GetShowButton1());
    ASSERT_NE(v->GetHorizontalScrollBar(), nullptr);
    EXPECT_EQ(v->GetHorizontalScrollBar()->GetFixedHeight(), 7);
    CControlUI* exam = t[L"exam"];
    ASSERT_NE(exam, nullptr);
    EXPECT_EQ(exam->GetBkColor(), 0xFF00FF00u);
    EXPECT_EQ(exam->GetFixedHeight(), 44);
    EXPECT_EQ(t.Manager().GetDefaultAttributeList(L"Button"),
              std::wstring(L"text=\"from default\" width=\"70\""));
}

// ---- Every control tag and its attribute families ----------------------------------

TEST(BuilderControls, EveryTagMakesItsClassWithItsAttributes) {
    BuiltTree t(LR"(<Font name="DejaVu Sans" size="11"/><Font name="DejaVu Sans" size="14"/>
      <VerticalLayout name="vl" sepheight="-5" sepimm="true" inset="1,2,3,4" childpadding="3"
                      mousechild="false" bkcolor="#FF102030" bkcolor2="#FF203040"
                      bkcolor3="#FF304050" bordercolor="#FF405060" focusbordercolor="#FF506070"
                      bordersize="2" borderround="3,4" bkimage="red.png" colorhsl="true">
        <Control name="ctl" pos="-60,10,-10,40" float="true" relativepos="10,20,30,40"
                 padding="1,2,3,4" tooltip="a&lt;n&gt;b" userdata="ud" enabled="false"
                 mouse="false" keyboard="false" menu="true" shortcut="Q" minwidth="5"
                 maxwidth="500" minheight="6" maxheight="600" borderstyle="2"
                 leftbordersize="1" topbordersize="2" rightbordersize="3"
                 bottombordersize="4" virtualwnd="vw"/>
        <Container name="cont" inset="5,5,5,5" vscrollbarstyle="width=&quot;11&quot;"/>
        <HorizontalLayout name="hl" sepwidth="7"/>
        <TileLayout name="tl" itemsize="50,60" columns="4"/>
        <TabLayout name="tab" selectedid="1"><Control name="t0"/><Control name="t1"/></TabLayout>
        <ChildLayout name="cl" xmlfile="page.xml"/>
        <Label name="lbl" text="label" align="right" font="1" textcolor="#FF112233"
               disabledtextcolor="#FF445566" textpadding="1,2,3,4" showhtml="true"
               endellipsis="true" enabledeffect="true" transtext="100" rhaa="3"/>
        <Text name="txt" text="{a}x{/a}" showhtml="true"/>
        <Button name="btn" normalimage="red.png" hotimage="green.png" pushedimage="blue.png"
                focusedimage="a.png" disabledimage="b.png" foreimage="c.png"
                hotforeimage="d.png" hotbkcolor="#FF010101" hottextcolor="#FF020202"
                pushedtextcolor="#FF030303" focusedtextcolor="#FF040404"/>
        <Option name="opt" group="g" selected="true" selectedimage="s.png"
                selectedhotimage="sh.png" foreimage="f.png" selectedbkcolor="#FF050505"
                selectedtextcolor="#FF060606"/>
        <CheckBox name="chk" selected="true"/>
        <Progress name="prg" min="10" max="90" value="40" hor="false" isstretchfore="false"
                  foreimage="green.png"/>
        <Slider name="sld" thumbsize="12,18" step="5" thumbimage="t.png"
                thumbhotimage="th.png" thumbpushedimage="tp.png" value="20"/>
        <ScrollBar name="sb" hor="true" range="300" value="120" linesize="9"
                   showbutton2="false"/>
      </VerticalLayout>)");

    // Each control's attributes as read back, in the order written above.
    using Ints = std::vector<long long>;
    using Texts = std::vector<std::wstring>;
    auto* vl = t.As<CVerticalLayoutUI>(L"vl");
    ASSERT_NE(vl, nullptr);
    EXPECT_EQ(
        (Ints{-5, 1, 3, 0, 0xFF102030, 0xFF203040, 0xFF304050, 0xFF405060, 0xFF506070, 2, 3, 4, 1}),
        (Ints{vl->GetSepHeight(), vl->IsSepImmMode(), vl->GetChildPadding(),
              vl->IsMouseChildEnabled(), vl->GetBkColor(), vl->GetBkColor2(), vl->GetBkColor3(),
              vl->GetBorderColor(), vl->GetFocusBorderColor(), vl->GetBorderSize(),
              vl->GetBorderRound().cx, vl->GetBorderRound().cy, vl->IsColorHSL()}));
    EXPECT_EQ((Texts{L"1,2,3,4", L"red.png"}), (Texts{RectText(vl->GetInset()), vl->GetBkImage()}));

    CControlUI* ctl = t[L"ctl"];
    ASSERT_NE(ctl, nullptr);
    EXPECT_EQ(
        (Ints{1, -10, 10, 50, 30, 1, 40, 0, 0, 0, 1, L'Q', 5, 500, 6, 600}),
        (Ints{ctl->IsFloating(), ctl->GetFixedXY().cx, ctl->GetFixedXY().cy, ctl->GetFixedWidth(),
              ctl->GetFixedHeight(), ctl->IsRelativePos(), ctl->GetRelativePos().nZoomYPercent,
              ctl->IsEnabled(), ctl->IsMouseEnabled(), ctl->IsKeyboardEnabled(),
              ctl->IsContextMenuUsed(), ctl->GetShortcut(), ctl->GetMinWidth(), ctl->GetMaxWidth(),
              ctl->GetMinHeight(), ctl->GetMaxHeight()}));
    EXPECT_EQ((Texts{L"1,2,3,4", L"a\r\nb", L"ud", L"vw"}),
              (Texts{RectText(ctl->GetPadding()), ctl->GetToolTip().GetData(),
                     ctl->GetUserData().GetData(), ctl->GetVirtualWnd().GetData()}));

    auto* cont = t.As<CContainerUI>(L"cont");
    ASSERT_NE(cont, nullptr);
    ASSERT_NE(cont->GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(cont->GetVerticalScrollBar()->GetFixedWidth(), 11);
    auto* hl = t.As<CHorizontalLayoutUI>(L"hl");
    auto* tl = t.As<CTileLayoutUI>(L"tl");
    auto* tab = t.As<CTabLayoutUI>(L"tab");
    auto* cl = t.As<CChildLayoutUI>(L"cl");
    ASSERT_TRUE(hl != nullptr && tl != nullptr && tab != nullptr && cl != nullptr);
    EXPECT_EQ((Ints{7, 50, 60, 4, 1, 1}),
              (Ints{hl->GetSepWidth(), tl->GetItemSize().cx, tl->GetItemSize().cy, tl->GetColumns(),
                    tab->GetCurSel(), cl->GetCount()}));
    EXPECT_EQ(cl->GetChildLayoutXML(), L"page.xml");

    auto* lbl = t.As<CLabelUI>(L"lbl");
    ASSERT_NE(lbl, nullptr);
    EXPECT_EQ(
        (Ints{DT_RIGHT, DT_END_ELLIPSIS, 1, 0xFF112233, 0xFF445566, 1, 1, 100, 3}),
        (Ints{lbl->GetTextStyle() & DT_RIGHT, lbl->GetTextStyle() & DT_END_ELLIPSIS, lbl->GetFont(),
              lbl->GetTextColor(), lbl->GetDisabledTextColor(), lbl->IsShowHtml(),
              lbl->GetEnabledEffect(), lbl->GetTransText(), lbl->GetTextRenderingHintAntiAlias()}));
    EXPECT_EQ(RectText(lbl->GetTextPadding()), L"1,2,3,4");
    EXPECT_NE(t.As<CTextUI>(L"txt"), nullptr);

    auto* btn = t.As<CButtonUI>(L"btn");
    ASSERT_NE(btn, nullptr);
    EXPECT_EQ(
        (Texts{L"red.png", L"green.png", L"blue.png", L"a.png", L"b.png", L"c.png", L"d.png"}),
        (Texts{btn->GetNormalImage(), btn->GetHotImage(), btn->GetPushedImage(),
               btn->GetFocusedImage(), btn->GetDisabledImage(), btn->GetForeImage(),
               btn->GetHotForeImage()}));
    EXPECT_EQ((Ints{0xFF010101, 0xFF020202, 0xFF030303, 0xFF040404}),
              (Ints{btn->GetHotBkColor(), btn->GetHotTextColor(), btn->GetPushedTextColor(),
                    btn->GetFocusedTextColor()}));

    auto* opt = t.As<COptionUI>(L"opt");
    ASSERT_NE(opt, nullptr);
    EXPECT_EQ((Texts{L"g", L"s.png", L"sh.png", L"f.png"}),
              (Texts{opt->GetGroup(), opt->GetSelectedImage(), opt->GetSelectedHotImage(),
                     opt->GetForeImage()}));
    EXPECT_EQ((Ints{1, 0xFF050505, 0xFF060606}),
              (Ints{opt->IsSelected(), opt->GetSelectedBkColor(), opt->GetSelectedTextColor()}));
    // Attached with the window: the option is in its group.
    CUIPtrArray* group = t.Manager().GetOptionGroup(L"g");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Find(opt), 0);

    auto* chk = t.As<CCheckBoxUI>(L"chk");
    auto* prg = t.As<CProgressUI>(L"prg");
    auto* sld = t.As<CSliderUI>(L"sld");
    auto* sb = t.As<CScrollBarUI>(L"sb");
    ASSERT_TRUE(chk != nullptr && prg != nullptr && sld != nullptr && sb != nullptr);
    EXPECT_TRUE(chk->GetCheck());
    EXPECT_EQ((Ints{10, 90, 40, 0, 0}),
              (Ints{prg->GetMinValue(), prg->GetMaxValue(), prg->GetValue(), prg->IsHorizontal(),
                    prg->IsStretchForeImage()}));
    EXPECT_EQ((Ints{12, 18, 5, 20}), (Ints{sld->GetThumbSize().cx, sld->GetThumbSize().cy,
                                           sld->GetChangeStep(), sld->GetValue()}));
    EXPECT_EQ((Texts{L"green.png", L"t.png", L"th.png", L"tp.png"}),
              (Texts{prg->GetForeImage(), sld->GetThumbImage(), sld->GetThumbHotImage(),
                     sld->GetThumbPushedImage()}));
    EXPECT_EQ((Ints{1, 300, 120, 9, 0}),
              (Ints{sb->IsHorizontal(), sb->GetScrollRange(), sb->GetScrollPos(), sb->GetLineSize(),
                    sb->GetShowButton2()}));
}

// ---- The application's callback -----------------------------------------------------

TEST(BuilderCallback, UnknownTagsGoToTheCallback) {
    RecordingCallback callback;
    callback.Knows(L"ComputerExamine");
    BuiltTree t(LR"(<VerticalLayout name="v">
                     <ComputerExamine name="exam" height="60"><Label name="under"/></ComputerExamine>
                     <Mystery name="m"><Label name="lost"/><Mystery2/></Mystery>
                     <Label name="after" height="10"/>
                   </VerticalLayout>)",
                RECT{0, 0, 100, 300}, &callback);
    CControlUI* exam = t[L"exam"];
    ASSERT_NE(exam, nullptr);
    EXPECT_STREQ(exam->GetClass(), L"AppControlUI");
    EXPECT_EQ(exam->GetFixedHeight(), 60);
    EXPECT_EQ(exam->GetParent(), t[L"v"]);
    // A control that is no container keeps no children.
    EXPECT_EQ(Find(t.Root(), L"under"), nullptr);
    // A tag the callback refuses is skipped with everything under it.
    EXPECT_EQ(Find(t.Root(), L"m"), nullptr);
    EXPECT_EQ(Find(t.Root(), L"lost"), nullptr);
    EXPECT_NE(Find(t.Root(), L"after"), nullptr);
    EXPECT_EQ(callback.asked, (std::vector<std::wstring>{L"ComputerExamine", L"Mystery"}));
}

TEST(BuilderCallback, ControlsWithoutAPlaceAreDeleted) {
    TrackingCallback callback;
    Tracked::live = 0;
    {
        // A parent that is no container ends its level; what was made there
        // goes.
        BuiltTree t(LR"(<VerticalLayout><Label name="l"><Tracked/><Tracked/></Label>
                       <Button><VerticalLayout><Tracked/></VerticalLayout></Button>
                       </VerticalLayout>)",
                    RECT{0, 0, 100, 100}, &callback);
        EXPECT_EQ(Tracked::live, 0);
    }
    {
        // Only the first top-level control reaches the caller.
        CWindowManagerUI pm;
        CDialogBuilder builder;
        CControlUI* root =
            builder.Create(L"<Skin><Tracked/><Tracked/><Tracked/></Skin>", nullptr, &callback, &pm);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(Tracked::live, 1);
        delete root;
        // An include at the top level has no parent to join.
        CDialogBuilder included;
        EXPECT_EQ(included.Create(L"<Skin><Include source=\"app_include.xml\"/></Skin>"), nullptr);
    }
    EXPECT_EQ(Tracked::live, 0);
}

// A tab layout inside a control that is no container selects (and focuses)
// a child before its subtree is thrown away: the window must not keep a
// pointer to the deleted child.
TEST(BuilderCallback, DiscardedSubtreeLeavesNoFocusBehind) {
    CWindowManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create(LR"(<Skin><VerticalLayout><Label><Container><TabLayout selectedid="1">
             <Button name="b0"/><Button name="b1"/></TabLayout></Container></Label>
             <Button name="keep"/></VerticalLayout></Skin>)",
                       nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(pm.GetFocus(), nullptr);
    pm.AttachRootControl(root);
    pm.SetFocus(Find(root, L"keep"));
    EXPECT_EQ(pm.GetFocus(), Find(root, L"keep"));
}

// ---- Loading ------------------------------------------------------------------------

TEST(BuilderLoading, TextFileAndMissingFiles) {
    UseSkinArchive();
    CWindowManagerUI pm;
    {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(L"UninstallFrame.xml", nullptr, nullptr, &pm);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->GetName(), L"root");
        delete root;
    }
    struct Case {
        const wchar_t* skin;
        const wchar_t* error;
    };
    for (const Case& c :
         {Case{L"no_such_file.xml", L"Could not find ziped file"},
          Case{L"empty.xml", L"File is empty"}, Case{L"bad.xml", L"Unmatched closing tag"},
          Case{L" <Window><Control/></Window>", L"Could not find ziped file"},
          Case{L"", L"Could not find ziped file"}}) {
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(c.skin, nullptr, nullptr, &pm), nullptr)
            << TestSupport::ToUtf8(c.skin);
        EXPECT_STREQ(builder.GetDocument()->GetLastErrorMessage(), c.error)
            << TestSupport::ToUtf8(c.skin);
    }
    CDialogBuilder empty;
    EXPECT_EQ(empty.BuildWindow(nullptr, &pm, nullptr), nullptr);
    CDialogBuilder noSkin;
    EXPECT_EQ(noSkin.Create(static_cast<LPCWSTR>(nullptr)), nullptr);
}

TEST(BuilderLoading, ResourceSkinsResolveIncludesAsResourcesOfTheSameType) {
    CWindowManagerUI pm;
    UseSkinArchive();
    CDialogBuilder builder;
    CControlUI* root = builder.Create(101, L"SKINXML", nullptr, &pm);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"resRoot");
    auto* container = dynamic_cast<CContainerUI*>(root);
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->GetCount(), 3);
    EXPECT_EQ(container->GetItemAt(0)->GetName(), L"fromResource");
    EXPECT_EQ(container->GetItemAt(1)->GetName(), L"part102");
    EXPECT_EQ(container->GetItemAt(2)->GetName(), L"part102");
    delete root;

    // A numeric resource type works the same way.
    CDialogBuilder numeric;
    root = numeric.Create(MAKEINTRESOURCEW(103), MAKEINTRESOURCEW(300), nullptr, &pm);
    ASSERT_NE(root, nullptr);
    container = dynamic_cast<CContainerUI*>(root);
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->GetCount(), 1);
    EXPECT_EQ(container->GetItemAt(0)->GetName(), L"part104");
    delete root;

    CDialogBuilder missing;
    EXPECT_EQ(missing.Create(999, L"SKINXML", nullptr, &pm), nullptr);
    CDialogBuilder wrongType;
    EXPECT_EQ(wrongType.Create(101, L"OTHERTYPE", nullptr, &pm), nullptr);
}

// ---- Include ------------------------------------------------------------------------

TEST(BuilderInclude, CountBuildsTheFileThatManyTimesUnderTheSameParent) {
    BuiltTree t(LR"(<VerticalLayout name="v"><Control name="own" height="3"/>
                   <Include source="row.xml" count="3"/><Include source="two_rows.xml"/>
                   <Include/><Include count="2"/><Include source="row.xml" count="0"/>
                   <Include source="row.xml" count="-4"/><Include source="no_such.xml"/>
                   <Control name="last" height="4"/></VerticalLayout>)",
                RECT{0, 0, 100, 200});
    auto* v = t.As<CVerticalLayoutUI>(L"v");
    ASSERT_NE(v, nullptr);
    std::vector<std::wstring> names;
    for (int i = 0; i < v->GetCount(); ++i) {
        names.push_back(v->GetItemAt(i)->GetName().GetData());
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"own", L"row", L"row", L"row", L"first", L"second",
                                                L"last"}));
    EXPECT_EQ(t.Pos(L"last"), L"0,44,100,48");
}

TEST(BuilderInclude, LongSourcesAreCutAt499Characters) {
    const std::wstring longName = std::wstring(499, L'x');
    BuiltTree t((L"<VerticalLayout name=\"v\"><Include source=\"" + longName + L"yrow.xml\"/>" +
                 L"<Include source=\"" + std::wstring(5000, L'y') + L"\"/></VerticalLayout>")
                    .c_str());
    auto* v = t.As<CVerticalLayoutUI>(L"v");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetCount(), 0);
}

} // namespace
