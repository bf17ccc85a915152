#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

// Puts a copy of the close probe into a folder with a blank in its name,
// with a configuration beside it, and runs it on a wizard step.
class OrderlyCloseTest : public ::testing::Test {
protected:
    TempDir dir_{L"close"};
    std::wstring probe_;

    void SetUp() override {
        SampleGame game;
        game.folderName = L"Game Dir";
        SampleInstall install(dir_.Path(), game);
        install.WriteConfig(install.ConfigText());
        probe_ = install.InstallDir() + L"\\uninst copy.exe";
        ASSERT_TRUE(CopyFileW(WinePathOf(CLOSE_PROBE).c_str(), probe_.c_str(), FALSE));
    }

    DWORD RunOnStep(int step, const std::map<std::wstring, std::wstring>& env = {}) {
        ChildProcess p =
            StartProcess(probe_, L"\"" + probe_ + L"\" " + std::to_wstring(step), dir_.Path(), env);
        EXPECT_TRUE(p);
        DWORD code = 99;
        EXPECT_TRUE(p.Wait(30000, &code));
        return code;
    }
};

TEST_F(OrderlyCloseTest, FinalStepDeletesTheCopyAfterItEnded) {
    EXPECT_EQ(RunOnStep(4), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(probe_); }, 20000));
}

TEST_F(OrderlyCloseTest, EarlierStepsKeepTheCopy) {
    for (int step : {0, 1, 2, 3}) {
        EXPECT_EQ(RunOnStep(step), 0u);
        Sleep(500); // a wrongly started shell would have deleted it by now
        EXPECT_TRUE(FileExists(probe_)) << "step " << step;
    }
}

TEST_F(OrderlyCloseTest, WithoutACommandShellTheCopyStaysAndTheProgramEnds) {
    EXPECT_EQ(RunOnStep(4, {{L"COMSPEC", L""}}), 0u);
    Sleep(500);
    EXPECT_TRUE(FileExists(probe_));
}

} // namespace
