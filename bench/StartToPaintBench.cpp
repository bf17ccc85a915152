// From starting the program to its first page on screen, as a player sees it: the real uninst.exe
// started the player's way (empty command line, from a sample installation; it relaunches its
// copy, which reads the configuration and shows the farewell page) against a program that shows
// one PNG, started the same way, and against the same program relaunching itself first as
// uninst.exe does (copy to the local application data folder, ShellExecuteW): the least any
// program pays for that relaunch. All are watched from outside alike: the window's client area is
// read back from the screen until it has stayed unchanged for a while; the first paint is the
// first moment it showed that final picture. Sides alternate, median of several runs.
#include <windows.h>
#include <shlobj.h>

#include "bench/BenchClock.h"
#include "bench/BenchStats.h"
#include "tests/support/DibSurface.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/ServerListPatch.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace TestSupport;

namespace {

const int kRuns = 11;
const double kSettledMs = 1000;
const double kGiveUpMs = 20000;
const double kTarget = 1.5;

// A hash of what the window's client area shows now; 0 while it has none.
uint64_t ShownPicture(HWND window) {
    RECT client = {};
    if (!::GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) {
        return 0;
    }
    DibSurface copy(client.right, client.bottom);
    HDC screen = ::GetDC(window);
    ::BitBlt(copy.DC(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ::ReleaseDC(window, screen);
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < copy.Height(); ++y) {
        for (int x = 0; x < copy.Width(); ++x) {
            hash = (hash ^ copy.Rgb(x, y)) * 1099511628211ull;
        }
    }
    return hash | 1;
}

// Starts the program with an empty command line from its folder and returns the milliseconds to
// the first paint of its final picture, or a negative value.
double StartToPaint(const std::wstring& exe, const std::wstring& folder, const wchar_t* title,
                    const std::map<std::wstring, std::wstring>& env) {
    const double start = BenchMilliseconds();
    ChildProcess first = StartProcess(exe, L"\"" + exe + L"\"", folder, env);
    if (!first) {
        return -1;
    }
    HWND window = nullptr;
    std::optional<uint64_t> last; // the picture seen last, none before the first look
    double changed = 0;
    bool settled = false;
    for (double now = start; now - start < kGiveUpMs; now = BenchMilliseconds()) {
        if (window == nullptr) {
            window = ::FindWindowW(nullptr, title);
            if (window != nullptr && !::IsWindowVisible(window)) {
                window = nullptr;
            }
            continue;
        }
        const uint64_t picture = ShownPicture(window);
        if (picture != last) {
            changed = now;
        }
        last = picture;
        if (now - changed >= kSettledMs) {
            settled = true;
            break;
        }
    }
    const double painted = settled && *last != 0 ? changed - start : -1;
    DWORD pid = 0;
    if (window != nullptr && ::GetWindowThreadProcessId(window, &pid) != 0) {
        ChildProcess shown = OpenProcessById(pid);
        shown.Kill();
        shown.Wait(10000);
    }
    first.Wait(10000);
    return painted;
}

// The one-PNG programs in a folder of their own, with a picture of the uninstaller's size.
void WriteOnePngPicture(const std::wstring& folder) {
    ArgbImage image(800, 495);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            image.At(x, y) = 0xFF000000u | static_cast<uint32_t>((x * 255 / 800) << 16) |
                             static_cast<uint32_t>((y * 255 / 495) << 8) |
                             static_cast<uint32_t>((x + y) & 0xFF);
        }
    }
    WriteFileBytes(folder + L"\\one.png", EncodePng(image));
}

std::wstring InstallProgram(const std::wstring& folder, const char* built) {
    const std::string source(built);
    const std::wstring exe = folder + L"\\" + FromUtf8(source.substr(source.rfind('/') + 1));
    ::CopyFileW(WinePathOf(built).c_str(), exe.c_str(), FALSE);
    return exe;
}

void PrintSide(const char* name, const std::vector<double>& runs) {
    std::printf("  %-48s %8.1f ms (min %.1f, max %.1f)\n", name, Median(runs),
                *std::min_element(runs.begin(), runs.end()),
                *std::max_element(runs.begin(), runs.end()));
}

struct Side {
    const char* name;
    std::wstring exe, folder;
    const wchar_t* title;
    std::vector<double> runs;
};

} // namespace

int main() {
    // The pointer away from every window: no hover changes what a window shows.
    ::SetCursorPos(0, 0);
    LoopbackHttpServer server;
    if (!server.Start()) {
        std::printf("no loopback server\n");
        return 1;
    }
    TempDir root(L"s2p");
    TempDir temp(L"s2ptmp"); // the uninstaller's TEMP
    SampleGame game;
    game.surveyUrl = FromUtf8(server.Url("/survey/"));
    SampleInstall install(root.Path(), game);
    install.CreateAll();
    const std::wstring uninst = install.InstallDir() + L"\\uninst.exe";
    ::CopyFileW(WinePathOf(UNINST_EXE).c_str(), uninst.c_str(), FALSE);
    PointServerListAt(uninst, server.BaseUrl());
    const std::wstring onePng = root.Path() + L"\\OnePng";
    CreateDirs(onePng);
    WriteOnePngPicture(onePng);
    const std::map<std::wstring, std::wstring> env = {{L"TEMP", temp.Path()},
                                                      {L"TMP", temp.Path()}};
    std::vector<Side> sides = {
        {"uninst.exe, relaunch, farewell page", uninst, install.InstallDir(), L"卸载程序", {}},
        {"one-PNG program", InstallProgram(onePng, ONE_PNG_EXE), onePng, L"一张图", {}},
        {"one-PNG program relaunching as uninst.exe does",
         InstallProgram(onePng, ONE_PNG_RELAUNCH_EXE),
         onePng,
         L"一张图",
         {}},
    };
    const auto run = [&](const Side& side) {
        return StartToPaint(side.exe, side.folder, side.title, env);
    };
    // One of each first: the system's own caches warm up.
    for (const Side& side : sides) {
        run(side);
    }
    // Each round starts with another side; a round counts only when every side settled.
    for (int i = 0; i < kRuns; ++i) {
        std::vector<double> round(sides.size());
        bool settled = true;
        for (size_t k = 0; k < sides.size(); ++k) {
            const size_t s = (i + k) % sides.size();
            round[s] = run(sides[s]);
            settled = settled && round[s] > 0;
        }
        for (size_t s = 0; settled && s < sides.size(); ++s) {
            sides[s].runs.push_back(round[s]);
        }
    }
    if (sides[0].runs.empty()) {
        std::printf("no run reached a settled picture\n");
        return 1;
    }
    std::printf("start to first paint, median of %zu runs (sides alternating):\n",
                sides[0].runs.size());
    for (const Side& side : sides) {
        PrintSide(side.name, side.runs);
    }
    const double uninstMs = Median(sides[0].runs);
    std::printf("  ratio uninst / one-PNG: %.2f (target at most %.1f)\n",
                uninstMs / Median(sides[1].runs), kTarget);
    std::printf("  ratio uninst / relaunching one-PNG: %.2f\n", uninstMs / Median(sides[2].runs));
    return 0;
}
