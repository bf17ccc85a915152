// Removal of a large installation tree: the removal engine (on its worker thread, reporting to an
// observer) against cmd's "rd /s /q" on an identical tree under the same system, and the
// engine's peak memory for two tree sizes, which must not grow with the number of files.
#include <windows.h>
#include <psapi.h>

#include "bench/BenchClock.h"
#include "statistics/TextHelpers.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"

#include <cstdio>
#include <atomic>
#include <cstdlib>
#include <string>

namespace {

constexpr int kFilesPerFolder = 10;
constexpr int kSubFoldersPerTop = 49;

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring path(buffer, length);
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

bool WriteBytes(const std::wstring& path, const void* data, DWORD size) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, data, size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

bool FillFolder(const std::wstring& folder) {
    static const char kContent[] = "small installation file of the removal benchmark\r\n";
    if (!CreateDirectoryW(folder.c_str(), nullptr))
        return false;
    for (int i = 0; i < kFilesPerFolder; ++i) {
        const std::wstring path = folder + L"\\file" + std::to_wstring(i) + L".dat";
        if (!WriteBytes(path, kContent, sizeof kContent - 1))
            return false;
    }
    return true;
}

// folders / 50 top folders of 49 sub-folders each; ten small files in every folder.
bool MakeTree(const std::wstring& root, int folders) {
    if (!CreateDirectoryW(root.c_str(), nullptr))
        return false;
    for (int top = 0; top < folders / (kSubFoldersPerTop + 1); ++top) {
        const std::wstring topPath = root + L"\\pack" + std::to_wstring(top);
        if (!FillFolder(topPath))
            return false;
        for (int sub = 0; sub < kSubFoldersPerTop; ++sub) {
            if (!FillFolder(topPath + L"\\part" + std::to_wstring(sub)))
                return false;
        }
    }
    return true;
}

bool WriteConfig(const std::wstring& root) {
    const std::wstring pid = std::to_wstring(GetCurrentProcessId());
    const std::wstring ini = L"\xFEFF[game]\r\nchsName=移除基准" + pid +
                             L"\r\nenName=VelmoraRemovalBench" + pid +
                             L"\r\nGameid=1\r\n[survey]\r\nsurveytoken=t\r\nsurveyurl=u\r\n";
    return WriteBytes(root + L"\\installedFileList.txt", ini.data(),
                      static_cast<DWORD>(ini.size() * sizeof(wchar_t)));
}

struct Memory {
    double peakWorkingSetMb = 0;
    double peakPagefileMb = 0;
};

Memory PeakMemory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    Memory memory;
    memory.peakWorkingSetMb = counters.PeakWorkingSetSize / 1048576.0;
    memory.peakPagefileMb = counters.PeakPagefileUsage / 1048576.0;
    return memory;
}

// Counts the changes of the progress, as the wizard posts them, and waits for the end.
class CountingObserver : public IRemovalObserver {
public:
    CountingObserver() : finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CountingObserver() { CloseHandle(finished_); }
    CountingObserver(const CountingObserver&) = delete;
    CountingObserver& operator=(const CountingObserver&) = delete;

    void OnRemovalProgress(int percentage) override {
        if (last_.exchange(percentage) != percentage)
            ++changes_;
    }
    void OnRemovalStep(RemovalStep, unsigned) override {}
    void OnFileNotDeleted(const std::wstring&, DWORD) override {}
    void OnConfigError() override { SetEvent(finished_); }
    void OnRemovalFinished() override {
        completed_ = true;
        SetEvent(finished_);
    }
    bool Wait(DWORD timeoutMs) const {
        return WaitForSingleObject(finished_, timeoutMs) == WAIT_OBJECT_0 && completed_;
    }
    int Changes() const { return changes_; }

private:
    HANDLE finished_;
    std::atomic<int> last_{-1};
    std::atomic<int> changes_{0};
    std::atomic<bool> completed_{false};
};

// Child: builds a tree, removes it with the engine and prints the time and the peak memory.
int RunEngine(int files, const std::wstring& resultPath) {
    const int folders = files / kFilesPerFolder;
    const std::wstring root =
        TempFolder() + L"\\removal_bench_engine_" + std::to_wstring(GetCurrentProcessId());
    if (!MakeTree(root, folders) || !WriteConfig(root)) {
        std::printf("cannot build the tree\n");
        return 1;
    }
    UninstallSession* session = new UninstallSession(root.c_str());
    // No server list: the final event is started but sends nothing.
    session->SetServerListPath(root + L"_no_server_list.ini");
    RemovalRequest request;
    request.session = session;
    CountingObserver observer;
    const Memory before = PeakMemory();
    const double start = BenchSeconds();
    if (!StartUninstallWorker(request, observer) || !observer.Wait(600000)) {
        std::printf("the removal did not finish\n");
        return 1;
    }
    const int progressMessages = observer.Changes();
    const double seconds = BenchSeconds() - start;
    const Memory after = PeakMemory();
    session->EventThreads().WaitAll(30000);
    const Memory afterEvents = PeakMemory();
    const bool gone = GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES;

    std::printf("engine %6d files in %5d folders: %7.3f s, %d progress messages, tree %s\n",
                files + 1, folders, seconds, progressMessages, gone ? "gone" : "NOT GONE");
    std::printf("  peak working set %.2f MB -> %.2f MB (%+.2f MB), after the final event's "
                "thread %.2f MB\n",
                before.peakWorkingSetMb, after.peakWorkingSetMb,
                after.peakWorkingSetMb - before.peakWorkingSetMb, afterEvents.peakWorkingSetMb);
    std::printf("  peak pagefile usage %.2f MB -> %.2f MB (%+.2f MB), after the final event's "
                "thread %.2f MB\n",
                before.peakPagefileMb, after.peakPagefileMb,
                after.peakPagefileMb - before.peakPagefileMb, afterEvents.peakPagefileMb);
    std::fflush(stdout);
    const std::string result = std::to_string(seconds);
    WriteBytes(resultPath, result.data(), static_cast<DWORD>(result.size()));
    return gone ? 0 : 1;
}

std::wstring OwnPath() {
    return ModulePath(nullptr);
}

// Runs a command line and returns its wall time in seconds, or a negative value.
double TimeProcess(const std::wstring& application, const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const double start = BenchSeconds();
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), &line[0], nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    const double seconds = BenchSeconds() - start;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return seconds;
}

double ReadResult(const std::wstring& path) {
    char text[64] = {};
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    DeleteFileW(path.c_str());
    return std::atof(text);
}

// Each engine run in a process of its own, so that its peak memory is its own.
double EngineInChild(int files) {
    const std::wstring result =
        TempFolder() + L"\\removal_bench_result_" + std::to_wstring(files) + L".txt";
    const std::wstring self = OwnPath();
    const std::wstring line =
        L"\"" + self + L"\" --engine " + std::to_wstring(files) + L" \"" + result + L"\"";
    if (TimeProcess(self, line) < 0)
        return -1;
    return ReadResult(result);
}

std::wstring CommandShell() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"COMSPEC", buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? buffer : L"C:\\windows\\system32\\cmd.exe";
}

double RdInChild(int files) {
    const std::wstring root = TempFolder() + L"\\removal_bench_rd_" + std::to_wstring(files);
    if (!MakeTree(root, files / kFilesPerFolder) || !WriteConfig(root))
        return -1;
    const double seconds = TimeProcess(CommandShell(), L"cmd.exe /c rd /s /q \"" + root + L"\"");
    if (GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES)
        std::printf("rd /s /q left the tree behind\n");
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--engine") {
        const int files = std::atoi(argv[2]);
        const int length = MultiByteToWideChar(CP_ACP, 0, argv[3], -1, nullptr, 0);
        std::wstring result(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, argv[3], -1, &result[0], length);
        result.resize(static_cast<size_t>(length) - 1);
        return RunEngine(files, result);
    }
    std::printf("Removal of small-file trees (10 files a folder, plus the configuration file)\n");
    std::fflush(stdout);
    const double engineSmall = EngineInChild(5000);
    const double engineLarge = EngineInChild(20000);
    const double shellStart = TimeProcess(CommandShell(), L"cmd.exe /c rem");
    const double rdSmall = RdInChild(5000);
    const double rdLarge = RdInChild(20000);
    std::printf("rd /s /q  5001 files in   500 folders: %7.3f s (process start included)\n",
                rdSmall);
    std::printf("rd /s /q 20001 files in  2000 folders: %7.3f s (process start included)\n",
                rdLarge);
    std::printf("cmd.exe start and exit alone:          %7.3f s\n", shellStart);
    if (engineSmall > 0 && rdSmall > 0 && engineLarge > 0 && rdLarge > 0) {
        std::printf("engine / rd:  5001 files %.2f, 20001 files %.2f\n", engineSmall / rdSmall,
                    engineLarge / rdLarge);
    }
    return 0;
}
