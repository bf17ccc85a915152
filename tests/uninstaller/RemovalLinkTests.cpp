#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/uninstaller/RemovalTestUtil.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/StatisticsEvents.h"

using namespace TestSupport;
using namespace RemovalTest;

// A game moved to another drive and left behind as a link: the target's tree goes with the keep
// lists, then the target and the link; a kept folder keeps both.
TEST_F(RemovalFixture, AnInstallationFolderThatIsALinkIsRemovedThroughItsTarget) {
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
