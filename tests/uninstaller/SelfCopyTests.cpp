// The relaunch's copy of the running program: replacing what lies at the copy's path, and
// recognising the same program there.
#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/TempDir.h"
#include "uninstaller/SelfCopy.h"

#include <gtest/gtest.h>

#include <string>

using namespace TestSupport;

namespace {

const std::string kProgram = "the program's bytes";

bool ReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void MakeReadOnly(const std::wstring& path) {
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
}

struct CopyCase {
    const char* what;
    bool sourceReadOnly;
    const char* earlier; // what lies at the copy's path before; null for nothing
    bool earlierReadOnly;
    bool earlierHeld; // open without write sharing, as a running program's file
    bool copied;
};

TEST(SelfCopy, TheCopyIsWritableWhateverLayThereBefore) {
    const CopyCase cases[] = {
        {"no earlier copy", false, nullptr, false, false, true},
        {"an earlier copy", false, "older", false, false, true},
        {"a read-only program", true, nullptr, false, false, true},
        {"a read-only program over a read-only copy", true, "older", true, false, true},
        {"a read-only earlier copy", false, "older", true, false, true},
        {"an earlier copy in use", false, "older", false, true, false},
        {"a read-only earlier copy in use", false, "older", true, true, false},
    };
    for (const CopyCase& c : cases) {
        TempDir dir(L"selfcopy");
        const std::wstring source = dir / L"source.exe";
        const std::wstring target = dir / L"uninst.exe";
        ASSERT_TRUE(WriteFileBytes(source, kProgram));
        if (c.sourceReadOnly)
            MakeReadOnly(source);
        if (c.earlier) {
            ASSERT_TRUE(WriteFileBytes(target, c.earlier));
            if (c.earlierReadOnly)
                MakeReadOnly(target);
        }
        const HANDLE held = c.earlierHeld
                                ? CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, 0, nullptr)
                                : INVALID_HANDLE_VALUE;
        EXPECT_EQ(CopyWritable(source, target), c.copied) << c.what;
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(ReadFileBytes(target), c.copied ? kProgram : std::string(c.earlier)) << c.what;
        // A copy that was refused keeps its attributes; one that was made can be deleted.
        EXPECT_EQ(ReadOnly(target), !c.copied && c.earlierReadOnly) << c.what;
        if (c.copied) {
            EXPECT_TRUE(DeleteFileW(target.c_str())) << c.what;
        }
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(SelfCopy, AFolderAtTheCopysPathIsLeftAlone) {
    TempDir dir(L"selfcopy");
    ASSERT_TRUE(WriteFileBytes(dir / L"source.exe", kProgram));
    ASSERT_TRUE(CreateDirectoryW((dir / L"uninst.exe").c_str(), nullptr));
    EXPECT_FALSE(CopyWritable(dir / L"source.exe", dir / L"uninst.exe"));
    EXPECT_TRUE(DirExists(dir / L"uninst.exe"));
}

TEST(SelfCopy, OnlyExactlyTheSameBytesAreHeld) {
    // Larger than one read, differing only in the last byte.
    const std::string big(200000, 'x');
    const struct {
        const char* what;
        std::string source;
        const char* target; // null: nothing at the path
        bool same;
    } cases[] = {
        {"the same bytes", kProgram, kProgram.c_str(), true},
        {"the same large file", big, nullptr, true},
        {"one byte differs", kProgram, "the program's bytez", false},
        {"a shorter file", kProgram, "the program's", false},
        {"a longer file", kProgram, "the program's bytes!", false},
        {"an empty file", kProgram, "", false},
        {"the last byte of a large file differs", big, nullptr, false},
        {"no file", kProgram, nullptr, false},
    };
    for (const auto& c : cases) {
        TempDir dir(L"samebytes");
        const std::wstring source = dir / L"source.exe";
        const std::wstring target = dir / L"uninst.exe";
        ASSERT_TRUE(WriteFileBytes(source, c.source));
        if (c.target) {
            ASSERT_TRUE(WriteFileBytes(target, c.target));
        } else if (c.source == big) {
            ASSERT_TRUE(WriteFileBytes(target, c.same ? big : big.substr(1) + "y"));
        }
        const SkinUI::CFileHandle held = HoldIfSameBytes(target, source);
        EXPECT_EQ(static_cast<bool>(held), c.same) << c.what;
        if (!held)
            continue;
        // What was compared is what will be started: nobody can replace or delete it meanwhile.
        EXPECT_FALSE(CopyFileW(source.c_str(), target.c_str(), FALSE)) << c.what;
        EXPECT_FALSE(DeleteFileW(target.c_str())) << c.what;
        EXPECT_FALSE(MoveFileExW(target.c_str(), (dir / L"moved.exe").c_str(), 0)) << c.what;
    }
}

} // namespace
