#pragma once
#include <windows.h>

#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"
#include "uninstaller/UninstallSession.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A session over a sample installation whose events go to a loopback server and whose survey
// URL points at the same server.
class SessionOverLoopback : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Settings of the sample game before SetUp makes the installation.
    virtual void Adjust(TestSupport::SampleGame& /*game*/) {}

    TestSupport::TempDir dir{L"events"};
    TestSupport::LoopbackHttpServer server;
    std::unique_ptr<TestSupport::SampleInstall> install;
    std::unique_ptr<UninstallSession> session;
    std::wstring listPath;
};

// A hidden top-level window that collects WM_UNINST_SURVEY_READY.
class SurveyWindow {
public:
    SurveyWindow();
    ~SurveyWindow();
    SurveyWindow(const SurveyWindow&) = delete;
    SurveyWindow& operator=(const SurveyWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    // Pumps this thread's messages until the window has received a survey message or the time
    // is up; true with its wParam when one came.
    bool WaitForSurveyMessage(DWORD timeoutMs, WPARAM* wParam = nullptr);
    // Survey messages still in the queue, taken out.
    int DrainSurveyMessages();

private:
    HWND hwnd_ = nullptr;
};
