#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace TestSupport {

// Owns a process handle; waits are bounded by the caller.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess();

    explicit operator bool() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }
    // True when the process ended within the time; its exit code in *code.
    bool Wait(DWORD timeoutMs, DWORD* code = nullptr) const;
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Starts a program with an exact command line (may be just the quoted
// program path, which the program sees as an empty command line), a working
// folder, and environment variables set or replaced on top of this
// process's own.
ChildProcess StartProcess(const std::wstring& program, const std::wstring& commandLine,
                          const std::wstring& workDir,
                          const std::map<std::wstring, std::wstring>& env = {});

// Starts a test program (by default this one) again, running only the test
// group given (e.g. L"CrashDumpChild.*") with gtest's own exception catching
// off, so a crash in the child really ends it.
ChildProcess StartTestChild(const std::wstring& program, const std::wstring& testFilter,
                            const std::wstring& workDir,
                            const std::map<std::wstring, std::wstring>& env = {});

// What a case of this test program did when run on its own.
struct TestCaseRun {
    bool ended = false; // within the time
    DWORD code = 0;
    std::string output; // GoogleTest's report and whatever else the case printed
};

// Runs one case of this test program (a DISABLED_ one too: a case that needs a
// process of its own is left out of the whole run that way) in a new process,
// with gtest's exception catching off. Its output goes to a file, not into this
// program's, whose closing summary alone must decide this program's entry.
TestCaseRun RunOwnTestCaseAlone(const std::wstring& testName, DWORD timeoutMs);

// The full path of the running program.
std::wstring OwnProgramPath();

// Writes through a null pointer: an access violation on the calling thread.
void CrashHere();
// A thread procedure that does the same on its own thread.
DWORD WINAPI CrashingThreadProc(void*);

// Opens a running process by id for waiting.
ChildProcess OpenProcessById(DWORD pid);

// The Windows path of a file of the Linux side (Wine's Z: drive).
std::wstring WinePathOf(const std::string& unixPath);

// Polls for a top-level window of the class (any when null) and title that
// belongs to the process (any when pid is 0).
HWND WaitForTopWindow(const wchar_t* className, const wchar_t* title, DWORD pid, DWORD timeoutMs);

// Every visible top-level window of the class (any when null) and title.
std::vector<HWND> VisibleTopWindows(const wchar_t* className, const wchar_t* title);

// The number of running processes whose executable has the file name (any case).
size_t CountProcesses(const std::wstring& exeName);

// Polls until the predicate holds or the time is up.
template <typename Pred> bool WaitUntil(Pred pred, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
}

// A known folder (CSIDL_*) of the Wine user.
std::wstring SpecialFolder(int csidl);

} // namespace TestSupport
