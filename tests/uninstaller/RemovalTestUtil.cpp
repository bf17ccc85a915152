#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/uninstaller/RemovalTestUtil.h"
#include "uninstaller/FrameMessages.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"

using namespace TestSupport;

namespace RemovalTest {

namespace {

void Record(CUninstallerFrameWnd& frame, const MSG& msg, RunRecord& record, bool* dispatch) {
    *dispatch = true;
    if (msg.hwnd != frame.GetHWND()) {
        return;
    }
    if (msg.message == WM_UNINST_PROGRESS) {
        record.progress.push_back(static_cast<int>(msg.wParam));
    } else if (msg.message == WM_UNINST_SET_STEP) {
        record.steps.push_back(static_cast<int>(msg.wParam));
        if (msg.wParam == static_cast<WPARAM>(kFinalWizardStep)) {
            record.finished = true;
            record.eventThreadsAtFinalPage = frame.GetSession()->EventThreads().Count();
        }
    } else if (msg.message == WM_UNINST_CONFIG_ERROR) {
        ++record.configErrors;
        record.finished = true;
        *dispatch = false;
    } else if (UninstExitMessage != 0 && msg.message == UninstExitMessage) {
        ++record.exitBroadcasts;
    }
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

void DrainFrameMessages(CUninstallerFrameWnd& frame, RunRecord& record) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            continue;
        }
        bool dispatch = true;
        Record(frame, msg, record, &dispatch);
        if (dispatch) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

RunRecord PumpUntilFinished(CUninstallerFrameWnd& frame, DWORD timeoutMs) {
    RunRecord record;
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!record.finished && ::GetTickCount64() < end) {
        DrainFrameMessages(frame, record);
        if (!record.finished) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    DrainFrameMessages(frame, record);
    return record;
}

bool IsWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::string UnixPathOf(const std::wstring& windowsPath) {
    typedef char*(CDECL * UnixNameFn)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr) {
        return std::string();
    }
    char* name = unixName(windowsPath.c_str());
    if (name == nullptr) {
        return std::string();
    }
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

bool RunUnixProgram(const std::string& program, const std::vector<std::string>& args) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring start = std::wstring(system) + L"\\start.exe";
    std::string line = "start.exe /wait /unix " + Quoted(program);
    for (const std::string& arg : args) {
        line += " " + Quoted(arg);
    }
    ChildProcess child = StartProcess(start, FromUtf8(line), L"");
    DWORD code = 1;
    return child && child.Wait(30000, &code) && code == 0;
}

bool MakeUnixLink(const std::wstring& target, const std::wstring& linkPath) {
    const std::string unixTarget = UnixPathOf(target);
    const std::string unixLink = UnixPathOf(linkPath);
    if (unixTarget.empty() || unixLink.empty() ||
        !RunUnixProgram("/bin/ln", {"-s", unixTarget, unixLink})) {
        return false;
    }
    return WaitUntil(
        [&] {
            const DWORD attributes = ::GetFileAttributesW(linkPath.c_str());
            return attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        },
        10000);
}

void RemoveUnixLink(const std::wstring& linkPath) {
    const std::string unixLink = UnixPathOf(linkPath);
    if (!unixLink.empty()) {
        // rm without -r removes the link, never what it points to.
        RunUnixProgram("/bin/rm", {"-f", unixLink});
    }
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
}

void RemovalFixture::TearDown() {
    if (frame != nullptr) {
        frame->GetSession()->EventThreads().WaitAll(30000);
        ::DestroyWindow(frame->GetHWND());
        RunRecord ignored;
        DrainFrameMessages(*frame, ignored);
    }
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
    OpenFrame(install->InstallDir());
}

void RemovalFixture::OpenFrame(const std::wstring& commandLine) {
    frame = new CUninstallerFrameWnd(commandLine.c_str());
    ASSERT_TRUE(frame->GetSession()->IsConfigValid());
    frame->GetSession()->SetServerListPath(listPath);
    ASSERT_NE(frame->Create(nullptr, L"removal test", WS_OVERLAPPEDWINDOW, 0, 0, 0, 320, 200),
              nullptr);
}

RunRecord RemovalFixture::RunRemoval(DWORD timeoutMs) {
    EXPECT_TRUE(StartUninstallWorker(*frame));
    RunRecord record = PumpUntilFinished(*frame, timeoutMs);
    EXPECT_TRUE(record.finished) << "the removal did not finish in time";
    return record;
}

std::vector<StatsTest::EventReport> RemovalFixture::Events(const std::string& code) {
    frame->GetSession()->EventThreads().WaitAll(30000);
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
