#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/uninstaller/RemovalTestUtil.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"

using namespace TestSupport;

namespace RemovalTest {

namespace {

LONG g_exitBroadcasts = 0;

LRESULT CALLBACK ListenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (UninstExitMessage != 0 && msg == UninstExitMessage) {
        ::InterlockedIncrement(&g_exitBroadcasts);
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateBroadcastListener() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RemovalTestBroadcastListener";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             wc.hInstance, nullptr);
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

void RemovalRecorder::OnRemovalProgress(int percentage) {
    const std::lock_guard<std::mutex> guard(lock_);
    if (percentage != lastProgress_) {
        record_.progress.push_back(percentage);
        lastProgress_ = percentage;
    }
}

void RemovalRecorder::OnRemovalStep(RemovalStep step, unsigned fileTotal) {
    const std::lock_guard<std::mutex> guard(lock_);
    if (step == RemovalStep::DeletingFiles) {
        record_.fileTotal = fileTotal;
    }
}

void RemovalRecorder::OnFileNotDeleted(const std::wstring& lowerName, DWORD) {
    const std::lock_guard<std::mutex> guard(lock_);
    record_.notDeleted.push_back(lowerName);
}

void RemovalRecorder::OnConfigError() {
    const std::lock_guard<std::mutex> guard(lock_);
    ++record_.configErrors;
    record_.finished = true;
}

void RemovalRecorder::OnRemovalFinished() {
    const size_t threads = session_ != nullptr ? session_->EventThreads().Count() : 0;
    const std::lock_guard<std::mutex> guard(lock_);
    record_.steps.push_back(kFinalWizardStep);
    record_.finished = true;
    record_.eventThreadsAtFinalPage = threads;
}

RunRecord RemovalRecorder::Take() {
    PumpMessages();
    const std::lock_guard<std::mutex> guard(lock_);
    RunRecord taken = record_;
    taken.exitBroadcasts = static_cast<int>(::InterlockedExchange(&g_exitBroadcasts, 0));
    record_ = RunRecord();
    return taken;
}

RunRecord RemovalRecorder::WaitFinished(DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        PumpMessages();
        {
            const std::lock_guard<std::mutex> guard(lock_);
            if (record_.finished) {
                break;
            }
        }
        if (::GetTickCount64() >= end) {
            break;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return Take();
}

SampleGame PlainGame(const std::vector<std::wstring>& files) {
    SampleGame game;
    const std::wstring pid = std::to_wstring(::GetCurrentProcessId());
    game.folderName = L"Game";
    game.chsName = L"移除测试" + pid;
    game.enName = L"VelmoraRemovalTest" + pid;
    game.skipDirs.clear();
    game.skipFiles.clear();
    game.shortcuts.clear();
    game.files = files;
    return game;
}

void RemovalFixture::SetUp() {
    ASSERT_TRUE(server.Start());
    listPath = dir / L"Serverlist.ini";
    ASSERT_TRUE(
        StatsTest::WriteServerList(listPath, StatsTest::StandardServerList(server.BaseUrl())));
    RegisterUninstExitMessage();
    broadcastListener = CreateBroadcastListener();
    ASSERT_NE(broadcastListener, nullptr);
}

void RemovalFixture::TearDown() {
    if (session != nullptr) {
        session->EventThreads().WaitAll(30000);
    }
    ::DestroyWindow(broadcastListener);
    recorder.Take();
    server.Stop();
}

void RemovalFixture::Install(const SampleGame& game, bool registryAndShortcuts) {
    install = std::make_unique<SampleInstall>(dir.Path(), game);
    install->CreateFiles();
    install->WriteConfig(install->ConfigText());
    if (registryAndShortcuts) {
        install->CreateRegistry();
        install->CreateShortcuts();
    }
    OpenSession(install->InstallDir());
}

void RemovalFixture::OpenSession(const std::wstring& commandLine) {
    session = new UninstallSession(commandLine.c_str());
    ASSERT_TRUE(session->IsConfigValid());
    session->SetServerListPath(listPath);
    request.session = session;
    recorder.SetSession(session);
}

RunRecord RemovalFixture::RunRemoval(DWORD timeoutMs) {
    EXPECT_TRUE(StartUninstallWorker(request, recorder));
    RunRecord record = recorder.WaitFinished(timeoutMs);
    EXPECT_TRUE(record.finished) << "the removal did not finish in time";
    return record;
}

std::vector<StatsTest::EventReport> RemovalFixture::Events(const std::string& code) {
    session->EventThreads().WaitAll(30000);
    std::vector<StatsTest::EventReport> reports;
    for (const RecordedRequest& request : server.Requests()) {
        StatsTest::EventReport report = StatsTest::DecodeEventBody(request.body);
        if (report.code == code) {
            reports.push_back(report);
        }
    }
    return reports;
}

} // namespace RemovalTest
