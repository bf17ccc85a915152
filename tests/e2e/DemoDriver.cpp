// The demo's Windows side: makes a sample game installation in the prefix,
// runs the uninstaller the way a player does, takes screenshots and writes a
// report of what the run removed and left.
//
//   uninst_demo.exe <uninst.exe> <output folder>
#include <windows.h>
#include <shlobj.h>

#include "tests/e2e/SkinInput.h"
#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/ServerListPatch.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace TestSupport;

namespace {

std::wstring g_out;
std::string g_report;

void Say(const std::string& line) {
    g_report += line + "\n";
    printf("%s\n", line.c_str());
    fflush(stdout);
}

// Writes the screen area of a window as a 24-bit BMP.
void Screenshot(HWND hwnd, const std::wstring& name) {
    RECT rc;
    if (!hwnd || !GetWindowRect(hwnd, &rc))
        return;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    const DWORD stride = ((w * 3 + 3) & ~3u);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * h;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    bytes.append(static_cast<const char*>(bits), stride * h);
    WriteFileBytes(g_out + L"\\" + name + L".bmp", bytes);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    Say("screenshot: " + ToUtf8(name) + ".png");
}

void ListTree(const std::wstring& dir, const std::wstring& rel, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring r = rel.empty() ? name : rel + L"\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(r + L"\\");
            ListTree(dir + L"\\" + name, r, out);
        } else {
            out.push_back(r);
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

bool KeyExists(const std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct Snapshot {
    std::vector<std::wstring> files;
    bool uninstallKey, makerKey, startMenu, desktopLink;
};

Snapshot Take(const SampleInstall& install) {
    Snapshot s;
    ListTree(install.InstallDir(), L"", s.files);
    s.uninstallKey = KeyExists(install.UninstallKeyPath());
    s.makerKey = KeyExists(install.MakerKeyPath());
    s.startMenu = DirExists(install.StartMenuFolder());
    s.desktopLink = FileExists(install.DesktopFolder() + L"\\" + install.Game().shortcuts[0]);
    return s;
}

void Report(const char* title, const Snapshot& s) {
    Say(std::string("## ") + title);
    Say(std::string("- registry Uninstall key: ") + (s.uninstallKey ? "present" : "gone"));
    Say(std::string("- registry maker key: ") + (s.makerKey ? "present" : "gone"));
    Say(std::string("- Start-menu folder: ") + (s.startMenu ? "present" : "gone"));
    Say(std::string("- desktop shortcut: ") + (s.desktopLink ? "present" : "gone"));
    Say("- files (" + std::to_string(s.files.size()) + "):");
    for (const std::wstring& f : s.files)
        Say("  - " + ToUtf8(f));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: uninst_demo <uninst.exe> <output folder> <server base URL>\n");
        return 2;
    }
    const std::wstring uninst = argv[1];
    g_out = argv[2];
    const std::string server = ToUtf8(argv[3]);
    CreateDirs(g_out);

    const std::wstring gamesRoot = L"C:\\VelmoraGames";
    RemoveTree(gamesRoot);
    CreateDirs(gamesRoot);
    SampleGame game;
    game.folderName = L"Velmora Demo Game";
    game.surveyUrl = FromUtf8(server + "/survey/");
    SampleInstall install(gamesRoot, game);
    install.CreateAll();
    // A read-only file (the removal's second attempt deletes it) and a file
    // that this driver keeps open while the uninstaller runs (it stays and is
    // reported with "12990201").
    const std::wstring readOnly = install.InstallDir() + L"\\data\\readonly.dat";
    WriteFileBytes(readOnly, "read-only");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring lockedPath = install.InstallDir() + L"\\logs\\locked.log";
    CreateDirs(install.InstallDir() + L"\\logs");
    WriteFileBytes(lockedPath, "in use");
    HANDLE locked = CreateFileW(lockedPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    CopyFileW(uninst.c_str(), (install.InstallDir() + L"\\uninst.exe").c_str(), FALSE);
    if (PointServerListAt(install.InstallDir() + L"\\uninst.exe", server).empty()) {
        fprintf(stderr, "the copy's server list could not be pointed at %s\n", server.c_str());
        return 1;
    }
    const std::wstring temp = SpecialFolder(CSIDL_LOCAL_APPDATA) + L"\\Temp\\uninst-demo";
    RemoveTree(temp);
    CreateDirs(temp);

    Say("# Uninstaller demo");
    Say("installation: " + ToUtf8(install.InstallDir()));
    Report("Before", Take(install));

    const std::wstring exe = install.InstallDir() + L"\\uninst.exe";
    ChildProcess first = StartProcess(exe, L"\"" + exe + L"\"", install.InstallDir(),
                                      {{L"TEMP", temp}, {L"TMP", temp}});
    first.Wait(60000);
    const HWND frame = WaitForTopWindow(nullptr, L"卸载程序", 0, 60000);
    Say(std::string("## Run\n- relaunched copy in %LOCALAPPDATA%: ") +
        (FileExists(SpecialFolder(CSIDL_LOCAL_APPDATA) + L"\\uninst.exe") ? "yes" : "no"));
    Say(std::string("- main window: ") + (frame ? "shown" : "not shown"));
    Sleep(1000);
    Screenshot(frame, L"01-first-page");

    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    ChildProcess copy = OpenProcessById(pid);

    // A player's clicks and key strokes, at the skin's fixed button positions.
    SetForegroundWindow(frame);
    Sleep(500);
    SkinInput::Click(frame, SkinInput::kUninstallNextStep);
    Sleep(800);
    Screenshot(frame, L"02-questionnaire-page");
    SkinInput::Click(frame, SkinInput::Option(1, 1));
    SkinInput::Click(frame, SkinInput::Option(2, 2));
    SkinInput::Click(frame, SkinInput::kOtherReason);
    SkinInput::Type(L"画面很好，只是最近没有时间玩了。");
    Sleep(300);
    Screenshot(frame, L"02b-questionnaire-answered");
    SkinInput::Click(frame, SkinInput::kBeginUnistall);
    Sleep(100);
    Screenshot(frame, L"03-progress-page");
    const bool finished =
        WaitUntil([&] { return !FileExists(install.InstallDir() + L"\\game.exe"); }, 120000);
    Say(std::string("- removal finished: ") + (finished ? "yes" : "no"));
    Sleep(1500);
    Screenshot(frame, L"04-final-page");
    // The final page appears once the worker is done: click until the window closes.
    WaitUntil(
        [&] {
            SkinInput::Click(frame, SkinInput::kUnistallFinished);
            return copy.Wait(500);
        },
        60000);
    Say(std::string("- closed: ") + (copy.Wait(30000) ? "yes" : "no"));
    const std::wstring relaunched = SpecialFolder(CSIDL_LOCAL_APPDATA) + L"\\uninst.exe";
    const bool copyGone = WaitUntil([&] { return !FileExists(relaunched); }, 20000);
    Say(std::string("- relaunched copy deleted after exit: ") + (copyGone ? "yes" : "no"));

    Say("## Files in TEMP");
    std::vector<std::wstring> tempFiles;
    ListTree(temp, L"", tempFiles);
    for (const std::wstring& f : tempFiles)
        Say("- " + ToUtf8(f));
    Say("## Channel plug-in log");
    Say("```\n" + ReadFileBytes(temp + L"\\InstallerChannelPlugin.log") + "```");
    Report("After", Take(install));
    if (locked != INVALID_HANDLE_VALUE)
        CloseHandle(locked);

    WriteFileBytes(g_out + L"\\report.md", g_report);
    return frame ? 0 : 1;
}
