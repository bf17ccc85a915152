#pragma once
#include <windows.h>

#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"
#include "tests/support/UnixSide.h"
#include "uninstaller/RemovalEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace RemovalTest {

// What the removal reported.
struct RunRecord {
    std::vector<int> progress; // percentages, each only when it differs from the last one
    std::vector<int> steps;    // the wizard step each end would show (4)
    int configErrors = 0;
    int exitBroadcasts = 0; // the registered exit message, as a top-level window sees it
    bool finished = false;  // the end or a configuration error was reported
    unsigned fileTotal = 0; // the files counted before the deletion
    size_t eventThreadsAtFinalPage = 0;
    std::vector<std::wstring> notDeleted; // the names reported as left, in order
};

// Records a removal's reports from its worker thread; no window is involved.
class RemovalRecorder : public IRemovalObserver {
public:
    void SetSession(UninstallSession* session) { session_ = session; }
    void OnRemovalProgress(int percentage) override;
    void OnRemovalStep(RemovalStep step, unsigned fileTotal) override;
    void OnFileNotDeleted(const std::wstring& lowerName, DWORD error) override;
    void OnConfigError() override;
    void OnRemovalFinished() override;
    // Takes out what was reported since the last call (the last progress stays remembered).
    RunRecord Take();
    // Pumps this thread's messages until the removal has ended, then takes the record.
    RunRecord WaitFinished(DWORD timeoutMs);

private:
    std::mutex lock_;
    RunRecord record_;
    int lastProgress_ = -1;
    UninstallSession* session_ = nullptr;
};

// A sample game whose names are unique to this process, without keep lists or shortcuts.
TestSupport::SampleGame PlainGame(const std::vector<std::wstring>& files);

// A sample installation with a session over it whose events go to a loopback server, and a
// plain top-level window that counts the exit broadcasts.
class RemovalFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the installation (files and configuration; registry entries and shortcuts too when
    // asked) and a session over it. The session lives until the process ends: a worker may
    // still hold it.
    void Install(const TestSupport::SampleGame& game, bool registryAndShortcuts = false);
    // A session over an installation directory written as commandLine.
    void OpenSession(const std::wstring& commandLine);
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
    UninstallSession* session = nullptr;
    RemovalRequest request;
    RemovalRecorder recorder;
    HWND broadcastListener = nullptr;
};

} // namespace RemovalTest
