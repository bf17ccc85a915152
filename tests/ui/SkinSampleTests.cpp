#include <windows.h>

#include "ui/DialogBuilder.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TabLayoutUI.h"
#include "ui/controls/VerticalLayoutUI.h"

#include "tests/support/FileUtil.h"
#include "tests/ui/SkinBuildTestSupport.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"

#include <gtest/gtest.h>

#include <memory>

using namespace SkinBuildTest;
using UiTest::LeftDown;
using UiTest::LeftUp;
using UiTest::PumpFor;
using UiTest::PumpUntil;

namespace {

constexpr int kLeft = 60;
constexpr int kTop = 60;

void MoveTo(int clientX, int clientY) {
    UiTest::MoveScreen(kLeft + clientX, kTop + clientY);
}

void MoveTo(POINT client) {
    MoveTo(client.x, client.y);
}

class SkinWnd : public UiTest::HostWindow {
public:
    SkinWnd() : UiTest::HostWindow(L"SkinSampleHost") {}
};

struct WndDeleter {
    void operator()(SkinWnd* wnd) const {
        if (wnd->GetHWND() != nullptr) {
            ::DestroyWindow(wnd->GetHWND());
        }
        delete wnd;
    }
};
using Window = std::unique_ptr<SkinWnd, WndDeleter>;

// A shown window at the place the input helpers expect, built from a skin
// file of the archive (whose "size" gives the window its size).
Window ShowSkin(const wchar_t* file, IDialogBuilderCallback* callback = nullptr) {
    UseSkinArchive();
    Window wnd(new SkinWnd());
    wnd->Open(L"skin sample", kLeft, kTop, 200, 200);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(file, nullptr, callback, &wnd->pm);
    EXPECT_NE(root, nullptr);
    wnd->pm.AttachRootControl(root);
    PumpFor(150);
    return wnd;
}

POINT Center(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// The client area as painted now.
std::unique_ptr<TestSupport::DibSurface> CaptureClient(HWND hwnd) {
    UiTest::Pump();
    ::UpdateWindow(hwnd);
    RECT rc = {};
    ::GetClientRect(hwnd, &rc);
    return UiTest::CaptureClient(hwnd, rc.right, rc.bottom);
}

void SavePng(const TestSupport::DibSurface& surface, const wchar_t* name) {
    const std::string png = TestSupport::EncodePng(surface.Snapshot());
    EXPECT_TRUE(TestSupport::WriteFileBytes(name, png));
}

bool Near(uint32_t a, uint32_t b, int tolerance = 12) {
    return TestSupport::ChannelDistance(a, b) <= tolerance;
}

// The sample shows every control and layout; the picture is for a person
// to look at, the checks make sure that what it shows is what was built.
TEST(SkinSample, EveryControlAndLayoutRendersIntoAPicture) {
    Window wnd = ShowSkin(L"skin_sample.xml");
    CWindowManagerUI& pm = wnd->pm;
    RECT rcWindow = {};
    ::GetWindowRect(wnd->GetHWND(), &rcWindow);
    EXPECT_EQ(rcWindow.right - rcWindow.left, 640);
    EXPECT_EQ(rcWindow.bottom - rcWindow.top, 480);

    auto* hot = dynamic_cast<SkinUI::CButtonUI*>(pm.FindControl(L"hotbtn"));
    ASSERT_NE(hot, nullptr);
    MoveTo(Center(hot->GetPos()));
    EXPECT_TRUE(PumpUntil([&] { return (hot->GetButtonState() & SkinUI::UISTATE_HOT) != 0; }));
    PumpFor(50);

    const auto shot = CaptureClient(wnd->GetHWND());
    SavePng(*shot, L"skin_sample.png");

    // The progress bar shows its fore image over 65% of its width.
    CControlUI* progress = pm.FindControl(L"progress");
    ASSERT_NE(progress, nullptr);
    const RECT rp = progress->GetPos();
    const int y = (rp.top + rp.bottom) / 2;
    const int covered = rp.left + (rp.right - rp.left) * 65 / 100;
    EXPECT_TRUE(Near(shot->Rgb(rp.left + 3, y), 0x5CBF46, 40))
        << std::hex << shot->Rgb(rp.left + 3, y);
    EXPECT_TRUE(Near(shot->Rgb(covered + 4, y), 0xDDE3EA)) << std::hex << shot->Rgb(covered + 4, y);

    // The selected option shows its selected mark, the other one its ring.
    CControlUI* optA = pm.FindControl(L"optA");
    CControlUI* optB = pm.FindControl(L"optB");
    ASSERT_NE(optA, nullptr);
    ASSERT_NE(optB, nullptr);
    EXPECT_TRUE(Near(shot->Rgb(optA->GetPos().left + 8, optA->GetPos().top + 11), 0x2B6FC2));
    EXPECT_TRUE(Near(shot->Rgb(optB->GetPos().left + 8, optB->GetPos().top + 11), 0xFFFFFF));

    // The hot button draws its hot image; the disabled one its grey image.
    const RECT rh = hot->GetPos();
    EXPECT_TRUE(Near(shot->Rgb(rh.left + 4, rh.top + 4), 0x58A3F4, 24))
        << std::hex << shot->Rgb(rh.left + 4, rh.top + 4);
    CControlUI* disabled = pm.FindControl(L"disbtn");
    ASSERT_NE(disabled, nullptr);
    EXPECT_TRUE(Near(shot->Rgb(disabled->GetPos().left + 4, disabled->GetPos().top + 4), 0xC8C8C8));

    // The scrolling list shows its bar; the tile layout made three columns.
    auto* scroller = dynamic_cast<SkinUI::CVerticalLayoutUI*>(pm.FindControl(L"scroller"));
    ASSERT_NE(scroller, nullptr);
    ASSERT_NE(scroller->GetVerticalScrollBar(), nullptr);
    EXPECT_TRUE(scroller->GetVerticalScrollBar()->IsVisible());
    auto* tabs = dynamic_cast<SkinUI::CTabLayoutUI*>(pm.FindControl(L"tabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetCurSel(), 1);
    auto* tiles = dynamic_cast<SkinUI::CContainerUI*>(pm.FindControl(L"tiles"));
    ASSERT_NE(tiles, nullptr);
    ASSERT_EQ(tiles->GetCount(), 6);
    EXPECT_EQ(tiles->GetItemAt(3)->GetPos().left, tiles->GetItemAt(0)->GetPos().left);
    EXPECT_GT(tiles->GetItemAt(3)->GetPos().top, tiles->GetItemAt(0)->GetPos().top);
    // The child layout's file was built into it.
    EXPECT_EQ(dynamic_cast<SkinUI::CContainerUI*>(pm.FindControl(L"child"))->GetCount(), 1);
}

// A real drag of the splitter band: the preview bar follows the pointer,
// the release resizes the layout.
TEST(SkinSample, DraggingTheSplitterPreviewsAndResizes) {
    Window wnd = ShowSkin(L"skin_sample.xml");
    auto* split = dynamic_cast<SkinUI::CHorizontalLayoutUI*>(wnd->pm.FindControl(L"split"));
    ASSERT_NE(split, nullptr);
    const RECT before = split->GetPos();
    ASSERT_EQ(before.right - before.left, 250);
    const POINT grip = Center(split->GetThumbRect());
    MoveTo(grip);
    PumpFor(30);
    LeftDown();
    PumpFor(30);
    MoveTo(grip.x + 20, grip.y);
    MoveTo(grip.x + 40, grip.y);
    PumpFor(50);
    ASSERT_EQ(wnd->pm.GetPostPaintCount(), 1);
    const RECT band = split->GetThumbRect(true);
    const auto shot = CaptureClient(wnd->GetHWND());
    const POINT mid = Center(band);
    // The band's background blended with translucent black.
    EXPECT_LT(shot->Rgb(mid.x, mid.y) & 0xFF, 0x60u) << std::hex << shot->Rgb(mid.x, mid.y);
    LeftUp();
    EXPECT_TRUE(PumpUntil([&] { return split->GetPos().right - split->GetPos().left == 290; }));
    EXPECT_EQ(wnd->pm.GetPostPaintCount(), 0);
    EXPECT_EQ(split->GetFixedWidth(), 290);
}

// The uninstaller-shaped frame with its four pages and an application tag.
TEST(SkinSample, RealisticFrameBuildsWithTheApplicationsCallback) {
    RecordingCallback callback;
    callback.Knows(L"ComputerExamine");
    Window wnd = ShowSkin(L"UninstallFrame.xml", &callback);
    CWindowManagerUI& pm = wnd->pm;
    for (const wchar_t* name :
         {L"root", L"caption", L"title", L"closebtn", L"pages", L"page1", L"UninstallNextStep",
          L"StayBtn", L"q1o1", L"q1o2", L"q1o3", L"BeginUnistall", L"progress", L"percent", L"ad4",
          L"UnistallFinished", L"footer"}) {
        EXPECT_NE(pm.FindControl(name), nullptr) << TestSupport::ToUtf8(name);
    }
    auto* pages = dynamic_cast<SkinUI::CTabLayoutUI*>(pm.FindControl(L"pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->GetCurSel(), 0);
    EXPECT_TRUE(pm.FindControl(L"UninstallNextStep")->IsVisible());
    EXPECT_FALSE(pm.FindControl(L"BeginUnistall")->IsVisible());
    EXPECT_EQ(pm.GetCaptionRect().bottom, 40);
    auto* q1o1 = dynamic_cast<SkinUI::COptionUI*>(pm.FindControl(L"q1o1"));
    ASSERT_NE(q1o1, nullptr);
    EXPECT_STREQ(q1o1->GetGroup(), L"q1");
    SavePng(*CaptureClient(wnd->GetHWND()), L"uninstall_frame.png");

    // Switching pages the way the wizard does.
    ASSERT_TRUE(pages->SelectItem(2));
    PumpFor(50);
    EXPECT_TRUE(pm.FindControl(L"progress")->IsVisible());
    auto* progress = dynamic_cast<SkinUI::CProgressUI*>(pm.FindControl(L"progress"));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->GetValue(), 35);
    EXPECT_GT(progress->GetWidth(), 400);
}

} // namespace
