#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"
#include "tests/support/UnixSide.h"
#include "tests/support/ZipWriter.h"
#include "tests/uninstaller/ConfigFileCopy.h"
#include "ui/Win32Handles.h"
#include "uninstaller/CommandLine.h"
#include "uninstaller/Relaunch.h"
#include "uninstaller/SelfDelete.h"
#include "uninstaller/SingleInstance.h"
#include "uninstaller/TextConvert.h"
#include "uninstaller/UninstallSession.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace TestSupport;

namespace {

class ConfigTest : public ::testing::Test {
protected:
    TempDir dir_{L"cfg"};
    SampleInstall install_{dir_.Path(), SampleGame()};
    GameConfig config_;

    bool Read(const std::wstring& ini) {
        install_.WriteConfig(ini);
        return ReadConfigFile(install_.ConfigPath(), install_.InstallDir(), config_);
    }
};

TEST_F(ConfigTest, ReadsEveryKeyOfAFullConfiguration) {
    ASSERT_TRUE(Read(install_.ConfigText()));
    EXPECT_EQ(config_.chsName, L"测试游戏");
    EXPECT_EQ(config_.enName, L"VelmoraTestGame");
    EXPECT_EQ(config_.Gameid, "1001");
    EXPECT_EQ(config_.Gversion, "1.2.3");
    EXPECT_EQ(config_.GameKeyOnChannel, L"channel-key");
    EXPECT_EQ(config_.GameInstallerType, L"2");
    EXPECT_EQ(config_.surveyurl, "http://127.0.0.1:47080/survey/");
    EXPECT_EQ(config_.surveytoken, "token123");
    ASSERT_EQ(config_.shortcut.size(), 1u);
    EXPECT_EQ(config_.shortcut[0], L"测试游戏.lnk");
}

TEST_F(ConfigTest, MissingFileIsAConfigurationError) {
    EXPECT_FALSE(ReadConfigFile(dir_ / L"nowhere\\installedFileList.txt", dir_.Path(), config_));
}

TEST_F(ConfigTest, StopsAtTheFirstMissingRequiredKeyKeepingWhatWasRead) {
    EXPECT_FALSE(Read(L"[game]\r\nchsName=游戏\r\nenName=Game\r\n"));
    EXPECT_EQ(config_.chsName, L"游戏");
    EXPECT_EQ(config_.enName, L"Game");
    EXPECT_TRUE(config_.Gameid.empty());
}

TEST_F(ConfigTest, SurveyKeysAreRequired) {
    const std::wstring game = L"[game]\r\nchsName=a\r\nenName=b\r\nGameid=1\r\n";
    EXPECT_FALSE(Read(game + L"[survey]\r\nsurveyurl=http://x/\r\n"));
    EXPECT_FALSE(Read(game + L"[survey]\r\nsurveytoken=t\r\n"));
    EXPECT_FALSE(Read(game + L"[survey]\r\nsurveytoken=\r\nsurveyurl=http://x/\r\n"));
    EXPECT_TRUE(Read(game + L"[survey]\r\nsurveytoken=t\r\nsurveyurl=http://x/\r\n"));
}

TEST_F(ConfigTest, ListsSkipEmptyKeysAndBecomeLowerCasePaths) {
    const std::wstring base =
        L"[game]\r\nchsName=a\r\nenName=b\r\nGameid=1\r\n[survey]\r\nsurveytoken=t\r\n"
        L"surveyurl=u\r\n";
    ASSERT_TRUE(Read(base + L"[SkipDir]\r\ntotalnum=3\r\n0=Save\r\n2=MODS\\Ä\r\n"
                            L"[SkipFile]\r\ntotalnum=-2\r\n0=x\r\n"
                            L"[shortcut]\r\ntotalnum=2\r\n0=Game.LNK\r\n1=\r\n"));
    std::wstring lowerDir = install_.InstallDir();
    for (wchar_t& c : lowerDir)
        c = (c >= L'A' && c <= L'Z') ? c + 32 : c;
    ASSERT_EQ(config_.SkipDir.size(), 2u);
    EXPECT_EQ(config_.SkipDir[0], lowerDir + L"\\save");
    // Only A to Z are lowered.
    EXPECT_EQ(config_.SkipDir[1], lowerDir + L"\\mods\\Ä");
    EXPECT_TRUE(config_.SkipFile.empty());
    ASSERT_EQ(config_.shortcut.size(), 1u);
    EXPECT_EQ(config_.shortcut[0], L"Game.LNK");
}

TEST_F(ConfigTest, LongValuesAreKeptWhole) {
    const std::wstring longName(700, L'n');
    ASSERT_TRUE(
        Read(L"[game]\r\nchsName=" + longName +
             L"\r\nenName=b\r\nGameid=中文\r\n[survey]\r\nsurveytoken=t\r\nsurveyurl=u\r\n"));
    EXPECT_EQ(config_.chsName, longName);
    EXPECT_EQ(config_.Gameid, "\xE4\xB8\xAD\xE6\x96\x87");
}

// A text with NUL bytes in it, whole.
template <size_t N> std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// Every way a hand-edited or damaged file can be laid out reads as the profile API read it.
TEST_F(ConfigTest, MalformedLayoutsReadAsTheProfileApiReadsThem) {
    const std::string game = "[game]\r\nchsName=a\r\nenName=b\r\nGameid=1\r\n";
    const std::string survey = "[survey]\r\nsurveytoken=t\r\nsurveyurl=u\r\n";
    const std::string utf16Le = Bytes("\xFF\xFE[\0g\0a\0m\0e\0]\0\n\0c\0h\0s\0N\0a\0m\0e\0=\0x\0");
    const struct {
        const char* what;
        std::string bytes;
        const char* gameid; // as the player's events carry it
    } cases[] = {
        {"blanks, tabs and ^Z around names, values and headers",
         " [game] \t\r\n chsName = a \r\n\tenName\t=\tb\x1A\r\nGameid =  1 \r\n" + survey, "1"},
        {"section and key names in any case",
         "[GAME]\r\nCHSNAME=a\r\nenname=b\r\ngameID=2\r\n" + survey, "2"},
        {"quotes",
         game + "Gversion=\"1.0\"\r\nwebsite='x\r\n[survey]\r\nsurveytoken='t'\r\n"
                "surveyurl=\"\r\n",
         "1"},
        {"first section and first key win",
         game + "Gameid=9\r\n" + survey + "[game]\r\nGameid=8\r\n", "1"},
        {"a key only in a later section of the same name",
         "[game]\r\nchsName=a\r\nenName=b\r\n" + survey + "[game]\r\nGameid=3\r\n", nullptr},
        {"header without ] and lines without =",
         "[game\r\nchsName=a\r\n" + game + "Gversion\r\n" + survey, "1"},
        {"name up to the last ]", "[game]]\r\n[game] x]\r\n" + game + survey, "1"},
        {"= in values, ; comments, bare CR and LF", game + ";Gversion=c\rGversion=a=b\n" + survey,
         "1"},
        {"NUL inside names and values", game + Bytes("web\0site=w\r\nGversion=v\0w\r\n") + survey,
         "1"},
        {"list names ending at an empty name",
         game + survey +
             "[SkipDir]\r\ntotalnum=4\r\n0=a\r\n=x\r\n1=b\r\n[shortcut]\r\ntotalnum=2\r\n"
             ";0=c\r\n1=\"d\"\r\n01=e\r\n",
         "1"},
        {"nameless lines, one after another",
         game + survey + "[SkipDir]\r\ntotalnum=3\r\n0=a\r\n" + Bytes("\0\r\n=x\r\n1=b\r\n"), "1"},
        {"blanks inside the brackets", "[ game ]\r\nchsName=a\r\nenName=b\r\nGameid=4\r\n" + survey,
         "4"},
        {"an ideographic space is no white space",
         game + "Gversion=\xE3\x80\x80v\xE3\x80\x80\r\n" + survey, "1"},
        {"UTF-16 little-endian", utf16Le, nullptr},
        {"UTF-16 with an odd last byte, which is not read", utf16Le + "y", nullptr},
        {"UTF-16 big-endian", Bytes("\xFE\xFF\0[\0g\0a\0m\0e\0]\0\n\0c\0h\0s\0N\0a\0m\0e\0=\0x"),
         nullptr},
        {"empty file", "", nullptr},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(install_.ConfigPath(), c.bytes));
        GameConfig byProfileApi;
        const bool ok = ReadConfigFile(install_.ConfigPath(), install_.InstallDir(), config_);
        EXPECT_EQ(ok, ReadConfigFileWithProfileApi(install_.ConfigPath(), install_.InstallDir(),
                                                   byProfileApi))
            << c.what;
        EXPECT_TRUE(config_ == byProfileApi) << c.what;
        EXPECT_EQ(ok, c.gameid != nullptr) << c.what;
        EXPECT_EQ(config_.Gameid, c.gameid ? c.gameid : "") << c.what;
        config_ = GameConfig();
    }
}

// The session needs a readable configuration; the test program carries no
// embedded files, so nothing is extracted and no plug-in loads.
class ParamsTest : public ConfigTest {
protected:
    ChannelPluginParams Params(const std::wstring& installerType, const std::wstring& sdkDir = L"",
                               const std::wstring& key = L"k") {
        SampleGame g;
        g.installerType = installerType;
        g.channelSdkDir = sdkDir;
        g.gameKeyOnChannel = key;
        SampleInstall install(dir_.Path(), g);
        install.WriteConfig(install.ConfigText());
        UninstallSession session(install.InstallDir().c_str());
        EXPECT_TRUE(session.IsConfigValid());
        EXPECT_EQ(session.plugin, nullptr);
        ChannelPluginParams p;
        std::memset(&p, 0xCC, sizeof p);
        FillChannelPluginParams(session, p);
        return p;
    }
};

TEST_F(ParamsTest, BlockCarriesTheInstallationFields) {
    const ChannelPluginParams p = Params(L"", L"C:\\sdk", L"key-1");
    EXPECT_EQ(std::wstring(p.installDir), dir_.Path() + L"\\Velmora Test Game");
    EXPECT_EQ(std::wstring(p.channelSdkDir), L"C:\\sdk");
    EXPECT_EQ(std::wstring(p.gameVersion), L"1.2.3");
    EXPECT_EQ(std::wstring(p.gameKeyOnChannel), L"key-1");
    EXPECT_EQ(p.one, 1);
    EXPECT_EQ(p.installerType, 1); // not configured
    EXPECT_EQ(p.zero, 0u);
    for (wchar_t c : p.reserved)
        ASSERT_EQ(c, 0);
}

TEST_F(ParamsTest, InstallerTypeIsADecimalNumber) {
    EXPECT_EQ(Params(L"2").installerType, 2);
    EXPECT_EQ(Params(L"abc").installerType, 0);
}

TEST_F(ParamsTest, OverlongFieldsAreCutAndTerminated) {
    const ChannelPluginParams p = Params(L"1", std::wstring(400, L's'), std::wstring(300, L'k'));
    EXPECT_EQ(std::wstring(p.channelSdkDir), std::wstring(259, L's'));
    EXPECT_EQ(std::wstring(p.gameKeyOnChannel), std::wstring(127, L'k'));
}

TEST(TextConvert, RoundTripsUtf8) {
    EXPECT_EQ(WideToUtf8(L"卸载 ok"), "\xE5\x8D\xB8\xE8\xBD\xBD ok");
    EXPECT_EQ(Utf8ToWide("\xE5\x8D\xB8\xE8\xBD\xBD ok"), L"卸载 ok");
    EXPECT_EQ(WideToUtf8(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(Utf8ToWide(nullptr), L"");
    EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(TextConvert, TheRunHasTheExpectedCodePage) {
    const char* expected = getenv("UNINST_EXPECT_ACP");
    if (expected) {
        EXPECT_EQ(GetACP(), static_cast<UINT>(atoi(expected)));
    }
}

TEST(Paths, DirectoryOfPathCutsAtTheLastSeparator) {
    EXPECT_EQ(DirectoryOfPath(L"C:\\A B\\uninst.exe"), L"C:\\A B");
    EXPECT_EQ(DirectoryOfPath(L"C:/x/y.exe"), L"C:/x");
    EXPECT_EQ(DirectoryOfPath(L"uninst.exe"), L"uninst.exe");
}

TEST(Paths, ArgumentsFollowTheProgramNameVerbatim) {
    const struct {
        const wchar_t* commandLine;
        const wchar_t* arguments;
    } cases[] = {
        {L"\"C:\\A B\\uninst.exe\" C:\\Games\\G H", L"C:\\Games\\G H"},
        {L"C:\\x\\uninst.exe C:\\Games\\G", L"C:\\Games\\G"},
        {L"\"C:\\uninst.exe\"    ", L"   "}, // only blanks: kept
        {L"\"C:\\uninst.exe\"\t\t", L"\t"},
        {L"   ", L"  "}, // no program name at all
        {L"\"C:\\uninst.exe\"", L""},
        {L"C:\\uninst.exe", L""},
        {L"\"C:\\uninst.exe\"x y", L"x y"},
        {L"\"C:\\unterminated x", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArgumentsOf(c.commandLine), c.arguments) << ToUtf8(c.commandLine);
    }
}

TEST(SingleInstance, OneLockPerInstallationInAnySpelling) {
    const std::wstring pid = std::to_wstring(GetCurrentProcessId());
    const std::wstring dir = InstanceNameOf(L"C:\\Games\\Velmora " + pid);
    const std::wstring otherSpelling = InstanceNameOf(L"c:/games//VELMORA " + pid + L"\\");
    const std::wstring other = InstanceNameOf(L"C:\\Games\\Velmora " + pid + L"2");
    EXPECT_EQ(dir, otherSpelling);
    EXPECT_FALSE(IsInstanceRunning(dir));
    {
        const CInstanceLock first(dir);
        EXPECT_TRUE(first.Owned());
        EXPECT_TRUE(IsInstanceRunning(dir));
        EXPECT_FALSE(CInstanceLock(otherSpelling).Owned());
        EXPECT_TRUE(CInstanceLock(other).Owned());
    }
    EXPECT_FALSE(IsInstanceRunning(dir));
    EXPECT_TRUE(CInstanceLock(dir).Owned());
}

// Every spelling of a folder that exists names the one folder: its long path, its 8.3 form (as old
// shortcuts hold it), and a link to it; other folders keep names of their own.
TEST(SingleInstance, OneNamePerFolderWhateverSpellsIt) {
    const TempDir root(L"instance");
    const std::wstring dir = root / L"Zeph Online";
    const std::wstring sibling = root / L"Zeph Online 2";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr) &&
                CreateDirectoryW(sibling.c_str(), nullptr));
    const std::wstring shortPath = ShortPathOf(dir);
    ASSERT_EQ(shortPath.find(L"Zeph Online"), std::wstring::npos) << ToUtf8(shortPath);
    const std::wstring link = root / L"Linked";
    const bool linked = MakeUnixLink(dir, link);

    const struct {
        const char* what;
        std::wstring spelling;
        bool same;
    } cases[] = {
        {"8.3 form", shortPath, true},
        {"8.3 form in lower case, slashes, trailing separator", Slashed(Lower(shortPath)) + L"/",
         true},
        {"upper case", Upper(dir), true},
        {"forward slashes", Slashed(dir), true},
        {"trailing separators", dir + L"\\\\", true},
        {"doubled separators", root.Path() + L"\\\\Zeph Online", true},
        {"another folder", sibling, false},
        {"the 8.3 form of another folder", ShortPathOf(sibling), false},
        {"the folder above", root.Path(), false},
        {"a folder that is not there", dir + L" 3", false},
    };
    const std::wstring name = InstanceNameOf(dir);
    for (const auto& c : cases) {
        EXPECT_EQ(InstanceNameOf(c.spelling) == name, c.same)
            << c.what << ": " << ToUtf8(c.spelling);
    }
    if (linked) {
        EXPECT_EQ(InstanceNameOf(link), name) << "a link to the folder";
        EXPECT_EQ(InstanceNameOf(link + L"\\"), name) << "a link to the folder";
    } else {
        EXPECT_FALSE(IsWine()) << "Wine makes its links from Unix ones";
    }
    RemoveUnixLink(link);
}

TEST(Paths, SelfDeleteQuotesThePath) {
    EXPECT_EQ(SelfDeleteParameters(L"C:\\A B\\UNINST~1.EXE"),
              L"/c del \"C:\\A B\\UNINST~1.EXE\" > nul");
}

unsigned __stdcall SleepThread(void* ms) {
    Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(ms)));
    return 0;
}

DWORD WINAPI StartManyEvents(void* p) {
    auto* list = static_cast<EventThreadList*>(p);
    for (int k = 0; k < 25; ++k)
        list->Start(SleepThread, nullptr);
    return 0;
}

TEST(EventThreads, WaitAllWaitsForEachThreadInTurn) {
    EventThreadList list;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(list.Start(SleepThread, reinterpret_cast<void*>(uintptr_t(50))));
    EXPECT_EQ(list.Count(), 3u);
    const ULONGLONG start = GetTickCount64();
    list.WaitAll(5000);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_LT(GetTickCount64() - start, 4000u);
}

TEST(EventThreads, AThreadThatOutlivesTheWaitIsLeftBehind) {
    EventThreadList list;
    ASSERT_TRUE(list.Start(SleepThread, reinterpret_cast<void*>(uintptr_t(3000))));
    list.WaitAll(10);
    EXPECT_EQ(list.Count(), 0u);
}

TEST(EventThreads, StartsFromManyThreadsAtOnce) {
    EventThreadList list;
    std::vector<HANDLE> starters;
    for (int i = 0; i < 8; ++i) {
        starters.push_back(CreateThread(nullptr, 0, StartManyEvents, &list, 0, nullptr));
    }
    WaitForMultipleObjects(static_cast<DWORD>(starters.size()), starters.data(), TRUE, 30000);
    for (HANDLE h : starters)
        CloseHandle(h);
    EXPECT_EQ(list.Count(), 200u);
    list.WaitAll(5000);
    EXPECT_EQ(list.Count(), 0u);
}

class ResourceTest : public ::testing::Test {
protected:
    TempDir dir_{L"res"};
};

TEST_F(ResourceTest, WritesAnEmbeddedResourceReplacingTheFile) {
    const std::wstring out = dir_ / L"Serverlist.ini";
    WriteFileBytes(out, std::string(10000, 'x'));
    ASSERT_TRUE(ExtractResourceToFile(105, L"STATISCNF", out.c_str()));
    const std::string bytes = ReadFileBytes(out);
    EXPECT_EQ(bytes.substr(0, 18), "[SubmitDeviceInfo]");
    EXPECT_LT(bytes.size(), 10000u);
}

TEST_F(ResourceTest, LargeResourcesAreWrittenWhole) {
    const std::wstring out = dir_ / L"big.bin";
    ASSERT_TRUE(ExtractResourceToFile(300, L"TESTRES", out.c_str()));
    const std::string bytes = ReadFileBytes(out);
    EXPECT_EQ(bytes.size(), 5000u);
    EXPECT_EQ(bytes, std::string(5000, 'b'));
}

TEST_F(ResourceTest, FailsCleanlyOnBadArguments) {
    const std::wstring out = dir_ / L"x";
    EXPECT_FALSE(ExtractResourceToFile(105, nullptr, out.c_str()));
    EXPECT_FALSE(ExtractResourceToFile(105, L"STATISCNF", nullptr));
    EXPECT_FALSE(ExtractResourceToFile(999, L"STATISCNF", out.c_str()));
    EXPECT_FALSE(FileExists(out));
    EXPECT_FALSE(ExtractResourceToFile(105, L"STATISCNF", (dir_ / L"no\\such\\dir").c_str()));
}

TEST_F(ResourceTest, EmbeddedFontIsFoundUnderItsResourceType) {
    SampleInstall install(dir_.Path(), SampleGame());
    install.WriteConfig(install.ConfigText());
    UninstallSession session(install.InstallDir().c_str());
    LoadEmbeddedFont(session);
    EXPECT_NE(session.fontHandle, nullptr);
    UnloadEmbeddedFont(session);
    EXPECT_EQ(session.fontHandle, nullptr);
}

class UnzipTest : public ::testing::Test {
protected:
    TempDir dir_{L"unzip"};
    std::wstring zip_ = dir_ / L"Plugins.zip";
    std::wstring out_ = dir_ / L"out";

    void SetUp() override { CreateDirectoryW(out_.c_str(), nullptr); }
};

TEST_F(UnzipTest, UnpacksEveryEntryBelowTheFolder) {
    ASSERT_TRUE(ZipWriter()
                    .AddFile("InstallerChannelPlugin.dll", SampleText(50000))
                    .AddFolder("sdk/")
                    .AddFile("sdk/readme.txt", "stored", ZipWriter::kStored)
                    .WriteTo(zip_));
    ASSERT_TRUE(UnzipArchiveToDir(zip_.c_str(), out_.c_str()));
    EXPECT_EQ(ReadFileBytes(out_ + L"\\InstallerChannelPlugin.dll"), SampleText(50000));
    EXPECT_EQ(ReadFileBytes(out_ + L"\\sdk\\readme.txt"), "stored");
}

TEST_F(UnzipTest, NamesThatClimbOutStayInside) {
    ASSERT_TRUE(ZipWriter()
                    .AddFile("../escape1.txt", "a")
                    .AddFile("..\\escape2.txt", "b")
                    .AddFile("C:\\a\\..\\b.txt", "c")
                    .WriteTo(zip_));
    ASSERT_TRUE(UnzipArchiveToDir(zip_.c_str(), out_.c_str()));
    EXPECT_FALSE(FileExists(dir_ / L"escape1.txt"));
    EXPECT_FALSE(FileExists(dir_ / L"escape2.txt"));
    EXPECT_EQ(ReadFileBytes(out_ + L"\\b.txt"), "c");
}

TEST_F(UnzipTest, ADamagedEntryIsSkippedAndTheRestUnpacked) {
    ZipWriter writer;
    writer.AddFile("first.txt", "one")
        .AddFile("broken.txt", SampleText(5000))
        .AddFile("last.txt", "3");
    writer.Item(1).storedData = std::string(100, '\xFF'); // not a deflate stream
    ASSERT_TRUE(writer.WriteTo(zip_));
    EXPECT_TRUE(UnzipArchiveToDir(zip_.c_str(), out_.c_str()));
    EXPECT_EQ(ReadFileBytes(out_ + L"\\first.txt"), "one");
    EXPECT_EQ(ReadFileBytes(out_ + L"\\last.txt"), "3");
}

TEST_F(UnzipTest, AFileThatCannotBeCreatedEndsTheUnpacking) {
    ASSERT_TRUE(ZipWriter()
                    .AddFile("first.txt", "one")
                    .AddFile("taken", "two")
                    .AddFile("last.txt", "three")
                    .WriteTo(zip_));
    CreateDirectoryW((out_ + L"\\taken").c_str(), nullptr);
    EXPECT_FALSE(UnzipArchiveToDir(zip_.c_str(), out_.c_str()));
    EXPECT_EQ(ReadFileBytes(out_ + L"\\first.txt"), "one");
    EXPECT_FALSE(FileExists(out_ + L"\\last.txt"));
}

// Another uninstaller unpacking into the same folder may hold a file open that cannot then be
// written (its loaded plug-in library): when it holds exactly the entry's bytes the unpacking goes
// on as if it had been written; anything else still ends it.
TEST_F(UnzipTest, AFileInUseCountsAsUnpackedOnlyWithTheEntrysBytes) {
    const std::string library = SampleText(80000);
    ASSERT_TRUE(ZipWriter()
                    .AddFile("InstallerChannelPlugin.dll", library)
                    .AddFile("last.txt", "three")
                    .WriteTo(zip_));
    const struct {
        const char* what;
        std::string held;
        bool unpacked;
    } cases[] = {
        {"the same bytes", library, true},
        {"one byte more", library + "x", false},
        {"other bytes of the same length", SampleText(80001).substr(1), false},
    };
    const std::wstring dll = out_ + L"\\InstallerChannelPlugin.dll";
    for (const auto& c : cases) {
        DeleteFileW((out_ + L"\\last.txt").c_str());
        ASSERT_TRUE(WriteFileBytes(dll, c.held));
        const SkinUI::CFileHandle held(CreateFileW(dll.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(UnzipArchiveToDir(zip_.c_str(), out_.c_str()), c.unpacked) << c.what;
        EXPECT_EQ(FileExists(out_ + L"\\last.txt"), c.unpacked) << c.what;
        EXPECT_EQ(ReadFileBytes(dll), c.held) << c.what;
        // The comparison leaves nothing behind.
        EXPECT_EQ(FilesMatching(out_, L"*.tmp").size(), 0u) << c.what;
    }
}

TEST_F(UnzipTest, RefusesMissingOrMalformedArchives) {
    EXPECT_FALSE(UnzipArchiveToDir(zip_.c_str(), out_.c_str()));
    EXPECT_FALSE(UnzipArchiveToDir(nullptr, out_.c_str()));
    EXPECT_FALSE(UnzipArchiveToDir(L"", out_.c_str()));
    WriteFileBytes(zip_, "PK\x05\x06 this is no archive");
    EXPECT_FALSE(UnzipArchiveToDir(zip_.c_str(), out_.c_str()));
    EXPECT_FALSE(UnzipArchiveToDir(zip_.c_str(), L""));
    // An empty archive is unpacked at once.
    ASSERT_TRUE(ZipWriter().WriteTo(zip_));
    EXPECT_TRUE(UnzipArchiveToDir(zip_.c_str(), out_.c_str()));
}

} // namespace
