#include <winsock2.h>
#include <windows.h>

#include "statistics/CrashDumpFilter.h"
#include "statistics/DataStatistics.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/MachId.h"
#include "tests/statistics/FailingAllocator.h"
#include "tests/statistics/StatisticsTestUtil.h"
#include "tests/support/FileUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using TestSupport::LoopbackHttpServer;
using TestSupport::TempDir;

namespace {

const char kEventPath[] = "/launchersubmit/eventInfoSubmit";

struct ObjectHolder {
    IDataStatisticsUser* object = nullptr;
    ObjectHolder() { CreateDataStatisticsObject(DATA_STATISTICS_USER_IID, &object); }
    ~ObjectHolder() { ReleaseDataStatisticsObject(&object); }
    IDataStatisticsUser* operator->() const { return object; }
};

// ---- creation, release, ids ----

TEST(DataStatisticsObject, CreatedByItsIdInAnyLetterCaseOnly) {
    IDataStatisticsUser* object = nullptr;
    EXPECT_EQ(CreateDataStatisticsObject(L"{91095a15-3c46-43B5-ba5f-462064037e59}", &object), 0);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(ReleaseDataStatisticsObject(&object), 0);
    EXPECT_EQ(object, nullptr);

    IDataStatisticsUser* const marker = reinterpret_cast<IDataStatisticsUser*>(0x1234);
    IDataStatisticsUser* untouched = marker;
    EXPECT_EQ(CreateDataStatisticsObject(L"{91095A15-3C46-43b5-BA5F-462064037E5A}", &untouched), 0);
    EXPECT_EQ(untouched, marker);
    EXPECT_EQ(CreateDataStatisticsObject(L"", &untouched), 0);
    EXPECT_EQ(CreateDataStatisticsObject(nullptr, &untouched), 0);
    EXPECT_EQ(untouched, marker);
    EXPECT_EQ(CreateDataStatisticsObject(DATA_STATISTICS_USER_IID, nullptr), 0);
}

TEST(DataStatisticsObject, ReleaseNullsThePointerAndASecondReleaseReportsOne) {
    IDataStatisticsUser* object = nullptr;
    CreateDataStatisticsObject(DATA_STATISTICS_USER_IID, &object);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(ReleaseDataStatisticsObject(&object), 0);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(ReleaseDataStatisticsObject(&object), 1);
    EXPECT_EQ(ReleaseDataStatisticsObject(nullptr), 1);
}

TEST(DataStatisticsObject, EachObjectHasItsOwnSessionIdOfEightHexDigits) {
    CDataStatisticsImp first;
    CDataStatisticsImp second;
    EXPECT_TRUE(StatsTest::IsMadeOf(first.SessionId(), "0123456789ABCDEF", 8)) << first.SessionId();
    EXPECT_TRUE(StatsTest::IsMadeOf(second.SessionId(), "0123456789ABCDEF", 8));
    EXPECT_NE(first.SessionId(), second.SessionId());
}

TEST(DataStatisticsObject, SessionIdSetters) {
    CDataStatisticsImp object;
    object.SetSessionId("narrow-id");
    EXPECT_EQ(object.SessionId(), "narrow-id");
    object.SetSessionId(L"wide-id");
    EXPECT_EQ(object.SessionId(), "wide-id");
    object.SetSessionId(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(object.SessionId(), "");
    object.SetSessionId(static_cast<const char*>(nullptr));
    EXPECT_EQ(object.SessionId(), "");
}

TEST(DataStatisticsObject, ServerListSettersKeepWideTextAndReadNarrowTextAs936) {
    CDataStatisticsImp object;
    object.SetServerListPath(L"C:\\列表\\Serverlist.ini");
    EXPECT_EQ(object.ServerListPath(), L"C:\\列表\\Serverlist.ini");
    // "列表" in code page 936, whatever the system's code page.
    object.SetServerListPath("C:\\\xC1\xD0\xB1\xED\\Serverlist.ini");
    EXPECT_EQ(object.ServerListPath(), L"C:\\列表\\Serverlist.ini");
    object.SetServerListPath(static_cast<const char*>(nullptr));
    EXPECT_EQ(object.ServerListPath(), L"");
}

// ---- machine identifier ----

TEST(MachineId, AnswerIsTwoGroupsOfEightDigitsFromTheIdentifier) {
    std::string machId;
    ComputeMachId(machId);
    ASSERT_EQ(machId.size(), 16u);
    ObjectHolder object;
    char buffer[2600] = {};
    int size = 2600;
    EXPECT_EQ(object->GetMachineId(buffer, &size), 1);
    EXPECT_TRUE(StatsTest::IsMachineIdAnswer(buffer)) << buffer;
    EXPECT_EQ(std::string(buffer), "0x" + machId.substr(0, 8) + ", 0x" + machId.substr(8, 8));
    EXPECT_EQ(size, 2600);
}

TEST(MachineId, SizeMustHoldTheTerminator) {
    ObjectHolder object;
    char buffer[32];
    std::memset(buffer, 'x', sizeof(buffer));
    int size = 22;
    EXPECT_EQ(object->GetMachineId(buffer, &size), 22);
    EXPECT_EQ(buffer[0], 'x');
    size = 23;
    EXPECT_EQ(object->GetMachineId(buffer, &size), 1);
    EXPECT_EQ(std::strlen(buffer), 22u);
    EXPECT_EQ(buffer[23], 'x');
    size = 0;
    EXPECT_EQ(object->GetMachineId(static_cast<char*>(nullptr), &size), 22);
    EXPECT_EQ(object->GetMachineId(buffer, static_cast<const int*>(nullptr)), 0);
}

TEST(MachineId, WideFormGivesTheSameText) {
    ObjectHolder object;
    char narrow[64] = {};
    int narrowSize = 64;
    ASSERT_EQ(object->GetMachineId(narrow, &narrowSize), 1);
    wchar_t wide[64] = {};
    int wideSize = 22;
    EXPECT_EQ(object->GetMachineId(wide, &wideSize), 22);
    wideSize = 23;
    EXPECT_EQ(object->GetMachineId(wide, &wideSize), 1);
    EXPECT_EQ(TestSupport::ToUtf8(wide), narrow);
}

TEST(MachineId, DefaultObjectAnswersForTheApplication) {
    char buffer[2600] = {};
    EXPECT_EQ(GetDefaultMachineId(buffer, sizeof(buffer)), 1);
    EXPECT_TRUE(StatsTest::IsMachineIdAnswer(buffer)) << buffer;
    char small[8] = {};
    EXPECT_EQ(GetDefaultMachineId(small, sizeof(small)), 22);
}

// ---- statuses of the event report ----

class StatusTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        listPath = dir / L"Serverlist.ini";
        ASSERT_TRUE(
            StatsTest::WriteServerList(listPath, StatsTest::StandardServerList(server.BaseUrl())));
        ASSERT_NE(object.object, nullptr);
        object->SetServerListPath(listPath.c_str());
    }

    TempDir dir{L"status"};
    LoopbackHttpServer server;
    std::wstring listPath;
    ObjectHolder object;
    int noHardware = 0;
};

TEST_F(StatusTest, AcceptedReportIsOne) {
    EXPECT_EQ(
        object->SubmitEventInst(L"12050000", StatsTest::MinimalFragment().c_str(), &noHardware),
        STAT_OK);
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(StatusTest, MissingInputKeywordIsElevenAndNothingIsSent) {
    const std::wstring withoutVersion =
        L",\"DVersion\":\"1.8\",\"AppVersion\":\"\",\"GameID\":\"1001\"";
    EXPECT_EQ(object->SubmitEventInst(L"12040000", withoutVersion.c_str(), &noHardware),
              STAT_INPUT_KEY_MISSING);
    EXPECT_EQ(object->SubmitEventDownload(L"12040000", withoutVersion.c_str(), &noHardware),
              STAT_INPUT_KEY_MISSING);
    // The keyword check is a plain substring search, case-sensitive.
    const std::wstring lowerCase =
        L",\"dversion\":\"1.8\",\"AppVersion\":\"\",\"GameID\":\"1\",\"GVersion\":\"2\"";
    EXPECT_EQ(object->SubmitEventInst(L"12040000", lowerCase.c_str(), &noHardware),
              STAT_INPUT_KEY_MISSING);
    const std::wstring insideValues = L",\"x\":\"DVersion GameID GVersion AppVersion\"";
    EXPECT_EQ(object->SubmitEventInst(L"12040000", insideValues.c_str(), &noHardware), STAT_OK);
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(StatusTest, MissingSubmitKeywordIsThirteenAndNothingIsSent) {
    std::string text = StatsTest::StandardServerList(server.BaseUrl());
    const std::string from = "[SubmitEventInst]\n";
    const size_t at = text.find("SubmitDataKeyWord=MachId;Mac;OS", text.find(from));
    text.replace(at, std::strlen("SubmitDataKeyWord=MachId;Mac;OS"),
                 "SubmitDataKeyWord=MachId;Mac;OS;Client_Info");
    ASSERT_TRUE(StatsTest::WriteServerList(listPath, text));
    EXPECT_EQ(
        object->SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &noHardware),
        STAT_BODY_FAILED);
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(StatusTest, MissingServerListIsZeroAndNothingIsSent) {
    object->SetServerListPath((dir / L"nowhere\\Serverlist.ini").c_str());
    EXPECT_EQ(
        object->SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &noHardware),
        STAT_FAILED);
    EXPECT_EQ(
        object->SubmitEventDownload(L"12040000", StatsTest::MinimalFragment().c_str(), &noHardware),
        STAT_FAILED);
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(StatusTest, SectionWithoutUrlsIsZero) {
    ASSERT_TRUE(StatsTest::WriteServerList(
        listPath, "[SubmitEventInst]\nInputDataKeyWord=GameID\nSubmitDataKeyWord=MachId\n"));
    EXPECT_EQ(
        object->SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &noHardware),
        STAT_FAILED);
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(StatusTest, NoServerAcceptingIsZero) {
    server.SetDefaultReply(TestSupport::ScriptedReply::Failure());
    EXPECT_EQ(
        object->SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &noHardware),
        STAT_FAILED);
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(StatusTest, CodeZeroIsNotSentAsAnEvent) {
    EXPECT_EQ(object->SubmitEventInst(L"0", StatsTest::MinimalFragment().c_str(), &noHardware),
              STAT_DEVICE_INPUT_KEY_MISSING);
    for (const auto& request : server.Requests()) {
        EXPECT_NE(request.path, kEventPath);
    }
}

TEST_F(StatusTest, NullMaskAndNullTextsAreHandled) {
    EXPECT_EQ(object->SubmitEventInst(L"12050000", StatsTest::MinimalFragment().c_str(), nullptr),
              STAT_OK);
    EXPECT_EQ(object->SubmitEventInst(static_cast<const wchar_t*>(nullptr), nullptr, nullptr),
              STAT_INPUT_KEY_MISSING);
    EXPECT_EQ(object->SubmitEventInst(static_cast<const char*>(nullptr), nullptr, nullptr),
              STAT_INPUT_KEY_MISSING);
    EXPECT_EQ(server.RequestCount(), 1u);
}

// ---- exceptions ----

LPTOP_LEVEL_EXCEPTION_FILTER CurrentFilter() {
    const LPTOP_LEVEL_EXCEPTION_FILTER current = ::SetUnhandledExceptionFilter(nullptr);
    ::SetUnhandledExceptionFilter(current);
    return current;
}

class ExceptionTest : public StatusTest {
protected:
    void TearDown() override { FailingAllocator::Disarm(); }
};

TEST_F(ExceptionTest, ExhaustedMemoryIsSixteenAndLeavesTheDumpFilterInstalled) {
    ::SetUnhandledExceptionFilter(nullptr);
    const std::wstring fragment = StatsTest::MinimalFragment();
    FailingAllocator::FailAfter(0);
    const int status = object->SubmitEventInst(L"12040000", fragment.c_str(), &noHardware);
    FailingAllocator::Disarm();
    EXPECT_EQ(status, STAT_EXCEPTION);
    EXPECT_EQ(CurrentFilter(), &CrashDumpExceptionFilter);
    EXPECT_EQ(server.RequestCount(), 0u);

    // The object stays usable.
    EXPECT_EQ(
        object->SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &noHardware),
        STAT_OK);
}

TEST_F(ExceptionTest, ExhaustionAnywhereInAReportIsAStatusNeverACrash) {
    const std::string fragment = "\x2C\x22"
                                 "DVersion\":\"1.8\",\"AppVersion\":\"\",\"GameID\":"
                                 "\"1\",\"GVersion\":\"2\"";
    FailingAllocator::StartCounting();
    ASSERT_EQ(object->SubmitEventInst("12040000", fragment.c_str(), &noHardware), STAT_OK);
    const long total = FailingAllocator::Count();
    FailingAllocator::Disarm();
    ASSERT_GT(total, 10);

    int exceptions = 0;
    for (const long at : {0L, 1L, total / 10, total / 3, total / 2, total * 3 / 4, total * 9 / 10,
                          total - 2, total - 1}) {
        FailingAllocator::FailAfter(at);
        const int status = object->SubmitEventInst("12040000", fragment.c_str(), &noHardware);
        FailingAllocator::Disarm();
        // A failed allocation inside the transfer only loses the reply.
        EXPECT_TRUE(status == STAT_EXCEPTION || status == STAT_FAILED || status == STAT_OK)
            << "after " << at << ": " << status;
        exceptions += status == STAT_EXCEPTION ? 1 : 0;
    }
    EXPECT_GE(exceptions, 3);
    EXPECT_EQ(object->SubmitEventInst("12040000", fragment.c_str(), &noHardware), STAT_OK);
}

TEST_F(ExceptionTest, SettersSwallowExhaustionAndKeepTheirValue) {
    object->SetSessionId("kept");
    FailingAllocator::FailAfter(0);
    object->SetSessionId(L"a session id long enough to need memory of its own");
    FailingAllocator::Disarm();
    EXPECT_EQ(static_cast<CDataStatisticsImp*>(object.object)->SessionId(), "kept");
}

// ---- in a child: the list beside the component, and crashes ----

const wchar_t kChildVariable[] = L"UNINST_COMPONENT_CHILD";

// Runs only inside the copies that the tests below start.
TEST(ComponentChild, Run) {
    const char* mode = std::getenv("UNINST_COMPONENT_CHILD");
    if (mode == nullptr) {
        GTEST_SKIP() << "only runs as a child";
    }
    const std::string which = mode;
    int noHardware = 0;
    if (which == "beside") {
        const std::wstring fragment = L",\"DVersion\":\"1.8\",\"AppVersion\":\"\",\"GameID\":\"1\"";
        ObjectHolder update;
        const char* other = std::getenv("UNINST_OTHER_LIST");
        ASSERT_NE(other, nullptr);
        update->SetServerListPath(other);
        // Passes the update section's input keywords although it lacks GVersion.
        EXPECT_EQ(update->SubmitEventUpdt(L"12040000", fragment.c_str(), &noHardware), STAT_OK);
        // And the set path is replaced for the object's later reports.
        EXPECT_EQ(
            update->SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &noHardware),
            STAT_OK);
        ObjectHolder unset;
        EXPECT_EQ(
            unset->SubmitEventInst(L"12050000", StatsTest::MinimalFragment().c_str(), &noHardware),
            STAT_OK);
        return;
    }
    ObjectHolder object;
    object->SetServerListPath(L"C:\\unused\\Serverlist.ini");
    if (which == "crash-thread") {
        const HANDLE thread =
            ::CreateThread(nullptr, 0, &TestSupport::CrashingThreadProc, nullptr, 0, nullptr);
        ::WaitForSingleObject(thread, 30000);
    } else {
        TestSupport::CrashHere();
    }
    FAIL() << "still alive after the crash";
}

TempDir* MakeChildFolder(const std::wstring& hint, std::wstring& program) {
    TempDir* folder = new TempDir(hint);
    program = folder->Path() + L"\\component_child.exe";
    EXPECT_TRUE(::CopyFileW(TestSupport::OwnProgramPath().c_str(), program.c_str(), FALSE));
    return folder;
}

DWORD RunChild(const std::wstring& program, const std::wstring& folder, const std::wstring& mode,
               std::map<std::wstring, std::wstring> env = {}) {
    env[kChildVariable] = mode;
    TestSupport::ChildProcess child =
        TestSupport::StartTestChild(program, L"ComponentChild.*", folder, env);
    EXPECT_TRUE(child);
    DWORD code = 0xFFFFFFFF;
    EXPECT_TRUE(child.Wait(120000, &code));
    return code;
}

TEST(ComponentModuleFolder, UpdateReportsAndUnsetPathsUseTheListBesideTheComponent) {
    std::wstring program;
    const std::unique_ptr<TempDir> folder(MakeChildFolder(L"beside", program));
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(StatsTest::WriteServerList(folder->Path() + L"\\Serverlist.ini",
                                           StatsTest::StandardServerList(server.Url("/beside"))));
    const std::wstring other = folder->Path() + L"\\other.ini";
    ASSERT_TRUE(
        StatsTest::WriteServerList(other, StatsTest::StandardServerList(server.Url("/set"))));

    EXPECT_EQ(RunChild(program, folder->Path(), L"beside", {{L"UNINST_OTHER_LIST", other}}), 0u);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.path, std::string("/beside") + kEventPath);
    }
}

std::vector<std::wstring> DumpFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((folder + L"\\*.dmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.push_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

void ExpectDumpAfterCrash(const std::wstring& mode) {
    std::wstring program;
    const std::unique_ptr<TempDir> folder(MakeChildFolder(L"crash", program));
    const DWORD code = RunChild(program, folder->Path(), mode);
    EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    const std::vector<std::wstring> dumps = DumpFiles(folder->Path());
    ASSERT_EQ(dumps.size(), 1u);
    // "YYYY-MM-DD-hh-mm-ss-mmm-rr.dmp"
    EXPECT_GE(dumps[0].size(), 28u);
    EXPECT_EQ(TestSupport::ReadFileBytes(folder->Path() + L"\\" + dumps[0]).substr(0, 4), "MDMP");
}

TEST(ComponentCrashDump, CrashAfterAStatisticsOperationLeavesADump) {
    ExpectDumpAfterCrash(L"crash");
}

TEST(ComponentCrashDump, CrashOnAnotherThreadAfterAStatisticsOperationLeavesADump) {
    ExpectDumpAfterCrash(L"crash-thread");
}

} // namespace
