#include <winsock2.h>
#include <windows.h>

#include "statistics/DataStatistics.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/TextHelpers.h"
#include "tests/support/StatisticsTestUtil.h"
#include "tests/support/FileUtil.h"
#include "tests/support/JsonText.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using TestSupport::LoopbackHttpServer;
using TestSupport::ScriptedReply;
using TestSupport::TempDir;

namespace {

const char kBatchPath[] = "/launchersubmit/eventListSubmit";

// The info of a download event: the fragment the input keywords look for.
std::wstring Info(const std::wstring& extra = L"") {
    return StatsTest::MinimalFragment() + extra;
}

class DownloadBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A batch that finds nothing queued starts the count afresh.
        CDataStatisticsImp empty;
        EXPECT_EQ(empty.SubmitEventDownloadSeveral(), STAT_FAILED);
        ASSERT_EQ(GetDownloadBatchCounter(), 0);

        ASSERT_TRUE(server.Start());
        listPath = dir / L"Serverlist.ini";
        ASSERT_TRUE(
            StatsTest::WriteServerList(listPath, StatsTest::StandardServerList(server.BaseUrl())));
        object.SetServerListPath(listPath.c_str());
    }

    int Add(CDataStatisticsImp& target, const std::wstring& code, const std::wstring& info,
            int mask = 0) {
        return target.AddDownloadEvent(code.c_str(), info.c_str(), &mask);
    }
    int Add(const std::wstring& code, const std::wstring& info, int mask = 0) {
        return Add(object, code, info, mask);
    }

    // The batch's array, from the last request.
    Json::Value SentArray() {
        Json::Value array;
        const auto requests = server.Requests();
        EXPECT_FALSE(requests.empty());
        if (requests.empty()) {
            return array;
        }
        const std::string& body = requests.back().body;
        EXPECT_EQ(requests.back().path, kBatchPath);
        EXPECT_EQ(body.rfind("data=", 0), 0u);
        const std::string text = TestSupport::PercentDecode(body.substr(5));
        EXPECT_EQ(body, "data=" + PercentEncode(text));
        EXPECT_TRUE(TestSupport::IsValidUtf8(text));
        EXPECT_EQ(text.back(), '\n');
        EXPECT_TRUE(StatsTest::ParseStrictJson(text, array)) << text;
        EXPECT_TRUE(array.isArray());
        return array;
    }

    TempDir dir{L"batch"};
    LoopbackHttpServer server;
    std::wstring listPath;
    CDataStatisticsImp object;
};

TEST_F(DownloadBatchTest, TwentyCallsAreTakenThenEighteenUntilABatchIsSent) {
    const std::wstring withoutKeyword = L",\"GameID\":\"1\"";
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Add(L"1", withoutKeyword), STAT_INPUT_KEY_MISSING);
    }
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(Add(L"code" + std::to_wstring(i), Info()), STAT_OK);
    }
    // Refused calls counted as well.
    EXPECT_EQ(Add(L"late", Info()), STAT_BATCH_FULL);
    EXPECT_EQ(GetDownloadBatchCounter(), 21);
    EXPECT_EQ(object.QueuedDownloadEvents(), 15u);
    EXPECT_EQ(server.RequestCount(), 0u);

    EXPECT_EQ(object.SubmitEventDownloadSeveral(), STAT_OK);
    EXPECT_EQ(SentArray().size(), 15u);
    EXPECT_EQ(GetDownloadBatchCounter(), 0);
    EXPECT_EQ(object.QueuedDownloadEvents(), 0u);
    EXPECT_EQ(Add(L"after", Info()), STAT_OK);
}

TEST_F(DownloadBatchTest, TheLimitIsSharedByEveryObject) {
    CDataStatisticsImp other;
    other.SetServerListPath(listPath.c_str());
    std::thread first([&] {
        for (int i = 0; i < 10; ++i) {
            Add(object, L"a", Info(L",\"n\":" + std::to_wstring(i)));
        }
    });
    std::thread second([&] {
        for (int i = 0; i < 10; ++i) {
            Add(other, L"b", Info(L",\"n\":" + std::to_wstring(i)));
        }
    });
    first.join();
    second.join();
    EXPECT_EQ(GetDownloadBatchCounter(), 20);
    EXPECT_EQ(Add(other, L"c", Info()), STAT_BATCH_FULL);
    EXPECT_EQ(object.QueuedDownloadEvents() + other.QueuedDownloadEvents(), 20u);
}

TEST_F(DownloadBatchTest, ABatchThatFindsNothingQueuedStartsTheCountAfresh) {
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(Add(L"1", L",\"GameID\":\"1\""), STAT_INPUT_KEY_MISSING);
    }
    EXPECT_EQ(Add(L"1", Info()), STAT_BATCH_FULL);
    EXPECT_EQ(object.SubmitEventDownloadSeveral(), STAT_FAILED);
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_EQ(GetDownloadBatchCounter(), 0);
    EXPECT_EQ(Add(L"1", Info()), STAT_OK);
}

TEST_F(DownloadBatchTest, NullTextsAndAMissingListAreRefused) {
    int mask = 0;
    EXPECT_EQ(object.AddDownloadEvent(static_cast<const wchar_t*>(nullptr), L"x", &mask),
              STAT_FAILED);
    EXPECT_EQ(object.AddDownloadEvent(L"1", static_cast<const wchar_t*>(nullptr), &mask),
              STAT_FAILED);
    EXPECT_EQ(GetDownloadBatchCounter(), 2);
    object.SetServerListPath((dir / L"missing.ini").c_str());
    EXPECT_EQ(Add(L"1", Info()), STAT_NO_SERVER_LIST);
    EXPECT_EQ(object.QueuedDownloadEvents(), 0u);
}

TEST_F(DownloadBatchTest, DuplicatesAreSentOnceAndItemsAreNumberedAcrossBatches) {
    EXPECT_EQ(Add(L"1", Info()), STAT_OK);
    EXPECT_EQ(Add(L"1", Info()), STAT_OK);
    EXPECT_EQ(Add(L"1", Info(), 7), STAT_OK);
    EXPECT_EQ(Add(L"2", Info()), STAT_OK);
    ASSERT_EQ(object.SubmitEventDownloadSeveral(), STAT_OK);
    const Json::Value items = SentArray();
    ASSERT_EQ(items.size(), 3u);

    const std::vector<std::string> codes = {"1", "1", "2"};
    for (Json::ArrayIndex i = 0; i < items.size(); ++i) {
        const Json::Value& item = items[i];
        ASSERT_TRUE(item.isObject());
        EXPECT_EQ(item["code"].asString(), codes[i]);
        ASSERT_TRUE(item["info"].isString());
        const std::string infoText = item["info"].asString();
        Json::Value info;
        ASSERT_TRUE(StatsTest::ParseStrictJson(infoText, info)) << infoText;
        EXPECT_EQ(info["Sequence"].asUInt64(), i);
        EXPECT_EQ(info["Sessionid"].asString(), object.SessionId());
        std::vector<std::string> expected =
            i == 1 ? std::vector<std::string>{"CPU",
                                              "Mac",
                                              "MachId",
                                              "Memory",
                                              "Memory_Total_Capacity",
                                              "OS",
                                              "Sequence",
                                              "Sessionid",
                                              "Video_Card"}
                   : std::vector<std::string>{"Mac", "MachId", "OS", "Sequence", "Sessionid"};
        for (const char* name : {"DVersion", "Machid", "AppVersion", "GameID", "GVersion"}) {
            expected.push_back(name);
        }
        EXPECT_EQ(TestSupport::TopLevelMemberNames(infoText), expected);
    }

    EXPECT_EQ(Add(L"3", Info()), STAT_OK);
    ASSERT_EQ(object.SubmitEventDownloadSeveral(), STAT_OK);
    const Json::Value next = SentArray();
    ASSERT_EQ(next.size(), 1u);
    Json::Value info;
    ASSERT_TRUE(StatsTest::ParseStrictJson(next[0]["info"].asString(), info));
    EXPECT_EQ(info["Sequence"].asUInt64(), 3u);
    EXPECT_EQ(object.Sequence(), 4u);
}

TEST_F(DownloadBatchTest, ABatchNoServerTakesIsDropped) {
    server.SetDefaultReply(ScriptedReply::Failure());
    EXPECT_EQ(Add(L"1", Info()), STAT_OK);
    EXPECT_EQ(object.SubmitEventDownloadSeveral(), STAT_FAILED);
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(object.QueuedDownloadEvents(), 0u);
    EXPECT_EQ(GetDownloadBatchCounter(), 0);
    EXPECT_EQ(object.SubmitEventDownloadSeveral(), STAT_FAILED);
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(DownloadBatchTest, ItemsLackingASubmitKeywordMakeNoBody) {
    std::string text = StatsTest::StandardServerList(server.BaseUrl());
    const size_t section = text.find("[SubmitEventDownload]");
    const size_t key = text.find("SubmitDataKeyWord=MachId;Mac;OS", section);
    text.insert(key + std::string("SubmitDataKeyWord=MachId;Mac;OS").size(), ";NotThere");
    ASSERT_TRUE(StatsTest::WriteServerList(listPath, text));
    EXPECT_EQ(Add(L"1", Info()), STAT_OK);
    EXPECT_EQ(object.SubmitEventDownloadSeveral(), STAT_BATCH_BODY_FAILED);
    EXPECT_EQ(server.RequestCount(), 0u);
    // The batch stays as it was.
    EXPECT_EQ(object.QueuedDownloadEvents(), 1u);
    EXPECT_EQ(GetDownloadBatchCounter(), 1);
    EXPECT_EQ(object.Sequence(), 0u);
}

TEST_F(DownloadBatchTest, NarrowTextsAreReadAs936AndSentAsUtf8) {
    StatsTest::ExpectedCodePage936();
    int mask = 0;
    const std::string info = ",\"DVersion\":\"1.8\",\"AppVersion\":\"\",\"GameID\":\"1001\","
                             "\"GVersion\":\"\xB2\xE2\xCA\xD4 \\\"q\\\"\"";
    EXPECT_EQ(object.AddDownloadEvent("\xB2\xE2", info.c_str(), &mask), STAT_OK);
    ASSERT_EQ(object.SubmitEventDownloadSeveral(), STAT_OK);
    const Json::Value items = SentArray();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]["code"].asString(), "\xE6\xB5\x8B");
    Json::Value parsed;
    ASSERT_TRUE(StatsTest::ParseStrictJson(items[0]["info"].asString(), parsed));
    EXPECT_EQ(parsed["GVersion"].asString(), "\xE6\xB5\x8B\xE8\xAF\x95 \"q\"");
}

TEST(RemoveDuplicateDownloadEvents, KeepsFirstOccurrencesInOrder) {
    std::vector<std::wstring> codes = {L"a", L"b", L"a", L"a", L"b"};
    std::vector<std::wstring> infos = {L"1", L"1", L"1", L"2", L"1"};
    std::vector<int> masks = {0, 0, 0, 0, 7};
    ASSERT_TRUE(CDataStatisticsImp::RemoveDuplicateDownloadEvents(codes, infos, masks));
    EXPECT_EQ(codes, (std::vector<std::wstring>{L"a", L"b", L"a", L"b"}));
    EXPECT_EQ(infos, (std::vector<std::wstring>{L"1", L"1", L"2", L"1"}));
    EXPECT_EQ(masks, (std::vector<int>{0, 0, 0, 7}));

    std::vector<int> shorter = {0};
    EXPECT_FALSE(CDataStatisticsImp::RemoveDuplicateDownloadEvents(codes, infos, shorter));
}

} // namespace
