#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"
#include "uninstaller/Shutdown.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

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

    DWORD RunOnStep(int step, const std::map<std::wstring, std::wstring>& env = {},
                    int hangingEventThreads = 0) {
        ChildProcess p = StartProcess(probe_,
                                      L"\"" + probe_ + L"\" " + std::to_wstring(step) + L" " +
                                          std::to_wstring(hangingEventThreads),
                                      dir_.Path(), env);
        EXPECT_TRUE(p);
        DWORD code = 99;
        EXPECT_TRUE(p.Wait(60000, &code));
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

// Removes a variable from this process's environment, and so from the children it starts.
class WithoutVariable {
public:
    explicit WithoutVariable(const wchar_t* name) : name_(name) {
        const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
        had_ = n != 0;
        value_.resize(n);
        if (had_)
            GetEnvironmentVariableW(name, &value_[0], n);
        SetEnvironmentVariableW(name, nullptr);
    }
    ~WithoutVariable() {
        if (had_)
            SetEnvironmentVariableW(name_, value_.c_str());
    }

private:
    const wchar_t* name_;
    std::wstring value_;
    bool had_ = false;
};

TEST_F(OrderlyCloseTest, WithoutACommandShellOrAShortPathTheCopyStaysAndTheProgramEnds) {
    const struct {
        const char* what;
        bool unsetComspec;
        std::map<std::wstring, std::wstring> env;
    } cases[] = {
        {"COMSPEC empty", false, {{L"COMSPEC", L""}}},
        {"no COMSPEC", true, {}},
        {"no short path", false, {{L"CLOSE_PROBE_NO_SHORT_PATH", L"1"}}},
    };
    for (const auto& c : cases) {
        {
            std::unique_ptr<WithoutVariable> unset;
            if (c.unsetComspec)
                unset.reset(new WithoutVariable(L"COMSPEC"));
            EXPECT_EQ(RunOnStep(4, c.env), 0u) << c.what;
        }
        Sleep(500);
        EXPECT_TRUE(FileExists(probe_)) << c.what;
    }
    // With a shell and a short path, the same copy goes.
    EXPECT_EQ(RunOnStep(4), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(probe_); }, 20000));
}

// The close waits for each event thread that never ends at most its time, one thread after the
// other, and then goes on to delete the copy.
TEST_F(OrderlyCloseTest, EachEventThreadThatNeverEndsHoldsTheCloseAtMostTenSeconds) {
    ASSERT_EQ(kEventThreadWaitMs, 10000u);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(RunOnStep(4, {}, 2), 0u);
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 2 * kEventThreadWaitMs);
    EXPECT_LT(took, 2 * kEventThreadWaitMs + 8000);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(probe_); }, 20000));
}

} // namespace
