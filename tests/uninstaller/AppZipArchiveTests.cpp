#include <windows.h>

#include "uninstaller/AppZipArchive.h"
#include "ui/ZipReader.h"
#include "tests/support/FileTree.h"
#include "tests/support/FileUtil.h"
#include "tests/support/HeapCheck.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipCorruption.h"
#include "tests/support/ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace AppZip;
using namespace TestSupport;

namespace {

class Archive {
public:
    explicit Archive(ZipHandle h) : h_(h) {}
    ~Archive() {
        if (h_)
            ZipArchiveClose(h_);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ZipHandle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    int Close() {
        const int r = ZipArchiveClose(h_);
        h_ = nullptr;
        return r;
    }

private:
    ZipHandle h_;
};

ZipHandle OpenMemory(const ZipImage& image, const char* password = nullptr) {
    return ZipArchiveOpen(image.Data(), image.Size(), ZIP_MEMORY, password);
}

int EntryCount(ZipHandle zip) {
    ZipEntry e{};
    return ZipArchiveGetItem(zip, -1, e) == ZR_OK ? e.index : -1;
}

std::wstring NameOf(ZipHandle zip, int index) {
    ZipEntry e{};
    const int r = ZipArchiveGetItem(zip, index, e);
    return r == ZR_OK ? std::wstring(e.name) : L"<" + std::to_wstring(r) + L">";
}

// Extracts a whole entry into memory in pieces; ZR_MORE until the end.
std::string ExtractToMemory(ZipHandle zip, int index, unsigned chunk, int* result) {
    std::string out;
    std::vector<char> buffer(chunk);
    ZipEntry e{};
    const int info = ZipArchiveGetItem(zip, index, e);
    if (info != ZR_OK) {
        *result = info;
        return out;
    }
    size_t left = static_cast<size_t>(e.uncompressedSize);
    for (int calls = 0; calls < 1000000; ++calls) {
        const int r = ZipArchiveUnzipItem(zip, index, buffer.data(), chunk, ZIP_MEMORY);
        if (r != ZR_MORE && r != ZR_OK) {
            *result = r;
            return out;
        }
        const size_t piece = std::min<size_t>(left, chunk);
        out.append(buffer.data(), piece);
        left -= piece;
        if (r == ZR_OK) {
            *result = r;
            return out;
        }
    }
    *result = -1;
    return out;
}

// The way the uninstaller unpacks its plug-in archive: every entry under
// its own name below the base folder; the entry-level failures listed here
// let the loop go on, anything else ends it.
bool IsEntryLevelResult(int r) {
    return r == 0 || r == 0x01000000 || r == 0x02000000 || r == 0x04000000 || r == 0x05000000 ||
           r == static_cast<int>(0xFF000000u);
}

bool UnpackAll(ZipHandle zip, const std::wstring& folder, std::vector<int>* results = nullptr) {
    if (ZipArchiveSetBaseDir(zip, folder.c_str()) != ZR_OK)
        return false;
    const int count = EntryCount(zip);
    if (count < 0)
        return false;
    for (int i = 0; i < count; ++i) {
        ZipEntry e{};
        if (ZipArchiveGetItem(zip, i, e) != ZR_OK)
            return false;
        const int r = ZipArchiveUnzipItem(zip, i, e.name);
        if (results)
            results->push_back(r);
        if (!IsEntryLevelResult(r))
            return false;
    }
    return true;
}

bool IsCodePage936Run() {
    return getenv("UNINST_EXPECT_ACP") != nullptr;
}

ZipImage PluginArchive() {
    ZipItem dll;
    dll.name = "InstallerChannelPlugin.dll";
    dll.data = "MZ" + SampleText(40000, 41);
    dll.localExtra = ExtendedTimeExtra(1, 1600000000);
    return ZipWriter()
        .Add(dll)
        .AddFolder("res/")
        .AddFile("res/readme.txt", "read me", ZipWriter::kStored)
        .AddFile("res/deep/data.bin", SampleText(100000, 42))
        .Build();
}

} // namespace

// ---------------------------------------------------------------- opening

TEST(AppZipOpen, OpensByNameAndCountsEntries) {
    TempDir dir(L"appzip");
    ASSERT_TRUE(ZipWriter().AddFile("a", "1").AddFile("b", "2").AddFile("c", "3").WriteTo(
        dir / L"Plugins.zip"));
    Archive zip(ZipArchiveOpen((dir / L"Plugins.zip").c_str()));
    ASSERT_TRUE(zip);
    EXPECT_TRUE(ZipArchiveIsReading(zip.get()));
    ZipEntry e;
    memset(&e, 0x55, sizeof e);
    ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip.get(), -1, e));
    EXPECT_EQ(3, e.index);
    EXPECT_STREQ(L"", e.name);
    EXPECT_EQ(0u, e.attributes);
    EXPECT_TRUE(IsZero(e.modificationTime));
    EXPECT_TRUE(IsZero(e.creationTime));
    EXPECT_TRUE(IsZero(e.accessTime));
    EXPECT_EQ(0, e.compressedSize);
    EXPECT_EQ(0, e.uncompressedSize);
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetItem(zip.get(), 3, e));
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetItem(zip.get(), -2, e));
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetLastResult());
    EXPECT_EQ(ZR_OK, zip.Close());
}

TEST(AppZipOpen, AnUnreadableDirectoryIsReportedAsNoFile) {
    const std::string garbage(3000, 'g');
    EXPECT_EQ(nullptr, ZipArchiveOpen(garbage.data(), 3000, ZIP_MEMORY));
    EXPECT_EQ(ZR_NOFILE, ZipArchiveGetLastResult());
    ZipImage multiDisk = ZipWriter().AddFile("a", "1").Build();
    multiDisk.Set16(multiDisk.endRecord + ZipField::kEndCentralDisk, 1);
    EXPECT_EQ(nullptr, OpenMemory(multiDisk));
    EXPECT_EQ(ZR_NOFILE, ZipArchiveGetLastResult());
    EXPECT_EQ(nullptr, ZipArchiveOpen(L"C:\\missing\\Plugins.zip"));
    EXPECT_EQ(ZR_NOFILE, ZipArchiveGetLastResult());
    EXPECT_EQ(nullptr, ZipArchiveOpen(nullptr, 0, ZIP_MEMORY));
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetLastResult());
    EXPECT_EQ(nullptr, ZipArchiveOpen(garbage.data(), 3000, 0));
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetLastResult());
}

// ---------------------------------------------------------------- entry information

TEST(AppZipGetItem, CleansNamesOfDrivesLeadingSlashesAndParentReferences) {
    const char* const stored[] = {
        "C:\\a\\..\\b.txt",
        "/x/y.txt",
        "../x",
        "..\\x",
        "a/../../x",
        "\\\\srv\\share\\f.txt",
        "D:/../../w.txt",
        "a/b/../c.txt",
        "x:y.txt",
        "..",
        "a/..",
        "sub/",
        "ab:c.txt",
        "./a.txt",
        "plain/name.txt",
    };
    const wchar_t* const expected[] = {
        L"b.txt",          L"x/y.txt", L"x", L"x", L"x",    L"srv\\share\\f.txt", L"w.txt",
        L"c.txt",          L"y.txt",   L"",  L"",  L"sub/", L"ab:c.txt",          L"./a.txt",
        L"plain/name.txt",
    };
    ZipWriter w;
    for (const char* name : stored)
        w.AddFile(name, "x");
    const ZipImage image = w.Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    for (int i = 0; i < static_cast<int>(sizeof stored / sizeof stored[0]); ++i)
        EXPECT_EQ(expected[i], NameOf(zip.get(), i)) << stored[i];
}

TEST(AppZipGetItem, AttributesFollowTheHostSystem) {
    struct Case {
        uint8_t host;
        uint32_t external;
        DWORD expected;
    };
    const DWORD A = FILE_ATTRIBUTE_ARCHIVE, R = FILE_ATTRIBUTE_READONLY, H = FILE_ATTRIBUTE_HIDDEN,
                S = FILE_ATTRIBUTE_SYSTEM, D = FILE_ATTRIBUTE_DIRECTORY;
    const Case cases[] = {
        {0, 0x21, R | A},
        {0, 0x06, H | S},
        {0, 0x10, D},
        {0, 0x00, 0},
        {0, 0x81A40037, R | H | S | D | A},
        {7, 0x01, R},
        {11, 0x22, H | A},
        {14, 0x04, S},
        {3, 0x81A40000, A},
        {3, 0x81240000, R | A},
        {3, 0x41ED0010, D | A},
        {19, 0x81A40020, A},
        {3, 0x41240000, D | R | A},
    };
    ZipWriter w;
    for (const Case& c : cases) {
        ZipItem item;
        item.name = "e";
        item.hostSystem = c.host;
        item.externalAttributes = c.external;
        w.Add(item);
    }
    const ZipImage image = w.Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    for (int i = 0; i < static_cast<int>(sizeof cases / sizeof cases[0]); ++i) {
        ZipEntry e{};
        ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip.get(), i, e));
        EXPECT_EQ(cases[i].expected, e.attributes) << i;
    }
}

TEST(AppZipGetItem, DosTimesAreLocalAndUtTimesReplaceThem) {
    ZipItem dos;
    dos.name = "dos";
    dos.dosDate = DosDate(2021, 3, 28);
    dos.dosTime = DosTime(2, 30, 10);
    ZipItem ut = dos;
    ut.name = "ut";
    ut.localExtra = ExtendedTimeExtra(5, 1600000000, 0, 1500000000);
    ut.centralExtra = ExtendedTimeExtra(1, 1600000000);
    const ZipImage image = ZipWriter().Add(dos).Add(ut).Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    const FILETIME dosUtc = LocalToUtc(FileTimeOf(2021, 3, 28, 2, 30, 10));
    ZipEntry e{};
    ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip.get(), 0, e));
    EXPECT_TRUE(SameTime(dosUtc, e.modificationTime));
    EXPECT_TRUE(SameTime(dosUtc, e.accessTime));
    EXPECT_TRUE(SameTime(dosUtc, e.creationTime));
    EXPECT_GT(e.compressedSize, 0);
    ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip.get(), 1, e));
    EXPECT_TRUE(SameTime(FileTimeOf(2020, 9, 13, 12, 26, 40), e.modificationTime));
    EXPECT_TRUE(SameTime(dosUtc, e.accessTime));
    EXPECT_TRUE(SameTime(FileTimeOf(2017, 7, 14, 2, 40, 0), e.creationTime));
}

TEST(AppZipGetItem, HeadersThatDisagreeAreReported) {
    ZipImage image = ZipWriter().AddFile("a", "alpha").AddFile("b", "beta").Build();
    image.Set16(image.localHeaders[0] + ZipField::kLocalMethod, 0);
    image.Set32(image.localHeaders[1] + ZipField::kLocalCrc, 1);
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ZipEntry e{};
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveGetItem(zip.get(), 0, e));
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveGetItem(zip.get(), 1, e));
    char buffer[16];
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveUnzipItem(zip.get(), 0, buffer, 16, ZIP_MEMORY));
    TempDir dir(L"appzip");
    ASSERT_EQ(ZR_OK, ZipArchiveSetBaseDir(zip.get(), dir.Path().c_str()));
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveUnzipItem(zip.get(), 0, L"a"));
    EXPECT_FALSE(FileExists(dir / L"a"));
}

TEST(AppZipGetItem, NamesLongerThanTheEntryRecordAreRefused) {
    const ZipImage image =
        ZipWriter().AddFile(std::string(300, 'n'), "x").AddFile("ok", "y").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ZipEntry e{};
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveGetItem(zip.get(), 0, e));
    EXPECT_EQ(L"ok", NameOf(zip.get(), 1));
}

// ---------------------------------------------------------------- extraction to memory

TEST(AppZipUnzipItem, DecryptsWithThePassword) {
    const std::string text = SampleText(20000, 44);
    ZipWriter w;
    for (int variant = 0; variant < 3; ++variant) {
        ZipItem item;
        item.name = "secret" + std::to_string(variant);
        item.data = text;
        item.password = "s3cret";
        item.method = variant == 1 ? 0 : 8;
        item.dataDescriptor = variant == 2;
        w.Add(item);
    }
    w.AddFile("plain", "plain text");
    const ZipImage image = w.Build();
    {
        Archive zip(OpenMemory(image, "s3cret"));
        ASSERT_TRUE(zip);
        for (int i = 0; i < 3; ++i) {
            int r = 0;
            EXPECT_EQ(text, ExtractToMemory(zip.get(), i, 5000, &r)) << i;
            EXPECT_EQ(ZR_OK, r) << i;
        }
        int r = 0;
        EXPECT_EQ("plain text", ExtractToMemory(zip.get(), 3, 100, &r));
    }
    for (const char* password : {"wrong", static_cast<const char*>(nullptr), ""}) {
        Archive zip(OpenMemory(image, password));
        ASSERT_TRUE(zip);
        for (int i = 0; i < 3; ++i) {
            char buffer[100];
            EXPECT_EQ(ZR_PASSWORD, ZipArchiveUnzipItem(zip.get(), i, buffer, 100, ZIP_MEMORY)) << i;
        }
        TempDir dir(L"appzip");
        ASSERT_EQ(ZR_OK, ZipArchiveSetBaseDir(zip.get(), dir.Path().c_str()));
        EXPECT_EQ(ZR_PASSWORD, ZipArchiveUnzipItem(zip.get(), 0, L"secret.txt"));
        int r = 0;
        EXPECT_EQ("plain text", ExtractToMemory(zip.get(), 3, 100, &r));
    }
}

// ---------------------------------------------------------------- extraction to files

TEST(AppZipUnzipItem, UnpacksAPluginArchiveIntoTheBaseFolder) {
    TempDir dir(L"appzip");
    const ZipImage image = PluginArchive();
    ASSERT_TRUE(WriteFileBytes(dir / L"Plugins.zip", image.bytes));
    const std::wstring base = dir / L"temp folder";
    Archive zip(ZipArchiveOpen((dir / L"Plugins.zip").c_str(), nullptr));
    ASSERT_TRUE(zip);
    std::vector<int> results;
    ASSERT_TRUE(UnpackAll(zip.get(), base, &results));
    EXPECT_EQ(std::vector<int>(4, ZR_OK), results);
    EXPECT_EQ("MZ" + SampleText(40000, 41), ReadFileBytes(base + L"\\InstallerChannelPlugin.dll"));
    EXPECT_TRUE(DirExists(base + L"\\res"));
    EXPECT_EQ("read me", ReadFileBytes(base + L"\\res\\readme.txt"));
    EXPECT_EQ(SampleText(100000, 42), ReadFileBytes(base + L"\\res\\deep\\data.bin"));

    // The extended time stamp reaches the file.
    const HANDLE f = CreateFileW((base + L"\\InstallerChannelPlugin.dll").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    FILETIME written;
    GetFileTime(f, nullptr, nullptr, &written);
    CloseHandle(f);
    EXPECT_TRUE(SameTime(FileTimeOf(2020, 9, 13, 12, 26, 40), written));

    // Unpacking again replaces the files.
    ASSERT_TRUE(WriteFileBytes(base + L"\\res\\readme.txt", "changed"));
    ASSERT_TRUE(UnpackAll(zip.get(), base));
    EXPECT_EQ("read me", ReadFileBytes(base + L"\\res\\readme.txt"));
}

TEST(AppZipUnzipItem, SetsAttributesAndSkipsTimesTheEntryCannotName) {
    TempDir dir(L"appzip");
    ZipItem readOnly;
    readOnly.name = "readonly.txt";
    readOnly.data = "r";
    readOnly.externalAttributes = 0x21;
    ZipItem badDate;
    badDate.name = "baddate.txt";
    badDate.data = "b";
    badDate.dosDate = DosDate(2020, 0, 0);
    const ZipImage image = ZipWriter().Add(readOnly).Add(badDate).Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ASSERT_TRUE(UnpackAll(zip.get(), dir.Path()));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE,
              GetFileAttributesW((dir / L"readonly.txt").c_str()) &
                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));

    ZipEntry e{};
    ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip.get(), 1, e));
    EXPECT_TRUE(IsZero(e.modificationTime));
    const HANDLE f = CreateFileW((dir / L"baddate.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    FILETIME written;
    GetFileTime(f, nullptr, nullptr, &written);
    CloseHandle(f);
    // The file keeps the time of its writing, not a made-up one.
    const FILETIME before = FileTimeOf(2020, 1, 1, 0, 0, 0);
    EXPECT_GT(CompareFileTime(&written, &before), 0);
}

TEST(AppZipUnzipItem, TreatsNamesEndingInASlashAsFolders) {
    TempDir dir(L"appzip");
    ZipItem javaStyle; // no folder attribute, as some tools write them
    javaStyle.name = "bare/";
    javaStyle.externalAttributes = 0;
    const ZipImage image =
        ZipWriter().Add(javaStyle).AddFile("bare/inside.txt", "in").AddFolder("marked/").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    std::vector<int> results;
    ASSERT_TRUE(UnpackAll(zip.get(), dir.Path(), &results));
    EXPECT_TRUE(DirExists(dir / L"bare"));
    EXPECT_TRUE(DirExists(dir / L"marked"));
    EXPECT_EQ("in", ReadFileBytes(dir / L"bare\\inside.txt"));
}

TEST(AppZipUnzipItem, ZipSlipNamesLandInsideTheBaseFolder) {
    TempDir root(L"appslip");
    const std::wstring outer = root / L"outer";
    const std::wstring base = outer + L"\\base";
    CreateDirectoryW(outer.c_str(), nullptr);
    CreateDirectoryW(base.c_str(), nullptr);
    const char* const names[] = {"../up1.txt",
                                 "..\\up2.txt",
                                 "a/../../up3.txt",
                                 "C:\\a\\..\\b.txt",
                                 "/x/y.txt",
                                 "sub\\..\\..\\..\\up4.txt",
                                 "\\\\srv\\share\\unc.txt",
                                 "D:up5.txt",
                                 "../../../../../../up6.txt"};
    ZipWriter w;
    for (const char* name : names)
        w.AddFile(name, name);
    const ZipImage image = w.Build();
    const std::set<std::wstring> rootBefore = SnapshotOf(root.Path(), L"outer\\base");
    const std::set<std::wstring> driveBefore = TopLevelOf(L"C:");
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    std::vector<int> results;
    ASSERT_TRUE(UnpackAll(zip.get(), base, &results));
    EXPECT_EQ(std::vector<int>(9, ZR_OK), results);
    EXPECT_EQ("../up1.txt", ReadFileBytes(base + L"\\up1.txt"));
    EXPECT_EQ("..\\up2.txt", ReadFileBytes(base + L"\\up2.txt"));
    EXPECT_EQ("a/../../up3.txt", ReadFileBytes(base + L"\\up3.txt"));
    EXPECT_EQ("C:\\a\\..\\b.txt", ReadFileBytes(base + L"\\b.txt"));
    EXPECT_EQ("/x/y.txt", ReadFileBytes(base + L"\\x\\y.txt"));
    EXPECT_EQ("sub\\..\\..\\..\\up4.txt", ReadFileBytes(base + L"\\up4.txt"));
    EXPECT_EQ("\\\\srv\\share\\unc.txt", ReadFileBytes(base + L"\\srv\\share\\unc.txt"));
    EXPECT_EQ("D:up5.txt", ReadFileBytes(base + L"\\up5.txt"));
    EXPECT_EQ("../../../../../../up6.txt", ReadFileBytes(base + L"\\up6.txt"));
    EXPECT_EQ(rootBefore, SnapshotOf(root.Path(), L"outer\\base"));
    EXPECT_EQ(driveBefore, TopLevelOf(L"C:"));
}

TEST(AppZipUnzipItem, NamesCleanedToNothingAndDeviceNamesCreateNoFile) {
    TempDir root(L"appslip");
    const std::wstring base = root / L"base";
    const ZipImage image = ZipWriter()
                               .AddFile("..", "dots")
                               .AddFile("x/..", "dots")
                               .AddFile("NUL", "n")
                               .AddFile("con.txt", "c")
                               .AddFile("sub/aux", "a")
                               .Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ASSERT_EQ(ZR_OK, ZipArchiveSetBaseDir(zip.get(), base.c_str()));
    for (int i = 0; i < 5; ++i) {
        ZipEntry e{};
        ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip.get(), i, e));
        EXPECT_EQ(ZR_NOFILE, ZipArchiveUnzipItem(zip.get(), i, e.name)) << i;
    }
    const std::set<std::wstring> left = SnapshotOf(root.Path());
    EXPECT_TRUE(left.empty() || left == std::set<std::wstring>({L"base|0"}));
}

TEST(AppZipUnzipItem, ExplicitTargetsMayBeAbsoluteButRelativeOnesStayBelowTheBase) {
    TempDir root(L"appslip");
    const std::wstring base = root / L"base";
    const ZipImage image = ZipWriter().AddFile("a", "alpha").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ASSERT_EQ(ZR_OK, ZipArchiveSetBaseDir(zip.get(), base.c_str()));
    EXPECT_EQ(ZR_NOFILE, ZipArchiveUnzipItem(zip.get(), 0, L"..\\escape.txt"));
    EXPECT_EQ(ZR_NOFILE, ZipArchiveUnzipItem(zip.get(), 0, L"in/../../escape.txt"));
    EXPECT_FALSE(FileExists(root / L"escape.txt"));
    EXPECT_EQ(ZR_OK, ZipArchiveUnzipItem(zip.get(), 0, L"in/../stays.txt"));
    EXPECT_EQ("alpha", ReadFileBytes(base + L"\\stays.txt"));
    // An absolute target is the caller's own choice; its folders are made.
    EXPECT_EQ(ZR_OK, ZipArchiveUnzipItem(zip.get(), 0, (root / L"elsewhere\\deep\\a.txt").c_str()));
    EXPECT_EQ("alpha", ReadFileBytes(root / L"elsewhere\\deep\\a.txt"));
    EXPECT_EQ(ZR_ARGS, ZipArchiveUnzipItem(zip.get(), 0, static_cast<const wchar_t*>(nullptr)));
}

TEST(AppZipUnzipItem, AShortEntryLeavesItsPartAndTheLoopGoesOn) {
    TempDir dir(L"appzip");
    ZipItem item;
    item.name = "short.bin";
    item.data = SampleText(50000, 46);
    item.uncompressedSize = 60000;
    ZipItem badCrc;
    badCrc.name = "badcrc.txt";
    badCrc.data = "checksum does not match";
    badCrc.crc = 0xDEADBEEF;
    const ZipImage image = ZipWriter().Add(item).Add(badCrc).AddFile("last.txt", "last").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    std::vector<int> results;
    ASSERT_TRUE(UnpackAll(zip.get(), dir.Path(), &results));
    EXPECT_EQ(std::vector<int>({ZR_FLATE, ZR_OK, ZR_OK}), results);
    EXPECT_EQ(item.data, ReadFileBytes(dir / L"short.bin"));
    EXPECT_EQ(badCrc.data, ReadFileBytes(dir / L"badcrc.txt"));
    EXPECT_EQ("last", ReadFileBytes(dir / L"last.txt"));
}

TEST(AppZipUnzipItem, WritesIntoAGivenHandleAndReportsWriteFailures) {
    TempDir dir(L"appzip");
    const ZipImage image = ZipWriter().AddFile("a", SampleText(40000, 47)).Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    const HANDLE out =
        CreateFileW((dir / L"out").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, out);
    EXPECT_EQ(ZR_OK, ZipArchiveUnzipItem(zip.get(), 0, out, 0, ZIP_HANDLE));
    CloseHandle(out);
    EXPECT_EQ(SampleText(40000, 47), ReadFileBytes(dir / L"out"));

    const HANDLE readOnly = CreateFileW((dir / L"out").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, readOnly);
    EXPECT_EQ(ZR_WRITE, ZipArchiveUnzipItem(zip.get(), 0, readOnly, 0, ZIP_HANDLE));
    CloseHandle(readOnly);
}

TEST(AppZipUnzipItem, LongPathsAreNeverCut) {
    TempDir dir(L"appzip");
    const std::string name = std::string(120, 'd') + "/" + std::string(120, 'f') + ".txt";
    const ZipImage image = ZipWriter().AddFile(name, "long").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ASSERT_EQ(ZR_OK, ZipArchiveSetBaseDir(zip.get(), dir.Path().c_str()));
    ZipEntry e{};
    ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip.get(), 0, e));
    const int r = ZipArchiveUnzipItem(zip.get(), 0, e.name);
    const std::wstring full =
        dir.Path() + L"\\" + std::wstring(120, L'd') + L"\\" + std::wstring(120, L'f') + L".txt";
    if (r == ZR_OK)
        EXPECT_EQ("long", ReadFileBytes(full));
    else
        EXPECT_EQ(ZR_NOFILE, r);
    // Whatever the system allows, no shortened name appears.
    std::set<std::wstring> all = SnapshotOf(dir.Path());
    for (const std::wstring& entry : all) {
        const std::wstring path = entry.substr(0, entry.find(L'|'));
        EXPECT_TRUE(path == std::wstring(120, L'd') ||
                    path == std::wstring(120, L'd') + L"\\" + std::wstring(120, L'f') + L".txt")
            << path;
    }
}

// ---------------------------------------------------------------- handle kinds and the writer

TEST(AppZipClose, ClosingAWritingHandleWritesTheEndRecord) {
    char memory[64];
    memset(memory, '#', sizeof memory);
    ZipHandle writer = ZipArchiveCreate(memory, sizeof memory, ZIP_MEMORY);
    ASSERT_NE(nullptr, writer);
    EXPECT_FALSE(ZipArchiveIsReading(writer));
    EXPECT_FALSE(ZipArchiveIsReading(nullptr));
    ZipEntry e{};
    EXPECT_EQ(ZR_ZMODE, ZipArchiveGetItem(writer, -1, e));
    EXPECT_EQ(ZR_ZMODE, ZipArchiveSetBaseDir(writer, L"C:\\"));
    EXPECT_EQ(ZR_ZMODE, ZipArchiveUnzipItem(writer, 0, L"x"));
    EXPECT_EQ(ZR_ZMODE, ZipArchiveGetLastResult());
    EXPECT_EQ(ZR_OK, ZipArchiveClose(writer));
    EXPECT_EQ(ZR_OK, ZipArchiveGetLastWriteResult());
    EXPECT_EQ(ZR_ZMODE, ZipArchiveGetLastResult());
    EXPECT_EQ(0, memcmp(memory, "PK\x05\x06", 4));
    EXPECT_EQ('#', memory[22]);
    Archive empty(ZipArchiveOpen(memory, 22, ZIP_MEMORY));
    ASSERT_TRUE(empty);
    EXPECT_EQ(0, EntryCount(empty.get()));
}

TEST(AppZipClose, AWriterThatCannotWriteReportsIt) {
    char small[10];
    ZipHandle writer = ZipArchiveCreate(small, sizeof small, ZIP_MEMORY);
    ASSERT_NE(nullptr, writer);
    EXPECT_EQ(ZR_WRITE, ZipArchiveClose(writer));
    EXPECT_EQ(ZR_WRITE, ZipArchiveGetLastWriteResult());
    EXPECT_EQ(nullptr, ZipArchiveCreate(nullptr, 10, ZIP_MEMORY));
    EXPECT_EQ(ZR_NOTINITED, ZipArchiveGetLastWriteResult());
    EXPECT_EQ(nullptr, ZipArchiveCreate(small, 10, 9));
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetLastWriteResult());
    EXPECT_EQ(nullptr,
              ZipArchiveCreate(const_cast<wchar_t*>(L"C:\\no\\such\\dir\\a.zip"), 0, ZIP_FILENAME));
    EXPECT_EQ(ZR_NOFILE, ZipArchiveGetLastWriteResult());
}

TEST(AppZipClose, WritersOverFilesWriteAnEmptyArchive) {
    TempDir dir(L"appzip");
    ZipHandle byName =
        ZipArchiveCreate(const_cast<wchar_t*>((dir / L"named.zip").c_str()), 0, ZIP_FILENAME);
    ASSERT_NE(nullptr, byName);
    EXPECT_EQ(ZR_OK, ZipArchiveClose(byName));
    EXPECT_EQ(22u, ReadFileBytes(dir / L"named.zip").size());

    const HANDLE file = CreateFileW((dir / L"handle.zip").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
    ZipHandle byHandle = ZipArchiveCreate(file, 0, ZIP_HANDLE);
    ASSERT_NE(nullptr, byHandle);
    EXPECT_EQ(ZR_OK, ZipArchiveClose(byHandle));
    DWORD n;
    EXPECT_TRUE(WriteFile(file, "!", 1, &n, nullptr)); // still open
    CloseHandle(file);
    EXPECT_EQ(23u, ReadFileBytes(dir / L"handle.zip").size());
}

TEST(AppZipClose, RejectsNullHandlesAndArguments) {
    EXPECT_EQ(ZR_ARGS, ZipArchiveClose(nullptr));
    ZipEntry e{};
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetItem(nullptr, -1, e));
    EXPECT_EQ(ZR_ARGS, ZipArchiveSetBaseDir(nullptr, L"C:\\"));
    const ZipImage image = ZipWriter().AddFile("a", "1").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    EXPECT_EQ(ZR_ARGS, ZipArchiveSetBaseDir(zip.get(), nullptr));
    ZipArchiveHandle strange = {7, nullptr};
    EXPECT_EQ(ZR_ZMODE, ZipArchiveClose(&strange));
}

// ---------------------------------------------------------------- code page 936

TEST(AppZipCodePage936, ChineseNamesAreUnpackedUnderTheirOwnNames) {
    if (GetACP() != 936)
        GTEST_SKIP() << "needs ANSI code page 936";
    TempDir dir(L"appzip");
    // "插件/说明.txt" and "..\\上级.txt" in GBK.
    const ZipImage image = ZipWriter()
                               .AddFile("\xB2\xE5\xBC\xFE/\xCB\xB5\xC3\xF7.txt", "readme")
                               .AddFile("..\\\xC9\xCF\xBC\xB6.txt", "up")
                               .AddFile("\x81\x5C\\x.txt", "trail")
                               .Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    EXPECT_EQ(L"插件/说明.txt", NameOf(zip.get(), 0));
    EXPECT_EQ(L"上级.txt", NameOf(zip.get(), 1));
    ASSERT_TRUE(UnpackAll(zip.get(), dir / L"base"));
    EXPECT_EQ("readme", ReadFileBytes(dir / L"base\\插件\\说明.txt"));
    EXPECT_EQ("up", ReadFileBytes(dir / L"base\\上级.txt"));
    wchar_t trail = 0;
    ASSERT_EQ(1, MultiByteToWideChar(936, 0, "\x81\x5C", 2, &trail, 1));
    EXPECT_EQ("trail", ReadFileBytes(dir / (L"base\\" + std::wstring(1, trail) + L"\\x.txt")));
}

// ---------------------------------------------------------------- robustness

namespace {

std::vector<ZipImage> FolderSeeds() {
    std::vector<ZipImage> seeds;
    seeds.push_back(PluginArchive());
    ZipItem secret;
    secret.name = "secret.bin";
    secret.data = SampleText(2000, 48);
    secret.password = "pw";
    ZipItem ut;
    ut.name = "times/ut.txt";
    ut.data = SampleText(500, 49);
    ut.localExtra = ExtendedTimeExtra(7, 1, 2, 3);
    ut.externalAttributes = 0x23;
    seeds.push_back(ZipWriter()
                        .AddFile("../up.txt", "u")
                        .AddFile("a/../../up2.txt", SampleText(800, 50))
                        .AddFile("C:\\x\\..\\c.txt", "c", ZipWriter::kStored)
                        .AddFile("/abs/y.txt", "y")
                        .Add(secret)
                        .Add(ut)
                        .AddFolder("d/e/")
                        .Build());
    seeds.push_back(ZipWriter()
                        .SetLeadingBytes(std::string(100, 'L'))
                        .AddFile("one.txt", SampleText(3000, 51))
                        .AddFile("two/three.txt", "", ZipWriter::kStored)
                        .Build());
    return seeds;
}

} // namespace

TEST(AppZipRobustness, DamagedArchivesNeverWriteOutsideTheBaseFolder) {
    TempDir root(L"appfuzz");
    const std::wstring outer = root / L"outer";
    const std::wstring base = outer + L"\\base";
    CreateDirectoryW(outer.c_str(), nullptr);
    CreateDirectoryW(base.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(outer + L"\\sibling.txt", "keep"));
    const std::set<std::wstring> rootBefore = SnapshotOf(root.Path(), L"outer\\base");
    const std::set<std::wstring> driveBefore = TopLevelOf(L"C:");
    const std::vector<ZipImage> seeds = FolderSeeds();
    for (const ZipImage& seed : seeds) {
        Archive zip(OpenMemory(seed, "pw"));
        ASSERT_TRUE(zip);
        std::vector<int> results;
        EXPECT_TRUE(UnpackAll(zip.get(), base, &results));
        EXPECT_EQ(std::vector<int>(results.size(), ZR_OK), results);
        RemoveTree(base);
        CreateDirectoryW(base.c_str(), nullptr);
    }
    const int rounds = IsCodePage936Run() ? 800 : 3000;
    std::mt19937 random(777);
    int files = 0;
    for (int round = 0; round < rounds; ++round) {
        const std::string damaged = CorruptZip(seeds[round % seeds.size()], random);
        GuardedBytes bytes(damaged);
        if (round % 4 != 3) {
            Archive zip(ZipArchiveOpen(bytes.Data(), bytes.Size(), ZIP_MEMORY, "pw"));
            if (zip) {
                ASSERT_EQ(ZR_OK, ZipArchiveSetBaseDir(zip.get(), base.c_str()));
                const int count = std::min(EntryCount(zip.get()), 12);
                for (int i = 0; i < count; ++i) {
                    ZipEntry e{};
                    if (ZipArchiveGetItem(zip.get(), i, e) == ZR_OK &&
                        ZipArchiveUnzipItem(zip.get(), i, e.name) == ZR_OK)
                        ++files;
                }
            }
        } else {
            // The framework's reader keeps stored names as they are: its own
            // confinement has to hold them below the base folder.
            SkinUI::ZipReader reader(SkinUI::kFrameworkZipFlavour);
            if (reader.Open(bytes.Data(), bytes.Size(), ZIP_MEMORY, nullptr) == ZR_OK) {
                ASSERT_EQ(ZR_OK, reader.SetBaseDir(base.c_str()));
                for (int i = 0; i < std::min(reader.EntryCount(), 12); ++i) {
                    ZipEntry e{};
                    if (reader.GetEntry(i, e) == ZR_OK &&
                        reader.Unzip(i, e.name, 0, ZIP_FILENAME) == ZR_OK)
                        ++files;
                }
            }
        }
        RemoveTree(base);
        CreateDirectoryW(base.c_str(), nullptr);
        ASSERT_EQ(rootBefore, SnapshotOf(root.Path(), L"outer\\base")) << "round " << round;
        // The reader's own buffers (zlib's among them) come from the C runtime's heap, whose
        // block tails are checked here; C++ blocks are checked as they are freed.
        if (round % 8 == 7) {
            ASSERT_TRUE(HeapsAreSound()) << "rounds up to " << round;
        }
    }
    EXPECT_EQ(driveBefore, TopLevelOf(L"C:"));
    EXPECT_GT(files, rounds / 2);
}
