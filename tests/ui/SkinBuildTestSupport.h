#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"

#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/ZipWriter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Skins, images and helpers shared by the layout and builder tests. Every
// skin file lives in one archive that a test program sets once as the
// process's skin archive.
namespace SkinBuildTest {

using SkinUI::CControlUI;
using SkinUI::CDialogBuilder;
using SkinUI::CWindowManagerUI;
using SkinUI::IDialogBuilderCallback;

// ---- Images ---------------------------------------------------------------------------

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00C000;
constexpr uint32_t kBlue = 0xFF0000FF;

inline std::string SolidPng(uint32_t argb, int w = 8, int h = 8) {
    return TestSupport::EncodePng(TestSupport::ArgbImage(w, h, argb));
}

// A filled box with a one-pixel frame.
inline std::string FramedPng(uint32_t fill, uint32_t frame, int w, int h) {
    TestSupport::ArgbImage image(w, h, frame);
    image.FillRect(1, 1, w - 1, h - 1, fill);
    return TestSupport::EncodePng(image);
}

// A vertical gradient from top to bottom colour.
inline std::string GradientPng(uint32_t top, uint32_t bottom, int w, int h) {
    TestSupport::ArgbImage image(w, h);
    for (int y = 0; y < h; ++y) {
        const auto mix = [&](int shift) {
            const int a = static_cast<int>((top >> shift) & 0xFF);
            const int b = static_cast<int>((bottom >> shift) & 0xFF);
            return static_cast<uint32_t>(a + (b - a) * y / (h > 1 ? h - 1 : 1)) << shift;
        };
        const uint32_t colour = 0xFF000000u | mix(16) | mix(8) | mix(0);
        image.FillRect(0, y, w, y + 1, colour);
    }
    return TestSupport::EncodePng(image);
}

// A round mark (radio button or check box look) of the given size.
inline std::string MarkPng(uint32_t ring, uint32_t dot, bool square, int size = 16) {
    TestSupport::ArgbImage image(size, size, 0x00000000);
    const int c = size / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int dx = x - c;
            const int dy = y - c;
            const int d2 = dx * dx + dy * dy;
            const bool outer = square ? (x >= 1 && y >= 1 && x < size - 1 && y < size - 1)
                                      : d2 <= (c - 1) * (c - 1);
            const bool inner = square ? (x >= 3 && y >= 3 && x < size - 3 && y < size - 3)
                                      : d2 <= (c - 4) * (c - 4);
            const bool edge = square ? (x >= 2 && y >= 2 && x < size - 2 && y < size - 2)
                                     : d2 <= (c - 2) * (c - 2);
            if (outer) {
                image.At(x, y) = edge ? 0xFFFFFFFF : ring;
            }
            if (inner && dot != 0) {
                image.At(x, y) = dot;
            }
        }
    }
    return TestSupport::EncodePng(image);
}

// ---- Skin files -----------------------------------------------------------------------

inline std::string Utf8(const wchar_t* text) {
    return TestSupport::ToUtf8(text);
}

// The realistic window skin: shaped like the uninstaller's own frame with
// its four pages, fonts, defaults, images, an include and a tag of the
// application's callback.
inline const wchar_t* const kFrameSkin = LR"xml(<?xml version="1.0" encoding="utf-8"?>
<Window size="560,400" caption="0,0,0,40" roundcorner="4,4" mininfo="560,400" maxinfo="1200,900" sizebox="4,4,4,4" defaultfontcolor="#FF333333" linkfontcolor="#FF1E6FD9">
  <Font name="WenQuanYi Micro Hei" size="12" default="true"/>
  <Font name="WenQuanYi Micro Hei" size="14" bold="true"/>
  <Font name="WenQuanYi Micro Hei" size="20" bold="true"/>
  <Default name="Button" value="normalimage=&quot;btn_normal.png&quot; hotimage=&quot;btn_hot.png&quot; pushedimage=&quot;btn_pushed.png&quot; disabledimage=&quot;btn_disabled.png&quot; textcolor=&quot;#FFFFFFFF&quot;"/>
  <Default name="VScrollBar" value="thumbnormalimage=&quot;scroll_thumb.png&quot; bknormalimage=&quot;scroll_bk.png&quot; showbutton1=&quot;false&quot; showbutton2=&quot;false&quot; width=&quot;8&quot;"/>
  <Image name="frame_bk.png"/>
  <VerticalLayout name="root" bkcolor="#FFF6F8FA" bordercolor="#FF2B5797" bordersize="1" inset="1,1,1,1">
    <HorizontalLayout name="caption" height="40" bkcolor="#FF2B5797" inset="12,4,4,4">
      <Label name="title" text="卸载程序" font="1" textcolor="#FFFFFFFF"/>
      <Button name="closebtn" width="32" text="×" tooltip="关闭"/>
    </HorizontalLayout>
    <TabLayout name="pages" selectedid="0">
      <ChildLayout name="page1" xmlfile="page_farewell.xml"/>
      <ChildLayout name="page2" xmlfile="page_survey.xml"/>
      <ChildLayout name="page3" xmlfile="page_progress.xml"/>
      <ChildLayout name="page4" xmlfile="page_finish.xml"/>
    </TabLayout>
    <Include source="footer.xml"/>
  </VerticalLayout>
</Window>
)xml";

inline const wchar_t* const kFarewellPage = LR"xml(<Page>
<VerticalLayout name="farewell" inset="30,20,30,20" childpadding="10">
  <Label name="bye" text="感谢您的陪伴" font="2" height="36"/>
  <Text name="byetext" text="卸载后您的存档仍保存在服务器上。{a http://example.invalid}了解更多{/a}" showhtml="true" height="48"/>
  <ComputerExamine name="exam" height="60" bkcolor="#FFEEEEEE"/>
  <Control/>
  <HorizontalLayout height="32" childpadding="20">
    <Control/>
    <Button name="UninstallNextStep" text="继续卸载" width="100"/>
    <Button name="StayBtn" text="我再想想" width="100"/>
  </HorizontalLayout>
</VerticalLayout>
</Page>
)xml";

inline const wchar_t* const kSurveyPage = LR"xml(<Page>
<VerticalLayout name="survey" inset="20,10,20,10" childpadding="6" vscrollbar="true">
  <Label name="q1" text="1. 您卸载的原因是？" font="1" height="24"/>
  <TileLayout columns="2" height="56" childpadding="4">
    <Option name="q1o1" group="q1" text="游戏太难" height="24" textpadding="20,0,0,0" normalimage="file='radio.png' dest='0,4,16,20'" selectedimage="file='radio_sel.png' dest='0,4,16,20'"/>
    <Option name="q1o2" group="q1" text="没有时间" height="24" textpadding="20,0,0,0" normalimage="file='radio.png' dest='0,4,16,20'" selectedimage="file='radio_sel.png' dest='0,4,16,20'"/>
    <CheckBox name="q1o3" text="其它" height="24" textpadding="20,0,0,0" normalimage="file='check.png' dest='0,4,16,20'" selectedimage="file='check_sel.png' dest='0,4,16,20'"/>
  </TileLayout>
  <Label name="hint" text="请勿超过140字" textcolor="#FF999999" height="20"/>
  <HorizontalLayout height="32">
    <Control/>
    <Button name="BeginUnistall" text="开始卸载" width="100"/>
  </HorizontalLayout>
</VerticalLayout>
</Page>
)xml";

inline const wchar_t* const kProgressPage = LR"xml(<Page>
<VerticalLayout name="removing" inset="40,60,40,20" childpadding="12">
  <Label name="removingtitle" text="正在卸载……" font="1" height="24"/>
  <Progress name="progress" height="14" min="0" max="100" value="35" bkcolor="#FFDDDDDD" foreimage="progress_fore.png"/>
  <Label name="percent" text="35%" align="center" height="20"/>
</VerticalLayout>
</Page>
)xml";

inline const wchar_t* const kFinishPage = LR"xml(<Page>
<VerticalLayout name="finish" inset="30,20,30,20" childpadding="10">
  <Label name="done" text="卸载完成" font="2" height="36"/>
  <TileLayout name="ads" itemsize="120,40" childpadding="8" height="96">
    <Button name="ad1" text="广告一" height="36"/>
    <Button name="ad2" text="广告二" height="36"/>
    <Button name="ad3" text="广告三" height="36"/>
    <Button name="ad4" text="广告四" height="36"/>
  </TileLayout>
  <Control/>
  <HorizontalLayout height="32"><Control/><Button name="UnistallFinished" text="完成" width="100"/></HorizontalLayout>
</VerticalLayout>
</Page>
)xml";

inline const wchar_t* const kFooter = LR"xml(<Footer>
  <Label name="footer" text="Velmora Games" height="20" align="right" textpadding="0,0,8,0" textcolor="#FF999999"/>
</Footer>
)xml";

// The sample window: every control and every layout, for a person to look
// at (skin_sample.png).
inline const wchar_t* const kSampleSkin = LR"xml(<?xml version="1.0" encoding="utf-8"?>
<Window size="640,480" defaultfontcolor="#FF333333" linkfontcolor="#FF1E6FD9" linkhoverfontcolor="#FFD3215F">
  <Font name="WenQuanYi Micro Hei" size="13" default="true"/>
  <Font name="WenQuanYi Micro Hei" size="13" bold="true"/>
  <Font name="WenQuanYi Micro Hei" size="20" bold="true"/>
  <Default name="Button" value="normalimage=&quot;file='btn_normal.png' corner='3,3,3,3'&quot; hotimage=&quot;file='btn_hot.png' corner='3,3,3,3'&quot; pushedimage=&quot;file='btn_pushed.png' corner='3,3,3,3'&quot; disabledimage=&quot;file='btn_disabled.png' corner='3,3,3,3'&quot; textcolor=&quot;#FFFFFFFF&quot; disabledtextcolor=&quot;#FF808080&quot;"/>
  <Default name="Option" value="height=&quot;22&quot; textpadding=&quot;22,0,0,0&quot; align=&quot;left&quot; normalimage=&quot;file='radio.png' dest='0,3,16,19'&quot; selectedimage=&quot;file='radio_sel.png' dest='0,3,16,19'&quot; disabledtextcolor=&quot;#FFAAAAAA&quot;"/>
  <Default name="CheckBox" value="height=&quot;22&quot; textpadding=&quot;22,0,0,0&quot; align=&quot;left&quot; normalimage=&quot;file='check.png' dest='0,3,16,19'&quot; selectedimage=&quot;file='check_sel.png' dest='0,3,16,19'&quot;"/>
  <Default name="VScrollBar" value="width=&quot;12&quot; thumbnormalimage=&quot;file='scroll_thumb.png' corner='2,2,2,2'&quot; bknormalimage=&quot;scroll_bk.png&quot; button1normalimage=&quot;scroll_btn.png&quot; button2normalimage=&quot;scroll_btn.png&quot;"/>
  <VerticalLayout name="root" bkcolor="#FFF0F3F6" inset="12,10,12,10" childpadding="8">
    <HorizontalLayout height="32">
      <Label name="title" text="皮肤示例  Skin sample" font="2" textcolor="#FF2B5797"/>
      <Label text="every control, every layout" width="250" align="right" textcolor="#FF8090A0"/>
    </HorizontalLayout>
    <HorizontalLayout height="236" childpadding="10">
      <VerticalLayout name="texts" width="210" bkcolor="#FFFFFFFF" bordercolor="#FFC8D2DC" bordersize="1" inset="10,8,10,8" childpadding="6">
        <Label text="标签 Label" font="1" height="20"/>
        <Label text="Right-aligned, grey" align="right" height="20" textcolor="#FF8898A8"/>
        <Label text="An end ellipsis cuts a label that is far too long" endellipsis="true" height="20"/>
        <Text name="linktext" text="Text wraps onto more lines and has a {a https://example.invalid}link{/a} inside." showhtml="true" height="54"/>
        <Label text="Progress 65%" height="18" textcolor="#FF8898A8"/>
        <Progress name="progress" height="14" value="65" foreimage="progress_fore.png" bkcolor="#FFDDE3EA"/>
        <Label text="Slider 30" height="18" textcolor="#FF8898A8"/>
        <Slider name="slider" height="20" value="30" thumbsize="12,18" thumbimage="slider_thumb.png" bkimage="file='scroll_bk.png' dest='0,8,188,12'" foreimage="file='progress_fore.png' dest='0,8,188,12'"/>
      </VerticalLayout>
      <VerticalLayout name="choices" width="170" bkcolor="#FFFFFFFF" bordercolor="#FFC8D2DC" bordersize="1" inset="10,8,10,8" childpadding="4">
        <Label text="Options" font="1" height="20"/>
        <Option name="optA" text="选项 A (selected)" group="sample" selected="true"/>
        <Option name="optB" text="选项 B" group="sample"/>
        <Option name="optC" text="Disabled option" group="other" enabled="false"/>
        <Label text="Check boxes" font="1" height="20"/>
        <CheckBox name="chk1" text="复选框 checked" selected="true"/>
        <CheckBox name="chk2" text="Unchecked"/>
        <Control/>
        <HorizontalLayout height="28" childpadding="6">
          <Button name="hotbtn" text="Hot" width="46"/>
          <Button name="btn" text="确定" width="46"/>
          <Button name="disbtn" text="Off" width="46" enabled="false"/>
        </HorizontalLayout>
      </VerticalLayout>
      <VerticalLayout name="scroller" vscrollbar="true" bkcolor="#FFFFFFFF" bordercolor="#FFC8D2DC" bordersize="1" inset="1,1,1,1">
        <Label text=" Scrolling list (wheel / bar)" font="1" height="24" bkcolor="#FFE8EEF5"/>
        <Include source="sample_row.xml" count="12"/>
      </VerticalLayout>
    </HorizontalLayout>
    <HorizontalLayout height="140" childpadding="10">
      <VerticalLayout width="210" bkcolor="#FFFFFFFF" bordercolor="#FFC8D2DC" bordersize="1" inset="6,4,6,6">
        <Label text="TileLayout, 3 columns" font="1" height="22"/>
        <TileLayout name="tiles" columns="3" childpadding="6">
          <Control height="30" bkcolor="#FFE74C3C"/><Control height="30" bkcolor="#FFF39C12"/><Control height="30" bkcolor="#FFF1C40F"/>
          <Control height="30" bkcolor="#FF2ECC71"/><Control height="30" bkcolor="#FF3498DB"/><Control height="30" bkcolor="#FF9B59B6"/>
        </TileLayout>
      </VerticalLayout>
      <VerticalLayout width="170" bkcolor="#FFFFFFFF" bordercolor="#FFC8D2DC" bordersize="1" inset="6,4,6,6" childpadding="4">
        <Label text="TabLayout: page 2" font="1" height="22"/>
        <TabLayout name="tabs" selectedid="1" bkcolor="#FFE8EEF5">
          <Label text="Tab page 1" align="center"/>
          <VerticalLayout inset="8,8,8,8" childpadding="4"><Label text="Tab page 2" height="20"/><Progress height="10" value="40" foreimage="progress_fore.png" bkcolor="#FFDDE3EA"/></VerticalLayout>
        </TabLayout>
      </VerticalLayout>
      <VerticalLayout bkcolor="#FFFFFFFF" bordercolor="#FFC8D2DC" bordersize="1" inset="6,4,6,6">
        <Label text="ChildLayout (own file)" font="1" height="22"/>
        <ChildLayout name="child" xmlfile="sample_child.xml"/>
      </VerticalLayout>
    </HorizontalLayout>
    <HorizontalLayout name="bottom" height="28" bkcolor="#FFFFFFFF" bordercolor="#FFC8D2DC" bordersize="1" inset="1,1,1,1">
      <HorizontalLayout name="split" width="250" sepwidth="6" bkcolor="#FFD6E4F5" bordercolor="#FF8FB3E0" rightbordersize="3"><Label text="  Splitter: drag the right edge" /></HorizontalLayout>
      <Label text="  ScrollBar" width="80" textcolor="#FF8898A8"/>
      <ScrollBar name="hbar" hor="true" range="100" value="30" height="14" padding="0,6,8,0" thumbnormalimage="file='scroll_thumb.png' corner='2,2,2,2'" bknormalimage="scroll_bk.png" button1normalimage="scroll_btn.png" button2normalimage="scroll_btn.png"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>
)xml";

inline const wchar_t* const kSampleChild = LR"xml(<Child>
  <HorizontalLayout childpadding="6" inset="0,6,0,0">
    <VerticalLayout childpadding="4">
      <Label text="子布局 page" height="20"/>
      <CheckBox text="From the child file" selected="true"/>
      <Button text="Button" height="28"/>
    </VerticalLayout>
  </HorizontalLayout>
</Child>
)xml";

inline std::vector<std::pair<std::string, std::string>> SkinFiles() {
    return {
        {"UninstallFrame.xml", Utf8(kFrameSkin)},
        {"page_farewell.xml", Utf8(kFarewellPage)},
        {"page_survey.xml", Utf8(kSurveyPage)},
        {"page_progress.xml", Utf8(kProgressPage)},
        {"page_finish.xml", Utf8(kFinishPage)},
        {"footer.xml", Utf8(kFooter)},
        {"skin_sample.xml", Utf8(kSampleSkin)},
        {"sample_child.xml", Utf8(kSampleChild)},
        {"sample_row.xml", "<Row><Label text=\" Row of an included file\" height=\"24\" "
                           "bordercolor=\"#FFEEF1F4\" bottombordersize=\"1\"/></Row>"},
        {"app_include.xml", "<Part><ComputerExamine name=\"incExam\" height=\"7\"/></Part>"},
        // Includes.
        {"row.xml", "<Row><Control name=\"row\" height=\"10\" bkcolor=\"#FF0000FF\"/></Row>"},
        {"two_rows.xml", "<Rows><Control name=\"first\" height=\"5\"/><Label name=\"second\" "
                         "height=\"6\"/></Rows>"},
        {"include_window.xml",
         "<Window size=\"333,222\" caption=\"0,0,0,17\"><Font name=\"DejaVu Sans\" size=\"21\"/>"
         "<Default name=\"Label\" value=\"textcolor=&quot;#FF112233&quot;\"/>"
         "<Label name=\"fromInclude\"/></Window>"},
        {"self.xml",
         "<Self><Control name=\"self\" height=\"1\"/><Include source=\"self.xml\"/></Self>"},
        {"self_twice.xml", "<Self><Control height=\"1\"/><Include source=\"self_twice.xml\" "
                           "count=\"2\"/></Self>"},
        {"cycle_a.xml",
         "<A><Control name=\"a\" height=\"1\"/><Include source=\"cycle_b.xml\"/></A>"},
        {"cycle_b.xml",
         "<B><Control name=\"b\" height=\"1\"/><Include source=\"cycle_a.xml\"/></B>"},
        {"no_controls.xml", "<Window><Default name=\"Nothing\" value=\"\"/></Window>"},
        {"bad.xml", "<Window><Label></Window>"},
        {"empty.xml", ""},
        // Child layouts.
        {"page.xml", "<Page><VerticalLayout name=\"pageRoot\"><Label name=\"pageLabel\" "
                     "text=\"page\" height=\"20\"/><Control name=\"pageFill\"/>"
                     "</VerticalLayout></Page>"},
        {"child_self.xml", "<Page><VerticalLayout name=\"selfPage\"><Control height=\"2\"/>"
                           "<ChildLayout xmlfile=\"child_self.xml\"/></VerticalLayout></Page>"},
        {"child_a.xml", "<Page><VerticalLayout name=\"pageA\"><ChildLayout "
                        "xmlfile=\"child_b.xml\"/></VerticalLayout></Page>"},
        {"child_b.xml", "<Page><HorizontalLayout name=\"pageB\"><ChildLayout "
                        "xmlfile=\"child_a.xml\"/></HorizontalLayout></Page>"},
        {"child_double.xml",
         "<Page><VerticalLayout><ChildLayout xmlfile=\"child_double.xml\"/>"
         "<ChildLayout xmlfile=\"child_double.xml\"/><Include source=\"self_twice.xml\"/>"
         "</VerticalLayout></Page>"},
        {"child_include.xml", "<Page><VerticalLayout name=\"incPage\"><Include "
                              "source=\"row.xml\" count=\"2\"/></VerticalLayout></Page>"},
        // Images.
        {"btn_normal.png", GradientPng(0xFF3C8CE7, 0xFF2B6FC2, 64, 28)},
        {"btn_hot.png", GradientPng(0xFF5AA5F5, 0xFF3C8CE7, 64, 28)},
        {"btn_pushed.png", GradientPng(0xFF1F5AA0, 0xFF2B6FC2, 64, 28)},
        {"btn_disabled.png", FramedPng(0xFFC8C8C8, 0xFFB0B0B0, 64, 28)},
        {"radio.png", MarkPng(0xFF808080, 0, false)},
        {"radio_sel.png", MarkPng(0xFF2B6FC2, 0xFF2B6FC2, false)},
        {"check.png", MarkPng(0xFF808080, 0, true)},
        {"check_sel.png", MarkPng(0xFF2B6FC2, 0xFF2B6FC2, true)},
        {"progress_fore.png", GradientPng(0xFF7ED957, 0xFF3FA535, 200, 14)},
        {"slider_thumb.png", FramedPng(0xFFFFFFFF, 0xFF2B6FC2, 12, 18)},
        {"scroll_thumb.png", FramedPng(0xFFB8C4D4, 0xFF8898B0, 8, 24)},
        {"scroll_bk.png", SolidPng(0xFFEDEFF2)},
        {"scroll_btn.png", FramedPng(0xFFD8DEE6, 0xFF8898B0, 12, 12)},
        {"frame_bk.png", SolidPng(0xFFF6F8FA)},
        {"red.png", SolidPng(kRed)},
        {"green.png", SolidPng(kGreen)},
        {"blue.png", SolidPng(kBlue)},
        {"masked.png", SolidPng(0xFFFF00FF)},
    };
}

// Extra files a program adds to the archive (its own skins).
inline void UseSkinArchive(const std::vector<std::pair<std::string, std::string>>& extra = {}) {
    static std::string bytes;
    if (!bytes.empty()) {
        return;
    }
    TestSupport::ZipWriter zip;
    for (const auto& file : SkinFiles()) {
        zip.AddFile(file.first, file.second);
    }
    for (const auto& file : extra) {
        zip.AddFile(file.first, file.second);
    }
    bytes = zip.Bytes();
    CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CWindowManagerUI::SetResourceZip(const_cast<char*>(bytes.data()),
                                     static_cast<unsigned int>(bytes.size()));
}

// ---- Trees ----------------------------------------------------------------------------

inline CControlUI* CALLBACK MatchName(CControlUI* control, LPVOID data) {
    return control->GetName() == static_cast<LPCWSTR>(data) ? control : nullptr;
}

// The first control of the name in the tree (hidden ones included).
inline CControlUI* Find(CControlUI* root, const wchar_t* name) {
    if (root == nullptr) {
        return nullptr;
    }
    return root->FindControl(MatchName, const_cast<wchar_t*>(name), SkinUI::UIFIND_ALL);
}

template <typename T> T* FindAs(CControlUI* root, const wchar_t* name) {
    return dynamic_cast<T*>(Find(root, name));
}

inline CControlUI* CALLBACK CountControl(CControlUI* /*control*/, LPVOID data) {
    ++*static_cast<int*>(data);
    return nullptr;
}

// Controls in the tree, the root included.
inline int CountControls(CControlUI* root) {
    int count = 0;
    if (root != nullptr) {
        root->FindControl(CountControl, &count, SkinUI::UIFIND_ALL);
    }
    return count;
}

// Depth of the deepest control below the root (the root alone is 1).
inline int TreeDepth(CControlUI* root) {
    auto* container =
        root == nullptr
            ? nullptr
            : static_cast<SkinUI::IContainerUI*>(root->QueryInterfaceByName(L"IContainer"));
    int deepest = 0;
    if (container == nullptr) {
        if (auto* full = dynamic_cast<SkinUI::CContainerUI*>(root)) {
            container = full; // a child layout hides the interface
        }
    }
    if (container != nullptr) {
        for (int i = 0; i < container->GetCount(); ++i) {
            deepest = std::max(deepest, TreeDepth(container->GetItemAt(i)));
        }
    }
    return root == nullptr ? 0 : deepest + 1;
}

inline std::wstring RectText(const RECT& rc) {
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
           std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}

// A plain control for the application's own tags.
class AppControl : public CControlUI {
public:
    LPCWSTR GetClass() const override { return L"AppControlUI"; }
};

// Answers the application's tags and records every tag it was asked for.
class RecordingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCWSTR className) override {
        asked.push_back(className);
        for (const std::wstring& known : known_) {
            if (known == className) {
                return new AppControl();
            }
        }
        return nullptr;
    }
    RecordingCallback& Knows(const wchar_t* tag) {
        known_.push_back(tag);
        return *this;
    }

    std::vector<std::wstring> asked;

private:
    std::vector<std::wstring> known_;
};

} // namespace SkinBuildTest
