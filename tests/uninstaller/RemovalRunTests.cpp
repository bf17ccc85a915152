#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/uninstaller/RemovalTestUtil.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/SingleInstance.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace TestSupport;
using namespace RemovalTest;

namespace {

typedef std::vector<int> Steps;

std::string SystemText(DWORD error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                         FORMAT_MESSAGE_FROM_SYSTEM,
                     nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const std::string result = ToUtf8(text != nullptr ? text : L"");
    ::LocalFree(text);
    return result;
}

class FileHold {
public:
    // By default without FILE_SHARE_DELETE: nobody can delete the file while it is held. With
    // it, a delete succeeds but the file stays until the hold ends.
    explicit FileHold(const std::wstring& path, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE)
        : handle_(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0,
                                nullptr)) {}
    ~FileHold() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

class RemovalRunTest : public RemovalFixture {};

TEST_F(RemovalRunTest, FourFilesMoveTheProgressThroughQuartersThenTheFinalPageShows) {
    // The configuration file is the fourth file.
    Install(PlainGame({L"a.dat", L"data\\b.dat", L"data\\sub\\c.dat"}));
    const RunRecord run = RunRemoval();
    EXPECT_EQ(run.progress, (std::vector<int>{0, 25, 50, 75}));
    EXPECT_EQ(run.steps, Steps{4});
    EXPECT_EQ(run.configErrors, 0);
    EXPECT_EQ(run.fileTotal, 4u);
    EXPECT_FALSE(DirExists(install->InstallDir())) << "nothing was kept, so the folder goes too";
    EXPECT_TRUE(DirExists(dir.Path()));
    EXPECT_GE(run.exitBroadcasts, 1);
    // The final event's thread was already in the list when the final page arrived.
    EXPECT_EQ(run.eventThreadsAtFinalPage, 1u);
    EXPECT_TRUE(Events(EVENT_FILE_NOT_DELETED).empty());
    EXPECT_EQ(Events(EVENT_REMOVAL_FINISHED).size(), 1u);
}

TEST_F(RemovalRunTest, KeptFolderIsCountedButNeverVisited) {
    SampleGame game = PlainGame({L"Save\\s1.sav", L"Save\\deep\\s2.sav", L"a.dat", L"b.dat"});
    game.skipDirs = {L"Save"};
    Install(game);
    const RunRecord run = RunRemoval();
    EXPECT_EQ(run.fileTotal, 5u);
    EXPECT_EQ(run.progress, (std::vector<int>{0, 20, 40}));
    EXPECT_EQ(run.steps, Steps{4});
    EXPECT_TRUE(FileExists(InstallPath(L"Save\\s1.sav")));
    EXPECT_TRUE(FileExists(InstallPath(L"Save\\deep\\s2.sav")));
    EXPECT_FALSE(FileExists(InstallPath(L"a.dat")));
    EXPECT_FALSE(FileExists(InstallPath(L"b.dat")));
    EXPECT_FALSE(FileExists(install->ConfigPath()));
}

TEST_F(RemovalRunTest, KeptFileStillMovesTheProgress) {
    SampleGame game = PlainGame({L"config\\user.cfg", L"config\\default.cfg", L"a.dat"});
    game.skipFiles = {L"config\\user.cfg"};
    Install(game);
    const RunRecord run = RunRemoval();
    EXPECT_EQ(run.progress, (std::vector<int>{0, 25, 50, 75}));
    EXPECT_TRUE(FileExists(InstallPath(L"config\\user.cfg")));
    EXPECT_FALSE(FileExists(InstallPath(L"config\\default.cfg")));
    EXPECT_FALSE(FileExists(InstallPath(L"a.dat")));
    EXPECT_TRUE(Events(EVENT_FILE_NOT_DELETED).empty());
}

TEST_F(RemovalRunTest, MisplacedKeepEntriesKeepNothing) {
    SampleGame game = PlainGame({L"data\\b.dat", L"a.dat"});
    game.skipFiles = {L"data"}; // a folder named as a file
    game.skipDirs = {L"a.dat"}; // a file named as a folder
    Install(game);
    RunRemoval();
    EXPECT_FALSE(DirExists(install->InstallDir()));
}

TEST_F(RemovalRunTest, KeepEntriesMatchAsciiCaseButNotATrailingSeparator) {
    SampleGame game = PlainGame(
        {L"Save\\x.sav", L"Other\\y.dat", L"Äb\\z.dat", L"äc\\w.dat", L"a.dat", L"B.DAT"});
    game.skipDirs = {L"SAVE", L"other\\", L"Äb", L"ÄC"};
    game.skipFiles = {L"A.DAT", L"b.dat\\"};
    Install(game);
    RunRemoval();
    EXPECT_TRUE(FileExists(InstallPath(L"Save\\x.sav"))) << "ASCII letters match in any case";
    EXPECT_FALSE(DirExists(InstallPath(L"Other"))) << "a trailing separator matches nothing";
    EXPECT_TRUE(FileExists(InstallPath(L"Äb\\z.dat"))) << "the same non-ASCII letter matches";
    EXPECT_FALSE(DirExists(InstallPath(L"äc"))) << "only A to Z are compared without case";
    EXPECT_TRUE(FileExists(InstallPath(L"a.dat")));
    EXPECT_FALSE(FileExists(InstallPath(L"B.DAT")));
}

TEST_F(RemovalRunTest, ReadOnlyFileGoesOnTheSecondAttemptWithoutAnEvent) {
    Install(PlainGame({L"bin\\ro.dll", L"a.dat"}));
    ASSERT_TRUE(::SetFileAttributesW(InstallPath(L"bin\\ro.dll").c_str(), FILE_ATTRIBUTE_READONLY));
    RunRemoval();
    EXPECT_FALSE(DirExists(install->InstallDir()));
    EXPECT_TRUE(Events(EVENT_FILE_NOT_DELETED).empty());
}

TEST_F(RemovalRunTest, ReadOnlyFolderGoesToo) {
    Install(PlainGame({L"ro\\a.dat"}));
    ASSERT_TRUE(::SetFileAttributesW(InstallPath(L"ro").c_str(), FILE_ATTRIBUTE_READONLY));
    RunRemoval();
    EXPECT_FALSE(DirExists(install->InstallDir()));
}

TEST_F(RemovalRunTest, LockedFileIsReportedOnceAndStaysWithItsFolders) {
    Install(PlainGame({L"bin\\sub\\Locked锁定.DLL", L"bin\\other.dat", L"a.dat"}));
    const std::wstring locked = InstallPath(L"bin\\sub\\Locked锁定.DLL");
    std::vector<StatsTest::EventReport> reports;
    {
        FileHold hold(locked);
        ASSERT_TRUE(hold.Held());
        const RunRecord run = RunRemoval();
        EXPECT_EQ(run.progress, (std::vector<int>{0, 25, 50, 75}));
        EXPECT_EQ(run.steps, Steps{4});
        // The file's event and the final one were both started before the final page.
        EXPECT_EQ(run.eventThreadsAtFinalPage, 2u);
        reports = Events(EVENT_FILE_NOT_DELETED);
    }
    EXPECT_TRUE(FileExists(locked));
    EXPECT_TRUE(DirExists(InstallPath(L"bin\\sub")));
    EXPECT_FALSE(FileExists(InstallPath(L"bin\\other.dat")));
    EXPECT_FALSE(FileExists(InstallPath(L"a.dat")));
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_TRUE(reports[0].validJson) << reports[0].text;
    const std::string message = reports[0].root["ErrorMsg"].asString();
    EXPECT_EQ(message, "locked\xE9\x94\x81\xE5\xAE\x9A.dll," + SystemText(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(reports[0].root.isMember("survey"));
}

// The platform can claim a delete that did not happen: a file held open with delete sharing stays
// until the hold ends (as every file does on a read-only volume under Wine). Whatever stays and
// the keep lists do not explain is reported, each once, whether or not anything was kept; a
// folder is explained by what it holds, an empty one that stays by the platform's reason.
TEST_F(RemovalRunTest, WhatStaysUnexplainedIsReportedEvenWhenSomethingWasKept) {
    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const std::vector<std::string> expected = {"cwd," + SystemText(ERROR_SHARING_VIOLATION),
                                               "locked.dat," + SystemText(ERROR_SHARING_VIOLATION),
                                               "pending.dat,still present",
                                               "pending2.dat,still present"};
    for (const bool keep : {false, true}) {
        SampleGame game = PlainGame({L"Pending.dat", L"sub\\pending2.dat", L"locked.dat",
                                     L"cwd\\x.dat", L"kept.cfg", L"a.dat"});
        game.folderName = keep ? L"GameK" : L"GameN";
        game.skipFiles = {keep ? L"kept.cfg" : L"none"};
        Install(game);
        server.ClearRequests();
        RunRecord run;
        std::vector<StatsTest::EventReport> reports;
        wchar_t previous[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, previous);
        {
            FileHold pending(InstallPath(L"Pending.dat"), shareAll);
            FileHold pending2(InstallPath(L"sub\\pending2.dat"), shareAll);
            FileHold locked(InstallPath(L"locked.dat"));
            ASSERT_TRUE(pending.Held() && pending2.Held() && locked.Held());
            ASSERT_TRUE(::SetCurrentDirectoryW(InstallPath(L"cwd").c_str()));
            run = RunRemoval();
            ::SetCurrentDirectoryW(previous);
            EXPECT_TRUE(FileExists(InstallPath(L"Pending.dat")));
            reports = Events(EVENT_FILE_NOT_DELETED);
        }
        std::vector<std::string> messages;
        for (const StatsTest::EventReport& report : reports) {
            messages.push_back(report.root["ErrorMsg"].asString());
        }
        std::sort(messages.begin(), messages.end());
        EXPECT_EQ(messages, expected) << "keep " << keep;
        std::sort(run.notDeleted.begin(), run.notDeleted.end());
        EXPECT_EQ(run.notDeleted, (std::vector<std::wstring>{L"cwd", L"locked.dat", L"pending.dat",
                                                             L"pending2.dat"}));
        EXPECT_EQ(run.steps, Steps{4});
        EXPECT_EQ(FileExists(InstallPath(L"kept.cfg")), keep);
        EXPECT_FALSE(FileExists(InstallPath(L"a.dat")));
        EXPECT_EQ(Events(EVENT_REMOVAL_FINISHED).size(), 1u);
    }
}

TEST_F(RemovalRunTest, FinalEventCarriesTheAnswersAndTheCleanedFreeText) {
    Install(PlainGame({L"a.dat"}));
    request.answerMask = 0x8001;
    request.otherReasonText = L"太慢\r\r  of  \r\nlines\r";
    RunRemoval();
    const auto reports = Events(EVENT_REMOVAL_FINISHED);
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_TRUE(reports[0].validJson) << reports[0].text;
    EXPECT_EQ(reports[0].root["ErrorMsg"].asString(), "\xE5\xA4\xAA\xE6\x85\xA2 of lines ");
    EXPECT_EQ(reports[0].root["survey"].asString(), AnswerString(0x8001));
}

TEST_F(RemovalRunTest, TheWizardOnlyPostsTheReportsToItsWindow) {
    Install(PlainGame({L"a.dat"}));
    CUninstallerFrameWnd* frame = new CUninstallerFrameWnd(install->InstallDir().c_str(),
                                                           InstanceNameOf(install->InstallDir()));
    frame->GetSession()->SetServerListPath(listPath);
    ASSERT_NE(frame->Create(nullptr, L"removal test", WS_OVERLAPPEDWINDOW, 0, 0, 0, 320, 200),
              nullptr);
    // On this thread, without pumping: nothing of the window changes until its messages run.
    DoUninstall(frame->GetRemovalRequest(), *frame);
    EXPECT_EQ(frame->GetProgressValue(), -1);
    EXPECT_EQ(frame->GetWizardStep(), 0);
    EXPECT_TRUE(WaitUntil([&] { return recorder.Take(), frame->GetWizardStep() == 4; }, 10000));
    EXPECT_EQ(frame->GetProgressValue(), 50);
    EXPECT_EQ(frame->GetPercentText(), L"50%");
    frame->GetSession()->EventThreads().WaitAll(30000);
    const std::shared_ptr<SessionLink> link = frame->GetSession()->Link();
    ::DestroyWindow(frame->GetHWND());
    EXPECT_EQ(link->session, nullptr) << "the window frees its session when it goes";
}

TEST_F(RemovalRunTest, RegistryEntriesAndShortcutsGoWithTheFiles) {
    SampleGame game = PlainGame({L"game.exe"});
    game.shortcuts = {L"Game.lnk", L"测试 游戏.lnk"};
    Install(game, true);
    const std::wstring startMenu = install->StartMenuFolder();
    ASSERT_TRUE(FileExists(startMenu + L"\\Game.lnk"));
    ASSERT_TRUE(FileExists(install->DesktopFolder() + L"\\测试 游戏.lnk"));
    RunRemoval();
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, install->UninstallKeyPath().c_str(), 0,
                              KEY_READ | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, install->MakerKeyPath().c_str(), 0,
                              KEY_READ | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    for (const std::wstring& name : game.shortcuts) {
        EXPECT_FALSE(FileExists(install->DesktopFolder() + L"\\" + name));
    }
    EXPECT_FALSE(DirExists(startMenu));
    EXPECT_TRUE(DirExists(startMenu.substr(0, startMenu.rfind(L'\\'))))
        << "the maker's Start-menu folder stays";
    EXPECT_FALSE(DirExists(install->InstallDir()));
}

TEST_F(RemovalRunTest, TreesDeeperThanMaxPathGoWhole) {
    std::wstring deep;
    std::vector<std::wstring> files;
    for (int level = 0; level < 9; ++level) {
        deep += (level ? L"\\" : L"") + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        files.push_back(deep + L"\\file" + std::to_wstring(level) + L".dat");
    }
    SampleGame game = PlainGame({});
    Install(game);
    for (const std::wstring& rel : files) {
        const std::wstring path = L"\\\\?\\" + InstallPath(rel);
        const std::wstring folder = path.substr(0, path.rfind(L'\\'));
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(path, "x")) << ToUtf8(rel);
    }
    ASSERT_GT(InstallPath(files.back()).size(), 2u * MAX_PATH);
    EXPECT_EQ(CountFiles(*session, install->InstallDir().c_str()), 10u);
    const RunRecord run = RunRemoval();
    EXPECT_EQ(run.fileTotal, 10u);
    EXPECT_EQ(run.progress.size(), 10u);
    EXPECT_FALSE(DirExists(install->InstallDir()));
}

TEST_F(RemovalRunTest, LinksToFoldersOutsideAreNeverFollowed) {
    const std::wstring outside = dir / L"outside";
    const std::wstring outsideEmpty = dir / L"outside_empty";
    ASSERT_TRUE(CreateDirs(outside + L"\\sub"));
    ASSERT_TRUE(CreateDirs(outsideEmpty));
    ASSERT_TRUE(WriteFileBytes(outside + L"\\keep1.txt", "1"));
    ASSERT_TRUE(WriteFileBytes(outside + L"\\sub\\keep2.txt", "2"));
    Install(PlainGame({L"a.dat", L"sub\\b.dat"}));
    const std::wstring link = InstallPath(L"linked");
    const std::wstring linkToEmpty = InstallPath(L"sub\\linked_empty");
    if (!MakeUnixLink(outside, link) || !MakeUnixLink(outsideEmpty, linkToEmpty)) {
        RemoveUnixLink(link);
        FAIL() << "cannot make a Unix link through start /unix";
    }
    EXPECT_EQ(CountFiles(*session, install->InstallDir().c_str()), 3u);
    const RunRecord run = RunRemoval();
    EXPECT_EQ(run.progress, (std::vector<int>{0, 33, 66}));
    EXPECT_TRUE(FileExists(outside + L"\\keep1.txt"));
    EXPECT_TRUE(FileExists(outside + L"\\sub\\keep2.txt"));
    EXPECT_TRUE(DirExists(outsideEmpty)) << "an empty target is not removed through its link";
    EXPECT_FALSE(FileExists(InstallPath(L"a.dat")));
    EXPECT_FALSE(FileExists(InstallPath(L"sub\\b.dat")));
    if (IsWine()) {
        // Wine opens the target in place of a Unix link, so the link cannot go without taking
        // the target with it: it stays, and with it the folders that hold it, each link
        // reported as a file that could not be deleted.
        EXPECT_NE(::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
        EXPECT_NE(::GetFileAttributesW(linkToEmpty.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(Events(EVENT_FILE_NOT_DELETED).size(), 2u);
    } else {
        EXPECT_FALSE(DirExists(install->InstallDir()));
        EXPECT_TRUE(Events(EVENT_FILE_NOT_DELETED).empty());
    }
    RemoveUnixLink(link);
    RemoveUnixLink(linkToEmpty);
}

TEST_F(RemovalRunTest, ProgressIsZeroWithoutATotalAndNeverPassesAHundred) {
    Install(PlainGame({L"a.dat", L"b.dat", L"c.dat"}));
    const std::wstring root = install->InstallDir();
    unsigned counter = 0;
    DeleteTree(recorder, session, root.c_str(), &counter, 0, PathSet(), PathSet());
    EXPECT_EQ(counter, 4u);
    const RunRecord first = recorder.Take();
    EXPECT_EQ(first.progress, std::vector<int>{0});

    // More files met than counted.
    install->CreateFiles();
    install->WriteConfig(install->ConfigText());
    counter = 0;
    DeleteTree(recorder, session, root.c_str(), &counter, 2, PathSet(), PathSet());
    const RunRecord second = recorder.Take();
    EXPECT_EQ(second.progress, (std::vector<int>{50, 100}));
}

TEST_F(RemovalRunTest, AMissingInstallationStillEndsOnTheFinalPage) {
    Install(PlainGame({L"a.dat"}));
    // The directory disappears after the configuration has been read.
    RemoveTree(install->InstallDir());
    const RunRecord run = RunRemoval();
    EXPECT_TRUE(run.progress.empty());
    EXPECT_EQ(run.steps, Steps{4});
    EXPECT_EQ(run.fileTotal, 0u);
    EXPECT_EQ(Events(EVENT_REMOVAL_FINISHED).size(), 1u);
}

// A game moved to another drive and left behind as a link: the target's tree goes with the keep
// lists, then the target and the link; a kept folder keeps both.
TEST_F(RemovalRunTest, AnInstallationFolderThatIsALinkIsRemovedThroughItsTarget) {
    for (const bool keep : {true, false}) {
        SampleGame game = PlainGame({L"a.dat", L"Save\\s.sav", L"data\\b.dat"});
        game.folderName = keep ? L"GameK" : L"GameN";
        game.skipDirs = {keep ? L"Save" : L"none"};
        Install(game);
        const std::wstring moved = dir / (game.folderName + L"Moved");
        ASSERT_TRUE(::MoveFileW(install->InstallDir().c_str(), moved.c_str()));
        ASSERT_TRUE(MakeUnixLink(moved, install->InstallDir()));
        const RunRecord run = RunRemoval();
        // The configuration is the fourth file.
        const std::vector<int> progress = {0, 25, 50, 75};
        EXPECT_EQ(run.progress, std::vector<int>(progress.begin(), progress.end() - keep));
        EXPECT_FALSE(FileExists(moved + L"\\a.dat") || DirExists(moved + L"\\data"));
        EXPECT_EQ(FileExists(moved + L"\\Save\\s.sav"), keep);
        EXPECT_EQ(DirExists(install->InstallDir()), keep);
        EXPECT_TRUE(Events(EVENT_FILE_NOT_DELETED).empty());
        RemoveUnixLink(install->InstallDir());
    }
}

} // namespace
