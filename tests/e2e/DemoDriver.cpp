// The demo's Windows side: makes a sample game installation in the prefix,
// runs the uninstaller the way a player does, takes screenshots and writes a
// report of what the player saw and of what the run left in TEMP, the
// registry and the shortcuts (report.md, report-details.md), and the
// installation's files before and after with its keep lists (files.tsv, which
// scripts/demo-report.py sorts into removed, kept and left behind).
//
//   uninst_demo.exe <uninst.exe> <output folder> <server base URL>
#include <windows.h>
#include <shlobj.h>

#include "tests/e2e/SkinInput.h"
#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/ServerListPatch.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
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

// The screen area of a window, 24-bit, rows bottom-up as in a BMP.
struct Shot {
    int w = 0, h = 0;
    DWORD stride = 0;
    std::string bits;
    // 0xRRGGBB of a client point; the borderless window's client area is the window.
    uint32_t Rgb(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return 0;
        const auto* p =
            reinterpret_cast<const unsigned char*>(bits.data()) + (h - 1 - y) * stride + x * 3;
        return p[2] << 16 | p[1] << 8 | p[0];
    }
};

Shot Capture(HWND hwnd) {
    Shot shot;
    RECT rc;
    if (!hwnd || !GetWindowRect(hwnd, &rc))
        return shot;
    shot.w = rc.right - rc.left;
    shot.h = rc.bottom - rc.top;
    shot.stride = ((shot.w * 3 + 3) & ~3u);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = shot.w;
    bi.bmiHeader.biHeight = shot.h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, shot.w, shot.h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    shot.bits.assign(static_cast<const char*>(bits), shot.stride * shot.h);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return shot;
}

// Writes a shot as a BMP (the script turns it into a PNG).
void Save(const Shot& shot, const std::wstring& name) {
    if (shot.w == 0)
        return;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = shot.w;
    ih.biHeight = shot.h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + shot.stride * shot.h;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    bytes += shot.bits;
    WriteFileBytes(g_out + L"\\" + name + L".bmp", bytes);
    Say("screenshot: " + ToUtf8(name) + ".png");
}

Shot Screenshot(HWND hwnd, const std::wstring& name) {
    Shot shot = Capture(hwnd);
    Save(shot, name);
    return shot;
}

// ---- What a player sees -----------------------------------------------------------
// Client points of the shipped skin: pages 2 and 3 lie at y 75, pages 1 and 4 at y 110.

bool g_checksFailed = false;

void Check(const std::string& what, bool ok) {
    Say(std::string(ok ? "- [x] " : "- [ ] ") + what + (ok ? "" : "  (FAILED)"));
    g_checksFailed = g_checksFailed || !ok;
}

int Channel(uint32_t rgb, int shift) {
    return (rgb >> shift) & 0xFF;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance)
            return false;
    }
    return true;
}

// Light text on the dark pages.
bool IsInk(uint32_t rgb) {
    return Channel(rgb, 16) + Channel(rgb, 8) + Channel(rgb, 0) > 3 * 0x70;
}

int Count(const Shot& s, RECT rc, const std::function<bool(uint32_t)>& test) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += test(s.Rgb(x, y)) ? 1 : 0;
    return n;
}

// Rows (or columns) of rc holding ink: first and last, or -1.
std::pair<int, int> InkSpan(const Shot& s, RECT rc, bool columns = false) {
    int first = -1, last = -1;
    const int from = columns ? rc.left : rc.top, to = columns ? rc.right : rc.bottom;
    for (int at = from; at < to; ++at) {
        const RECT line =
            columns ? RECT{at, rc.top, at + 1, rc.bottom} : RECT{rc.left, at, rc.right, at + 1};
        if (Count(s, line, IsInk) > 0) {
            first = first < 0 ? at : first;
            last = at;
        }
    }
    return {first, last};
}

const uint32_t kAccent = 0xF08A24, kAccentHot = 0xFFA345, kTrack = 0x2A313F, kThumb = 0x4A566C;

// Percentage of the progress bar filled, or -1 when the bar isn't shown.
int BarFill(const Shot& s) {
    const RECT row = {100, 75 + 180 + 38, 700, 75 + 180 + 39};
    const int fore = Count(s, row, [](uint32_t c) { return Near(c, kAccent, 24); });
    const int back = Count(s, row, [](uint32_t c) { return Near(c, kTrack, 12); });
    return fore + back < 500 ? -1 : fore * 100 / 600;
}

// The first and last rows of the primary ("留下再战") button at column x, or -1.
std::pair<int, int> PrimaryButtonRows(const Shot& s, int x) {
    int first = -1, last = -1;
    for (int y = 0; y < s.h; ++y) {
        const uint32_t c = s.Rgb(x, y);
        if (Near(c, kAccent, 24) || Near(c, kAccentHot, 24)) {
            first = first < 0 ? y : first;
            last = y;
        }
    }
    return {first, last};
}

// The questionnaire's buttons stand where the farewell page's do, not at the window's edge.
void CheckButtonRows(const Shot& farewell, const Shot& questionnaire) {
    // Left of the label, inside the button's rounded corners.
    const int x = SkinInput::kCloseUnistall01.x - 70;
    const std::pair<int, int> one = PrimaryButtonRows(farewell, x);
    const std::pair<int, int> two = PrimaryButtonRows(questionnaire, x);
    const int below1 = farewell.h - 1 - one.second, below2 = questionnaire.h - 1 - two.second;
    Check("the questionnaire's buttons keep the farewell page's distance from the window's "
          "bottom edge (farewell " +
              std::to_string(below1) + " px, questionnaire " + std::to_string(below2) + " px)",
          one.first >= 0 && two.first >= 0 && one == two && below1 >= 24);
}

void CheckQuestionnaire(const Shot& s, int questions) {
    // Option 1-1: the box is drawn at rows 5..23 of its 28-pixel row, the label right of it.
    const SkinInput::ClientPoint row = SkinInput::OptionRow(1, 1);
    const std::pair<int, int> ink = InkSpan(s, RECT{row.x + 26, row.y, row.x + 166, row.y + 28});
    const int boxCentre = row.y + 14;
    const int textCentre = (ink.first + ink.second + 1) / 2;
    Check("option labels line up with their check boxes (text centre " +
              std::to_string(textCentre - row.y) + ", box centre 14 of the row)",
          ink.first >= 0 && std::abs(textCentre - boxCentre) <= 2);
    // The free-text box's right edge, inside its border.
    const RECT box = SkinInput::OtherReasonRect(questions);
    const RECT bar = {box.right - 16, box.top + 2, box.right - 1, box.bottom - 2};
    Check("the empty free-text box shows no scroll thumb",
          Count(s, bar, [](uint32_t c) { return Near(c, kThumb, 8); }) == 0);
}

void CheckProgress(const Shot& s, const std::vector<int>& fills) {
    int moving = 0;
    for (int f : fills)
        moving += f > 0 && f < 100 ? 1 : 0;
    const std::string seen = std::to_string(moving) + " fills between 0 and 100 %, shot at " +
                             std::to_string(BarFill(s)) + " %";
    Check("the progress page was taken while the bar moved (" + seen + ")",
          moving >= 2 && BarFill(s) > 0 && BarFill(s) < 100);
    Check("the progress page shows a percentage",
          Count(s, RECT{560, 255, 700, 279}, [](uint32_t c) { return Near(c, 0xFFA345, 60); }) >
              10);
    // "正在卸载：" takes the first 80 pixels of its label; what is removed follows it.
    Check("the progress page shows what its label announces",
          Count(s, RECT{182, 255, 400, 279}, IsInk) > 20);
}

void CheckFinalPage(const Shot& s) {
    Check("the final page shows no title above an empty row of advertisements",
          Count(s, RECT{100, 110 + 124, 700, 110 + 148}, IsInk) == 0);
    // The locked log file stays: in place of the thanks (about 270 pixels wide), the line under
    // the title names how many files stay and where, centred and drawn whole.
    const std::pair<int, int> note = InkSpan(s, RECT{0, 110 + 78, 800, 110 + 104}, true);
    Check("the final page says, in place of its thanks, that files were left and where (" +
              std::to_string(note.first) + " to " + std::to_string(note.second) + ")",
          note.second - note.first > 400 && note.first > 4 &&
              std::abs(note.first - (799 - note.second)) <= 3);
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

struct Snapshot {
    std::vector<std::wstring> files; // relative; folders end in "\\"
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

const char* Presence(bool present) {
    return present ? "present" : "gone";
}

void ReportRegistryAndShortcuts(const Snapshot& before, const Snapshot& after) {
    Say("## Registry and shortcuts\n\n| | before | after |\n|---|---|---|");
    const std::pair<const char*, bool Snapshot::*> rows[] = {
        {"registry Uninstall key", &Snapshot::uninstallKey},
        {"registry maker key", &Snapshot::makerKey},
        {"Start-menu folder", &Snapshot::startMenu},
        {"desktop shortcut", &Snapshot::desktopLink}};
    for (const auto& row : rows)
        Say(std::string("| ") + row.first + " | " + Presence(before.*row.second) + " | " +
            Presence(after.*row.second) + " |");
}

// The installation's entries before and after the run and its keep lists, one per line:
// "before", "after", "SkipDir" or "SkipFile", a tab, the relative path.
void WriteFileLists(const SampleGame& game, const Snapshot& before, const Snapshot& after) {
    std::string tsv;
    const auto add = [&](const char* kind, const std::vector<std::wstring>& paths) {
        for (const std::wstring& path : paths)
            tsv += std::string(kind) + "\t" + ToUtf8(path) + "\n";
    };
    add("before", before.files);
    add("after", after.files);
    add("SkipDir", game.skipDirs);
    add("SkipFile", game.skipFiles);
    WriteFileBytes(g_out + L"\\files.tsv", tsv);
}

// What the session writes to TEMP and leaves there: the embedded statistics files, the
// plug-in archive and what it unpacks to, and the stand-in plug-in's log.
const char* WhyInTemp(const std::wstring& name) {
    static const std::pair<const wchar_t*, const char*> expected[] = {
        {L"Serverlist.ini", "the embedded server list"},
        {L"SystemInfoKeys.xml", "the embedded information-item list"},
        {L"Plugins.zip", "the embedded plug-in archive"},
        {L"InstallerChannelPlugin.dll", "unpacked from the plug-in archive"},
        {L"InstallerChannelPlugin.log", "the stand-in plug-in's log of its calls"}};
    for (const auto& entry : expected) {
        if (_wcsicmp(entry.first, name.c_str()) == 0)
            return entry.second;
    }
    return nullptr;
}

void ReportTemp(const std::wstring& temp) {
    Say("## Files in TEMP");
    std::vector<std::wstring> files;
    ListTree(temp, L"", files);
    int unexpected = 0;
    for (const std::wstring& f : files) {
        const char* why = WhyInTemp(f);
        unexpected += why ? 0 : 1;
        Say("- " + ToUtf8(f) + ": " + (why ? std::string("expected, ") + why : "NOT expected"));
    }
    Check("TEMP holds only what the session is expected to leave (" + std::to_string(unexpected) +
              " unexpected)",
          unexpected == 0);
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
    // Enough files that the removal runs for a moment a player can watch.
    for (int i = 0; i < 4000; ++i)
        game.files.push_back(L"data\\packs\\p" + std::to_wstring(10000 + i) + L".pak");
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
    const Snapshot before = Take(install);

    const std::wstring exe = install.InstallDir() + L"\\uninst.exe";
    ChildProcess first = StartProcess(exe, L"\"" + exe + L"\"", install.InstallDir(),
                                      {{L"TEMP", temp}, {L"TMP", temp}});
    first.Wait(60000);
    const HWND frame = WaitForTopWindow(nullptr, L"卸载程序", 0, 60000);
    Say(std::string("## Run\n- relaunched copy in %LOCALAPPDATA%: ") +
        (FileExists(SpecialFolder(CSIDL_LOCAL_APPDATA) + L"\\uninst.exe") ? "yes" : "no"));
    Say(std::string("- main window: ") + (frame ? "shown" : "not shown"));
    Sleep(1000);
    const Shot farewell = Screenshot(frame, L"01-first-page");

    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    ChildProcess copy = OpenProcessById(pid);

    // A player's clicks and key strokes, at the skin's fixed button positions.
    SetForegroundWindow(frame);
    Sleep(500);
    SkinInput::Click(frame, SkinInput::kUninstallNextStep);
    Sleep(800);
    Say("## What the player sees");
    const Shot questionnaire = Screenshot(frame, L"02-questionnaire-page");
    CheckButtonRows(farewell, questionnaire);
    CheckQuestionnaire(questionnaire, 2); // the demo's survey has two questions
    SkinInput::Click(frame, SkinInput::Option(1, 1));
    SkinInput::Click(frame, SkinInput::Option(2, 2));
    SkinInput::Click(frame, SkinInput::kOtherReason);
    SkinInput::Type(L"画面很好，只是最近没有时间玩了。");
    Sleep(300);
    Screenshot(frame, L"02b-questionnaire-answered");
    SkinInput::Click(frame, SkinInput::kBeginUnistall);
    // Screens taken while the removal runs; the one with the bar part-way is kept.
    std::vector<int> fills;
    Shot progress;
    const DWORD started = GetTickCount();
    while (GetTickCount() - started < 120000) {
        Shot shot = Capture(frame);
        const int fill = BarFill(shot);
        if (fill < 0 && !fills.empty())
            break; // the final page
        if (fills.empty() || fills.back() != fill)
            fills.push_back(fill);
        if (progress.w == 0 && fill >= 15 && fill <= 85)
            progress = std::move(shot);
        Sleep(15);
    }
    Save(progress, L"03-progress-page");
    CheckProgress(progress, fills);
    const bool finished =
        WaitUntil([&] { return !FileExists(install.InstallDir() + L"\\game.exe"); }, 120000);
    Sleep(1500);
    CheckFinalPage(Screenshot(frame, L"04-final-page"));
    Say(std::string("- removal finished: ") + (finished ? "yes" : "no"));
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

    ReportTemp(temp);
    const Snapshot after = Take(install);
    if (locked != INVALID_HANDLE_VALUE)
        CloseHandle(locked);
    WriteFileLists(install.Game(), before, after);
    WriteFileBytes(g_out + L"\\report.md", g_report);

    // What a closer look needs, after the summary that the script adds.
    g_report.clear();
    ReportRegistryAndShortcuts(before, after);
    Say("\n## Channel plug-in log");
    Say("```\n" + ReadFileBytes(temp + L"\\InstallerChannelPlugin.log") + "```");
    WriteFileBytes(g_out + L"\\report-details.md", g_report);
    return frame && !g_checksFailed ? 0 : 1;
}
