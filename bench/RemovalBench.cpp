// Removal of a large installation tree: the removal engine (on its worker thread, reporting to an
// observer) against the least a recursive removal does (count the files, then find, delete and
// remove each directory) and against cmd's "rd /s /q", each on an identical tree under the same
// system in a process of its own, at 2,000, 20,000 and 100,000 files; and the engine's peak
// memory, which must not grow with the number of files. The three run in several rounds, each
// round started by another of them; the medians of the engine and the minimal recursion are
// compared, rd (minutes a run at 100,000 files) runs in the middle round only.
#include <windows.h>
#include <psapi.h>

#include "bench/BenchClock.h"
#include "bench/BenchStats.h"
#include "statistics/TextHelpers.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kFilesPerFolder = 10;
constexpr int kSubFoldersPerTop = 49;
constexpr int kRounds = 5;

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

// Lets the main thread wait for the removal's end; the progress reports go nowhere.
class EndWaiter : public IRemovalObserver {
public:
    EndWaiter() : finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~EndWaiter() { CloseHandle(finished_); }
    EndWaiter(const EndWaiter&) = delete;
    EndWaiter& operator=(const EndWaiter&) = delete;

    void OnRemovalProgress(int) override {}
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

private:
    HANDLE finished_;
    std::atomic<bool> completed_{false};
};

// Child: builds a tree, removes it with the engine and writes the time and how much its peak
// memory grew during the removal.
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
    EndWaiter observer;
    const Memory before = PeakMemory();
    const double start = BenchSeconds();
    if (!StartUninstallWorker(request, observer) || !observer.Wait(600000)) {
        std::printf("the removal did not finish\n");
        return 1;
    }
    const double seconds = BenchSeconds() - start;
    const Memory after = PeakMemory();
    session->EventThreads().WaitAll(30000);
    const bool gone = GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES;

    if (!gone)
        std::printf("the engine left the tree behind\n");
    // Seconds, then the peak working set's and the peak pagefile usage's growth in MB.
    char result[160];
    std::snprintf(result, sizeof result, "%f %f %f", seconds,
                  after.peakWorkingSetMb - before.peakWorkingSetMb,
                  after.peakPagefileMb - before.peakPagefileMb);
    WriteBytes(resultPath, result, static_cast<DWORD>(std::strlen(result)));
    return gone ? 0 : 1;
}

// ---- The minimal recursion --------------------------------------------------------------------

int CountFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            ++count;
        else if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
            count += CountFiles(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring path = folder + L"\\" + found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                DeleteFileW(path.c_str());
            else if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
                RemoveTree(path);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// Child: builds a tree and removes it with the minimal recursion, counting pass included.
int RunMinimal(int files, const std::wstring& resultPath) {
    const std::wstring root =
        TempFolder() + L"\\removal_bench_minimal_" + std::to_wstring(GetCurrentProcessId());
    if (!MakeTree(root, files / kFilesPerFolder) || !WriteConfig(root))
        return 1;
    const double start = BenchSeconds();
    const int counted = CountFiles(root);
    RemoveTree(root);
    const double seconds = BenchSeconds() - start;
    const bool gone = GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES;
    const std::string result = std::to_string(seconds);
    WriteBytes(resultPath, result.data(), static_cast<DWORD>(result.size()));
    return gone && counted == files + 1 ? 0 : 1;
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

// A child's result line: its numbers, seconds first.
struct ChildResult {
    double seconds = -1;
    double workingSetGrowthMb = 0;
    double pagefileGrowthMb = 0;
};

ChildResult ReadResult(const std::wstring& path) {
    char text[160] = {};
    ChildResult result;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return result;
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    DeleteFileW(path.c_str());
    std::sscanf(text, "%lf %lf %lf", &result.seconds, &result.workingSetGrowthMb,
                &result.pagefileGrowthMb);
    return result;
}

// Each run in a process of its own, so that its peak memory is its own.
ChildResult InChild(const wchar_t* mode, int files) {
    const std::wstring result =
        TempFolder() + L"\\removal_bench_result_" + std::to_wstring(files) + L".txt";
    const std::wstring self = OwnPath();
    const std::wstring line =
        L"\"" + self + L"\" " + mode + L" " + std::to_wstring(files) + L" \"" + result + L"\"";
    if (TimeProcess(self, line) < 0)
        return ChildResult();
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
    if (argc == 4) {
        const int files = std::atoi(argv[2]);
        const int length = MultiByteToWideChar(CP_ACP, 0, argv[3], -1, nullptr, 0);
        std::wstring result(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, argv[3], -1, &result[0], length);
        result.resize(static_cast<size_t>(length) - 1);
        if (std::string(argv[1]) == "--engine")
            return RunEngine(files, result);
        if (std::string(argv[1]) == "--minimal")
            return RunMinimal(files, result);
        return 1;
    }
    std::printf("Removal of small-file trees (10 files a folder, plus the configuration file), "
                "median of %d rounds\n",
                kRounds);
    std::fflush(stdout);
    const double shellStart = TimeProcess(CommandShell(), L"cmd.exe /c rem");
    const int sizes[] = {2000, 20000, 100000};
    std::printf("%7s %10s %10s %10s %16s %10s %14s %14s\n", "files", "engine s", "minimal s",
                "rd s", "engine/minimal", "engine/rd", "peak WS +MB", "pagefile +MB");
    for (const int files : sizes) {
        std::vector<double> engine, minimal;
        double rd = 0, engineBesideRd = 0;
        double workingSetGrowth = 0, pagefileGrowth = 0;
        for (int round = 0; round < kRounds; ++round) {
            // Each round starts with another side: none always finds the disk cache warmer. rd
            // takes minutes at 100,000 files under Wine, so it runs in the middle round only and
            // is compared with the engine's run of that round.
            const bool withRd = round == kRounds / 2;
            for (int turn = 0; turn < 3; ++turn) {
                const int side = (round + turn) % 3;
                if (side == 0) {
                    const ChildResult e = InChild(L"--engine", files);
                    engine.push_back(e.seconds);
                    workingSetGrowth = std::max(workingSetGrowth, e.workingSetGrowthMb);
                    pagefileGrowth = std::max(pagefileGrowth, e.pagefileGrowthMb);
                } else if (side == 1) {
                    minimal.push_back(InChild(L"--minimal", files).seconds);
                } else if (withRd) {
                    rd = RdInChild(files);
                }
            }
            if (withRd)
                engineBesideRd = engine.back();
        }
        const double engineMedian = Median(engine), minimalMedian = Median(minimal);
        std::printf("%7d %10.3f %10.3f %10.3f %16.2f %10.2f %14.2f %14.2f\n", files + 1,
                    engineMedian, minimalMedian, rd, engineMedian / minimalMedian,
                    engineBesideRd / rd, workingSetGrowth, pagefileGrowth);
        std::fflush(stdout);
    }
    std::printf("(rd, one run in the middle round against the engine's run of that round, includes "
                "starting cmd.exe, %.3f s alone; the engine's and the "
                "minimal recursion's counting pass is included; memory: the engine's largest "
                "growth of its peaks during a removal over the rounds; target engine/minimal at "
                "most 1.1 at 100,000 files, memory flat)\n",
                shellStart);
    return 0;
}
