// The wizard window itself: the real window class built from the embedded
// skin, on this thread, driven with real mouse and keyboard input. Its events
// go to a loopback server.
#include <windows.h>
#include <commctrl.h>

#include "tests/e2e/SkinInput.h"
#include "tests/support/FileUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/TempDir.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"
#include "tests/ui/support/ToolTipText.h"
#include "uninstaller/SingleInstance.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

using namespace TestSupport;
using SkinInput::ClientPoint;

namespace {

constexpr int kLeft = 40;
constexpr int kTop = 40;
constexpr int kWidth = 800;
constexpr int kHeight = 495;
// The root container's colour, where nothing else is drawn.
constexpr uint32_t kBackground = 0x1E2430;
constexpr ClientPoint kLogo{60, 38};

class WizardWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        server_.SetReplyForPath("/survey/1001", ScriptedReply::Ok("{\"active\":false}"));
        const std::wstring list = dir_ / L"Serverlist.ini";
        ASSERT_TRUE(
            StatsTest::WriteServerList(list, StatsTest::StandardServerList(server_.BaseUrl())));
        SampleGame game;
        game.surveyUrl = FromUtf8(server_.Url("/survey/"));
        // The game's web site: a batch file that leaves a mark when opened.
        game.website = dir_ / L"site.bat";
        ASSERT_TRUE(
            WriteFileBytes(game.website, "@echo opened> \"" + ToUtf8(SiteMark()) + "\"\r\n"));
        install_ = std::make_unique<SampleInstall>(dir_.Path(), game);
        install_->WriteConfig(install_->ConfigText());
        ASSERT_TRUE(OpenFrame(install_->InstallDir()));
        // Real keys go to the window with the keyboard: sent before this one
        // has it, they would reach another window, or none.
        ASSERT_TRUE(UiTest::TakeKeyboard(frame_));
        Settle();
    }

    void TearDown() override {
        UiTest::LeftUp();
        UiTest::MoveScreen(1, 1);
        if (::IsWindow(frame_)) {
            ::DestroyWindow(frame_);
        }
        UiTest::Pump();
        server_.Stop();
    }

    std::wstring SiteMark() const { return dir_ / L"site.txt"; }

    // The wizard of the installation in the folder as spelled, as its copy's command line names it.
    bool OpenFrame(const std::wstring& installDir) {
        auto* frame = new CUninstallerFrameWnd(installDir.c_str(), InstanceNameOf(installDir));
        frame->GetSession()->SetServerListPath(dir_ / L"Serverlist.ini");
        frame_ = frame->Create(nullptr, L"卸载程序", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kLeft,
                               kTop, 800, 572);
        if (frame_ == nullptr)
            return false;
        wizard_ = frame;
        ::SetWindowPos(frame_, HWND_TOP, kLeft, kTop, 0, 0, SWP_NOSIZE);
        return true;
    }

    void Settle() {
        ::UpdateWindow(frame_);
        UiTest::PumpFor(150);
    }

    POINT Screen(ClientPoint p) const {
        POINT pt = {p.x, p.y};
        ::ClientToScreen(frame_, &pt);
        return pt;
    }

    void MoveTo(ClientPoint p) {
        const POINT pt = Screen(p);
        UiTest::MoveScreen(pt.x, pt.y);
        UiTest::PumpFor(60);
    }

    void Click(ClientPoint p) {
        MoveTo(p);
        UiTest::LeftDown();
        UiTest::PumpFor(30);
        UiTest::LeftUp();
        UiTest::PumpFor(100);
    }

    LRESULT HitTest(ClientPoint p) const {
        const POINT pt = Screen(p);
        return ::SendMessageW(frame_, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    // Pumps like the program's loop and tells whether the loop would end.
    static bool LoopEndsWithin(DWORD ms) {
        bool quit = false;
        UiTest::PumpUntil([&] { return quit; }, ms, &quit);
        return quit;
    }

    int PostedEvents() const {
        int posts = 0;
        for (const RecordedRequest& r : server_.Requests()) {
            posts += r.method == "POST" ? 1 : 0;
        }
        return posts;
    }

    // The window's tool tip, once it shows.
    HWND ShownToolTip() const {
        HWND found = nullptr;
        UiTest::PumpUntil(
            [&] {
                found = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
                while (found != nullptr && ::GetWindow(found, GW_OWNER) != frame_) {
                    found = ::FindWindowExW(nullptr, found, TOOLTIPS_CLASSW, nullptr);
                }
                return found != nullptr && ::IsWindowVisible(found);
            },
            3000);
        return found;
    }

    TempDir dir_{L"wizard"};
    LoopbackHttpServer server_;
    std::unique_ptr<SampleInstall> install_;
    CUninstallerFrameWnd* wizard_ = nullptr; // freed with its window
    HWND frame_ = nullptr;
};

// The top 110 pixels drag the window, except where a button or a text lies.
TEST_F(WizardWindowTest, CaptionDragsOnlyFromTheBackground) {
    const struct {
        ClientPoint at;
        LRESULT hit;
        const char* what;
    } cases[] = {
        {{400, 50}, HTCAPTION, "title band"},
        {{400, 109}, HTCAPTION, "last caption row"},
        {kLogo, HTCLIENT, "logo"},
        {SkinInput::kBtnMin, HTCLIENT, "minimise button"},
        {SkinInput::kBtnClose, HTCLIENT, "close button"},
        {{400, 110}, HTCLIENT, "below the caption"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.hit, HitTest(c.at)) << c.what;
    }
}

TEST_F(WizardWindowTest, MinimiseButtonMinimises) {
    Click(SkinInput::kBtnMin);
    EXPECT_TRUE(UiTest::PumpUntil([&] { return ::IsIconic(frame_) != FALSE; }, 2000));
    ::ShowWindow(frame_, SW_RESTORE);
    UiTest::PumpFor(50);
}

// Alt+F4 (the system's close) ends the program's loop at once: no event, no
// orderly close, the window still there.
TEST_F(WizardWindowTest, SystemCloseEndsWithoutEvent) {
    ASSERT_TRUE(server_.WaitForRequests(1, 10000)); // the survey request
    UiTest::Key(VK_MENU);
    UiTest::Key(VK_F4);
    UiTest::Key(VK_F4, true);
    UiTest::Key(VK_MENU, true);
    EXPECT_TRUE(LoopEndsWithin(3000));
    UiTest::PumpFor(500);
    EXPECT_EQ(0, PostedEvents());
    EXPECT_TRUE(::IsWindowVisible(frame_));
    EXPECT_EQ(0, wizard_->GetWizardStep());
}

// The shipped skin's ad buttons have no web address: the final page shows
// neither them nor the title above them.
TEST_F(WizardWindowTest, FinalPageHidesEmptyAdsAndTheirTitle) {
    wizard_->SetStep(4);
    Settle();
    const auto shot = UiTest::CaptureClient(frame_, kWidth, kHeight);
    const auto plain = [&](const RECT& rc) {
        int other = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                other += shot->Rgb(x, y) != kBackground ? 1 : 0;
            }
        }
        return other;
    };
    EXPECT_EQ(0, plain(RECT{100, 110 + 124, 700, 110 + 148}));   // ADTitle
    EXPECT_EQ(0, plain(RECT{100, 110 + 152, 760, 110 + 242}));   // Game01 to Game04
    EXPECT_GT(plain(RECT{320, 110 + 270, 480, 110 + 314}), 100); // UnistallFinished
}

TEST_F(WizardWindowTest, LogoTellsAndOpensTheGamesSite) {
    MoveTo(kLogo);
    const HWND tip = ShownToolTip();
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(L"测试游戏官网", UiTest::ToolTipText(tip, frame_));

    Click(kLogo);
    EXPECT_TRUE(UiTest::PumpUntil([&] { return FileExists(SiteMark()); }, 15000));
    UiTest::PumpUntil([&] { return ReadFileBytes(SiteMark()).find("opened") == 0; }, 3000);
    EXPECT_EQ(0u, ReadFileBytes(SiteMark()).find("opened"));
}

// The line under the final page's title (font 2, rows 78 to 104 of the page).
constexpr RECT kNoteBand{0, 110 + 78, kWidth, 110 + 104};
// Where the pointer rests while a page is captured: no control there changes with hover.
constexpr ClientPoint kRest{20, 480};

// Pixels that differ between two captures, outside the band and inside it.
std::pair<int, int> Differences(const TestSupport::DibSurface& a, const TestSupport::DibSurface& b,
                                const RECT& band) {
    std::pair<int, int> count{0, 0};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const POINT pt{x, y};
            if (a.Rgb(x, y) != b.Rgb(x, y))
                ++(::PtInRect(&band, pt) ? count.second : count.first);
        }
    }
    return count;
}

class FinalPageTest : public WizardWindowTest {
protected:
    std::unique_ptr<TestSupport::DibSurface> CaptureAtRest() {
        MoveTo(kRest);
        Settle();
        return UiTest::CaptureClient(frame_, kWidth, kHeight);
    }

    // The final page as the skin draws it, before anything was removed.
    std::unique_ptr<TestSupport::DibSurface> SkinsFinalPage() {
        wizard_->SetStep(4);
        auto shot = CaptureAtRest();
        wizard_->SetStep(1);
        Settle();
        return shot;
    }

    // The player confirms on the farewell page; the final page once the removal is done.
    std::unique_ptr<TestSupport::DibSurface> UninstallAndCapture() {
        Click(SkinInput::kUninstallNextStep);
        EXPECT_TRUE(UiTest::PumpUntil([&] { return wizard_->GetWizardStep() == 4; }, 60000));
        return CaptureAtRest();
    }
};

TEST_F(FinalPageTest, AfterACleanRemovalThePageIsTheSkinsOwn) {
    install_->CreateFiles();
    const auto skin = SkinsFinalPage();
    const auto shown = UninstallAndCapture();
    EXPECT_FALSE(FileExists(install_->InstallDir() + L"\\game.exe"));
    EXPECT_EQ(Differences(*skin, *shown, kNoteBand), std::make_pair(0, 0));
}

// A file held open without delete sharing fails; one held with it is "deleted" and stays. The
// line under the title then tells how many stay, and where, drawn whole and centred where the
// thanks were; nothing else on the page changes.
TEST_F(FinalPageTest, FilesLeftBehindAreNamedInPlaceOfTheThanks) {
    install_->CreateFiles();
    const std::wstring dir = install_->InstallDir();
    const auto hold = [&](const wchar_t* file, DWORD share) {
        return SkinUI::CFileHandle(::CreateFileW((dir + file).c_str(), GENERIC_READ, share, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
    };
    const SkinUI::CFileHandle locked = hold(L"\\game.exe", FILE_SHARE_READ);
    const SkinUI::CFileHandle pending =
        hold(L"\\data\\pack1.dat", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(locked && pending);
    const auto skin = SkinsFinalPage();
    const auto shown = UninstallAndCapture();
    EXPECT_TRUE(FileExists(dir + L"\\game.exe"));

    const std::pair<int, int> changed = Differences(*skin, *shown, kNoteBand);
    EXPECT_EQ(changed.first, 0) << "only the line under the title changes";
    EXPECT_GT(changed.second, 100);
    const std::pair<int, int> thanks = InkColumns(*skin, kNoteBand, kBackground);
    const std::pair<int, int> note = InkColumns(*shown, kNoteBand, kBackground);
    // The folder makes the line longer than the thanks; it is not cut at either end.
    EXPECT_GT(note.second - note.first, thanks.second - thanks.first + 100);
    EXPECT_GT(note.first, 4);
    EXPECT_LT(note.second, kWidth - 5);
    EXPECT_LE(std::abs(note.first - (kWidth - 1 - note.second)), 3) << "centred";
}

// The running uninstaller's mark, by which a later start finds the window, goes before the
// window does: the platform leaves a destroyed window's properties behind. A window started
// through the folder's 8.3 path carries the folder's own name, and takes it off although the
// folder, which alone could tell that name, is gone by then.
struct MarkWatch {
    std::wstring mark;
    WNDPROC original = nullptr;
    bool markedAtTheEnd = true;
};
MarkWatch g_markWatch;

LRESULT CALLBACK WatchMarkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY)
        g_markWatch.markedAtTheEnd = ::GetPropW(hwnd, g_markWatch.mark.c_str()) != nullptr;
    return ::CallWindowProcW(g_markWatch.original, hwnd, msg, wParam, lParam);
}

TEST_F(WizardWindowTest, TheInstanceMarkIsTakenOffBeforeTheWindowGoes) {
    ::DestroyWindow(frame_);
    UiTest::Pump();
    const std::wstring dir = install_->InstallDir();
    ASSERT_TRUE(OpenFrame(ShortPathOf(dir)));
    g_markWatch.mark = InstanceNameOf(dir);
    EXPECT_NE(::GetPropW(frame_, g_markWatch.mark.c_str()), nullptr);
    ASSERT_TRUE(::MoveFileW(dir.c_str(), (dir + L" gone").c_str()));
    g_markWatch.original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchMarkProc)));
    ::DestroyWindow(frame_);
    UiTest::Pump();
    EXPECT_FALSE(g_markWatch.markedAtTheEnd);
}

} // namespace
