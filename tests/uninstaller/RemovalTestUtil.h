#pragma once
#include <windows.h>

#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace RemovalTest {

// What the main window received while the removal ran.
struct RunRecord {
    std::vector<int> progress; // WM_UNINST_PROGRESS values in arrival order
    std::vector<int> steps;    // WM_UNINST_SET_STEP values
    int configErrors = 0;      // WM_UNINST_CONFIG_ERROR (not dispatched: it shows a box)
    int exitBroadcasts = 0;    // the registered exit message
    bool finished = false;     // step 4 or a configuration error arrived
    size_t eventThreadsAtFinalPage = 0;
};

// Pumps this thread's messages until the frame shows step 4 or reports a configuration error,
// recording the removal's messages and dispatching the others to the frame.
RunRecord PumpUntilFinished(CUninstallerFrameWnd& frame, DWORD timeoutMs);
// Takes out what is still queued for the frame, recording it.
void DrainFrameMessages(CUninstallerFrameWnd& frame, RunRecord& record);

// Running under Wine (whose Unix links the platform cannot remove without following them).
bool IsWine();
// The Linux path of a Windows path, empty outside Wine.
std::string UnixPathOf(const std::wstring& windowsPath);
// Runs a Linux program through Wine's "start /unix" and waits for it; true when it ran.
bool RunUnixProgram(const std::string& program, const std::vector<std::string>& args);
// A Unix symbolic link at linkPath to target (both Windows paths); true once it shows as a link.
bool MakeUnixLink(const std::wstring& target, const std::wstring& linkPath);
// Removes a Unix link (never its target).
void RemoveUnixLink(const std::wstring& linkPath);

// A sample game whose names are unique to this process, without keep lists or shortcuts.
TestSupport::SampleGame PlainGame(const std::vector<std::wstring>& files);

// A sample installation with a main window over it whose events go to a loopback server.
class RemovalFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the installation (files and configuration; registry entries and shortcuts too when
    // asked) and a frame window over it. The frame lives until the process ends: a worker may
    // still hold it.
    void Install(const TestSupport::SampleGame& game, bool registryAndShortcuts = false);
    // A frame over an installation directory written as commandLine.
    void OpenFrame(const std::wstring& commandLine);
    // Starts the removal worker and waits for its end.
    RunRecord RunRemoval(DWORD timeoutMs = 120000);
    // Waits for the event threads, then the decoded reports of one event code.
    std::vector<StatsTest::EventReport> Events(const std::string& code);

    std::wstring InstallPath(const std::wstring& relative) const {
        return install->InstallDir() + L"\\" + relative;
    }

    TestSupport::TempDir dir{L"rm"};
    TestSupport::LoopbackHttpServer server;
    std::wstring listPath;
    std::unique_ptr<TestSupport::SampleInstall> install;
    CUninstallerFrameWnd* frame = nullptr;
};

} // namespace RemovalTest
