#include <windows.h>

#include "ui/DialogBuilder.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/ListUI.h"

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/ui/ControlsDesktop.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace ControlsTest;

namespace {

CControlUI* CALLBACK CollectClass(CControlUI* control, LPVOID data) {
    static_cast<std::set<std::wstring>*>(data)->insert(control->GetClass());
    return nullptr;
}

// The sample skin builds every tag into its class, and a picture of it in
// several states (framework_sample.png in the test's working folder, with the
// combo's popup open over the list) is there for a person to look at.
TEST(FrameworkSample, EveryTagBuildsAndShows) {
    const std::wstring skin = TestSupport::FromUtf8(TestSupport::ReadFileBytes(
        TestSupport::WinePathOf(UNINST_SOURCE_DIR "/tests/ui/samples/framework_sample.xml")));
    SkinUI::CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &Host().pm);
    ASSERT_NE(root, nullptr);
    Host().pm.AttachRootControl(root);
    ::InvalidateRect(Host(), nullptr, FALSE);
    PumpFor(100);
    std::set<std::wstring> classes;
    root->FindControl(CollectClass, &classes, SkinUI::UIFIND_ALL);
    for (const wchar_t* name : {L"LabelUI",
                                L"TextUI",
                                L"ButtonUI",
                                L"OptionUI",
                                L"CheckBoxUI",
                                L"ProgressUI",
                                L"SliderUI",
                                L"ScrollBarUI",
                                L"RichEditUI",
                                L"EditUI",
                                L"DateTimeUI",
                                L"ComboUI",
                                L"ComboBoxUI",
                                L"ListUI",
                                L"ListHeaderUI",
                                L"ListHeaderItemUI",
                                L"ListLabelElementUI",
                                L"ListContainerElementUI",
                                L"ListTextElementUI",
                                L"TabLayoutUI",
                                L"TileLayoutUI",
                                L"HorizontalLayoutUI",
                                L"VerticalLayoutUI",
                                L"ContainerUI"}) {
        EXPECT_EQ(classes.count(name), 1u) << name;
    }
    auto* combo = static_cast<SkinUI::CComboUI*>(Host().pm.FindControl(L"combo"));
    EXPECT_EQ(combo->GetCurSel(), 1); // its element's "selected" attribute
    static_cast<SkinUI::CListUI*>(Host().pm.FindControl(L"list"))->SelectItem(3);
    MoveTo(CenterPoint(Host().pm.FindControl(L"hotrow")->GetPos()));
    ASSERT_TRUE(combo->Activate());
    PumpFor(150);
    RECT rc = {};
    ::GetWindowRect(Host(), &rc);
    TestSupport::DibSurface shot(rc.right - rc.left, rc.bottom - rc.top);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(shot.DC(), 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top,
             SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_TRUE(TestSupport::WriteFileBytes(L"framework_sample.png",
                                            TestSupport::EncodePng(shot.Snapshot())));
    Press(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return combo->GetDropDownWindow() == nullptr; }));
}

} // namespace
