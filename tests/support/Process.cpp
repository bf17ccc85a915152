#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include "ui/Win32Handles.h"

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <vector>

namespace TestSupport {

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(other.process_), pid_(other.pid_) {
    other.process_ = nullptr;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        if (process_)
            CloseHandle(process_);
        process_ = other.process_;
        pid_ = other.pid_;
        other.process_ = nullptr;
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    if (process_)
        CloseHandle(process_);
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* code) const {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (code)
        GetExitCodeProcess(process_, code);
    return true;
}

void ChildProcess::Kill() {
    if (process_) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
}

namespace {

// This process's environment with the given variables replaced, as a
// Windows environment block.
std::vector<wchar_t> EnvironmentBlock(const std::map<std::wstring, std::wstring>& overrides) {
    std::map<std::wstring, std::wstring> vars;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
        const std::wstring entry = p;
        const size_t eq = entry.find(L'=', 1);
        if (eq != std::wstring::npos)
            vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    FreeEnvironmentStringsW(block);
    for (const auto& kv : overrides)
        vars[kv.first] = kv.second;
    std::vector<wchar_t> out;
    for (const auto& kv : vars) {
        const std::wstring entry = kv.first + L"=" + kv.second;
        out.insert(out.end(), entry.begin(), entry.end());
        out.push_back(L'\0');
    }
    out.push_back(L'\0');
    return out;
}

// Starts the program with its standard output and error going to output (an
// inheritable handle), or to where this process's go when output is null.
ChildProcess StartWithOutput(const std::wstring& program, const std::wstring& commandLine,
                             const std::wstring& workDir,
                             const std::map<std::wstring, std::wstring>& env, HANDLE output) {
    std::vector<wchar_t> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back(L'\0');
    std::vector<wchar_t> block = EnvironmentBlock(env);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    if (output != nullptr) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = output;
        si.hStdError = output;
    }
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, output != nullptr,
                        CREATE_UNICODE_ENVIRONMENT, block.data(),
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    return ChildProcess(pi.hProcess, pi.dwProcessId);
}

SkinUI::CFileHandle InheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return SkinUI::CFileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

ChildProcess StartProcess(const std::wstring& program, const std::wstring& commandLine,
                          const std::wstring& workDir,
                          const std::map<std::wstring, std::wstring>& env) {
    return StartWithOutput(program, commandLine, workDir, env, nullptr);
}

TestCaseRun RunOwnTestCaseAlone(const std::wstring& testName, DWORD timeoutMs) {
    const TempDir folder(L"case");
    const std::wstring outputPath = folder / L"output.txt";
    TestCaseRun run;
    {
        const SkinUI::CFileHandle output = InheritableFile(outputPath);
        if (!output)
            return run;
        const std::wstring program = OwnProgramPath();
        const ChildProcess child = StartWithOutput(
            program,
            L"\"" + program + L"\" --gtest_also_run_disabled_tests --gtest_catch_exceptions=0" +
                L" --gtest_filter=" + testName,
            folder.Path(), {}, output.Get());
        run.ended = child && child.Wait(timeoutMs, &run.code);
    }
    run.output = ReadFileBytes(outputPath);
    return run;
}

ChildProcess StartTestChild(const std::wstring& program, const std::wstring& testFilter,
                            const std::wstring& workDir,
                            const std::map<std::wstring, std::wstring>& env) {
    return StartProcess(program,
                        L"\"" + program + L"\" --gtest_filter=" + testFilter +
                            L" --gtest_catch_exceptions=0",
                        workDir, env);
}

std::wstring OwnProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void CrashHere() {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

DWORD WINAPI CrashingThreadProc(void*) {
    CrashHere();
    return 0;
}

ChildProcess OpenProcessById(DWORD pid) {
    HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
    return h ? ChildProcess(h, pid) : ChildProcess();
}

std::wstring WinePathOf(const std::string& unixPath) {
    std::wstring w = L"Z:" + FromUtf8(unixPath);
    for (wchar_t& c : w) {
        if (c == L'/')
            c = L'\\';
    }
    return w;
}

namespace {

struct WindowQuery {
    const wchar_t* className;
    const wchar_t* title;
    DWORD pid;
    HWND found;
    std::vector<HWND>* all; // every match when set; otherwise the search ends at the first
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    auto* q = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (q->pid && pid != q->pid)
        return TRUE;
    wchar_t buf[256];
    if (q->className && (!GetClassNameW(hwnd, buf, 256) || wcscmp(buf, q->className) != 0))
        return TRUE;
    if (q->title && (GetWindowTextW(hwnd, buf, 256), wcscmp(buf, q->title) != 0))
        return TRUE;
    q->found = hwnd;
    if (q->all) {
        q->all->push_back(hwnd);
        return TRUE;
    }
    return FALSE;
}

} // namespace

HWND WaitForTopWindow(const wchar_t* className, const wchar_t* title, DWORD pid, DWORD timeoutMs) {
    WindowQuery q{className, title, pid, nullptr, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
            return q.found != nullptr;
        },
        timeoutMs);
    return q.found;
}

std::vector<HWND> VisibleTopWindows(const wchar_t* className, const wchar_t* title) {
    std::vector<HWND> all;
    WindowQuery q{className, title, 0, nullptr, &all};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
    all.erase(std::remove_if(all.begin(), all.end(), [](HWND h) { return !IsWindowVisible(h); }),
              all.end());
    return all;
}

size_t CountProcesses(const std::wstring& exeName) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    size_t count = 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        count += _wcsicmp(entry.szExeFile, exeName.c_str()) == 0;
    }
    CloseHandle(snapshot);
    return count;
}

std::wstring SpecialFolder(int csidl) {
    wchar_t buf[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, buf, csidl, TRUE);
    return buf;
}

} // namespace TestSupport
