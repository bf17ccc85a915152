#include <winsock2.h>
#include <windows.h>

#include "statistics/HttpRequestQueue.h"
#include "statistics/HttpTransport.h"
#include "statistics/TextHelpers.h"
#include "tests/support/HttpTestUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/FileUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <thread>
#include <vector>

using HttpTestUtil::Stopwatch;
using TestSupport::LoopbackHttpServer;
using TestSupport::RecordedRequest;
using TestSupport::ScriptedReply;

namespace {

const char kEventPath[] = "/launchersubmit/eventInfoSubmit";

class HttpPostFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitHttpTransport());
        ASSERT_TRUE(server.Start());
    }

    std::string EventUrl() const { return server.Url(kEventPath); }

    LoopbackHttpServer server;
};

std::vector<std::string> HeaderNames(const RecordedRequest& request) {
    std::vector<std::string> names;
    for (const auto& header : request.headers) {
        std::string name = header.name;
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(HttpPostFormTest, PostsTheFormExactlyWithLibcurlsDefaultHeadersOnly) {
    const std::string info = "{\"Mac\":\"00-11\",\n,\"GameID\":\"\xE4\xBD\xA0 x\"}";
    const std::string body = "code=12040000&info=" + PercentEncode(info);
    std::string reply;
    EXPECT_EQ(HttpPostForm(EventUrl().c_str(), body.c_str(), reply, kReportTimeouts), 0);
    EXPECT_EQ(reply, "{\"error\":0,\"msg\":\"ok\"}");

    ASSERT_EQ(server.RequestCount(), 1u);
    const RecordedRequest request = server.Requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, kEventPath);
    EXPECT_EQ(request.body, body);
    EXPECT_EQ(TestSupport::FormField(request.body, "code"), "12040000");
    EXPECT_EQ(TestSupport::FormField(request.body, "info"), info);
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.Header("Content-Length"), std::to_string(body.size()));
    EXPECT_EQ(request.Header("Host"), "127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_FALSE(request.HasHeader("User-Agent"));
    EXPECT_FALSE(request.HasHeader("Cookie"));
    EXPECT_EQ(HeaderNames(request),
              (std::vector<std::string>{"accept", "content-length", "content-type", "host"}));
}

// Any reply, whatever its status, is a completed transfer; only its body is kept, appended.
TEST_F(HttpPostFormTest, RepliesAreAppendedWhateverTheirStatus) {
    // The cap holds the whole reply string, and the transfer appends to "before|".
    std::string big(kMaxHttpReplyBytes - 7, 'x');
    for (size_t i = 0; i < big.size(); i += 997) {
        big[i] = static_cast<char>('a' + i % 26);
    }
    const struct {
        ScriptedReply script;
        int code;
        std::string reply;
    } cases[] = {
        {ScriptedReply::Ok("body"), 0, "body"},
        {ScriptedReply::Failure(), 0, "{\"error\":1,\"msg\":\"rejected\"}"},
        {ScriptedReply::Status(500, "server trouble"), 0, "server trouble"},
        {ScriptedReply::Status(404, "{\"error\":0}"), 0, "{\"error\":0}"},
        {ScriptedReply::Ok(big, "application/octet-stream"), 0, big},
        {ScriptedReply::StallThenReply(200, ScriptedReply::Ok("late")), 0, "late"},
        {ScriptedReply::Close(), 52, ""}, // CURLE_GOT_NOTHING
    };
    for (const auto& c : cases) {
        server.PushReply(c.script);
        std::string reply = "before|";
        EXPECT_EQ(HttpPostForm(EventUrl().c_str(), "code=1", reply, kReportTimeouts), c.code);
        EXPECT_TRUE(reply == "before|" + c.reply) << reply.substr(0, 60);
    }
    EXPECT_EQ(server.RequestCount(), 7u);
}

TEST_F(HttpPostFormTest, NullFieldsPostAnEmptyBody) {
    std::string reply;
    EXPECT_EQ(HttpPostForm(EventUrl().c_str(), nullptr, reply, kReportTimeouts), 0);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].body, "");
    EXPECT_EQ(server.Requests()[0].Header("Content-Length"), "0");
}

TEST_F(HttpPostFormTest, BadUrlsFailWithoutCrashing) {
    std::string reply;
    EXPECT_NE(HttpPostForm(nullptr, "code=1", reply, kReportTimeouts), 0);
    EXPECT_NE(HttpPostForm("", "code=1", reply, kReportTimeouts), 0);
    EXPECT_NE(HttpPostForm("gopher://127.0.0.1:1/x", "code=1", reply, kReportTimeouts), 0);
    EXPECT_EQ(reply, "");
}

TEST_F(HttpPostFormTest, RefusedPortFailsAtOnce) {
    const unsigned short port = HttpTestUtil::UnusedPort();
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + kEventPath;
    std::string reply;
    const Stopwatch watch;
    // 7 is CURLE_COULDNT_CONNECT.
    EXPECT_EQ(HttpPostForm(url.c_str(), "code=1", reply, kReportTimeouts), 7);
    EXPECT_LT(watch.ElapsedMs(), 2000);
    EXPECT_EQ(reply, "");
}

// The real total time-out that every statistics report passes, not a test replacement.
TEST_F(HttpPostFormTest, StalledServerTimesOutAfterTheRealThreeSeconds) {
    server.PushReply(ScriptedReply::Stall(20000));
    std::string reply;
    const Stopwatch watch;
    EXPECT_EQ(HttpPostForm(EventUrl().c_str(), "code=1", reply, kReportTimeouts), 28); // timed out
    const long long elapsed = watch.ElapsedMs();
    EXPECT_GE(elapsed, 2900);
    EXPECT_LT(elapsed, 10000);
    EXPECT_EQ(reply, "");
}

TEST_F(HttpPostFormTest, FullBacklogGivesAConnectTimeOut) {
    TestSupport::FullBacklogListener unreachable;
    ASSERT_TRUE(unreachable.Start());
    const HttpTimeouts shortConnect = {300, kReportTimeouts.totalMs};
    const std::string url = unreachable.BaseUrl() + kEventPath;
    std::string reply;
    const Stopwatch watch;
    EXPECT_EQ(HttpPostForm(url.c_str(), "code=1", reply, shortConnect), 28);
    EXPECT_LT(watch.ElapsedMs(), 2500);
}

TEST_F(HttpPostFormTest, ManyThreadsPostAtOnce) {
    const int kThreads = 8;
    std::vector<int> results(kThreads, -1);
    std::vector<std::string> replies(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            const std::string body = "code=" + std::to_string(i);
            results[i] =
                HttpPostForm(EventUrl().c_str(), body.c_str(), replies[i], kReportTimeouts);
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::set<std::string> bodies;
    for (const auto& request : server.Requests()) {
        bodies.insert(request.body);
    }
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_EQ(results[i], 0) << i;
        EXPECT_NE(replies[i].find("\"error\":0"), std::string::npos) << i;
        EXPECT_EQ(bodies.count("code=" + std::to_string(i)), 1u) << i;
    }
}

TEST(WriteToStringCallback, AppendsOrAbortsWithoutABuffer) {
    std::string reply = "a";
    char bytes[] = "bcd";
    EXPECT_EQ(WriteToStringCallback(bytes, 1, 3, &reply), 3u);
    EXPECT_EQ(reply, "abcd");
    EXPECT_EQ(WriteToStringCallback(bytes, 1, 3, nullptr), static_cast<size_t>(-1));
    EXPECT_EQ(WriteToStringCallback(bytes, 1, 0, &reply), 0u);
    EXPECT_EQ(reply, "abcd");
}

// --- the queue's POST mode, used directly --------------------------------------

TEST_F(HttpPostFormTest, PerformPostSendsItsContentTypeAndTheCookieText) {
    const std::string body = "a=1&b=2&rest-not-sent";
    std::string reply;
    EXPECT_EQ(CHttpRequestQueue::PerformPost(EventUrl().c_str(), body.c_str(), 7, reply, 0,
                                             "session=abc"),
              0);
    EXPECT_EQ(reply, "{\"error\":0,\"msg\":\"ok\"}");
    ASSERT_EQ(server.RequestCount(), 1u);
    const RecordedRequest request = server.Requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.body, "a=1&b=2");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded;charset=UTF-8");
    EXPECT_EQ(request.Header("Cookie"), "session=abc");
}

TEST_F(HttpPostFormTest, PerformPostWithHeaderFlagReturnsTheHeaders) {
    server.SetDefaultReply(ScriptedReply::Ok("payload"));
    std::string reply;
    EXPECT_EQ(CHttpRequestQueue::PerformPost(EventUrl().c_str(), "x=1", 3, reply, 1, "c=1"), 0);
    EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << reply;
    EXPECT_NE(reply.find("Content-Length: 7\r\n"), std::string::npos);
    EXPECT_EQ(reply.substr(reply.size() - 11), "\r\n\r\npayload");
}

TEST_F(HttpPostFormTest, PerformPostStopsAtTheTimeOutsItIsGiven) {
    server.PushReply(ScriptedReply::Stall(20000));
    std::string reply;
    const Stopwatch watch;
    EXPECT_EQ(CHttpRequestQueue::PerformPost(EventUrl().c_str(), "x=1", 3, reply, 0, "c=1",
                                             HttpTimeouts{1000, 300}),
              28);
    EXPECT_LT(watch.ElapsedMs(), 2500);
    EXPECT_EQ(reply, "");
}

TEST_F(HttpPostFormTest, PerformPostWithoutCookieKeepsCookiesInTheCookieFile) {
    const std::string value =
        "v" + std::to_string(::GetTickCount64()) + "_" + std::to_string(::GetCurrentProcessId());
    ScriptedReply setsCookie = ScriptedReply::Success();
    setsCookie.headers.push_back({"Set-Cookie", "tovu_test=" + value + "; Path=/"});
    server.PushReply(setsCookie);
    std::string reply;
    EXPECT_EQ(CHttpRequestQueue::PerformPost(EventUrl().c_str(), "n=1", 3, reply, 0, ""), 0);
    EXPECT_EQ(CHttpRequestQueue::PerformPost(EventUrl().c_str(), "n=2", 3, reply, 0, nullptr), 0);
    ASSERT_EQ(server.RequestCount(), 2u);
    EXPECT_NE(server.Requests()[1].Header("Cookie").find("tovu_test=" + value), std::string::npos);
}

// --- CreateDirectoryPath ------------------------------------------------------------

std::string Narrow(const std::wstring& path) {
    char buffer[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, buffer, sizeof(buffer), nullptr, nullptr);
    return buffer;
}

TEST(CreateDirectoryPath, MakesEveryFolderButNotTheFile) {
    TestSupport::TempDir temp(L"mkpath");
    const std::string file = Narrow(temp / L"a\\b\\c\\cookie.txt");
    EXPECT_EQ(CreateDirectoryPath(file.c_str()), 1);
    EXPECT_TRUE(TestSupport::DirExists(temp / L"a\\b\\c"));
    EXPECT_FALSE(TestSupport::FileExists(temp / L"a\\b\\c\\cookie.txt"));
    EXPECT_FALSE(TestSupport::DirExists(temp / L"a\\b\\c\\cookie.txt"));
    EXPECT_EQ(CreateDirectoryPath(file.c_str()), 1);
}

TEST(CreateDirectoryPath, FileInTheWayOrNullFails) {
    TestSupport::TempDir temp(L"mkpath");
    ASSERT_TRUE(TestSupport::WriteFileBytes(temp / L"blocker", "x"));
    EXPECT_EQ(CreateDirectoryPath(Narrow(temp / L"blocker\\sub\\f.txt").c_str()), 0);
    EXPECT_FALSE(TestSupport::DirExists(temp / L"blocker\\sub"));
    EXPECT_EQ(CreateDirectoryPath(nullptr), 0);
}

} // namespace
