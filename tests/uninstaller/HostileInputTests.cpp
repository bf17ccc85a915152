#include <windows.h>
#include <shlobj.h>

#include "statistics/HttpTransport.h"
#include "tests/support/FileTree.h"
#include "tests/uninstaller/ConfigFileCopy.h"
#include "tests/support/FileUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipCorruption.h"
#include "ui/Win32Handles.h"
#include "ui/ZipReader.h"
#include "uninstaller/LongPath.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/UninstallSession.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <random>

using namespace TestSupport;

namespace {

// Up to four edits: a changed byte, an inserted token, a cut or a doubled stretch.
std::string Mutate(std::string s, std::mt19937& rng, const std::vector<std::string>& tokens) {
    for (int n = 1 + rng() % 4; n > 0; --n) {
        const size_t at = rng() % (s.size() + 1), len = rng() % 64, op = rng() % 4;
        if (op == 0 && at < s.size())
            s[at] = static_cast<char>(rng());
        if (op == 1)
            s.insert(at, tokens[rng() % tokens.size()]);
        if (op == 2)
            s.erase(at, len);
        if (op == 3)
            s.insert(at, s.substr(at, len));
    }
    return s;
}

// The program runs with WINEDEBUG=warn+heap: the heap checks every block's tail, and _heapchk
// fails once anything wrote past a block. Each case has a generator of its own, seeded from the
// run's seed and the case number, so that UNINST_FUZZ_SLICE="k/n" (the k-th of n equal parts,
// for parallel ctest entries) runs the same cases as a whole run would.
template <typename Case> void Fuzz(const char* what, unsigned seed, Case run) {
    constexpr int kCases = 100000;
    unsigned part = 0, parts = 1;
    if (const char* slice = getenv("UNINST_FUZZ_SLICE"))
        sscanf(slice, "%u/%u", &part, &parts);
    if (parts == 0 || part >= parts)
        part = 0, parts = 1;
    const int first = static_cast<int>(kCases / parts * part);
    const int end = part + 1 == parts ? kCases : static_cast<int>(kCases / parts * (part + 1));
    for (int i = first; i < end && !::testing::Test::HasFailure(); ++i) {
        std::seed_seq caseSeed{seed, static_cast<unsigned>(i)};
        std::mt19937 rng(caseSeed);
        run(rng, i);
        EXPECT_TRUE(i % 1000 || _heapchk() == _HEAPOK) << what << " case " << i;
    }
    printf("%s: cases %d to %d of %d, seed %u\n", what, first, end - 1, kCases, seed);
}

// Every entry extracted under its own name below base, from bytes followed by a no-access page.
void ExtractAll(const SkinUI::ZipFlavour& flavour, const std::string& bytes,
                const std::wstring& base) {
    const GuardedBytes guarded(bytes);
    SkinUI::ZipReader reader(flavour);
    SkinUI::ZipEntry e;
    reader.Open(guarded.Data(), guarded.Size(), SkinUI::ZIP_MEMORY, nullptr);
    reader.SetBaseDir(base.c_str());
    for (int i = 0; i < reader.EntryCount() && i < 12; ++i)
        if (reader.GetEntry(i, e) == 0)
            reader.Unzip(i, e.name, 0, SkinUI::ZIP_FILENAME);
    reader.Close();
}

// Files below folder but not below a folder named "base".
int Escaped(const std::wstring& folder) {
    WIN32_FIND_DATAW d;
    const HANDLE f = FindFirstFileW((folder + L"\\*").c_str(), &d);
    int n = 0;
    for (BOOL more = f != INVALID_HANDLE_VALUE; more; more = FindNextFileW(f, &d)) {
        const bool dir = d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        n += dir ? (d.cFileName[0] != L'.' && wcscmp(d.cFileName, L"base")
                        ? Escaped(folder + L"\\" + d.cFileName)
                        : 0)
                 : 1;
    }
    FindClose(f);
    return n;
}

// The base lies three folders deep: "..." leads at most three folders up.
std::wstring MakeBase(const TempDir& root) {
    SHCreateDirectoryExW(nullptr, (root / L"a\\b\\c\\base").c_str(), nullptr);
    return root / L"a\\b\\c\\base";
}

ZipImage DotNames() {
    ZipWriter w;
    w.AddFile("ok", "ok");
    for (const char* name :
         {".../1", "...\\2", ".../.../.../3", "x/.../4", "... /5", ". ./6", "7.", "8 ", "a./9"})
        w.AddFile(name, name);
    return w.Build();
}

std::string Config(const std::string& chs, const std::string& save,
                   const std::string& total = "3") {
    return "[game]\r\nchsName=" + chs +
           "\r\nenName=T\r\nGameid=7\r\nGversion=1\r\n[survey]\r\nsurveytoken=t\r\n"
           "surveyurl=u\r\n[SkipDir]\r\ntotalnum=" +
           total + "\r\n0=" + save + "\r\n2=Save\r\n";
}

const std::string kSurvey =
    R"({"active":true,"surveyId":12,"survey":[{"title":"为何","options":["慢"]}]})";

} // namespace

TEST(HostileZip, NamesWithDotComponentsNeverLeaveTheBaseFolder) {
    TempDir root(L"dots");
    const std::wstring base = MakeBase(root);
    ASSERT_TRUE(WriteFileBytes(root / L"p.zip", DotNames().bytes));
    EXPECT_FALSE(UnzipArchiveToDir((root / L"p.zip").c_str(), base.c_str()))
        << "refused entries end it";
    for (const auto* flavour : {&SkinUI::kFrameworkZipFlavour, &SkinUI::kApplicationZipFlavour})
        ExtractAll(*flavour, DotNames().bytes, base);
    EXPECT_EQ(1, Escaped(root.Path())) << "only the archive itself lies outside base";
    // Nothing lands inside under another name either ("a./9" as a\9).
    EXPECT_EQ(std::set<std::wstring>{L"ok|2"}, SnapshotOf(base));
}

TEST(HostileZip, SeededDamageToExtractedArchivesStaysInside) {
    TempDir root(L"zfuzz");
    const std::wstring base = MakeBase(root);
    const ZipImage seeds[] = {
        DotNames(), ZipWriter().AddFile("d/x.dll", SampleText(3000, 5)).AddFolder("d/e/").Build()};
    Fuzz("zip extraction", 9101, [&](std::mt19937& rng, int i) {
        ExtractAll(i % 2 ? SkinUI::kFrameworkZipFlavour : SkinUI::kApplicationZipFlavour,
                   CorruptZip(seeds[i % 2], rng), base);
        EXPECT_TRUE(i % 5000 || Escaped(root.Path()) == 0) << "case " << i;
    });
}

TEST(HostileConfig, ListsAreBoundedByTheSectionAndTextIsDecodedAsTheInstallerWroteIt) {
    TempDir dir(L"cfg");
    const std::wstring path = dir / L"installedFileList.txt", lower = AsciiLower(dir.Path());
    const std::vector<std::wstring> saves = {lower + L"\\存档", lower + L"\\save"};
    const struct {
        std::string text;
        bool ok;
        std::vector<std::wstring> skipDirs;
    } cases[] = {
        {Config("测试", "存档"), true, saves},
        {Config("\xB2\xE2\xCA\xD4", "\xB4\xE6\xB5\xB5"), true, saves},
        {"\xEF\xBB\xBF" + Config("测试", "存档"), true, saves},
        {Config("测试", "存档", "2147483647\r\n7=x\r\n007=y\r\n-1=z"),
         true,
         {saves[0], saves[1], lower + L"\\x"}},
        {"[game]\r\nchsName=测试\r\nenName=b\r\nGversion=1\r\n[survey]\r\nsurveytoken="
         "t\r\nsurveyurl=u\r\n",
         false,
         {}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(path, c.text));
        GameConfig config, byProfileApi;
        EXPECT_EQ(c.ok, ReadConfigFile(path, dir.Path(), config));
        EXPECT_EQ(c.ok, ReadConfigFileWithProfileApi(path, dir.Path(), byProfileApi));
        EXPECT_TRUE(config == byProfileApi);
        EXPECT_EQ(L"测试", config.chsName);
        EXPECT_EQ(c.ok ? "1" : "", config.Gversion) << "nothing is read after a missing Gameid";
        EXPECT_EQ(c.skipDirs, config.SkipDir);
    }
}

// Entries are numbered from 0 below totalnum: a key numbered totalnum or beyond, left over from
// a longer list, neither keeps nor removes anything.
TEST(HostileConfig, EntriesFromTheCountOnChangeNothing) {
    TempDir dir(L"stale");
    const char* const sections[] = {"SkipDir", "SkipFile", "shortcut"};
    const auto read = [&](const std::string& staleSection, const std::string& stale) {
        std::string text = "[game]\r\nchsName=c\r\nenName=e\r\nGameid=7\r\n[survey]\r\n"
                           "surveytoken=t\r\nsurveyurl=u\r\n";
        for (const std::string section : sections)
            text += "[" + section + "]\r\ntotalnum=1\r\n0=" + section + ".0\r\n" +
                    (section == staleSection ? stale : "");
        EXPECT_TRUE(WriteFileBytes(dir / L"c.ini", text));
        GameConfig config;
        EXPECT_TRUE(ReadConfigFile(dir / L"c.ini", dir.Path(), config));
        return std::vector<std::vector<std::wstring>>{config.SkipDir, config.SkipFile,
                                                      config.shortcut};
    };
    const auto counted = read("", "");
    ASSERT_EQ(std::vector<std::wstring>{L"shortcut.0"}, counted[2]);
    for (const char* section : sections)
        for (const char* stale : {"1=stale\r\n", "2=stale\r\n01=stale\r\n", "1=\r\n9=stale\r\n"})
            EXPECT_EQ(counted, read(section, stale)) << section << " " << stale;
}

TEST(HostileConfig, SeededDamageToTheConfigurationIsReadWithoutFault) {
    TempDir dir(L"cfgfuzz");
    const std::vector<std::string> seeds = {Config("测试", "存档"), Config("\xB2\xE2", "\xB4\xE6")};
    const std::vector<std::string> tokens = {"[SkipDir]",
                                             "[shortcut]",
                                             "=",
                                             "\r\n",
                                             std::string(1, '\0'),
                                             ";",
                                             "totalnum=2147483647\r\n",
                                             "\xFF\xFE",
                                             "\xEF\xBB\xBF"};
    Fuzz("configuration reader", 9102, [&](std::mt19937& rng, int i) {
        ASSERT_TRUE(WriteFileBytes(dir / L"c.ini", Mutate(seeds[i % 2], rng, tokens)));
        GameConfig config, byProfileApi;
        const bool ok = ReadConfigFile(dir / L"c.ini", dir.Path(), config);
        EXPECT_LE(config.SkipDir.size() + config.SkipFile.size() + config.shortcut.size(), 100u);
        // The one-pass parser reads every damaged file as the profile API does.
        EXPECT_EQ(ok, ReadConfigFileWithProfileApi(dir / L"c.ini", dir.Path(), byProfileApi))
            << "case " << i;
        EXPECT_TRUE(config == byProfileApi) << "case " << i;
    });
}

TEST(HostileSurvey, RepliesBeyondTheCapAreNeitherKeptNorParsed) {
    SurveyInfo survey;
    EXPECT_FALSE(ParseSurvey(survey, kSurvey + std::string(kMaxHttpReplyBytes, ' ')));
    EXPECT_TRUE(
        ParseSurvey(survey, kSurvey + std::string(kMaxHttpReplyBytes - kSurvey.size(), ' ')));
    std::string empties = "[{}";
    while (empties.size() < (4u << 20))
        empties += ",{}";
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Start());
    server.SetDefaultReply(ScriptedReply::Ok(empties + "]"));
    std::string reply;
    EXPECT_EQ(23, HttpPostForm(server.Url("/").c_str(), "a", reply, {3000, 10000}))
        << "a write error ends it";
    EXPECT_LE(reply.size(), kMaxHttpReplyBytes);
}

TEST(HostileSurvey, SeededDamageToTheReplyIsParsedWithoutFault) {
    const std::vector<std::string> tokens = {"{",        "}",
                                             "[",        "]",
                                             ",",        "\"",
                                             "\\u0000",  "\\ud800",
                                             "1e999",    "-2147483649",
                                             "null",     "\"options\":",
                                             "\xE4\xB8", std::string(200, '[')};
    Fuzz("survey reply", 9103, [&](std::mt19937& rng, int) {
        SurveyInfo survey;
        ParseSurvey(survey, Mutate(kSurvey, rng, tokens));
        EXPECT_LE(survey.questions.size(), 50u);
    });
}

// Sizes no installer writes, sparse: the first is read but does not fit in memory once widened,
// the second cannot be read into memory, the third is beyond what a string of this process can
// hold.
TEST(HostileConfig, FileTooLargeToHoldIsRefusedWithoutFault) {
    TempDir dir(L"huge");
    const std::wstring path = dir / L"installedFileList.txt";
    for (const long long megabytes : {400ll, 900ll, 3000ll}) {
        {
            const SkinUI::CFileHandle file(
                ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(file) << "error " << ::GetLastError();
            LARGE_INTEGER size;
            size.QuadPart = megabytes << 20;
            ASSERT_TRUE(::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
            ASSERT_TRUE(::SetEndOfFile(file.Get()));
        }
        GameConfig config;
        EXPECT_FALSE(ReadConfigFile(path, dir.Path(), config)) << megabytes << " MB";
        EXPECT_TRUE(config.chsName.empty());
    }
}
