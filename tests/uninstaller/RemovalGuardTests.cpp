#include <windows.h>
#include <shlobj.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/uninstaller/RemovalTestUtil.h"
#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/LongPath.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

using namespace TestSupport;
using namespace RemovalTest;

namespace {

std::wstring Folder(int csidl) {
    wchar_t buffer[MAX_PATH] = {};
    EXPECT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        << csidl;
    return buffer;
}

std::wstring Parent(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring WithoutDevicePrefix(const std::wstring& path) {
    return path.compare(0, 4, L"\\\\?\\") == 0 ? path.substr(4) : path;
}

std::wstring ResolvedPath(const std::wstring& path) {
    const HANDLE handle =
        ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::wstring();
    }
    wchar_t buffer[1024] = {};
    const DWORD length = ::GetFinalPathNameByHandleW(handle, buffer, 1024, 0);
    ::CloseHandle(handle);
    return WithoutDevicePrefix(std::wstring(buffer, length < 1024 ? length : 0));
}

TEST(InstallDirGuard, RefusesRootsRelativeAndDevicePaths) {
    const struct {
        const wchar_t* dir;
        InstallDirProblem problem;
    } cases[] = {
        {L"", InstallDirProblem::Empty},
        {L"C:\\", InstallDirProblem::Root},
        {L"C:", InstallDirProblem::Root},
        {L"c:/", InstallDirProblem::Root},
        {L"D:\\\\", InstallDirProblem::Root},
        {L"\\", InstallDirProblem::Root},
        {L"\\\\server\\share", InstallDirProblem::Root},
        {L"\\\\server\\share\\", InstallDirProblem::Root},
        {L"//server/share/", InstallDirProblem::Root},
        {L"\\\\server", InstallDirProblem::Root},
        {L"game", InstallDirProblem::NotAbsolute},
        {L"game\\sub", InstallDirProblem::NotAbsolute},
        {L"\\games\\g", InstallDirProblem::NotAbsolute},
        {L"C:games\\g", InstallDirProblem::NotAbsolute},
        {L"1:\\games", InstallDirProblem::NotAbsolute},
        {L"\\\\?\\C:\\games\\g", InstallDirProblem::DevicePath},
        {L"\\\\.\\C:\\games\\g", InstallDirProblem::DevicePath},
        {L"\\??\\C:\\games\\g", InstallDirProblem::DevicePath},
        {L"C:\\games\\..\\windows", InstallDirProblem::BadComponent},
        {L"C:\\games\\g\\..", InstallDirProblem::BadComponent},
        {L"C:\\games\\.", InstallDirProblem::BadComponent},
        {L"C:\\windows.", InstallDirProblem::BadComponent},
        {L"C:\\windows ", InstallDirProblem::BadComponent},
        {L"C:\\games\\g:stream", InstallDirProblem::BadComponent},
        {L"C:\\games\\*", InstallDirProblem::BadComponent},
        {L"C:\\games\\g\ttab", InstallDirProblem::BadComponent},
        {L"\\\\server\\share\\..\\other", InstallDirProblem::BadComponent},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckInstallDir(c.dir), c.problem) << ToUtf8(c.dir);
        EXPECT_FALSE(IsSafeInstallDir(c.dir)) << ToUtf8(c.dir);
    }
}

TEST(InstallDirGuard, RefusesShellFoldersInAnySpellingAndTheFoldersAboveThem) {
    const std::wstring profile = Folder(CSIDL_PROFILE);
    const std::wstring appData = Folder(CSIDL_APPDATA);
    std::vector<std::wstring> refused = {
        Folder(CSIDL_WINDOWS),
        Folder(CSIDL_SYSTEM),
        Folder(CSIDL_PROGRAM_FILES),
        Folder(CSIDL_COMMON_APPDATA),
        profile,
        Folder(CSIDL_DESKTOPDIRECTORY),
        Folder(CSIDL_COMMON_DESKTOPDIRECTORY),
        Folder(CSIDL_PERSONAL),
        appData,
        Folder(CSIDL_LOCAL_APPDATA),
        Parent(appData), // AppData
        Parent(profile), // Users
        Parent(Folder(CSIDL_COMMON_PROGRAMS)),
        Parent(Parent(Parent(Folder(CSIDL_COMMON_PROGRAMS)))), // ProgramData\Microsoft
        Upper(Folder(CSIDL_WINDOWS)) + L"\\",
        Slashed(Folder(CSIDL_SYSTEM)),
        Folder(CSIDL_PROGRAM_FILES) + L"\\\\",
        L"C:\\windows\\system32",
        L"C:\\Program Files",
    };
    wchar_t shortName[MAX_PATH] = {};
    if (::GetShortPathNameW(Folder(CSIDL_PROGRAM_FILES).c_str(), shortName, MAX_PATH) > 0) {
        refused.push_back(shortName);
    }
    // Where a shell folder is a link (Wine's Desktop points into the Linux home), its target.
    const std::wstring desktopTarget = ResolvedPath(Folder(CSIDL_DESKTOPDIRECTORY));
    if (!desktopTarget.empty()) {
        refused.push_back(desktopTarget);
    }
    for (const std::wstring& folder : refused) {
        EXPECT_EQ(CheckInstallDir(folder), InstallDirProblem::ShellFolder) << ToUtf8(folder);
    }
}

TEST(InstallDirGuard, AcceptsFoldersBelowThem) {
    TempDir temp{L"guard"};
    const std::vector<std::wstring> accepted = {
        Folder(CSIDL_PROGRAM_FILES) + L"\\Velmora\\Game",
        Folder(CSIDL_PROFILE) + L"\\Games\\G",
        L"D:\\Games\\Game",
        L"D:/Games//Game/",
        L"\\\\server\\share\\games",
        temp.Path(),
        temp.Path() + L"\\missing\\game",
        L"C:\\games\\g.v1",
        L"C:\\游戏\\测试游戏",
    };
    for (const std::wstring& folder : accepted) {
        EXPECT_EQ(CheckInstallDir(folder), InstallDirProblem::None) << ToUtf8(folder);
    }
}

TEST(InstallDirGuard, NormalisesSeparators) {
    EXPECT_EQ(NormalizeInstallDir(L"C:/Games//G\\"), L"C:\\Games\\G");
    EXPECT_EQ(NormalizeInstallDir(L"C:\\"), L"C:");
    EXPECT_EQ(NormalizeInstallDir(L"\\\\\\server\\\\share\\g\\\\"), L"\\\\server\\share\\g");
    EXPECT_EQ(NormalizeInstallDir(L"//server/share"), L"\\\\server\\share");
    EXPECT_EQ(NormalizeInstallDir(L"game\\"), L"game");
    EXPECT_EQ(NormalizeInstallDir(L""), L"");
}

TEST(InstallDirGuard, PlainFileNames) {
    for (const wchar_t* name : {L"Game.lnk", L"测试游戏.lnk", L"a b.lnk", L".hidden", L"x..y"}) {
        EXPECT_TRUE(IsPlainFileName(name)) << ToUtf8(name);
    }
    for (const wchar_t* name :
         {L"", L".", L"..", L"...", L" ", L". .", L"..\\x.lnk", L"a/b.lnk", L"C:x.lnk",
          L"C:\\x.lnk", L"\\\\server\\x", L"a\nb", L"*.lnk", L"x?.lnk"}) {
        EXPECT_FALSE(IsPlainFileName(name)) << ToUtf8(name);
    }
}

TEST(LongPath, PrefixOnlyForLongPaths) {
    EXPECT_EQ(ApiPath(L"C:\\games\\g"), L"C:\\games\\g");
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'x');
    EXPECT_EQ(ApiPath(longPath), L"\\\\?\\" + longPath);
    const std::wstring longShare = L"\\\\server\\share\\" + std::wstring(300, L'x');
    EXPECT_EQ(ApiPath(longShare), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x'));
    EXPECT_EQ(ApiPath(L"\\\\?\\" + longPath), L"\\\\?\\" + longPath);
    EXPECT_EQ(AsciiLower(L"ABC-xyz-Ä-測"), L"abc-xyz-Ä-測");
}

// A folder too deep for the plain path functions, named by its 8.3 path (as the final page may
// have to name it): its long form is spelled as usual, without the prefix its lookup needs.
TEST(LongPath, TheLongFormOfADeepShortPathKeepsItsSpelling) {
    const TempDir temp{L"deep"};
    std::vector<std::wstring> levels{temp.Path()};
    while (levels.back().size() < 2 * MAX_PATH) {
        levels.push_back(levels.back() + L"\\Long Folder Name");
        ASSERT_TRUE(CreateDirectoryW(ApiPath(levels.back()).c_str(), nullptr));
    }
    std::wstring shortForm(4 * MAX_PATH, L'\0');
    shortForm.resize(GetShortPathNameW(ApiPath(levels.back()).c_str(), &shortForm[0],
                                       static_cast<DWORD>(shortForm.size())));
    const std::wstring shortPath = WithoutDevicePrefix(shortForm);
    ASSERT_GE(shortPath.size(), size_t{MAX_PATH}) << ToUtf8(shortPath);
    ASSERT_NE(shortPath.find(L'~'), std::wstring::npos) << ToUtf8(shortPath);
    const std::wstring longForm = LongForm(shortPath);
    EXPECT_EQ(WithoutDevicePrefix(longForm), longForm);
    // Windows expands each component; Wine gives a prefixed path back as it came.
    EXPECT_EQ(longForm, IsWine() ? shortPath : levels.back());
    while (levels.size() > 1) {
        RemoveDirectoryW(ApiPath(levels.back()).c_str());
        levels.pop_back();
    }
}

TEST(KeepSet, EntriesFollowTheNormalisedRoot) {
    const PathSet keep = BuildKeepSet(
        {L"c:\\games\\g\\\\save", L"c:\\games\\g\\\\config\\user.cfg", L"d:\\elsewhere\\x"},
        L"C:\\Games\\G\\");
    EXPECT_EQ(keep, (PathSet{L"c:\\games\\g\\save", L"c:\\games\\g\\config\\user.cfg",
                             L"d:\\elsewhere\\x"}));
    EXPECT_EQ(BuildKeepSet({L"c:/games/g\\save"}, L"C:/Games/G"), PathSet{L"c:\\games\\g\\save"});
    EXPECT_EQ(BuildKeepSet({L"c:\\g\\save\\"}, L"C:\\G"), PathSet{L"c:\\g\\save\\"});
}

TEST(Progress, PercentageIsTruncatedAndClamped) {
    EXPECT_EQ(ProgressPercentage(0, 0), 0);
    EXPECT_EQ(ProgressPercentage(5, 0), 0);
    EXPECT_EQ(ProgressPercentage(0, 4), 0);
    EXPECT_EQ(ProgressPercentage(3, 4), 75);
    EXPECT_EQ(ProgressPercentage(1, 3), 33);
    EXPECT_EQ(ProgressPercentage(2, 3), 66);
    EXPECT_EQ(ProgressPercentage(3, 3), 100);
    EXPECT_EQ(ProgressPercentage(7, 3), 100);
    EXPECT_EQ(ProgressPercentage(UINT_MAX - 1, UINT_MAX), 99);
    EXPECT_EQ(ProgressPercentage(UINT_MAX, 1), 100);
}

TEST(FreeText, LineEndsBecomeOneBlankAndNothingElseIsLost) {
    const auto clean = &CUninstallerFrameWnd::CleanOtherReasonText;
    EXPECT_EQ(clean(L""), L"");
    EXPECT_EQ(clean(L"a\r\nb"), L"a b");
    EXPECT_EQ(clean(L"a\rb"), L"a b") << "the rich edit's lone CR keeps the next character";
    EXPECT_EQ(clean(L"a\r"), L"a ");
    EXPECT_EQ(clean(L"\r"), L" ");
    EXPECT_EQ(clean(L"\r\r\r"), L" ");
    EXPECT_EQ(clean(L"a  \r\n  b   c"), L"a b c");
    EXPECT_EQ(clean(L"    "), L" ");
    EXPECT_EQ(clean(L"a\nb"), L"a\nb");
    EXPECT_EQ(clean(L"太慢\r卡顿"), L"太慢 卡顿");
    std::wstring many;
    for (int i = 0; i < 5000; ++i) {
        many += L"x\r";
    }
    std::wstring expected;
    for (int i = 0; i < 5000; ++i) {
        expected += L"x ";
    }
    EXPECT_EQ(clean(many), expected);
}

class RefusalTest : public RemovalFixture {
protected:
    void ExpectNothingRemoved(const RunRecord& run) {
        EXPECT_EQ(run.configErrors, 1);
        EXPECT_TRUE(run.progress.empty());
        EXPECT_TRUE(run.steps.empty());
        for (const std::wstring& rel : install->Game().files) {
            EXPECT_TRUE(FileExists(InstallPath(rel))) << ToUtf8(rel);
        }
        EXPECT_TRUE(FileExists(install->ConfigPath()));
        HKEY key = nullptr;
        EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, install->UninstallKeyPath().c_str(), 0,
                                  KEY_READ | KEY_WOW64_32KEY, &key),
                  ERROR_SUCCESS);
        if (key != nullptr) {
            DWORD values = 0;
            ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr);
            EXPECT_EQ(values, 3u);
            ::RegCloseKey(key);
        }
        EXPECT_TRUE(FileExists(install->StartMenuFolder() + L"\\Game.lnk"));
        EXPECT_TRUE(FileExists(install->DesktopFolder() + L"\\Game.lnk"));
        session->EventThreads().WaitAll(30000);
        EXPECT_EQ(server.RequestCount(), 0u) << "no event for a removal that did not happen";
    }

    // A session whose configuration reading shows the error box, closed as a player would; the
    // quit message it queues for this thread is taken out.
    static UninstallSession* NewSessionAfterErrorBox(const std::wstring& commandLine) {
        std::thread closer([] {
            WaitUntil(
                [] {
                    const HWND box = ::FindWindowW(L"#32770", L"Error");
                    return box != nullptr && ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                },
                20000);
        });
        UninstallSession* const broken = new UninstallSession(commandLine.c_str());
        closer.join();
        MSG quit;
        EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        return broken;
    }

    // A refused folder is a configuration error as soon as the configuration is read; the
    // worker, started all the same, refuses too.
    void OpenRefusedSession(const std::wstring& commandLine) {
        session = NewSessionAfterErrorBox(commandLine);
        ASSERT_FALSE(session->IsConfigValid());
        session->SetServerListPath(listPath);
        request.session = session;
        recorder.SetSession(session);
    }

    void MakeInstallation() {
        SampleGame game = PlainGame({L"a.dat", L"data\\b.dat"});
        game.shortcuts = {L"Game.lnk"};
        install = std::make_unique<SampleInstall>(dir.Path(), game);
        install->CreateAll();
    }
};

TEST_F(RefusalTest, RelativeInstallationDirectoryRemovesNothing) {
    MakeInstallation();
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(dir.Path().c_str()));
    // The configuration is found relative to the current folder; the removal still refuses.
    OpenRefusedSession(install->Game().folderName);
    const RunRecord run = RunRemoval();
    ::SetCurrentDirectoryW(previous);
    ExpectNothingRemoved(run);
}

// A drive letter of the test's own (through Wine's dosdevices) whose root is a folder; the
// mapping goes with the object.
class MappedDrive {
public:
    explicit MappedDrive(const std::wstring& folder) {
        const std::string dosDevices = UnixPathOf(L"C:\\");
        const size_t cut = dosDevices.rfind("/c:");
        for (wchar_t letter = L'R'; letter <= L'Y' && cut != std::string::npos; ++letter) {
            const std::wstring root = std::wstring(1, letter) + L":\\";
            if (::GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES) {
                continue;
            }
            device_ = dosDevices.substr(0, cut) + "/" + static_cast<char>(::towlower(letter)) + ":";
            if (RunUnixProgram("/bin/ln", {"-s", UnixPathOf(folder), device_}) &&
                WaitUntil([&] { return DirExists(root); }, 10000)) {
                root_ = root;
            }
            return;
        }
    }
    ~MappedDrive() {
        if (!device_.empty()) {
            RunUnixProgram("/bin/rm", {"-f", device_});
        }
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    // "R:\\", empty when no letter could be mapped.
    const std::wstring& Root() const { return root_; }

private:
    std::string device_;
    std::wstring root_;
};

TEST_F(RefusalTest, DriveRootRemovesNothing) {
    if (!IsWine()) {
        GTEST_SKIP() << "maps a drive letter through Wine's dosdevices";
    }
    MakeInstallation();
    const MappedDrive drive(install->InstallDir());
    ASSERT_FALSE(drive.Root().empty());
    ASSERT_TRUE(FileExists(drive.Root() + L"a.dat"));
    OpenRefusedSession(drive.Root());
    ExpectNothingRemoved(RunRemoval());
}

// The installation folder as a link: its target must pass the guard as well.
TEST_F(RefusalTest, LinkedInstallationFolderIsCheckedAtItsTarget) {
    if (!IsWine()) {
        GTEST_SKIP() << "Unix links and a drive letter through Wine's dosdevices";
    }
    MakeInstallation();
    const MappedDrive drive(install->InstallDir());
    ASSERT_FALSE(drive.Root().empty());
    const struct {
        std::wstring target;
        InstallDirProblem problem;
    } cases[] = {
        {drive.Root(), InstallDirProblem::Root},
        {L"C:\\", InstallDirProblem::ShellFolder}, // the drive of Windows
        {Folder(CSIDL_PROFILE), InstallDirProblem::ShellFolder},
        {Folder(CSIDL_APPDATA), InstallDirProblem::ShellFolder},
        {dir / L"plain", InstallDirProblem::None},
    };
    ASSERT_TRUE(CreateDirs(dir / L"plain\\kept"));
    const std::wstring link = dir / L"linked";
    for (const auto& c : cases) {
        // The link goes before anything can end the test: nothing may walk it later.
        const bool linked = MakeUnixLink(c.target, link);
        const InstallDirProblem problem = CheckInstallDir(link);
        RemoveUnixLink(link);
        ASSERT_TRUE(linked) << ToUtf8(c.target);
        EXPECT_EQ(problem, c.problem) << ToUtf8(c.target);
    }
    // Through a link to the mapped root, the installation itself is refused and left whole.
    ASSERT_TRUE(MakeUnixLink(drive.Root(), link));
    OpenRefusedSession(link);
    const RunRecord run = RunRemoval();
    RemoveUnixLink(link);
    ExpectNothingRemoved(run);
}

TEST_F(RefusalTest, AHalfReadConfigurationRemovesNothing) {
    MakeInstallation();
    OpenSession(install->InstallDir());
    // The keep lists would be missing: a session whose configuration failed must not remove.
    install->WriteConfig(L"[game]\r\nchsName=x\r\n");
    UninstallSession* broken = NewSessionAfterErrorBox(install->InstallDir());
    install->WriteConfig(install->ConfigText());
    ASSERT_FALSE(broken->IsConfigValid());
    RemovalRequest brokenRequest;
    brokenRequest.session = broken;
    ASSERT_TRUE(StartUninstallWorker(brokenRequest, recorder));
    const RunRecord run = recorder.WaitFinished(30000);
    ExpectNothingRemoved(run);
}

TEST_F(RefusalTest, KnownFolderIsNotWalkedEvenWhenAskedDirectly) {
    Install(PlainGame({L"a.dat"}));
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    // The guard first, so that a broken refusal could never reach the folder below.
    ASSERT_EQ(CheckInstallDir(temp), InstallDirProblem::ShellFolder);
    unsigned counter = 0;
    DeleteTree(recorder, session, temp, &counter, 0, PathSet(), PathSet());
    EXPECT_EQ(counter, 0u);
    EXPECT_TRUE(FileExists(InstallPath(L"a.dat")));
    const RunRecord run = recorder.Take();
    EXPECT_TRUE(run.progress.empty());
}

} // namespace
