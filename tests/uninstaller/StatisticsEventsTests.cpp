#include <winsock2.h>
#include <windows.h>

#include "statistics/DataStatistics.h"
#include "statistics/TextHelpers.h"
#include "tests/support/HttpTestUtil.h"
#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/FileUtil.h"
#include "tests/support/JsonText.h"
#include "tests/uninstaller/EventsTestUtil.h"
#include "uninstaller/ChannelPlugin.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/TextConvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using StatsTest::EventReport;
using TestSupport::ScriptedReply;
using TestSupport::ToUtf8;

namespace {

const char kEventPath[] = "/launchersubmit/eventInfoSubmit";
// The product version in this program's version resource (its file version differs).
const char kOwnProductVersion[] = "3.4.5.6";

std::vector<std::string> Names(std::vector<std::string> component,
                               const std::vector<std::string>& extra = {}) {
    for (const char* name : {"DVersion", "Machid", "AppVersion", "GameID", "GVersion"}) {
        component.push_back(name);
    }
    component.insert(component.end(), extra.begin(), extra.end());
    return component;
}

class CountingPlugin : public VELMORA_INSTALLER::IInstallerChannelPluginBase {
public:
    bool Initialize(ChannelPluginParams*) override { return true; }
    void ReservedForInstaller1() override {}
    void ReservedForInstaller2() override {}
    void OnUninstallComplete() override { ++completions; }
    int completions = 0;
};

class EventsTest : public SessionOverLoopback {
protected:
    // Waits for the event threads and returns the reports that arrived, in arrival order.
    std::vector<EventReport> Reports() {
        session->EventThreads().WaitAll(30000);
        std::vector<EventReport> reports;
        for (const auto& request : server.Requests()) {
            EXPECT_EQ(request.method, "POST");
            EXPECT_EQ(request.path, kEventPath);
            reports.push_back(StatsTest::DecodeEventBody(request.body));
            EXPECT_EQ(request.body, "code=" + reports.back().code +
                                        "&info=" + PercentEncode(reports.back().text));
        }
        return reports;
    }

    EventReport OnlyReport() {
        const std::vector<EventReport> reports = Reports();
        EXPECT_EQ(reports.size(), 1u);
        return reports.empty() ? EventReport() : reports[0];
    }

    // Checks the members that every event of the uninstaller carries.
    void ExpectCommonMembers(const EventReport& report) {
        ASSERT_TRUE(report.wellFormedBody);
        ASSERT_TRUE(report.validUtf8);
        ASSERT_TRUE(report.validJson) << report.text;
        const Json::Value& root = report.root;
        EXPECT_EQ(root["DVersion"].asString(), "1.8");
        EXPECT_TRUE(StatsTest::IsMachineIdAnswer(root["Machid"].asString()))
            << root["Machid"].asString();
        char machId[2600] = {};
        GetDefaultMachineId(machId, sizeof(machId));
        EXPECT_EQ(root["Machid"].asString(), machId);
        EXPECT_EQ(root["AppVersion"].asString(), kOwnProductVersion);
        EXPECT_EQ(root["GameID"].asString(), "1001");
        EXPECT_EQ(root["GVersion"].asString(), ToUtf8(L"1.2.3 测试"));
        EXPECT_TRUE(StatsTest::IsMadeOf(root["Sessionid"].asString(), "0123456789ABCDEF", 8));
        EXPECT_TRUE(StatsTest::IsMadeOf(root["MachId"].asString(), "0123456789ABCDEF", 16));
        EXPECT_EQ(report.text.back(), '}');
        EXPECT_NE(report.text.find("\n,\"DVersion\":\"1.8\",\"Machid\":\""), std::string::npos);
    }
};

TEST_F(EventsTest, ConfirmationAndStayCarryTheHardwareGroupsAndExactlyTheFiveMembers) {
    StatsTest::ExpectedCodePage936();
    const std::pair<const char*, const char*> events[] = {{EVENT_UNINSTALL_CONFIRMED, "12040000"},
                                                          {EVENT_USER_STAYED, "12050000"}};
    for (const auto& event : events) {
        server.ClearRequests();
        SendEvent(*session, event.first, "", 5, "");
        const EventReport report = OnlyReport();
        EXPECT_EQ(report.code, event.second);
        ExpectCommonMembers(report);
        EXPECT_EQ(report.names, Names(StatsTest::ComponentNamesWithHardware()));
        EXPECT_EQ(report.text.rfind("{\"CPU\":[", 0), 0u);
    }
}

TEST_F(EventsTest, FileThatCannotBeDeletedCarriesItsTextEscapedAndNoHardware) {
    StatsTest::ExpectedCodePage936();
    const std::string message =
        ToUtf8(L"C:\\游戏\\文档\\说明 \"1\".txt,Sharing violation.\r\n\ttab é 😀");
    SendEvent(*session, EVENT_FILE_NOT_DELETED, nullptr, 0, message.c_str());
    const EventReport report = OnlyReport();
    EXPECT_EQ(report.code, "12990201");
    ExpectCommonMembers(report);
    EXPECT_EQ(report.names, Names(StatsTest::ComponentNamesWithoutHardware(), {"ErrorMsg"}));
    EXPECT_EQ(report.root["ErrorMsg"].asString(), message);
    // Raw UTF-8 on the wire.
    EXPECT_NE(report.text.find(ToUtf8(L"游戏")), std::string::npos);
}

TEST_F(EventsTest, ValuesCannotAddMembers) {
    const std::string injected = "x\",\"GameID\":\"evil\",\"y\":\"";
    SendEvent(*session, EVENT_FILE_NOT_DELETED, nullptr, 0, injected.c_str());
    const EventReport report = OnlyReport();
    // A duplicate GameID would fail the strict parse.
    ExpectCommonMembers(report);
    EXPECT_EQ(report.root["ErrorMsg"].asString(), injected);
    EXPECT_EQ(report.names.size(), 10u);
}

TEST_F(EventsTest, AnOverlongMessageIsCutAtACharacterBoundary) {
    std::string message;
    for (int i = 0; i < 1000; ++i) {
        message += ToUtf8(L"测");
    }
    SendEvent(*session, EVENT_FILE_NOT_DELETED, nullptr, 0, message.c_str());
    const EventReport report = OnlyReport();
    ExpectCommonMembers(report);
    const std::string sent = report.root["ErrorMsg"].asString();
    EXPECT_EQ(sent.size(), 2598u);
    EXPECT_EQ(message.compare(0, sent.size(), sent), 0);
}

TEST_F(EventsTest, FinalEventCarriesTheAnswersTheSurveyIdAndTheFreeText) {
    StatsTest::ExpectedCodePage936();
    HandleSurveyReply(*session, "{\"active\":true,\"surveyId\":42,\"survey\":[]}");
    CountingPlugin plugin;
    session->plugin = &plugin;
    const std::wstring freeText = L"太贵了 \"quoted\" back\\slash\r\nnext é";
    SubmitSurvey(*session, 1u << 15, freeText);
    EXPECT_EQ(plugin.completions, 1);
    session->plugin = nullptr;

    const EventReport report = OnlyReport();
    EXPECT_EQ(report.code, "12060000");
    ExpectCommonMembers(report);
    EXPECT_EQ(report.names,
              Names(StatsTest::ComponentNamesWithHardware(), {"ErrorMsg", "survey", "surveyid"}));
    EXPECT_EQ(report.root["survey"].asString(), "00001000000000000000");
    EXPECT_TRUE(report.root["surveyid"].isString());
    EXPECT_EQ(report.root["surveyid"].asString(), "42");
    EXPECT_EQ(report.root["ErrorMsg"].asString(), ToUtf8(freeText));
}

TEST_F(EventsTest, FinalEventWithoutQuestionnaireOrTextStillCarriesTheSurveyMembers) {
    SubmitSurvey(*session, 0, L"");
    const EventReport report = OnlyReport();
    ExpectCommonMembers(report);
    EXPECT_EQ(report.names, Names(StatsTest::ComponentNamesWithHardware(), {"survey", "surveyid"}));
    EXPECT_EQ(report.root["survey"].asString(), std::string(20, '0'));
    EXPECT_EQ(report.root["surveyid"].asString(), "0");
}

TEST_F(EventsTest, EveryEventGetsANewSessionId) {
    SendEvent(*session, EVENT_FILE_NOT_DELETED, nullptr, 0, "a");
    session->EventThreads().WaitAll(30000);
    SendEvent(*session, EVENT_FILE_NOT_DELETED, nullptr, 0, "b");
    const std::vector<EventReport> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[0].root["Sessionid"].asString(), reports[1].root["Sessionid"].asString());
}

TEST_F(EventsTest, FourEventsAtOnceAllArriveWhole) {
    SendEvent(*session, EVENT_UNINSTALL_CONFIRMED, nullptr, 0, nullptr);
    SendEvent(*session, EVENT_USER_STAYED, nullptr, 0, nullptr);
    SendEvent(*session, EVENT_FILE_NOT_DELETED, nullptr, 0, "file,text");
    SubmitSurvey(*session, 5, L"text");
    const std::vector<EventReport> reports = Reports();
    ASSERT_EQ(reports.size(), 4u);
    std::set<std::string> codes;
    for (const EventReport& report : reports) {
        ExpectCommonMembers(report);
        codes.insert(report.code);
        const bool hardware = report.code != "12990201";
        EXPECT_EQ(report.names[0], hardware ? "CPU" : "Mac");
    }
    EXPECT_EQ(codes, (std::set<std::string>{"12040000", "12050000", "12060000", "12990201"}));
}

TEST_F(EventsTest, FragmentIsBuiltInOrderWithEscapedValues) {
    const std::wstring fragment = BuildEventExtraJson(*session, "0101", 7, "a\"b");
    const std::wstring start = L",\"DVersion\":\"1.8\",\"Machid\":\"0x";
    EXPECT_EQ(fragment.compare(0, start.size(), start), 0) << ToUtf8(fragment);
    const std::wstring end = L"\",\"AppVersion\":\"3.4.5.6\",\"GameID\":\"1001\","
                             L"\"GVersion\":\"1.2.3 测试\",\"ErrorMsg\":\"a\\\"b\","
                             L"\"survey\":\"0101\",\"surveyid\":\"7\"";
    ASSERT_GT(fragment.size(), end.size());
    EXPECT_EQ(fragment.substr(fragment.size() - end.size()), end) << ToUtf8(fragment);
}

// ---- pieces without the network ----

TEST(AnswerString, TwentyDigitsMostSignificantFirst) {
    EXPECT_EQ(AnswerString(0), "00000000000000000000");
    // Question 1, option 1.
    EXPECT_EQ(AnswerString(1u << 15), "00001000000000000000");
    // Question 4, options 2 and 4.
    EXPECT_EQ(AnswerString((1u << 2) | 1u), "00000000000000000101");
    EXPECT_EQ(AnswerString(0xFFFFFFFFu), "11111111111111111111");
    EXPECT_EQ(AnswerString(1u << 19), "10000000000000000000");
}

TEST(JsonEscape, QuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonEscape(L"plain 文字 é"), L"plain 文字 é");
    EXPECT_EQ(JsonEscape(L"a\"b\\c"), L"a\\\"b\\\\c");
    EXPECT_EQ(JsonEscape(L"\r\n\t\b\f"), L"\\r\\n\\t\\b\\f");
    EXPECT_EQ(JsonEscape(std::wstring(L"\x01\x1f\x7f", 3)), L"\\u0001\\u001f\x7f");
    EXPECT_EQ(JsonEscape(L""), L"");
}

TEST(ProductVersion, OfTheRunningProgramAndOfFilesWithout) {
    EXPECT_EQ(GetProductVersionString(nullptr), kOwnProductVersion);
    wchar_t own[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    EXPECT_EQ(GetProductVersionString(own), kOwnProductVersion);

    TestSupport::TempDir dir(L"ver");
    ASSERT_TRUE(TestSupport::WriteFileBytes(dir / L"data.bin", "no version here"));
    EXPECT_EQ(GetProductVersionString((dir / L"data.bin").c_str()), "");
    EXPECT_EQ(GetProductVersionString((dir / L"missing.exe").c_str()), "");
}

} // namespace
