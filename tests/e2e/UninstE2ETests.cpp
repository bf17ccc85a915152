// Runs the built uninst.exe the way a player does and watches what it does.
#include <windows.h>
#include <shlobj.h>

#include "tests/e2e/SkinInput.h"
#include "tests/support/DibSurface.h"
#include "tests/support/FileUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/ServerListPatch.h"
#include "tests/support/TempDir.h"
#include "tests/support/UnixSide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <string>
#include <vector>

using namespace TestSupport;

namespace {

const DWORD kStartMs = 60000;

std::wstring BuiltUninstaller() {
    return WinePathOf(UNINST_EXE);
}

std::wstring LocalAppDataCopy() {
    return SpecialFolder(CSIDL_LOCAL_APPDATA) + L"\\uninst.exe";
}

std::wstring ReadUtf8File(const std::wstring& path) {
    return FromUtf8(ReadFileBytes(path));
}

// Receives the exit broadcast that the uninstaller sends when it closes.
class BroadcastListener {
public:
    BroadcastListener() {
        message_ = RegisterWindowMessageA("velmoragames_zeph_uninst_exit");
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"UninstE2EListener";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"listener", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~BroadcastListener() { DestroyWindow(hwnd_); }
    int Count() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        return count_;
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<BroadcastListener*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (self && m == self->message_) {
            ++self->count_;
            return 0;
        }
        return DefWindowProcW(h, m, w, l);
    }
    HWND hwnd_ = nullptr;
    UINT message_ = 0;
    int count_ = 0;
};

// While it lives, the user's TEMP and TMP in the registry name the folder: a program started
// from the Linux side takes its environment from there. The values before are put back.
class RegistryTemp {
public:
    explicit RegistryTemp(const std::wstring& folder) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Environment", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        for (Value& value : values_) {
            DWORD size = 0;
            value.existed = RegQueryValueExW(key_, value.name, nullptr, &value.type, nullptr,
                                             &size) == ERROR_SUCCESS;
            value.bytes.resize(size);
            if (value.existed)
                RegQueryValueExW(key_, value.name, nullptr, &value.type, value.bytes.data(), &size);
            RegSetValueExW(key_, value.name, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(folder.c_str()),
                           static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        }
    }
    ~RegistryTemp() {
        for (const Value& value : values_) {
            if (value.existed)
                RegSetValueExW(key_, value.name, 0, value.type, value.bytes.data(),
                               static_cast<DWORD>(value.bytes.size()));
            else
                RegDeleteValueW(key_, value.name);
        }
        RegCloseKey(key_);
    }
    RegistryTemp(const RegistryTemp&) = delete;
    RegistryTemp& operator=(const RegistryTemp&) = delete;

private:
    struct Value {
        const wchar_t* name;
        bool existed = false;
        DWORD type = REG_SZ;
        std::vector<BYTE> bytes;
    };
    HKEY key_ = nullptr;
    Value values_[2] = {{L"TEMP", false, REG_SZ, {}}, {L"TMP", false, REG_SZ, {}}};
};

// The statistics and survey server, on a free port that the installed copy's embedded server
// list and the sample configuration name.
class UninstallerRun : public ::testing::Test {
protected:
    TempDir root_{L"e2e"};
    TempDir temp_{L"e2etmp"}; // the uninstaller's TEMP
    std::unique_ptr<SampleInstall> install_;
    LoopbackHttpServer server_;
    std::string serverList_;                     // the installed copy's
    std::unique_ptr<RegistryTemp> registryTemp_; // while a start from the Linux side may read it

    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        SampleGame game;
        game.surveyUrl = FromUtf8(server_.Url("/survey/"));
        install_.reset(new SampleInstall(root_.Path(), game));
        install_->CreateAll();
        const std::wstring installed = install_->InstallDir() + L"\\uninst.exe";
        // Under Wine on a busy machine the rewrite of a program's resources now and then fails:
        // a fresh copy is rewritten again.
        for (int attempt = 0; attempt < 3 && serverList_.empty(); ++attempt) {
            ASSERT_TRUE(CopyFileW(BuiltUninstaller().c_str(), installed.c_str(), FALSE));
            serverList_ = PointServerListAt(installed, server_.BaseUrl());
        }
        ASSERT_NE(serverList_.find(server_.Url("/launchersubmit/")), std::string::npos)
            << serverList_;
    }

    void TearDown() override {
        // A copy still running from a failed test must not hold on.
        HWND w = FindWindowW(nullptr, L"卸载程序");
        while (w) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            OpenProcessById(pid).Kill();
            w = FindWindowW(nullptr, L"卸载程序");
        }
        registryTemp_.reset();
    }

    // Starts the installed uninst.exe from the installation directory, with the arguments
    // after its quoted path (none for a player's start).
    ChildProcess StartInstalled(const std::wstring& arguments = std::wstring()) {
        return StartUninstaller(install_->InstallDir() + L"\\uninst.exe", arguments);
    }

    ChildProcess StartUninstaller(const std::wstring& exe, const std::wstring& arguments,
                                  const std::wstring& folder = std::wstring()) {
        return StartProcess(exe, L"\"" + exe + L"\"" + arguments,
                            folder.empty() ? install_->InstallDir() : folder,
                            {{L"TEMP", temp_.Path()}, {L"TMP", temp_.Path()}});
    }

    // A player's start of the uninstaller of the installation in the folder.
    ChildProcess StartInstalledIn(const std::wstring& folder) {
        return StartUninstaller(folder + L"\\uninst.exe", std::wstring(), folder);
    }

    // A player's start of the installation's uninstaller through another spelling of its folder
    // (its 8.3 path, as old shortcuts hold it), which the program then sees as its own folder, as
    // on Windows: under Wine only a start through its loader keeps the spelling.
    ChildProcess StartSpelled(const std::wstring& folder) {
        if (folder == install_->InstallDir() || !IsWine())
            return StartInstalledIn(folder);
        if (!registryTemp_)
            registryTemp_.reset(new RegistryTemp(temp_.Path()));
        return StartThroughWineLoader(folder + L"\\uninst.exe");
    }

    // The text of a message box, which is then answered.
    static std::wstring AnswerBox(HWND box) {
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return text;
    }

    // Starts the installed uninst.exe with an empty command line from the installation directory
    // (as the folder is spelled, by default its long path); the first process must end by itself.
    void StartLikeAPlayer(const std::wstring& folder = std::wstring()) {
        ChildProcess first = StartSpelled(folder.empty() ? install_->InstallDir() : folder);
        ASSERT_TRUE(first);
        DWORD code = 99;
        ASSERT_TRUE(first.Wait(kStartMs, &code));
        EXPECT_EQ(code, 0u);
    }

    // The relaunched copy's main window, once it is on screen: the skin is built while the
    // window is created, so a visible window has its buttons in place.
    HWND WaitForFrame() {
        const HWND frame = WaitForTopWindow(nullptr, L"卸载程序", 0, kStartMs);
        if (frame != nullptr) {
            WaitUntil([&] { return IsWindowVisible(frame) != FALSE; }, 10000);
            // It shows where it is made, at the screen's corner, and is centred just after: a
            // test that moves it must not be overtaken by the centring.
            WaitUntil([&] { return !IsAtScreenCorner(frame); }, 10000);
            // Lets the first paint and the first hover settle before any input arrives.
            Sleep(300);
        }
        return frame;
    }

    static bool IsAtScreenCorner(HWND frame) {
        RECT rc = {};
        GetWindowRect(frame, &rc);
        return rc.left == 0 && rc.top == 0;
    }

    static void Click(HWND frame, SkinInput::ClientPoint point) { SkinInput::Click(frame, point); }

    ChildProcess ProcessOf(HWND hwnd) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        return OpenProcessById(pid);
    }
};

TEST_F(UninstallerRun, RelaunchesFromLocalAppDataAndPreparesTheSession) {
    // An older copy that an earlier run left read-only.
    const std::wstring copy = LocalAppDataCopy();
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFileBytes(copy, "an older copy");
    ASSERT_TRUE(SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_READONLY));
    BroadcastListener listener;

    StartLikeAPlayer();
    const HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    ASSERT_TRUE(relaunched);

    // The copy replaced the older one byte for byte, and can be deleted at the end.
    EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(install_->InstallDir() + L"\\uninst.exe"));
    EXPECT_FALSE(GetFileAttributesW(copy.c_str()) & FILE_ATTRIBUTE_READONLY);

    // The embedded files reached TEMP; the plug-in came out of the archive.
    EXPECT_EQ(ReadFileBytes(temp_ / L"Serverlist.ini"), serverList_);
    EXPECT_EQ(ReadFileBytes(temp_ / L"SystemInfoKeys.xml"),
              ReadFileBytes(WinePathOf(UNINST_SYSTEMINFOKEYS)));
    EXPECT_TRUE(FileExists(temp_ / L"Plugins.zip"));
    EXPECT_TRUE(FileExists(temp_ / L"InstallerChannelPlugin.dll"));

    // The plug-in saw the identifier and the whole block; its install
    // directory is the copy's whole command line, blank included.
    const std::wstring log = ReadUtf8File(temp_ / L"InstallerChannelPlugin.log");
    EXPECT_NE(log.find(L"Create F00735EC-6253-4472-BC19-99DC10E528D0\r\n"), std::wstring::npos)
        << ToUtf8(log);
    const std::wstring init = L"Initialize reservedEmpty=1\tinstallDir=" + install_->InstallDir() +
                              L"\tchannelSdkDir=\tgameVersion=1.2.3\tgameKeyOnChannel=channel-key"
                              L"\tone=1\tinstallerType=2\tzero=0\r\n";
    EXPECT_NE(log.find(init), std::wstring::npos) << ToUtf8(log);
    EXPECT_EQ(log.find(L"OnUninstallComplete"), std::wstring::npos);

    // Closing on the first page keeps the copy and tells other programs.
    Click(frame, SkinInput::kBtnClose);
    DWORD code = 99;
    ASSERT_TRUE(relaunched.Wait(30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return listener.Count() > 0; }, 5000));
    EXPECT_TRUE(FileExists(copy));
    // Nothing of the installation was touched.
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));
}

// What lies at the copy's path and is not this very program is never started: it may be stale
// or planted, and would run with administrator rights. The player is told why nothing happens.
TEST_F(UninstallerRun, ACopyPathThatCannotTakeThisProgramStartsNothingAndSaysSo) {
    const std::wstring copy = LocalAppDataCopy();
    const struct {
        const char* what;
        bool folder; // else a different program, in use
        std::wstring message;
    } cases[] = {
        {"another program in use", false, L"另一个游戏的卸载程序正在运行，请在其结束后再试"},
        {"a folder", true, L"卸载程序无法复制到：" + copy},
    };
    for (const auto& c : cases) {
        DeleteFileW(copy.c_str());
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.folder) {
            ASSERT_TRUE(CreateDirectoryW(copy.c_str(), nullptr));
        } else {
            // The build's own program: its embedded server list differs from the installed one's.
            ASSERT_TRUE(CopyFileW(BuiltUninstaller().c_str(), copy.c_str(), FALSE));
            held = CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        }
        ChildProcess first = StartInstalled();
        ASSERT_TRUE(first);
        const HWND box = WaitForTopWindow(L"#32770", L"Error", first.Pid(), kStartMs);
        ASSERT_NE(box, nullptr) << c.what;
        EXPECT_EQ(AnswerBox(box), c.message) << c.what;
        DWORD code = 99;
        EXPECT_TRUE(first.Wait(30000, &code)) << c.what;
        EXPECT_EQ(code, 0u) << c.what;
        EXPECT_EQ(WaitForTopWindow(nullptr, L"卸载程序", 0, 2000), nullptr) << c.what;
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
            EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(BuiltUninstaller())) << c.what;
        }
        RemoveDirectoryW(copy.c_str());
        EXPECT_FALSE(FileExists(temp_ / L"Serverlist.ini")) << c.what;
        EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe")) << c.what;
    }
    DeleteFileW(copy.c_str());
}

TEST_F(UninstallerRun, APluginThatWasNotUnpackedIsNeverLoaded) {
    // The archive cannot be written (a folder has its name), so the library
    // lying in TEMP is not the one the executable carries.
    CreateDirectoryW((temp_ / L"Plugins.zip").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(WinePathOf(UNINST_STANDIN_PLUGIN).c_str(),
                          (temp_ / L"InstallerChannelPlugin.dll").c_str(), FALSE));
    StartLikeAPlayer();
    const HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    EXPECT_TRUE(FileExists(temp_ / L"Serverlist.ini"));
    EXPECT_FALSE(FileExists(temp_ / L"InstallerChannelPlugin.log"));
    Click(frame, SkinInput::kBtnClose);
    EXPECT_TRUE(relaunched.Wait(30000));
}

// A command line of only blanks names an installation directory like any other (here one without
// a configuration): it is not taken for a player's start.
TEST_F(UninstallerRun, ACommandLineOfOnlyBlanksIsTakenAsTheInstallationDirectory) {
    DeleteFileW(LocalAppDataCopy().c_str());
    ChildProcess blanks = StartInstalled(L"    ");
    ASSERT_TRUE(blanks);
    const HWND box = WaitForTopWindow(L"#32770", L"Error", blanks.Pid(), kStartMs);
    ASSERT_NE(box, nullptr) << "no configuration error: the blanks were not the directory";
    EXPECT_EQ(AnswerBox(box), L"配置文件读取错误");
    ASSERT_TRUE(blanks.Wait(30000));
    EXPECT_FALSE(FileExists(LocalAppDataCopy())) << "relaunched";
    EXPECT_FALSE(FileExists(temp_ / L"Serverlist.ini"));
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));
}

class PlayerRun : public UninstallerRun {
protected:
    std::string surveyReply_ = "{\"active\":false}";

    void SetUp() override {
        UninstallerRun::SetUp();
        server_.SetReplyForPath("/survey/1001", ScriptedReply::Ok(surveyReply_));
    }

    // The reply reaches the window as a posted message once the request is answered; the
    // survey request is the first one the server sees.
    void WaitForSurveyReply() {
        ASSERT_TRUE(server_.WaitForRequests(1, 20000));
        ASSERT_EQ(server_.Requests()[0].method, "GET");
        Sleep(2000);
    }

    bool WaitForCode(const std::string& code, DWORD timeoutMs) const {
        return WaitUntil(
            [&] {
                const std::vector<std::string> codes = PostedCodes();
                return std::find(codes.begin(), codes.end(), code) != codes.end();
            },
            timeoutMs);
    }

    // The decoded JSON report of the first event with the code.
    std::string ReportOf(const std::string& code) const {
        for (const RecordedRequest& r : server_.Requests()) {
            if (r.method == "POST" && PercentDecode(FormField(r.body, "code")) == code)
                return PercentDecode(FormField(r.body, "info"));
        }
        return std::string();
    }

    // A player's start (through the folder as spelled), confirmed on the farewell page; returns
    // once the removal's final event reached the server and the final page shows.
    HWND UninstallToFinalPage(ChildProcess& relaunched,
                              const std::wstring& folder = std::wstring()) {
        StartLikeAPlayer(folder);
        const HWND frame = WaitForFrame();
        if (frame == nullptr)
            return nullptr;
        relaunched = ProcessOf(frame);
        Click(frame, SkinInput::kUninstallNextStep);
        if (!WaitForCode("12060000", 60000))
            return nullptr;
        // The final page is posted before the final event reaches the server.
        Sleep(500);
        return frame;
    }

    // The final page shows once the removal worker is done; clicking where its finish button
    // lies does nothing on the progress page, so the click is repeated until the window closes.
    void FinishAndWait(HWND frame, ChildProcess& relaunched) {
        ASSERT_TRUE(WaitUntil(
            [&] {
                Click(frame, SkinInput::kUnistallFinished);
                return relaunched.Wait(500);
            },
            60000));
    }

    // The event codes posted so far, in arrival order.
    // In code order: each event is posted from a thread of its own, so two
    // events close together may arrive either way round.
    std::vector<std::string> PostedCodes() const {
        std::vector<std::string> codes;
        for (const RecordedRequest& r : server_.Requests()) {
            if (r.method == "POST")
                codes.push_back(PercentDecode(FormField(r.body, "code")));
        }
        std::sort(codes.begin(), codes.end());
        return codes;
    }
};

TEST_F(PlayerRun, StayingSendsTheStayEventAndRemovesNothing) {
    StartLikeAPlayer();
    const HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    Click(frame, SkinInput::kCloseUnistall01);
    ASSERT_TRUE(relaunched.Wait(30000));
    EXPECT_EQ(PostedCodes(), std::vector<std::string>{"12050000"});
    EXPECT_TRUE(FileExists(LocalAppDataCopy()));
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));
    EXPECT_TRUE(DirExists(install_->StartMenuFolder()));
}

TEST_F(PlayerRun, TheTitleBarCloseOnTheFinalPageDeletesTheCopyToo) {
    BroadcastListener listener;
    ChildProcess relaunched;
    const HWND frame = UninstallToFinalPage(relaunched);
    ASSERT_NE(frame, nullptr);
    Click(frame, SkinInput::kBtnClose);
    ASSERT_TRUE(relaunched.Wait(30000));
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(LocalAppDataCopy()); }, 20000));
    // Broadcast when the removal started and again at the close.
    EXPECT_TRUE(WaitUntil([&] { return listener.Count() >= 2; }, 5000));
    EXPECT_EQ(PostedCodes(), (std::vector<std::string>{"12040000", "12060000"}));
}

// The installation's uninstaller is read-only; its copy still goes at the end.
TEST_F(PlayerRun, UninstallingRemovesTheGameAndFinallyTheCopy) {
    ASSERT_TRUE(SetFileAttributesW((install_->InstallDir() + L"\\uninst.exe").c_str(),
                                   FILE_ATTRIBUTE_READONLY));
    StartLikeAPlayer();
    const HWND frame = WaitForFrame();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    // The survey request went out while the first page was shown.
    ASSERT_TRUE(server_.WaitForRequests(1, 20000));
    EXPECT_EQ(server_.Requests()[0].method, "GET");
    EXPECT_EQ(server_.Requests()[0].target, "/survey/1001?token=token123");

    Click(frame, SkinInput::kUninstallNextStep);
    ASSERT_TRUE(WaitForCode("12060000", 60000));

    const std::wstring dir = install_->InstallDir();
    EXPECT_FALSE(FileExists(dir + L"\\game.exe"));
    EXPECT_FALSE(DirExists(dir + L"\\data"));
    EXPECT_TRUE(FileExists(dir + L"\\Save\\slot1.sav"));  // kept folder
    EXPECT_TRUE(FileExists(dir + L"\\config\\user.cfg")); // kept file
    EXPECT_FALSE(FileExists(dir + L"\\config\\default.cfg"));
    EXPECT_FALSE(DirExists(install_->StartMenuFolder()));
    EXPECT_FALSE(FileExists(install_->DesktopFolder() + L"\\" + install_->Game().shortcuts[0]));

    FinishAndWait(frame, relaunched);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(LocalAppDataCopy()); }, 20000));
    const std::vector<std::string> codes = PostedCodes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], "12040000");
    EXPECT_EQ(codes[1], "12060000");
    const std::wstring log = ReadUtf8File(temp_ / L"InstallerChannelPlugin.log");
    EXPECT_NE(log.find(L"OnUninstallComplete"), std::wstring::npos);
}

// The final page's line under its title.
constexpr RECT kNoteBand{0, 110 + 78, 800, 110 + 104};

// The colours of the band's pixels, row by row.
std::vector<uint32_t> BandPixels(const DibSurface& page, const RECT& band) {
    std::vector<uint32_t> pixels;
    for (int y = band.top; y < band.bottom; ++y) {
        for (int x = band.left; x < band.right; ++x)
            pixels.push_back(page.Rgb(x, y));
    }
    return pixels;
}

// A file that cannot be deleted and one that stays although its delete succeeded: the final page
// says, in place of its thanks, that files were left and where, on one centred line; a clean
// removal's page keeps the thanks. Started through the folder's 8.3 path (as an old shortcut
// holds it), the page names the folder as the player knows it: the very line of a start through
// its long path.
TEST_F(PlayerRun, TheFinalPageTellsWhetherFilesWereLeftBehind) {
    const std::wstring dir = install_->InstallDir();
    const std::wstring shortDir = ShortPathOf(dir);
    ASSERT_EQ(shortDir.find(install_->Game().folderName), std::wstring::npos) << ToUtf8(shortDir);
    const std::string program = ReadFileBytes(dir + L"\\uninst.exe");
    const struct {
        bool leave;
        bool shortStart;
    } rounds[] = {{false, false}, {true, false}, {true, true}};
    std::vector<uint32_t> longStartsNote;
    for (const auto& round : rounds) {
        const bool leave = round.leave;
        // The same installation again, after the clean run removed it.
        install_->CreateAll();
        ASSERT_TRUE(WriteFileBytes(dir + L"\\uninst.exe", program));
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        const auto hold = [&](const wchar_t* file, DWORD extra) {
            return leave ? CreateFileW((dir + file).c_str(), GENERIC_READ, share | extra, nullptr,
                                       OPEN_EXISTING, 0, nullptr)
                         : INVALID_HANDLE_VALUE;
        };
        const HANDLE locked = hold(L"\\game.exe", 0);
        const HANDLE pending = hold(L"\\data\\pack1.dat", FILE_SHARE_DELETE);
        server_.ClearRequests();
        ChildProcess relaunched;
        const HWND frame = UninstallToFinalPage(relaunched, round.shortStart ? shortDir : dir);
        ASSERT_NE(frame, nullptr);
        const std::unique_ptr<DibSurface> page = CopyWindowPixels(frame, RECT{0, 0, 800, 495});
        const std::pair<int, int> ink = InkColumns(*page, kNoteBand, 0x1E2430);
        const std::vector<uint32_t> note = BandPixels(*page, kNoteBand);
        for (const HANDLE h : {locked, pending}) {
            if (h != INVALID_HANDLE_VALUE)
                CloseHandle(h);
        }
        const std::vector<std::string> codes = PostedCodes();
        EXPECT_EQ(std::count(codes.begin(), codes.end(), "12990201"), leave ? 2 : 0);
        // The thanks take about 270 pixels; the count and the folder far more, drawn whole.
        EXPECT_EQ(ink.second - ink.first > 400, leave) << ink.first << " to " << ink.second;
        EXPECT_GT(ink.first, 4);
        // (The thanks end in a full stop drawn at the left of its cell.)
        if (leave) {
            EXPECT_LE(std::abs(ink.first - (799 - ink.second)), 3) << "centred";
        }
        if (leave && !round.shortStart)
            longStartsNote = note;
        if (round.shortStart) {
            EXPECT_TRUE(note == longStartsNote) << "the 8.3 path named on the final page";
        }
        FinishAndWait(frame, relaunched);
    }
}

size_t Occurrences(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Whether the game's files, registry entries and shortcuts are all gone or all still there.
void ExpectGameRemoved(const SampleInstall& install, bool removed) {
    const std::wstring shortcut = install.DesktopFolder() + L"\\" + install.Game().shortcuts[0];
    EXPECT_NE(FileExists(install.InstallDir() + L"\\game.exe"), removed);
    EXPECT_NE(DirExists(install.InstallDir() + L"\\data"), removed);
    EXPECT_NE(KeyExists(install.UninstallKeyPath()), removed);
    EXPECT_NE(KeyExists(install.MakerKeyPath()), removed);
    EXPECT_NE(DirExists(install.StartMenuFolder()), removed);
    EXPECT_NE(FileExists(shortcut), removed);
}

// Two starts of the installation's uninst.exe through the folders as spelled, the apart
// milliseconds apart: one wizard shows, the one returned.
class TwoStartsRun : public PlayerRun {
protected:
    HWND StartTwice(const std::wstring& first, const std::wstring& second, DWORD apartMs) {
        ChildProcess one = StartSpelled(first);
        Sleep(apartMs);
        ChildProcess other = StartSpelled(second);
        EXPECT_TRUE(one && other);
        EXPECT_TRUE(one.Wait(kStartMs) && other.Wait(kStartMs));
        const HWND frame = WaitForFrame();
        if (frame == nullptr)
            return nullptr;
        relaunched_ = ProcessOf(frame);
        WaitForSurveyReply();
        // The copy that lost ends once it has shown the other one's window.
        EXPECT_TRUE(WaitUntil([] { return CountProcesses(L"uninst.exe") == 1; }, 20000));
        EXPECT_EQ(VisibleTopWindows(nullptr, L"卸载程序").size(), 1u);
        return frame;
    }

    // The player uninstalls in the one wizard: the game goes once, with one event of each kind
    // and one call of the plug-in, and the copy goes at the end.
    void UninstallOnce(HWND frame) {
        Click(frame, SkinInput::kUninstallNextStep);
        ASSERT_TRUE(WaitForCode("12060000", 60000));
        FinishAndWait(frame, relaunched_);
        ExpectGameRemoved(*install_, true);
        EXPECT_TRUE(WaitUntil([&] { return !FileExists(LocalAppDataCopy()); }, 20000));
        EXPECT_EQ(PostedCodes(), (std::vector<std::string>{"12040000", "12060000"}));
        EXPECT_EQ(server_.RequestCount(), 3u) << "one survey request and two events";
        const std::wstring log = ReadUtf8File(temp_ / L"InstallerChannelPlugin.log");
        EXPECT_EQ(Occurrences(log, L"Initialize "), 1u) << ToUtf8(log);
        EXPECT_EQ(Occurrences(log, L"OnUninstallComplete"), 1u) << ToUtf8(log);
    }

    ChildProcess relaunched_;
};

// A double click that registers twice: two starts 0.2 s apart run one uninstaller, which a later
// start brings back from the task bar. Its events go out once each and its copy goes at the end.
TEST_F(TwoStartsRun, AFractionOfASecondApartRunOneUninstaller) {
    const HWND frame = StartTwice(install_->InstallDir(), install_->InstallDir(), 200);
    ASSERT_NE(frame, nullptr);

    // Later starts while the window is minimised, a player's and the copy's own (as the second
    // start's copy runs when it wins the race to copy): each brings the window back and ends.
    for (const bool copyItself : {false, true}) {
        ShowWindow(frame, SW_MINIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(frame) != FALSE; }, 5000));
        ChildProcess later =
            copyItself ? StartUninstaller(LocalAppDataCopy(), L" " + install_->InstallDir())
                       : StartInstalled();
        DWORD code = 99;
        ASSERT_TRUE(later.Wait(kStartMs, &code)) << "copy itself " << copyItself;
        EXPECT_EQ(code, 0u);
        EXPECT_TRUE(WaitUntil([&] { return !IsIconic(frame); }, 5000)) << copyItself;
        EXPECT_EQ(VisibleTopWindows(nullptr, L"卸载程序").size(), 1u);
    }
    // The last start restores and raises the window from its own process: click once it is in
    // front.
    ASSERT_TRUE(
        WaitUntil([&] { return GetForegroundWindow() == frame && !IsIconic(frame); }, 10000));
    UninstallOnce(frame);
}

// The folder's long path, as Explorer gives it, and its 8.3 path, as old uninstall entries and
// shortcuts hold it, name one installation: started through both half a second apart, in either
// order, one wizard removes the game once.
class TwoSpellingsRun : public TwoStartsRun, public ::testing::WithParamInterface<bool> {};

TEST_P(TwoSpellingsRun, RunOneUninstaller) {
    const std::wstring longDir = install_->InstallDir();
    const std::wstring shortDir = ShortPathOf(longDir);
    ASSERT_EQ(shortDir.find(install_->Game().folderName), std::wstring::npos) << ToUtf8(shortDir);
    const bool shortFirst = GetParam();
    const HWND frame =
        StartTwice(shortFirst ? shortDir : longDir, shortFirst ? longDir : shortDir, 500);
    ASSERT_NE(frame, nullptr);
    UninstallOnce(frame);
}

INSTANTIATE_TEST_SUITE_P(LongAndShortPath, TwoSpellingsRun, ::testing::Values(false, true));

// The survey service offers two questions; the second has three options.
class QuestionnaireRun : public PlayerRun {
protected:
    QuestionnaireRun() {
        surveyReply_ = ToUtf8(
            L"{\"active\":true,\"surveyId\":7,\"survey\":["
            L"{\"title\":\"为什么离开？\",\"options\":[\"没时间\",\"不好玩\",\"太卡\",\"其他\"]},"
            L"{\"title\":\"还会回来吗？\",\"options\":[\"会\",\"不会\",\"不确定\"]}]}");
    }

    // Starts the uninstaller and goes on to the questionnaire.
    HWND OpenQuestionnaire() {
        StartLikeAPlayer();
        const HWND frame = WaitForFrame();
        if (frame == nullptr)
            return nullptr;
        WaitForSurveyReply();
        Click(frame, SkinInput::kUninstallNextStep);
        return frame;
    }
};

TEST_F(QuestionnaireRun, TheAnswersAndTheFreeTextReachTheFinalEvent) {
    const HWND frame = OpenQuestionnaire();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    // The questionnaire replaced the removal: nothing was sent, nothing removed.
    Sleep(500);
    EXPECT_TRUE(PostedCodes().empty());
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));

    Click(frame, SkinInput::Option(1, 1));
    Click(frame, SkinInput::Option(2, 2));
    Click(frame, SkinInput::kOtherReason);
    SkinInput::Type(L"no time");
    Click(frame, SkinInput::kBeginUnistall);
    ASSERT_TRUE(WaitForCode("12060000", 60000));
    // Each event has a thread of its own: the confirmation may still be on its way.
    ASSERT_TRUE(WaitForCode("12040000", 20000));
    EXPECT_FALSE(FileExists(install_->InstallDir() + L"\\game.exe"));
    const std::vector<std::string> codes = PostedCodes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], "12040000");
    const std::string report = ReportOf("12060000");
    // Question 1 option 1 is bit 15, question 2 option 2 bit 10.
    EXPECT_NE(report.find("\"survey\":\"00001000010000000000\""), std::string::npos) << report;
    EXPECT_NE(report.find("\"surveyid\":\"7\""), std::string::npos) << report;
    EXPECT_NE(report.find("no time"), std::string::npos) << report;
    FinishAndWait(frame, relaunched);
}

TEST_F(QuestionnaireRun, MoreThan140CharactersWarnAndKeepThePage) {
    const HWND frame = OpenQuestionnaire();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    Click(frame, SkinInput::kOtherReason);
    SkinInput::Type(std::wstring(141, L'字'));
    Click(frame, SkinInput::kBeginUnistall);

    const HWND box = WaitForTopWindow(L"#32770", L"warning", 0, 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(AnswerBox(box), L"其它原因中输入的字数请勿超过140");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    Sleep(300);
    EXPECT_TRUE(PostedCodes().empty());
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));

    // One character less is accepted: the removal starts and no warning shows.
    Click(frame, SkinInput::kOtherReason);
    INPUT back[2] = {};
    back[0].type = back[1].type = INPUT_KEYBOARD;
    back[0].ki.wVk = back[1].ki.wVk = VK_END;
    back[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, back, sizeof back[0]);
    back[0].ki.wVk = back[1].ki.wVk = VK_BACK;
    SendInput(2, back, sizeof back[0]);
    Sleep(200);
    Click(frame, SkinInput::kBeginUnistall);
    ASSERT_TRUE(WaitForCode("12040000", 20000));
    EXPECT_EQ(WaitForTopWindow(L"#32770", L"warning", 0, 1000), nullptr);
    ASSERT_TRUE(WaitForCode("12060000", 60000));
    const std::string kept = "\"ErrorMsg\":\"" + ToUtf8(std::wstring(140, L'字')) + "\"";
    EXPECT_NE(ReportOf("12060000").find(kept), std::string::npos);
    FinishAndWait(frame, relaunched);
}

TEST_F(QuestionnaireRun, StayingOnTheQuestionnaireSendsTheStayEvent) {
    const HWND frame = OpenQuestionnaire();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    Click(frame, SkinInput::kCloseUnistall02);
    ASSERT_TRUE(relaunched.Wait(30000));
    EXPECT_EQ(PostedCodes(), std::vector<std::string>{"12050000"});
    EXPECT_TRUE(FileExists(LocalAppDataCopy()));
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));
}

TEST_F(QuestionnaireRun, TheTitleBarCloseOnTheQuestionnaireSendsNoEvent) {
    const HWND frame = OpenQuestionnaire();
    ASSERT_NE(frame, nullptr);
    ChildProcess relaunched = ProcessOf(frame);
    Click(frame, SkinInput::kBtnClose);
    ASSERT_TRUE(relaunched.Wait(30000));
    EXPECT_TRUE(PostedCodes().empty());
    EXPECT_TRUE(FileExists(LocalAppDataCopy()));
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));
}

// Game B's uninstaller starts while game A's runs from the one copy path that all of the maker's
// games share.
struct SecondGame {
    DWORD apartMs;    // after game A's window showed
    bool sameProgram; // B's uninst.exe holds exactly the bytes of A's
};

class TwoGamesRun : public PlayerRun, public ::testing::WithParamInterface<SecondGame> {
protected:
    TempDir rootB_{L"e2eb"};
    std::unique_ptr<SampleInstall> installB_;

    void SetUp() override {
        PlayerRun::SetUp();
        server_.SetReplyForPath("/survey/1002", ScriptedReply::Ok(surveyReply_));
        SampleGame game;
        game.folderName = L"Velmora Other Game";
        game.chsName = L"另一款游戏";
        game.enName = L"VelmoraOtherGame";
        game.gameId = L"1002";
        game.shortcuts = {L"另一款游戏.lnk"};
        game.surveyUrl = install_->Game().surveyUrl;
        installB_.reset(new SampleInstall(rootB_.Path(), game));
        installB_->CreateAll();
        std::string program = ReadFileBytes(install_->InstallDir() + L"\\uninst.exe");
        if (!GetParam().sameProgram)
            program += '\0'; // still runs: the loader ignores bytes after the last section
        ASSERT_TRUE(WriteFileBytes(installB_->InstallDir() + L"\\uninst.exe", program));
    }

    // How many reports of the event carry the game's id.
    size_t Reports(const std::string& code, const std::string& gameId) const {
        size_t count = 0;
        for (const RecordedRequest& r : server_.Requests()) {
            if (r.method == "POST" && PercentDecode(FormField(r.body, "code")) == code)
                count += PercentDecode(FormField(r.body, "info"))
                             .find("\"GameID\":\"" + gameId + "\"") != std::string::npos;
        }
        return count;
    }

    // Side by side, so that a click meant for one window never lands on the other.
    static void PlaceAt(HWND frame, int x, int y) {
        SetWindowPos(frame, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void Uninstall(HWND frame) { Click(frame, SkinInput::kUninstallNextStep); }
};

TEST_P(TwoGamesRun, EachGameIsUninstalledWithItsOwnEventsOrThePlayerIsTold) {
    StartLikeAPlayer();
    const HWND frameA = WaitForFrame();
    ASSERT_NE(frameA, nullptr);
    ChildProcess relaunchedA = ProcessOf(frameA);
    PlaceAt(frameA, 0, 0);
    Sleep(GetParam().apartMs);

    ChildProcess first = StartInstalledIn(installB_->InstallDir());
    ASSERT_TRUE(first);
    if (!GetParam().sameProgram) {
        const HWND box = WaitForTopWindow(L"#32770", L"Error", first.Pid(), kStartMs);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(AnswerBox(box), L"另一个游戏的卸载程序正在运行，请在其结束后再试");
    }
    ASSERT_TRUE(first.Wait(kStartMs));
    HWND frameB = nullptr;
    ChildProcess relaunchedB;
    if (GetParam().sameProgram) {
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (const HWND w : VisibleTopWindows(nullptr, L"卸载程序"))
                    frameB = w != frameA ? w : frameB;
                return frameB != nullptr;
            },
            kStartMs));
        relaunchedB = ProcessOf(frameB);
        WaitUntil([&] { return !IsAtScreenCorner(frameB); }, 10000);
        Sleep(300);
        PlaceAt(frameB, 470, 520);
    } else {
        EXPECT_EQ(VisibleTopWindows(nullptr, L"卸载程序").size(), 1u);
    }

    // A's session goes on as if B had never started.
    Uninstall(frameA);
    // A has taken its click before B gets one; the two removals still run side by side.
    ASSERT_TRUE(WaitUntil([&] { return Reports("12040000", "1001") == 1; }, kStartMs));
    if (frameB)
        Uninstall(frameB);
    const size_t games = frameB ? 2 : 1;
    ASSERT_TRUE(WaitUntil(
        [&] { return Reports("12060000", "1001") + Reports("12060000", "1002") == games; }, 90000))
        << "game A's final events: " << Reports("12060000", "1001")
        << ", game B's: " << Reports("12060000", "1002");
    ExpectGameRemoved(*install_, true);
    ExpectGameRemoved(*installB_, frameB != nullptr);
    FinishAndWait(frameA, relaunchedA);
    // The copy serves the other window still; it goes when the last one closes.
    if (frameB) {
        Sleep(1000);
        EXPECT_TRUE(FileExists(LocalAppDataCopy()));
        FinishAndWait(frameB, relaunchedB);
    }
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(LocalAppDataCopy()); }, 20000));
    for (const char* code : {"12040000", "12060000"}) {
        EXPECT_EQ(Reports(code, "1001"), 1u) << code;
        EXPECT_EQ(Reports(code, "1002"), games - 1) << code;
    }
    EXPECT_EQ(PostedCodes().size(), 2 * games);
    // Both sessions unpack the plug-in into the one TEMP while the first holds it loaded: the
    // maker's plug-in hears of each game's uninstall all the same.
    const std::wstring log = ReadUtf8File(temp_ / L"InstallerChannelPlugin.log");
    EXPECT_EQ(Occurrences(log, L"OnUninstallComplete"), games) << ToUtf8(log);
    EXPECT_EQ(Occurrences(log, L"installDir=" + installB_->InstallDir() + L"\t"), games - 1)
        << ToUtf8(log);
}

INSTANTIATE_TEST_SUITE_P(OneCopyPath, TwoGamesRun,
                         ::testing::Values(SecondGame{1000, true}, SecondGame{5000, true},
                                           SecondGame{1000, false}));

class ConfigErrorRun : public UninstallerRun,
                       public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(ConfigErrorRun, ShowsTheConfigurationErrorAndEnds) {
    const std::wstring ini = GetParam();
    if (ini == L"<none>")
        DeleteFileW(install_->ConfigPath().c_str());
    else
        install_->WriteConfig(ini);

    StartLikeAPlayer();
    const HWND box = WaitForTopWindow(L"#32770", L"Error", 0, kStartMs);
    ASSERT_NE(box, nullptr);
    ChildProcess relaunched = ProcessOf(box);
    EXPECT_EQ(AnswerBox(box), L"配置文件读取错误");
    ASSERT_TRUE(relaunched.Wait(30000));
    // Nothing was prepared and nothing removed.
    EXPECT_FALSE(FileExists(temp_ / L"Serverlist.ini"));
    EXPECT_FALSE(FileExists(temp_ / L"InstallerChannelPlugin.log"));
    EXPECT_TRUE(FileExists(install_->InstallDir() + L"\\game.exe"));
}

INSTANTIATE_TEST_SUITE_P(
    MissingConfiguration, ConfigErrorRun,
    ::testing::Values(
        L"<none>", L"[game]\r\nchsName=a\r\nenName=b\r\n",
        L"[game]\r\nchsName=a\r\nenName=b\r\nGameid=1\r\n[survey]\r\nsurveyurl=u\r\n"));

} // namespace
