#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/uninstaller/EventsTestUtil.h"
#include "uninstaller/StatisticsEvents.h"

void SessionOverLoopback::SetUp() {
    ASSERT_TRUE(server.Start());
    TestSupport::SampleGame game;
    game.gversion = L"1.2.3 测试";
    game.surveyUrl = TestSupport::FromUtf8(server.Url("/survey/"));
    Adjust(game);
    install = std::make_unique<TestSupport::SampleInstall>(dir.Path(), game);
    install->WriteConfig(install->ConfigText());
    session = std::make_unique<UninstallSession>(install->InstallDir().c_str());
    ASSERT_TRUE(session->IsConfigValid());
    listPath = dir / L"Serverlist.ini";
    ASSERT_TRUE(
        StatsTest::WriteServerList(listPath, StatsTest::StandardServerList(server.BaseUrl())));
    session->SetServerListPath(listPath);
}

void SessionOverLoopback::TearDown() {
    if (session) {
        session->EventThreads().WaitAll(30000);
    }
}

namespace {

const wchar_t kClassName[] = L"SurveyTestWindow";

void RegisterTestClass() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassW(&wc);
}

} // namespace

SurveyWindow::SurveyWindow() {
    RegisterTestClass();
    hwnd_ = ::CreateWindowExW(0, kClassName, L"survey", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

SurveyWindow::~SurveyWindow() {
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
}

bool SurveyWindow::WaitForSurveyMessage(DWORD timeoutMs, WPARAM* wParam) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        if (::PeekMessageW(&msg, hwnd_, WM_UNINST_SURVEY_READY, WM_UNINST_SURVEY_READY,
                           PM_REMOVE)) {
            if (wParam != nullptr) {
                *wParam = msg.wParam;
            }
            return true;
        }
        if (::GetTickCount64() >= end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

int SurveyWindow::DrainSurveyMessages() {
    int count = 0;
    MSG msg;
    while (::PeekMessageW(&msg, hwnd_, WM_UNINST_SURVEY_READY, WM_UNINST_SURVEY_READY, PM_REMOVE)) {
        ++count;
    }
    return count;
}
