#include <windows.h>

#include "ui/ZipArchive.h"
#include "ui/ZipReader.h"
#include "ui/ZipTargetPath.h"
#include "tests/support/FileUtil.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipCorruption.h"
#include "tests/support/ZipWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace SkinUI;
using namespace TestSupport;

namespace {

// Closes a framework archive handle at the end of a test.
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
    ZipReader& reader() const { return *static_cast<ZipReader*>(h_->object); }
    int Close() {
        const int r = ZipArchiveClose(h_);
        h_ = nullptr;
        return r;
    }

private:
    ZipHandle h_;
};

ZipHandle OpenMemory(const ZipImage& image) {
    return ZipArchiveOpen(image.Data(), image.Size(), ZIP_MEMORY);
}

// Extracts a whole entry into memory in pieces of `chunk` bytes, each piece
// into a buffer between guard bytes. Stops at the first result other than
// ZR_MORE.
struct Extraction {
    int result = -1;
    std::string data;
    std::vector<int> results;
    bool guardsIntact = true;
};

Extraction ExtractToMemory(ZipHandle h, int index, unsigned chunk, int maxCalls = 100000) {
    constexpr size_t kGuard = 32;
    Extraction out;
    std::vector<unsigned char> buffer(chunk + 2 * kGuard);
    for (int call = 0; call < maxCalls; ++call) {
        memset(buffer.data(), 0xA5, buffer.size());
        const int r = ZipArchiveUnzipItem(h, index, buffer.data() + kGuard, chunk, ZIP_MEMORY);
        out.results.push_back(r);
        for (size_t i = 0; i < kGuard; ++i) {
            if (buffer[i] != 0xA5 || buffer[kGuard + chunk + i] != 0xA5)
                out.guardsIntact = false;
        }
        if (r != ZR_MORE) {
            out.result = r;
            return out;
        }
        out.data.append(reinterpret_cast<char*>(buffer.data() + kGuard), chunk);
    }
    return out;
}

// The framework reports ZR_MORE for pieces it cannot size itself; the entry
// size says how much of the collected pieces is data.
std::string ExtractEntry(ZipHandle h, const wchar_t* name) {
    int index = -1;
    ZipEntry e;
    if (ZipArchiveFindItem(h, name, false, index, e) != ZR_OK)
        return "<not found>";
    Extraction x = ExtractToMemory(h, index, static_cast<unsigned>(e.uncompressedSize) + 1);
    if (x.result != ZR_OK)
        return "<failed>";
    x.data.resize(e.uncompressedSize);
    return x.data;
}

FILETIME FileTimeOf(int y, int mo, int d, int h, int mi, int s) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

bool IsZero(const FILETIME& t) {
    return t.dwLowDateTime == 0 && t.dwHighDateTime == 0;
}

bool IsCodePage936Run() {
    return getenv("UNINST_EXPECT_ACP") != nullptr;
}

// Switches the current directory for one test (the framework's base folder is
// the current directory at open).
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::wstring& dir) {
        wchar_t old[MAX_PATH * 2] = {};
        GetCurrentDirectoryW(MAX_PATH * 2, old);
        old_ = old;
        SetCurrentDirectoryW(dir.c_str());
    }
    ~CurrentDirectory() { SetCurrentDirectoryW(old_.c_str()); }

private:
    std::wstring old_;
};

ZipImage SkinArchive() {
    return ZipWriter()
        .AddFile("UninstallFrame.xml", "<Window size=\"520,360\"/>")
        .AddFile("image/logo.png", std::string("\x89PNG\r\n\x1a\n", 8) + SampleText(3000))
        .AddFile("stored.txt", "stored bytes", ZipWriter::kStored)
        .AddFolder("image/")
        .Build();
}

} // namespace

TEST(ZipCodePage, MatchesTheRunsExpectation) {
    const char* expected = getenv("UNINST_EXPECT_ACP");
    if (expected) {
        EXPECT_EQ(static_cast<UINT>(atoi(expected)), GetACP());
    }
}

// ---------------------------------------------------------------- opening

TEST(ZipArchiveOpen, ReadsStoredAndDeflatedEntriesFromMemory) {
    const ZipImage image = SkinArchive();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    EXPECT_EQ(ZR_OK, ZipArchiveGetLastResult());
    EXPECT_EQ(4, zip.reader().EntryCount());
    EXPECT_EQ("<Window size=\"520,360\"/>", ExtractEntry(zip.get(), L"UninstallFrame.xml"));
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8) + SampleText(3000),
              ExtractEntry(zip.get(), L"image/logo.png"));
    EXPECT_EQ("stored bytes", ExtractEntry(zip.get(), L"stored.txt"));
    EXPECT_EQ(ZR_OK, zip.Close());
}

// A self-extracting layout: the archive behind a program stub, its offsets
// counted from the archive's start or from the file's.
TEST(ZipArchiveOpen, ReadsAndExtractsAnArchiveAfterLeadingBytes) {
    for (bool absoluteOffsets : {false, true}) {
        const ZipImage image = ZipWriter()
                                   .SetLeadingBytes("MZ" + std::string(70000, 'x'))
                                   .SetOffsetsIncludeLeadingBytes(absoluteOffsets)
                                   .AddFile("a.txt", SampleText(5000, 3))
                                   .AddFile("b.txt", "bee", ZipWriter::kStored)
                                   .Build();
        Archive zip(OpenMemory(image));
        ASSERT_TRUE(zip) << absoluteOffsets;
        EXPECT_EQ(absoluteOffsets ? 0u : 70002u, zip.reader().BytesBeforeArchive());
        EXPECT_EQ(2, zip.reader().EntryCount());
        EXPECT_EQ(SampleText(5000, 3), ExtractEntry(zip.get(), L"a.txt"));
        EXPECT_EQ("bee", ExtractEntry(zip.get(), L"b.txt"));
    }
}

TEST(ZipArchiveOpen, FindsTheEndRecordBehindTheLongestComment) {
    ZipImage image =
        ZipWriter().AddFile("a.txt", "alpha").SetComment(std::string(65535, 'c')).Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    EXPECT_EQ("alpha", ExtractEntry(zip.get(), L"a.txt"));
}

TEST(ZipArchiveOpen, DoesNotLookFurtherBackThanTheLongestComment) {
    // One byte more than a comment can hold puts the end record out of reach.
    ZipImage image = ZipWriter().AddFile("a.txt", "alpha").Build();
    image.bytes += std::string(65536, 'c');
    image.Set16(image.endRecord + ZipField::kEndCommentLength, 0xFFFF);
    EXPECT_EQ(nullptr, OpenMemory(image));
    EXPECT_EQ(UNZ_ERRNO, ZipArchiveGetLastResult());
}

TEST(ZipArchiveOpen, ReportsWhyItFails) {
    const ZipImage good = ZipWriter().AddFile("a.txt", "alpha").Build();
    EXPECT_EQ(nullptr, ZipArchiveOpen(nullptr, 10, ZIP_MEMORY));
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetLastResult());
    EXPECT_EQ(nullptr, ZipArchiveOpen(good.Data(), good.Size(), 4));
    EXPECT_EQ(ZR_ARGS, ZipArchiveGetLastResult());
    EXPECT_EQ(nullptr, ZipArchiveOpen(L"C:\\no\\such\\archive.zip", 0, ZIP_FILENAME));
    EXPECT_EQ(ZR_NOFILE, ZipArchiveGetLastResult());

    const std::string garbage(5000, 'g');
    EXPECT_EQ(nullptr, ZipArchiveOpen(garbage.data(), 5000, ZIP_MEMORY));
    EXPECT_EQ(UNZ_ERRNO, ZipArchiveGetLastResult());
    EXPECT_EQ(nullptr, ZipArchiveOpen(good.Data(), 21, ZIP_MEMORY));
    EXPECT_EQ(UNZ_ERRNO, ZipArchiveGetLastResult());

    // End records that lie: each field set alone to the value given.
    const struct {
        size_t field;
        int bits;
        uint32_t value;
    } lies[] = {
        {ZipField::kEndThisDisk, 16, 1},                // another disk
        {ZipField::kEndEntriesHere, 16, 2},             // more entries than the total
        {ZipField::kEndCentralSize, 32, 0x10000},       // directory past the end
        {ZipField::kEndCentralOffset, 32, 0xFFFFFF00u}, // offset past the end
    };
    for (const auto& lie : lies) {
        ZipImage image = good;
        if (lie.bits == 16)
            image.Set16(image.endRecord + lie.field, static_cast<uint16_t>(lie.value));
        else
            image.Set32(image.endRecord + lie.field, lie.value);
        EXPECT_EQ(nullptr, OpenMemory(image)) << lie.field << "=" << lie.value;
        EXPECT_EQ(UNZ_BADZIPFILE, ZipArchiveGetLastResult()) << lie.field << "=" << lie.value;
    }
    // The end record points at bytes that are no central header.
    ZipImage shifted = good;
    shifted.Set32(shifted.endRecord + ZipField::kEndCentralOffset, 0);
    shifted.Set32(shifted.endRecord + ZipField::kEndCentralSize, 10);
    EXPECT_EQ(nullptr, OpenMemory(shifted));
    EXPECT_EQ(UNZ_BADZIPFILE, ZipArchiveGetLastResult());
}

// ---------------------------------------------------------------- finding

TEST(ZipArchiveFindItem, IgnoresCaseAndSlashDirection) {
    const ZipImage image = SkinArchive();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    int index = -1;
    ZipEntry e;
    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip.get(), L"Image\\Logo.PNG", true, index, e));
    EXPECT_EQ(1, index);
    EXPECT_EQ(1, e.index);
    EXPECT_STREQ(L"image/logo.png", e.name);
    EXPECT_EQ(3008, e.uncompressedSize);

    EXPECT_EQ(ZR_NOTFOUND, ZipArchiveFindItem(zip.get(), L"Image\\Logo.PNG", false, index, e));
    EXPECT_EQ(ZR_NOTFOUND, ZipArchiveGetLastResult());
    EXPECT_EQ(-1, index);
    EXPECT_EQ(-1, e.index);
    EXPECT_STREQ(L"", e.name);
    EXPECT_EQ(0, e.uncompressedSize);

    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip.get(), L"image\\logo.png", false, index, e));
    EXPECT_EQ(1, index);
}

TEST(ZipArchiveFindItem, NeverFindsNamesOf256CharactersOrMore) {
    const std::string long255(255, 'n');
    const std::string long256(256, 'n');
    const ZipImage image = ZipWriter().AddFile(long255, "255").AddFile(long256, "256").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    int index = -1;
    ZipEntry e;
    EXPECT_EQ(ZR_OK,
              ZipArchiveFindItem(zip.get(), std::wstring(255, L'n').c_str(), false, index, e));
    EXPECT_EQ(0, index);
    EXPECT_EQ(ZR_NOTFOUND,
              ZipArchiveFindItem(zip.get(), std::wstring(256, L'n').c_str(), false, index, e));
    EXPECT_EQ(ZR_NOTFOUND,
              ZipArchiveFindItem(zip.get(), std::wstring(5000, L'n').c_str(), false, index, e));
}

TEST(ZipArchiveFindItem, ReportsAnEntryWhoseHeadersDisagree) {
    ZipImage image = ZipWriter().AddFile("a.txt", "alpha").AddFile("b.txt", "beta").Build();
    image.Set16(image.localHeaders[0] + ZipField::kLocalMethod, 0);
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    int index = -1;
    ZipEntry e;
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveFindItem(zip.get(), L"a.txt", false, index, e));
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveUnzipItem(zip.get(), 0, &e, sizeof e, ZIP_MEMORY));
    // The handle stays usable for the other entries.
    EXPECT_EQ("beta", ExtractEntry(zip.get(), L"b.txt"));
}

// ---------------------------------------------------------------- entry information

TEST(ZipEntryInfo, FrameworkAttributesCombineBothConventions) {
    ZipWriter w;
    auto add = [&w](const char* name, uint8_t host, uint32_t external) {
        ZipItem item;
        item.name = name;
        item.data = "x";
        item.hostSystem = host;
        item.externalAttributes = external;
        w.Add(item);
    };
    add("dos-archive", 0, 0x20);
    add("dos-hidden-system", 0, 0x06 | 0x800000);
    add("unix-file", 3, 0x81A40000);     // -rw-r--r--
    add("unix-readonly", 3, 0x81240000); // -r--r--r--
    add("unix-folder", 3, 0x41ED0000);   // drwxr-xr-x
    add("dos-folder", 0, 0x10 | 0x800000);
    const ZipImage image = w.Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    auto attributes = [&zip](const wchar_t* name) {
        int index;
        ZipEntry e;
        EXPECT_EQ(ZR_OK, ZipArchiveFindItem(zip.get(), name, false, index, e)) << name;
        return e.attributes;
    };
    const DWORD N = FILE_ATTRIBUTE_NORMAL, A = FILE_ATTRIBUTE_ARCHIVE, R = FILE_ATTRIBUTE_READONLY,
                H = FILE_ATTRIBUTE_HIDDEN, S = FILE_ATTRIBUTE_SYSTEM, D = FILE_ATTRIBUTE_DIRECTORY;
    // Bit 23 (owner may write) is clear in every DOS value: read-only.
    EXPECT_EQ(N | A | R, attributes(L"dos-archive"));
    EXPECT_EQ(N | H | S, attributes(L"dos-hidden-system"));
    EXPECT_EQ(N, attributes(L"unix-file"));
    EXPECT_EQ(N | R, attributes(L"unix-readonly"));
    EXPECT_EQ(N | D, attributes(L"unix-folder"));
    EXPECT_EQ(N | D, attributes(L"dos-folder"));
}

TEST(ZipEntryInfo, InvalidDosTimesBecomeZero) {
    ZipWriter w;
    const uint16_t badDates[] = {DosDate(2020, 0, 1), DosDate(2020, 13, 1), DosDate(2020, 2, 30),
                                 DosDate(2020, 1, 0)};
    for (size_t i = 0; i < 4; ++i) {
        ZipItem item;
        item.name = "bad-date-" + std::to_string(i);
        item.dosDate = badDates[i];
        w.Add(item);
    }
    ZipItem badTime;
    badTime.name = "bad-time";
    badTime.dosTime = static_cast<uint16_t>((25 << 11) | (61 << 5) | 31);
    w.Add(badTime);
    const ZipImage image = w.Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    for (int i = 0; i < 5; ++i) {
        ZipEntry e;
        ASSERT_EQ(ZR_OK, zip.reader().GetEntry(i, e));
        EXPECT_TRUE(IsZero(e.modificationTime)) << i;
        EXPECT_TRUE(IsZero(e.creationTime)) << i;
    }
}

TEST(ZipEntryInfo, MalformedExtraFieldsAreIgnored) {
    ZipWriter w;
    const std::string blocks[] = {
        std::string("UT\x05\x00\x01\x01\x02", 7),           // block longer than the field
        std::string("UT\x00\x00", 4),                       // no flags byte
        std::string("UT\x03\x00\x07\x01\x02", 7),           // flags promise three times
        std::string("\x01", 1),                             // less than a block header
        ExtraBlock(0xFFFF, "") + ExtendedTimeExtra(1, 100), // after an empty block
    };
    for (size_t i = 0; i < 5; ++i) {
        ZipItem item;
        item.name = "e" + std::to_string(i);
        item.data = "data";
        item.localExtra = blocks[i];
        w.Add(item);
    }
    const ZipImage image = w.Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    const FILETIME dosTime = FileTimeOf(2020, 1, 1, 12, 0, 0);
    for (int i = 0; i < 5; ++i) {
        ZipEntry e;
        ASSERT_EQ(ZR_OK, zip.reader().GetEntry(i, e)) << i;
        if (i < 4)
            EXPECT_TRUE(SameTime(dosTime, e.modificationTime)) << i;
        else
            EXPECT_TRUE(SameTime(FileTimeOf(1970, 1, 1, 0, 1, 40), e.modificationTime));
    }
}

// ---------------------------------------------------------------- extraction to memory

TEST(ZipArchiveUnzipItem, DeliversTenBytesInFourBytePieces) {
    const ZipImage image = ZipWriter().AddFile("ten.bin", "0123456789").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    char buffer[4];
    const char* const expected[] = {"0123", "4567", "89"};
    for (int call = 0; call < 3; ++call) {
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(ZR_MORE, ZipArchiveUnzipItem(zip.get(), 0, buffer, 4, ZIP_MEMORY)) << call;
        EXPECT_EQ(0, memcmp(buffer, expected[call], strlen(expected[call]))) << call;
        EXPECT_EQ(0, zip.reader().OpenEntryIndex()) << call;
    }
    EXPECT_EQ('#', buffer[2]);
    EXPECT_EQ(ZR_OK, ZipArchiveUnzipItem(zip.get(), 0, buffer, 4, ZIP_MEMORY));
    EXPECT_EQ(-1, zip.reader().OpenEntryIndex());
    EXPECT_EQ(UNZ_OK, zip.reader().LastEntryCloseResult());
    // The entry starts over after it was closed.
    EXPECT_EQ(ZR_MORE, ZipArchiveUnzipItem(zip.get(), 0, buffer, 4, ZIP_MEMORY));
    EXPECT_EQ(0, memcmp(buffer, "0123", 4));
}

TEST(ZipArchiveUnzipItem, ABadCrcShowsOnlyWhenTheEntryIsClosed) {
    ZipItem item;
    item.name = "bad-crc";
    item.data = "payload with a wrong checksum";
    item.crc = 0x12345678;
    const ZipImage image = ZipWriter().Add(item).AddFile("good", "fine").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    Extraction x = ExtractToMemory(zip.get(), 0, 100);
    EXPECT_EQ(ZR_OK, x.result);
    EXPECT_EQ(item.data, x.data.substr(0, item.data.size()));
    EXPECT_EQ(UNZ_CRCERROR, zip.reader().LastEntryCloseResult());

    EXPECT_EQ(ZR_OK, ExtractToMemory(zip.get(), 1, 100).result);
    EXPECT_EQ(UNZ_OK, zip.reader().LastEntryCloseResult());

    // Direct reading: the close of a completely read entry says so.
    ZipReader& reader = zip.reader();
    ASSERT_EQ(ZR_OK, reader.OpenEntry(0));
    char buffer[100];
    EXPECT_EQ(static_cast<int>(item.data.size()), reader.ReadEntry(buffer, sizeof buffer));
    EXPECT_EQ(0, reader.ReadEntry(buffer, sizeof buffer));
    EXPECT_EQ(UNZ_CRCERROR, reader.CloseEntry());
    // A partly read entry is not checked.
    ASSERT_EQ(ZR_OK, reader.OpenEntry(0));
    EXPECT_EQ(5, reader.ReadEntry(buffer, 5));
    EXPECT_EQ(UNZ_OK, reader.CloseEntry());
}

// Entries whose data is short, damaged or encrypted fail with ZR_FLATE after
// delivering what they hold, never more than the declared size.
TEST(ZipArchiveUnzipItem, BadEntryDataFails) {
    const std::string text = SampleText(5000, 11);
    ZipItem deflated;
    deflated.name = "ends-early-deflated";
    deflated.data = text;
    deflated.uncompressedSize = 6000;
    ZipItem stored = deflated;
    stored.name = "ends-early-stored";
    stored.method = 0;
    ZipItem damaged;
    damaged.name = "damaged";
    damaged.data = SampleText(4000, 13);
    damaged.storedData = std::string("\xff\xff\xff\xff garbage that is no deflate stream", 38);
    ZipItem secret;
    secret.name = "secret";
    secret.data = "secret data";
    secret.password = "pw";
    const ZipImage image = ZipWriter().Add(deflated).Add(stored).Add(damaged).Add(secret).Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    for (int i = 0; i < 4; ++i) {
        Extraction x = ExtractToMemory(zip.get(), i, 10000);
        EXPECT_EQ(ZR_FLATE, x.result) << i;
        EXPECT_TRUE(x.guardsIntact) << i;
        if (i < 2) {
            ASSERT_EQ(1u, x.data.size() / 10000) << i;
            EXPECT_EQ(text, x.data.substr(0, text.size())) << i;
        }
    }

    ZipItem longer;
    longer.name = "shorter";
    longer.data = SampleText(1000, 12);
    longer.uncompressedSize = 100;
    const ZipImage image2 = ZipWriter().Add(longer).Build();
    Archive zip2(OpenMemory(image2));
    ASSERT_TRUE(zip2);
    std::string buffer(1000, '#');
    EXPECT_EQ(ZR_MORE, ZipArchiveUnzipItem(zip2.get(), 0, &buffer[0], 1000, ZIP_MEMORY));
    EXPECT_EQ(longer.data.substr(0, 100), buffer.substr(0, 100));
    EXPECT_EQ(std::string(900, '#'), buffer.substr(100));
    EXPECT_EQ(ZR_OK, ZipArchiveUnzipItem(zip2.get(), 0, &buffer[0], 1000, ZIP_MEMORY));
    EXPECT_EQ(UNZ_CRCERROR, zip2.reader().LastEntryCloseResult());
}

TEST(ZipArchiveUnzipItem, DataDescriptorEntriesUseTheCentralSizes) {
    ZipItem item;
    item.name = "streamed";
    item.data = SampleText(20000, 14);
    item.dataDescriptor = true;
    const ZipImage image = ZipWriter().Add(item).AddFile("after", "after").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    EXPECT_EQ(item.data, ExtractEntry(zip.get(), L"streamed"));
    EXPECT_EQ("after", ExtractEntry(zip.get(), L"after"));
}

// ---------------------------------------------------------------- extraction to files

TEST(ZipArchiveUnzipItem, ExtractsNamedFilesBelowTheFolderCurrentAtOpen) {
    TempDir dir(L"zipuin");
    CreateDirectoryW((dir / L"base").c_str(), nullptr);
    const ZipImage image = ZipWriter().AddFile("a.txt", "alpha").AddFolder("f/").Build();
    CurrentDirectory cd(dir / L"base");
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    SetCurrentDirectoryW(dir.Path().c_str()); // later changes do not move the base
    auto unzip = [&zip](int index, const wchar_t* target) {
        return ZipArchiveUnzipItem(zip.get(), index, const_cast<wchar_t*>(target), 0, ZIP_FILENAME);
    };
    EXPECT_EQ(ZR_OK, unzip(0, L"plain.txt"));
    EXPECT_EQ("alpha", ReadFileBytes(dir / L"base\\plain.txt"));
    EXPECT_EQ(ZR_OK, unzip(0, L"sub/deeper\\a.txt"));
    EXPECT_EQ("alpha", ReadFileBytes(dir / L"base\\sub\\deeper\\a.txt"));
    EXPECT_EQ(ZR_OK, unzip(1, L"made/folder"));
    EXPECT_TRUE(DirExists(dir / L"base\\made\\folder"));

    // A relative path with a parent reference gets no folders made for it
    // and must not leave the base folder.
    EXPECT_EQ(ZR_OK, unzip(0, L"sub/../direct.txt"));
    EXPECT_EQ("alpha", ReadFileBytes(dir / L"base\\direct.txt"));
    EXPECT_EQ(ZR_NOFILE, unzip(0, L"new/../new2/x.txt"));
    EXPECT_EQ(ZR_NOFILE, unzip(0, L"../escaped.txt"));
    EXPECT_EQ(ZR_NOFILE, unzip(0, L"sub\\..\\..\\escaped.txt"));
    EXPECT_FALSE(FileExists(dir / L"escaped.txt"));

    // An absolute target must lie below the base folder too; no folders are
    // made for it.
    EXPECT_EQ(ZR_OK, unzip(0, (dir / L"base\\absolute.txt").c_str()));
    EXPECT_EQ("alpha", ReadFileBytes(dir / L"base\\absolute.txt"));
    EXPECT_EQ(ZR_NOFILE, unzip(0, (dir / L"base\\missing\\absolute.txt").c_str()));
    EXPECT_FALSE(DirExists(dir / L"base\\missing"));
    EXPECT_EQ(ZR_NOFILE, unzip(0, (dir / L"absolute.txt").c_str()));
    EXPECT_EQ(ZR_NOFILE, unzip(0, L"C:\\outside.txt"));
    EXPECT_EQ(ZR_NOFILE, unzip(0, L"\\outside.txt"));
    EXPECT_EQ(ZR_NOFILE, unzip(0, L"con.txt"));
    EXPECT_FALSE(FileExists(dir / L"absolute.txt"));
    EXPECT_FALSE(FileExists(L"C:\\outside.txt"));
}

// A component the file system would rename is refused as written, whichever
// slash separates it: the check of the normalised path behind it cannot see
// "a./9", which the system would write as base\a\9.
TEST(ZipTargetPath, ComponentsTheSystemWouldRenameAreRefusedAsWritten) {
    const struct {
        const wchar_t* target;
        bool refused;
    } cases[] = {
        {L".../evil.txt", true}, {L"...\\evil.txt", true}, {L"x/.../4", true},
        {L"x\\...\\4", true},    {L"a./9", true},          {L"a.\\9", true},
        {L"... /5", true},       {L". ./6", true},         {L"d/7.", true},
        {L"d/8 ", true},         {L"C:.../x", true},       {L"a/b.txt", false},
        {L"./a", false},         {L"a/../b", false},       {L".hidden/x", false},
        {L"x..y/z", false},      {L"dir/", false},         {L"C:\\a\\b", false},
    };
    TempDir dir(L"zipname");
    for (const auto& c : cases) {
        EXPECT_EQ(c.refused, HasDeceptiveComponent(c.target)) << c.target;
        ZipTargetPath path;
        EXPECT_TRUE(!c.refused || !path.Resolve(dir.Path() + L"\\", c.target, true)) << c.target;
    }
}

// ---------------------------------------------------------------- code page 936

TEST(ZipCodePage936, FindsChineseNamesStoredInTheAnsiCodePage) {
    if (GetACP() != 936)
        GTEST_SKIP() << "needs ANSI code page 936";
    // "皮肤/按钮.png" in GBK.
    const std::string stored = "\xC6\xA4\xB7\xF4/\xB0\xB4\xC5\xA5.png";
    const ZipImage image = ZipWriter().AddFile(stored, "png").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    int index = -1;
    ZipEntry e;
    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip.get(), L"皮肤\\按钮.PNG", true, index, e));
    EXPECT_STREQ(L"皮肤/按钮.png", e.name);
    EXPECT_EQ("png", ExtractEntry(zip.get(), L"皮肤/按钮.png"));
}

TEST(ZipCodePage936, SecondBytesOfCharactersAreNeitherSlashesNorLetters) {
    if (GetACP() != 936)
        GTEST_SKIP() << "needs ANSI code page 936";
    // Characters whose second byte is "\" (0x5C) and "A"/"a" (0x41/0x61).
    wchar_t backslashChar = 0, upperChar = 0, lowerChar = 0;
    ASSERT_EQ(1, MultiByteToWideChar(936, 0, "\x81\x5C", 2, &backslashChar, 1));
    ASSERT_EQ(1, MultiByteToWideChar(936, 0, "\x81\x41", 2, &upperChar, 1));
    ASSERT_EQ(1, MultiByteToWideChar(936, 0, "\x81\x61", 2, &lowerChar, 1));
    ASSERT_NE(upperChar, lowerChar);
    const ZipImage image = ZipWriter()
                               .AddFile("dir/\x81\x5C.txt", "backslash")
                               .AddFile("\x81\x61.txt", "lower")
                               .Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    int index = -1;
    ZipEntry e;
    const std::wstring withBackslash = std::wstring(L"DIR\\") + backslashChar + L".TXT";
    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip.get(), withBackslash.c_str(), true, index, e));
    EXPECT_EQ(0, index);
    const std::wstring upper = std::wstring(1, upperChar) + L".txt";
    EXPECT_EQ(ZR_NOTFOUND, ZipArchiveFindItem(zip.get(), upper.c_str(), true, index, e));
    const std::wstring lower = std::wstring(1, lowerChar) + L".TXT";
    EXPECT_EQ(ZR_OK, ZipArchiveFindItem(zip.get(), lower.c_str(), true, index, e));
    EXPECT_EQ(1, index);
}

TEST(ZipArchiveFindItem, NamesTheCodePageCannotHoldAreNotFound) {
    const ZipImage image = ZipWriter().AddFile("a?.txt", "q").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    int index = -1;
    ZipEntry e;
    // U+10D5 (Georgian) exists in neither 1252 nor 936; it must not turn into "?".
    EXPECT_EQ(ZR_NOTFOUND, ZipArchiveFindItem(zip.get(), L"a\x10D5.txt", false, index, e));
    EXPECT_EQ(ZR_OK, ZipArchiveFindItem(zip.get(), L"a?.txt", false, index, e));
}

// ---------------------------------------------------------------- malformed archives

TEST(ZipMalformed, LengthsAndOffsetsPastTheEndFailCleanly) {
    const ZipImage good = ZipWriter()
                              .AddFile("a.txt", SampleText(3000, 21))
                              .AddFile("b.txt", "beta", ZipWriter::kStored)
                              .Build();
    using namespace ZipField;
    struct Case {
        const char* what;
        size_t at;
        int size;
        uint32_t value;
        int expected; // result of extracting entry 0 (or of opening)
    };
    const size_t c0 = good.centralHeaders[0], l0 = good.localHeaders[0];
    const Case cases[] = {
        {"central name length", c0 + kCentralNameLength, 2, 0xFFFF, UNZ_BADZIPFILE},
        {"central extra length", c0 + kCentralExtraLength, 2, 0xFFFF, UNZ_BADZIPFILE},
        {"central signature", c0, 4, 0x12345678, UNZ_BADZIPFILE},
        {"local offset", c0 + kCentralLocalOffset, 4, 0xFFFFFFF0u, ZR_CORRUPT},
        {"local offset inside data", c0 + kCentralLocalOffset, 4, 7, ZR_CORRUPT},
        {"compressed size", c0 + kCentralCompressed, 4, 0x7FFFFFFF, ZR_CORRUPT},
        {"local extra length", l0 + kLocalExtraLength, 2, 0xFFFF, ZR_READ},
        {"local name length", l0 + kLocalNameLength, 2, 3, ZR_CORRUPT},
        {"local signature", l0, 4, 0, ZR_CORRUPT},
        {"central method", c0 + kCentralMethod, 2, 12, ZR_CORRUPT},
        {"uncompressed size", c0 + kCentralUncompressed, 4, 0xFFFFFFFFu, ZR_CORRUPT},
    };
    for (const Case& c : cases) {
        ZipImage bad = good;
        if (c.size == 2)
            bad.Set16(c.at, static_cast<uint16_t>(c.value));
        else
            bad.Set32(c.at, c.value);
        GuardedBytes bytes(bad.bytes);
        Archive zip(ZipArchiveOpen(bytes.Data(), bytes.Size(), ZIP_MEMORY));
        if (c.expected < 0) {
            EXPECT_FALSE(zip) << c.what;
            EXPECT_EQ(c.expected, ZipArchiveGetLastResult()) << c.what;
            continue;
        }
        ASSERT_TRUE(zip) << c.what;
        char buffer[8];
        EXPECT_EQ(c.expected, ZipArchiveUnzipItem(zip.get(), 0, buffer, 8, ZIP_MEMORY)) << c.what;
    }
}

TEST(ZipMalformed, SizesBeyondTheArchiveFailEvenWithoutALocalCopy) {
    ZipItem item; // with a data descriptor the local header holds no sizes to compare
    item.name = "streamed";
    item.data = SampleText(2000, 22);
    item.dataDescriptor = true;
    for (uint32_t compressed : {0x7FFFFFFFu, 0xFFFFFFFFu, 100000u}) {
        ZipImage image = ZipWriter().Add(item).Build();
        image.Set32(image.centralHeaders[0] + ZipField::kCentralCompressed, compressed);
        GuardedBytes bytes(image.bytes);
        Archive zip(ZipArchiveOpen(bytes.Data(), bytes.Size(), ZIP_MEMORY));
        ASSERT_TRUE(zip);
        char buffer[64];
        EXPECT_EQ(ZR_CORRUPT, ZipArchiveUnzipItem(zip.get(), 0, buffer, 64, ZIP_MEMORY));
    }
    // A compressed size that stays inside the archive but cuts the data short.
    ZipImage cut = ZipWriter().Add(item).Build();
    cut.Set32(cut.centralHeaders[0] + ZipField::kCentralCompressed, 10);
    Archive zip(OpenMemory(cut));
    ASSERT_TRUE(zip);
    EXPECT_EQ(ZR_FLATE, ExtractToMemory(zip.get(), 0, 5000).result);
}

TEST(ZipMalformed, AnExtraFieldRunningPastTheEndCannotBeRead) {
    ZipImage image = ZipWriter().AddFile("a.txt", "").Build();
    // The last entry's data is empty, so its extra field would run into the
    // central directory and beyond the end of the archive.
    image.Set16(image.localHeaders[0] + ZipField::kLocalExtraLength, 0xFFFF);
    GuardedBytes bytes(image.bytes);
    Archive zip(ZipArchiveOpen(bytes.Data(), bytes.Size(), ZIP_MEMORY));
    ASSERT_TRUE(zip);
    ZipEntry e;
    EXPECT_EQ(ZR_READ, zip.reader().GetEntry(0, e));
}

TEST(ZipMalformed, AnEntryCountBeyondTheDirectoryStopsTheWalk) {
    ZipImage image = ZipWriter().AddFile("a.txt", "alpha").AddFile("b.txt", "beta").Build();
    image.Set16(image.endRecord + ZipField::kEndEntriesHere, 900);
    image.Set16(image.endRecord + ZipField::kEndEntriesTotal, 900);
    GuardedBytes bytes(image.bytes);
    Archive zip(ZipArchiveOpen(bytes.Data(), bytes.Size(), ZIP_MEMORY));
    ASSERT_TRUE(zip);
    EXPECT_EQ("beta", ExtractEntry(zip.get(), L"b.txt"));
    int index;
    ZipEntry e;
    EXPECT_EQ(ZR_NOTFOUND, ZipArchiveFindItem(zip.get(), L"zzz", false, index, e));
    char buffer[8];
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveUnzipItem(zip.get(), 2, buffer, 8, ZIP_MEMORY));
    EXPECT_EQ(ZR_CORRUPT, ZipArchiveUnzipItem(zip.get(), 899, buffer, 8, ZIP_MEMORY));
    EXPECT_EQ("alpha", ExtractEntry(zip.get(), L"a.txt"));
}

TEST(ZipMalformed, NamesTooLongForTheEntryRecordAreRefused) {
    const ZipImage image = ZipWriter()
                               .AddFile(std::string(259, 'n'), "ok")
                               .AddFile(std::string(260, 'n'), "no")
                               .Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ZipEntry e;
    EXPECT_EQ(ZR_OK, zip.reader().GetEntry(0, e));
    EXPECT_EQ(259u, wcslen(e.name));
    EXPECT_EQ(ZR_CORRUPT, zip.reader().GetEntry(1, e));
    EXPECT_EQ(ZR_CORRUPT, zip.reader().GetEntry(1, e));
}

TEST(ZipMalformed, NamesWithZeroBytesAreRefused) {
    const ZipImage image = ZipWriter().AddFile(std::string("evil.txt\0.png", 13), "x").Build();
    Archive zip(OpenMemory(image));
    ASSERT_TRUE(zip);
    ZipEntry e;
    EXPECT_EQ(ZR_CORRUPT, zip.reader().GetEntry(0, e));
}

// ---------------------------------------------------------------- robustness

namespace {

std::vector<ZipImage> RobustnessSeeds() {
    std::vector<ZipImage> seeds;
    ZipItem ut;
    ut.name = "times.txt";
    ut.data = SampleText(700, 31);
    ut.localExtra = ExtendedTimeExtra(7, 1, 2, 3);
    ut.centralExtra = ExtendedTimeExtra(1, 1);
    ZipItem descriptor;
    descriptor.name = "streamed.bin";
    descriptor.data = SampleText(1500, 32);
    descriptor.dataDescriptor = true;
    ZipItem secret;
    secret.name = "secret.txt";
    secret.data = SampleText(300, 33);
    secret.password = "pw";
    seeds.push_back(ZipWriter()
                        .AddFile("a.txt", SampleText(2000, 34))
                        .AddFile("b.bin", "stored bytes", ZipWriter::kStored)
                        .AddFolder("dir/")
                        .AddFile("dir/c.txt", SampleText(5000, 35))
                        .Build());
    seeds.push_back(ZipWriter().Add(ut).Add(descriptor).Add(secret).SetComment("comment").Build());
    seeds.push_back(ZipWriter()
                        .SetLeadingBytes(std::string(300, 'L'))
                        .AddFile("x/y/z.txt", SampleText(900, 36))
                        .AddFile("empty", "")
                        .Build());
    seeds.push_back(ZipWriter().AddFile("one", SampleText(20000, 37)).Build());
    return seeds;
}

// Opens a damaged archive with one flavour and reads all it can into guarded
// buffers. Returns false when something wrote outside the buffer or looped.
bool Exercise(const ZipFlavour& flavour, const GuardedBytes& bytes, int& outcome) {
    ZipReader reader(flavour);
    const int opened = reader.Open(bytes.Data(), bytes.Size(), ZIP_MEMORY, "pw");
    outcome = opened;
    if (opened != ZR_OK)
        return true;
    constexpr unsigned kChunk = 1500;
    constexpr size_t kGuard = 16;
    std::vector<unsigned char> buffer(kChunk + 2 * kGuard);
    for (int i = 0; i < reader.EntryCount() && i < 8; ++i) {
        ZipEntry e;
        reader.GetEntry(i, e);
        int index;
        reader.FindEntry(e.name, true, index, e);
        int calls = 0;
        int r;
        do {
            memset(buffer.data(), 0x5A, buffer.size());
            r = reader.Unzip(i, buffer.data() + kGuard, kChunk, ZIP_MEMORY);
            for (size_t g = 0; g < kGuard; ++g) {
                if (buffer[g] != 0x5A || buffer[kGuard + kChunk + g] != 0x5A)
                    return false;
            }
            if (++calls > 20000)
                return false; // at most ~30 MB can come out of these small archives
        } while (r == ZR_MORE);
        outcome = r;
    }
    return reader.Close() == ZR_OK;
}

} // namespace

TEST(ZipRobustness, SurvivesTensOfThousandsOfDamagedArchives) {
    const std::vector<ZipImage> seeds = RobustnessSeeds();
    // Sanity: every seed is read completely by both flavours.
    for (const ZipImage& seed : seeds) {
        GuardedBytes bytes(seed.bytes);
        int outcome;
        ASSERT_TRUE(Exercise(kFrameworkZipFlavour, bytes, outcome));
        EXPECT_EQ(ZR_OK, outcome);
        ASSERT_TRUE(Exercise(kApplicationZipFlavour, bytes, outcome));
        EXPECT_EQ(ZR_OK, outcome);
    }
    const int rounds = IsCodePage936Run() ? 6000 : 24000;
    std::mt19937 random(20240601);
    int opened = 0;
    for (int round = 0; round < rounds; ++round) {
        const ZipImage& seed = seeds[round % seeds.size()];
        const std::string damaged = CorruptZip(seed, random);
        GuardedBytes bytes(damaged);
        int outcome = 0;
        ASSERT_TRUE(
            Exercise(round % 2 ? kFrameworkZipFlavour : kApplicationZipFlavour, bytes, outcome))
            << "round " << round;
        if (outcome == ZR_OK || outcome == ZR_MORE)
            ++opened;
    }
    // Most damage leaves the archive readable in part; all of it must be
    // handled without faults (a fault ends the program).
    EXPECT_GT(opened, rounds / 10);
}
