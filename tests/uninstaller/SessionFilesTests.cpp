#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempDir.h"
#include "uninstaller/SessionFiles.h"
#include "uninstaller/UninstallSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

using namespace TestSupport;

namespace {

std::vector<std::wstring> SortedFiles(const std::wstring& folder) {
    std::vector<std::wstring> names = FilesMatching(folder, L"*");
    std::sort(names.begin(), names.end());
    return names;
}

// What a player would see of a configuration: the names, ids and lists.
void ExpectSameConfig(const GameConfig& a, const GameConfig& b, const char* what) {
    EXPECT_EQ(a.chsName, b.chsName) << what;
    EXPECT_EQ(a.Gameid, b.Gameid) << what;
    EXPECT_EQ(a.surveyurl, b.surveyurl) << what;
    EXPECT_EQ(a.SkipDir, b.SkipDir) << what;
    EXPECT_EQ(a.SkipFile, b.SkipFile) << what;
    EXPECT_EQ(a.shortcut, b.shortcut) << what;
}

// Closes every error box that shows while it exists, as a player would, and counts them.
class ErrorBoxCloser {
public:
    ErrorBoxCloser()
        : thread_([this] {
              while (!stop_) {
                  const HWND box = ::FindWindowW(L"#32770", L"Error");
                  if (box != nullptr && ::PostMessageW(box, WM_COMMAND, IDOK, 0)) {
                      ++closed_;
                      WaitUntil([box] { return !::IsWindow(box); }, 5000);
                  }
                  ::Sleep(10);
              }
          }) {}
    // Waits a moment for a box that may still be opening.
    int Closed() {
        ::Sleep(200);
        stop_ = true;
        thread_.join();
        return closed_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> closed_{0};
    std::thread thread_;
};

// The worker prepares exactly what the session's own start prepares, says nothing to the player
// itself, and leaves the error box and the quit message to the thread that builds the session.
TEST(SessionFilesTask, PreparesWhatTheSessionWouldAndLeavesErrorsToTheBuildingThread) {
    TempDir root(L"sft");
    SampleInstall install(root.Path(), SampleGame());
    install.WriteConfig(install.ConfigText());
    TempDir noConfig(L"sftnone");
    const struct {
        const char* what;
        std::wstring dir;
        bool valid;
    } cases[] = {
        {"valid installation", install.InstallDir(), true},
        {"no configuration", noConfig.Path(), false},
        // Readable through the device form, refused by the folder check.
        {"refused folder", L"\\\\?\\" + install.InstallDir(), false},
    };
    for (const auto& c : cases) {
        TempDir taskTemp(L"sfttask"), ownTemp(L"sftown");
        SessionFiles prepared;
        {
            const ScopedVariable temp(L"TEMP", taskTemp.Path().c_str());
            ErrorBoxCloser closer;
            prepared = CSessionFilesTask(c.dir).Take();
            EXPECT_EQ(closer.Closed(), 0) << c.what;
        }
        MSG quit;
        EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << c.what;
        {
            const ScopedVariable temp(L"TEMP", ownTemp.Path().c_str());
            const SessionFiles own = PrepareSessionFiles(c.dir);
            EXPECT_EQ(own.configValid, c.valid) << c.what;
            ExpectSameConfig(*prepared.config, *own.config, c.what);
        }
        EXPECT_EQ(prepared.configValid, c.valid) << c.what;
        EXPECT_EQ(SortedFiles(taskTemp.Path()), SortedFiles(ownTemp.Path())) << c.what;
        EXPECT_EQ(FileExists(taskTemp / L"Serverlist.ini"), c.valid) << c.what;

        ErrorBoxCloser closer;
        const std::unique_ptr<UninstallSession> session(
            new UninstallSession(c.dir.c_str(), std::move(prepared)));
        EXPECT_EQ(closer.Closed(), c.valid ? 0 : 1) << c.what;
        EXPECT_EQ(session->IsConfigValid(), c.valid) << c.what;
        EXPECT_EQ(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), !c.valid) << c.what;
        if (c.valid) {
            EXPECT_EQ(session->GetServerListPath(), taskTemp / L"Serverlist.ini");
            EXPECT_EQ(session->GetGameConfig()->chsName, L"测试游戏");
        }
    }
}

} // namespace
