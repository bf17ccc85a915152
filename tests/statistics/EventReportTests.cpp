#include <winsock2.h>
#include <windows.h>

#include "statistics/DataStatistics.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/HttpTransport.h"
#include "statistics/TextHelpers.h"
#include "tests/support/HttpTestUtil.h"
#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/FileUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using StatsTest::EventReport;
using TestSupport::LoopbackHttpServer;
using TestSupport::RecordedRequest;
using TestSupport::ScriptedReply;
using TestSupport::TempDir;

namespace {

const char kEventPath[] = "/launchersubmit/eventInfoSubmit";

std::vector<std::string> FragmentNames() {
    return {"DVersion", "Machid", "AppVersion", "GameID", "GVersion"};
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class EventReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        listPath = dir / L"Serverlist.ini";
        ASSERT_TRUE(
            StatsTest::WriteServerList(listPath, StatsTest::StandardServerList(server.BaseUrl())));
        object.SetServerListPath(listPath.c_str());
    }

    // Submits through the interface and returns the one request's report.
    EventReport Submit(const wchar_t* code, const std::wstring& fragment, int mask) {
        const size_t before = server.RequestCount();
        EXPECT_EQ(object.SubmitEventInst(code, fragment.c_str(), &mask), STAT_OK);
        const auto requests = server.Requests();
        EXPECT_EQ(requests.size(), before + 1);
        if (requests.size() != before + 1) {
            return EventReport();
        }
        last = requests.back();
        EXPECT_EQ(last.method, "POST");
        EXPECT_EQ(last.path, kEventPath);
        return StatsTest::DecodeEventBody(last.body);
    }

    TempDir dir{L"event"};
    LoopbackHttpServer server;
    std::wstring listPath;
    CDataStatisticsImp object;
    RecordedRequest last;
};

TEST_F(EventReportTest, BodyIsTheCodeAndThePercentEncodedUtf8TextStartingWithTheMacMember) {
    const EventReport report = Submit(L"12990201", StatsTest::MinimalFragment(), 0);
    ASSERT_TRUE(report.wellFormedBody) << last.body;
    EXPECT_EQ(report.code, "12990201");
    EXPECT_EQ(last.body, "code=12990201&info=" + PercentEncode(report.text));
    EXPECT_TRUE(report.validUtf8);
    ASSERT_TRUE(report.validJson) << report.text;
    EXPECT_EQ(report.text.rfind("{\"Mac\":", 0), 0u) << report.text;
    EXPECT_EQ(report.names, Concat(StatsTest::ComponentNamesWithoutHardware(), FragmentNames()));
}

TEST_F(EventReportTest, MaskSevenPutsTheHardwareGroupsFirstAndALineFeedBeforeTheFragment) {
    const EventReport report = Submit(L"12040000", StatsTest::MinimalFragment(), 7);
    ASSERT_TRUE(report.validJson) << report.text;
    EXPECT_EQ(report.text.rfind("{\"CPU\":[", 0), 0u) << report.text;
    EXPECT_NE(report.text.find("\n,\"DVersion\":\"1.8\""), std::string::npos);
    EXPECT_EQ(report.text.back(), '}');
    EXPECT_EQ(report.names, Concat(StatsTest::ComponentNamesWithHardware(), FragmentNames()));

    const Json::Value& root = report.root;
    EXPECT_TRUE(root["CPU"].isArray());
    EXPECT_GE(root["CPU"].size(), 1u);
    EXPECT_TRUE(root["Memory"].isArray());
    EXPECT_TRUE(root["Memory_Total_Capacity"].isNumeric());
    EXPECT_TRUE(root["Video_Card"].isArray());
    EXPECT_TRUE(StatsTest::IsMadeOf(root["MachId"].asString(), "0123456789ABCDEF", 16));
    EXPECT_TRUE(root["Mac"].isString());
    EXPECT_FALSE(root["OS"].asString().empty());
    EXPECT_EQ(root["OS"].asString().find_first_not_of("0123456789"), std::string::npos);
    EXPECT_EQ(root["Sessionid"].asString(), object.SessionId());
}

TEST_F(EventReportTest, EachBitAddsItsOwnGroups) {
    // The first report of the process that asks for hardware opens WMI for the groups it asks;
    // later reports take every group from the caches.
    Submit(L"1", StatsTest::MinimalFragment(), 7);
    EXPECT_EQ(Submit(L"1", StatsTest::MinimalFragment(), 1).names[0], "CPU");
    const EventReport memory = Submit(L"1", StatsTest::MinimalFragment(), 2);
    EXPECT_EQ(std::vector<std::string>(memory.names.begin(), memory.names.begin() + 5),
              (std::vector<std::string>{"Mac", "MachId", "Memory", "Memory_Total_Capacity", "OS"}));
    const EventReport video = Submit(L"1", StatsTest::MinimalFragment(), 4);
    EXPECT_EQ(video.names[4], "Video_Card");
    EXPECT_EQ(video.names.size(), 5u + FragmentNames().size());
}

TEST_F(EventReportTest, EveryObjectSendsItsOwnSessionIdUnlessOneIsSet) {
    const EventReport first = Submit(L"12040000", StatsTest::MinimalFragment(), 0);
    CDataStatisticsImp other;
    other.SetServerListPath(listPath.c_str());
    int mask = 0;
    ASSERT_EQ(other.SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &mask),
              STAT_OK);
    const EventReport second = StatsTest::DecodeEventBody(server.Requests().back().body);
    EXPECT_NE(first.root["Sessionid"].asString(), second.root["Sessionid"].asString());

    object.SetSessionId(L"session-7");
    EXPECT_EQ(Submit(L"12040000", StatsTest::MinimalFragment(), 0).root["Sessionid"].asString(),
              "session-7");
}

TEST_F(EventReportTest, NarrowFormReadsItsTextsAsCodePage936) {
    StatsTest::ExpectedCodePage936();
    // GVersion "测试" in code page 936, and a code with one such character.
    const char* fragment = ",\"DVersion\":\"1.8\",\"AppVersion\":\"\",\"GameID\":\"1001\","
                           "\"GVersion\":\"\xB2\xE2\xCA\xD4\"";
    int mask = 0;
    ASSERT_EQ(object.SubmitEventInst("12040000", fragment, &mask), STAT_OK);
    const EventReport report = StatsTest::DecodeEventBody(server.Requests().back().body);
    ASSERT_TRUE(report.validJson) << report.text;
    EXPECT_TRUE(report.validUtf8);
    EXPECT_EQ(report.root["GVersion"].asString(), "\xE6\xB5\x8B\xE8\xAF\x95");
}

TEST_F(EventReportTest, WideFormSendsNonAsciiAndEscapedValuesAsUtf8) {
    StatsTest::ExpectedCodePage936();
    const std::wstring fragment = L",\"DVersion\":\"1.8\",\"AppVersion\":\"\",\"GameID\":\"1001\","
                                  L"\"GVersion\":\"版本 \\\"q\\\" \\\\ é\\r\\n😀\"";
    const EventReport report = Submit(L"12040000", fragment, 0);
    ASSERT_TRUE(report.validJson) << report.text;
    EXPECT_TRUE(report.validUtf8);
    EXPECT_EQ(report.root["GVersion"].asString(), TestSupport::ToUtf8(L"版本 \"q\" \\ é\r\n😀"));
    // Raw UTF-8 on the wire, not \u escapes.
    EXPECT_NE(report.text.find(TestSupport::ToUtf8(L"版本")), std::string::npos);
}

TEST_F(EventReportTest, CodeTravelsAsUtf8WithoutEncoding) {
    const EventReport report = Submit(L"事1", StatsTest::MinimalFragment(), 0);
    EXPECT_EQ(last.body.rfind("code=\xE4\xBA\x8B"
                              "1&info=",
                              0),
              0u);
    EXPECT_TRUE(report.validJson);
}

TEST_F(EventReportTest, BodyBuiltWithoutTheNetworkFailsOnAMissingSubmitKeyword) {
    object.LoadKeyWords(listPath, L"SubmitEventInst");
    std::string body = "untouched";
    int mask = 0;
    EXPECT_EQ(object.BuildEventBody(L"12040000", StatsTest::MinimalFragment().c_str(), &mask, body),
              STAT_OK);
    EXPECT_EQ(body.rfind("code=12040000&info=%7B%22Mac%22%3A%22", 0), 0u) << body;

    ASSERT_TRUE(StatsTest::WriteServerList(
        listPath, "[SubmitEventInst]\nSubmitDataKeyWord=MachId;Sequence\n"));
    object.LoadKeyWords(listPath, L"SubmitEventInst");
    body = "untouched";
    EXPECT_EQ(object.BuildEventBody(L"12040000", L"", &mask, body), STAT_BODY_FAILED);
    EXPECT_EQ(body, "untouched");
}

// ---- the URL list and the send loop ----

class SendLoopTest : public EventReportTest {
protected:
    void WriteUrls(const std::vector<std::pair<std::string, std::string>>& keysAndUrls) {
        std::string text = "[SubmitEventInst]\nInputDataKeyWord=DVersion;GameID\n"
                           "SubmitDataKeyWord=MachId;Mac;OS\n";
        for (const auto& entry : keysAndUrls) {
            text += entry.first + "=" + entry.second + "\n";
        }
        ASSERT_TRUE(StatsTest::WriteServerList(listPath, text));
    }

    int SubmitOnce() { return SubmitOnce(object); }

    int SubmitOnce(CDataStatisticsImp& through) {
        int mask = 0;
        return through.SubmitEventInst(L"12040000", StatsTest::MinimalFragment().c_str(), &mask);
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const auto& request : server.Requests()) {
            paths.push_back(request.path);
        }
        return paths;
    }

    std::string Refused() const {
        return "http://127.0.0.1:" + std::to_string(HttpTestUtil::UnusedPort()) + "/refused";
    }
};

TEST_F(SendLoopTest, TriesEachUrlInTurnUntilAReplyReportsSuccess) {
    server.SetReplyForPath("/fail", ScriptedReply::Failure());
    WriteUrls({{"SubmitUrl", Refused()},
               {"SubmitUrl1", server.Url("/fail")},
               {"SubmitUrl2", server.Url("/ok")},
               {"SubmitUrl3", server.Url("/never")}});
    EXPECT_EQ(SubmitOnce(), STAT_OK);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/fail", "/ok"}));
    // Every server got the same body.
    const auto requests = server.Requests();
    EXPECT_EQ(requests[0].body, requests[1].body);
}

TEST_F(SendLoopTest, TheFirstMissingNumberEndsTheList) {
    WriteUrls({{"SubmitUrl", server.Url("/first")}, {"SubmitUrl2", server.Url("/second")}});
    object.LoadSubmitUrls(listPath, L"SubmitEventInst");
    EXPECT_EQ(object.SubmitUrls(), std::vector<std::string>{server.Url("/first")});
    server.SetDefaultReply(ScriptedReply::Failure());
    EXPECT_EQ(SubmitOnce(), STAT_FAILED);
    EXPECT_EQ(Paths(), std::vector<std::string>{"/first"});
}

TEST_F(SendLoopTest, ManyNumberedUrlsAreAllRead) {
    std::vector<std::pair<std::string, std::string>> urls = {{"SubmitUrl", server.Url("/u0")}};
    for (int i = 1; i <= 12; ++i) {
        urls.push_back({"SubmitUrl" + std::to_string(i), server.Url("/u" + std::to_string(i))});
    }
    WriteUrls(urls);
    server.SetDefaultReply(ScriptedReply::Failure());
    server.SetReplyForPath("/u12", ScriptedReply::Success());
    EXPECT_EQ(SubmitOnce(), STAT_OK);
    EXPECT_EQ(server.RequestCount(), 13u);
}

TEST_F(SendLoopTest, OnlyTheReplyMarkerCounts) {
    WriteUrls({{"SubmitUrl", server.Url("/a")}});
    server.PushReply(ScriptedReply::Ok("{\"error\":01,\"more\":1}"));
    EXPECT_EQ(SubmitOnce(), STAT_OK);
    server.PushReply(ScriptedReply::Status(500, "{\"error\":0}"));
    EXPECT_EQ(SubmitOnce(), STAT_OK);
    server.PushReply(ScriptedReply::Ok("{\"error\": 0}"));
    EXPECT_EQ(SubmitOnce(), STAT_FAILED);
    server.PushReply(ScriptedReply::Ok("{\"Error\":0}"));
    EXPECT_EQ(SubmitOnce(), STAT_FAILED);
    server.PushReply(ScriptedReply::Close());
    EXPECT_EQ(SubmitOnce(), STAT_FAILED);
}

TEST_F(SendLoopTest, AStallingServerIsLeftAfterTheTimeOut) {
    CDataStatisticsImp shortWait(HttpTimeouts{500, 500});
    shortWait.SetServerListPath(listPath.c_str());
    server.SetReplyForPath("/stall", ScriptedReply::Stall(20000));
    WriteUrls({{"SubmitUrl", server.Url("/stall")}, {"SubmitUrl1", server.Url("/ok")}});
    const HttpTestUtil::Stopwatch watch;
    EXPECT_EQ(SubmitOnce(shortWait), STAT_OK);
    EXPECT_LT(watch.ElapsedMs(), 3000);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/stall", "/ok"}));
}

// What the program's component gives each server: three seconds, then the next one.
TEST_F(SendLoopTest, AStallingServerIsLeftAfterTheReportsThreeSeconds) {
    server.SetReplyForPath("/stall", ScriptedReply::Stall(20000));
    WriteUrls({{"SubmitUrl", server.Url("/stall")}, {"SubmitUrl1", server.Url("/ok")}});
    const HttpTestUtil::Stopwatch watch;
    EXPECT_EQ(SubmitOnce(), STAT_OK);
    EXPECT_GE(watch.ElapsedMs(), 2900);
    EXPECT_LT(watch.ElapsedMs(), 10000);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/stall", "/ok"}));
}

// The parsed list is kept for the process: a list rewritten between two reports (same size,
// one object, as the uninstaller's events see it) must still be read again.
TEST_F(SendLoopTest, AListRewrittenBetweenReportsIsReadAgain) {
    WriteUrls({{"SubmitUrl", server.Url("/one")}});
    EXPECT_EQ(SubmitOnce(), STAT_OK);
    ::Sleep(20);
    WriteUrls({{"SubmitUrl", server.Url("/two")}});
    EXPECT_EQ(SubmitOnce(), STAT_OK);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/one", "/two"}));
}

} // namespace
