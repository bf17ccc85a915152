#include <windows.h>

#include "statistics/CrashDumpFilter.h"
#include "statistics/DataStatistics.h"
#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

const wchar_t kChildModeVariable[] = L"UNINST_CRASH_CHILD";

std::vector<std::wstring> DumpFiles(const std::wstring& folder) {
    return TestSupport::FilesMatching(folder, L"*.dmp");
}

// "YYYY-MM-DD-hh-mm-ss-mmm-rr.dmp"; the milliseconds have two or three digits.
void ExpectDumpNamedByTime(const std::wstring& name, const SYSTEMTIME& before,
                           const SYSTEMTIME& after) {
    const std::string narrow = TestSupport::ToUtf8(name);
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(
        narrow, parts,
        std::regex(R"((\d{4})-(\d{2})-(\d{2})-(\d{2})-(\d{2})-(\d{2})-(\d{2,3})-(\d{2})\.dmp)")))
        << narrow;
    const int year = std::stoi(parts[1]);
    const int month = std::stoi(parts[2]);
    const int day = std::stoi(parts[3]);
    const bool sameAsBefore = year == before.wYear && month == before.wMonth && day == before.wDay;
    const bool sameAsAfter = year == after.wYear && month == after.wMonth && day == after.wDay;
    EXPECT_TRUE(sameAsBefore || sameAsAfter) << narrow;
    EXPECT_LT(std::stoi(parts[4]), 24);
    EXPECT_LT(std::stoi(parts[7]), 1000);
}

void ExpectMinidump(const std::wstring& path) {
    const std::string bytes = TestSupport::ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 32u);
    EXPECT_EQ(bytes.substr(0, 4), "MDMP");
}

// Runs only inside the child that the tests below start: a crash after a statistics operation,
// whose object installed the filter.
TEST(CrashDumpChild, CrashesWhenAsked) {
    const char* mode = std::getenv("UNINST_CRASH_CHILD");
    if (mode == nullptr) {
        GTEST_SKIP() << "only runs as the crashing child";
    }
    ::SetUnhandledExceptionFilter(nullptr);
    IDataStatisticsUser* object = nullptr;
    CreateDataStatisticsObject(DATA_STATISTICS_USER_IID, &object);
    ASSERT_NE(object, nullptr);
    object->SetServerListPath(L"C:\\unused\\Serverlist.ini");
    if (std::string(mode) == "thread") {
        const HANDLE thread =
            ::CreateThread(nullptr, 0, &TestSupport::CrashingThreadProc, nullptr, 0, nullptr);
        ::WaitForSingleObject(thread, 30000);
    } else {
        TestSupport::CrashHere();
    }
    FAIL() << "still alive after the crash";
}

void RunCrashingChild(const std::wstring& mode) {
    TestSupport::TempDir folder(L"crash");
    SYSTEMTIME before = {};
    ::GetLocalTime(&before);
    TestSupport::ChildProcess child =
        TestSupport::StartTestChild(TestSupport::OwnProgramPath(), L"CrashDumpChild.*",
                                    folder.Path(), {{kChildModeVariable, mode}});
    ASSERT_TRUE(child);
    DWORD code = 0;
    ASSERT_TRUE(child.Wait(60000, &code));
    SYSTEMTIME after = {};
    ::GetLocalTime(&after);

    // Ended by the filter with the exception's code, not by a clean exit.
    EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    const std::vector<std::wstring> dumps = DumpFiles(folder.Path());
    ASSERT_EQ(dumps.size(), 1u);
    ExpectDumpNamedByTime(dumps[0], before, after);
    ExpectMinidump(folder / dumps[0]);
}

TEST(CrashDumpExceptionFilter, CrashAfterAStatisticsOperationLeavesADumpInTheCurrentFolder) {
    RunCrashingChild(L"main");
}

TEST(CrashDumpExceptionFilter, CrashOnAnotherThreadAfterAStatisticsOperationLeavesADump) {
    RunCrashingChild(L"thread");
}

TEST(CrashDumpExceptionFilter, CalledDirectlyWritesADumpAndAsksToEnd) {
    TestSupport::TempDir folder(L"dump");
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));

    CONTEXT context = {};
    ::RtlCaptureContext(&context);
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    record.ExceptionAddress = reinterpret_cast<void*>(&TestSupport::CrashHere);
    EXCEPTION_POINTERS pointers = {&record, &context};
    SYSTEMTIME before = {};
    ::GetLocalTime(&before);
    const LONG result = CrashDumpExceptionFilter(&pointers);
    SYSTEMTIME after = {};
    ::GetLocalTime(&after);
    ::SetCurrentDirectoryW(previous);

    EXPECT_EQ(result, EXCEPTION_EXECUTE_HANDLER);
    const std::vector<std::wstring> dumps = DumpFiles(folder.Path());
    ASSERT_EQ(dumps.size(), 1u);
    ExpectDumpNamedByTime(dumps[0], before, after);
    ExpectMinidump(folder / dumps[0]);
}

} // namespace
