#include <winsock2.h>
#include <windows.h>

#include "tests/support/HttpTestUtil.h"
#include "tests/support/FileUtil.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using HttpTestUtil::Stopwatch;
using TestSupport::LoopbackHttpServer;
using TestSupport::RecordedRequest;
using TestSupport::ScriptedReply;

namespace {

class Winsock {
public:
    Winsock() {
        WSADATA data = {};
        ::WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { ::WSACleanup(); }
};

SOCKET ConnectTo(unsigned short port) {
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

// Sends the raw request and reads until the server closes (or 10 s pass).
std::string Exchange(unsigned short port, const std::string& request) {
    const Winsock winsock;
    const SOCKET s = ConnectTo(port);
    if (s == INVALID_SOCKET) {
        return "<no connection>";
    }
    ::send(s, request.data(), static_cast<int>(request.size()), 0);
    const DWORD timeout = 10000;
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                 sizeof(timeout));
    std::string response;
    char chunk[4096];
    int n;
    while ((n = ::recv(s, chunk, sizeof(chunk), 0)) > 0) {
        response.append(chunk, static_cast<size_t>(n));
    }
    ::closesocket(s);
    return response;
}

std::string Get(unsigned short port, const std::string& target) {
    return Exchange(port, "GET " + target + " HTTP/1.1\r\nHost: x\r\n\r\n");
}

std::string BodyOf(const std::string& response) {
    const size_t end = response.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : response.substr(end + 4);
}

class LoopbackServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Start()); }
    LoopbackHttpServer server;
};

TEST_F(LoopbackServerTest, RecordsEveryPartOfTheRequest) {
    Exchange(server.Port(), "POST /launchersubmit/eventInfoSubmit?x=1 HTTP/1.1\r\n"
                            "Host: 127.0.0.1\r\nX-First: a\r\nx-second:  b c \r\n"
                            "Content-Length: 11\r\n\r\ncode=1&i=%41");
    Get(server.Port(), "/second");
    ASSERT_TRUE(server.WaitForRequests(2, 5000));
    const std::vector<RecordedRequest> requests = server.Requests();
    const RecordedRequest& post = requests[0];
    EXPECT_EQ(post.sequence, 0u);
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.target, "/launchersubmit/eventInfoSubmit?x=1");
    EXPECT_EQ(post.path, "/launchersubmit/eventInfoSubmit");
    EXPECT_EQ(post.query, "x=1");
    EXPECT_EQ(post.version, "HTTP/1.1");
    ASSERT_EQ(post.headers.size(), 4u);
    EXPECT_EQ(post.headers[1].name, "X-First");
    EXPECT_EQ(post.Header("X-SECOND"), "b c");
    EXPECT_EQ(post.body, "code=1&i=%4"); // exactly Content-Length bytes
    EXPECT_EQ(requests[1].sequence, 1u);
    EXPECT_EQ(requests[1].target, "/second");
    server.ClearRequests();
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(LoopbackServerTest, MalformedRequestIsClosedUnrecorded) {
    EXPECT_EQ(Exchange(server.Port(), "NONSENSE\r\n\r\n"), "");
    EXPECT_EQ(Exchange(server.Port(), "POST /x HTTP/1.1\r\nContent-Length: zz\r\n\r\n"), "");
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_EQ(server.ConnectionCount(), 2u);
}

TEST_F(LoopbackServerTest, RepliesFollowTheirPrecedence) {
    server.SetDefaultReply(ScriptedReply::Ok("default"));
    server.SetHandler([](const RecordedRequest& r) {
        return r.path == "/handled" ? ScriptedReply::Ok("handler") : ScriptedReply::Ok("h-other");
    });
    server.SetReplyForPath("/p", ScriptedReply::Ok("path"));
    server.PushReplyForPath("/p", ScriptedReply::Ok("path-once"));
    server.PushReply(ScriptedReply::Status(503, "once"));

    const std::string first = Get(server.Port(), "/p?q=1");
    EXPECT_EQ(first.rfind("HTTP/1.1 503 Service Unavailable\r\n", 0), 0u);
    EXPECT_EQ(BodyOf(first), "once");
    EXPECT_EQ(BodyOf(Get(server.Port(), "/p")), "path-once");
    EXPECT_EQ(BodyOf(Get(server.Port(), "/p")), "path");
    EXPECT_EQ(BodyOf(Get(server.Port(), "/handled")), "handler");
    EXPECT_EQ(BodyOf(Get(server.Port(), "/other")), "h-other");
    server.SetHandler(nullptr);
    EXPECT_EQ(BodyOf(Get(server.Port(), "/other")), "default");
}

TEST_F(LoopbackServerTest, StopEndsAStallAtOnce) {
    server.PushReply(ScriptedReply::Stall(60000));
    std::string response = "unset";
    std::thread client([&] { response = Get(server.Port(), "/long"); });
    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    const Stopwatch watch;
    server.Stop();
    client.join();
    EXPECT_LT(watch.ElapsedMs(), 3000);
    EXPECT_EQ(response, "");
}

TEST(FullBacklogListener, NewConnectionsDoNotComplete) {
    TestSupport::FullBacklogListener listener;
    ASSERT_TRUE(listener.Start());
    const Winsock winsock;
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    ::ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(listener.Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    timeval wait = {0, 300 * 1000};
    EXPECT_EQ(::select(0, nullptr, &writable, nullptr, &wait), 0);
    ::closesocket(s);
}

TEST(FormDecoding, PercentAndPlus) {
    EXPECT_EQ(TestSupport::PercentDecode("a%20b+c%2B%E4%bd%A0%zz%4"), "a b c+\xE4\xBD\xA0%zz%4");
    EXPECT_EQ(TestSupport::FormField("code=12&info=%7B%7D&x", "info"), "{}");
    EXPECT_EQ(TestSupport::FormField("code=12&info=%7B%7D&x", "code"), "12");
    EXPECT_EQ(TestSupport::FormField("code=12&info=%7B%7D&x", "x"), "");
    EXPECT_EQ(TestSupport::FormField("code=12", "missing"), "");
}

// --- the stand-alone server of the demo ------------------------------------------

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

TEST(LoopbackServerProgram, AnswersSubmitsAndSurveysAndLogsEachRequest) {
    TestSupport::TempDir temp(L"lbserver");
    const std::wstring portFile = temp / L"port.txt";
    const std::wstring logFile = temp / L"requests.log";
    const std::wstring surveyFile = temp / L"survey.json";
    const std::string survey = "{\"active\":true,\"surveyId\":7,\"survey\":[]}";
    ASSERT_TRUE(TestSupport::WriteFileBytes(surveyFile, survey));
    const std::wstring program = TestSupport::WinePathOf(LOOPBACK_SERVER_EXE);
    TestSupport::ChildProcess child = TestSupport::StartProcess(
        program,
        Quoted(program) + L" --port 0 --port-file " + Quoted(portFile) + L" --log " +
            Quoted(logFile) + L" --survey-reply " + Quoted(surveyFile) + L" --max-seconds 60",
        temp.Path());
    ASSERT_TRUE(child);
    ASSERT_TRUE(TestSupport::WaitUntil(
        [&] { return TestSupport::ReadFileBytes(portFile).find('\n') != std::string::npos; },
        20000));
    const unsigned short port =
        static_cast<unsigned short>(std::stoi(TestSupport::ReadFileBytes(portFile)));

    const std::string body = "code=12040000&info=%7B%22Mac%22%3A%22a%20b%22%7D%0A%2C%22x%22";
    const std::string submit =
        Exchange(port, "POST /launchersubmit/eventInfoSubmit HTTP/1.1\r\nHost: h\r\n"
                       "Content-Length: " +
                           std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_NE(BodyOf(submit).find("\"error\":0"), std::string::npos) << submit;
    EXPECT_EQ(BodyOf(Get(port, "/api/survey/1001?token=abc")), survey);
    EXPECT_EQ(Exchange(port, "POST /other HTTP/1.1\r\nContent-Length: 0\r\n\r\n")
                  .rfind("HTTP/1.1 404", 0),
              0u);

    child.Kill();
    const std::string log = TestSupport::ReadFileBytes(logFile);
    std::vector<std::string> lines;
    for (size_t start = 0; start < log.size();) {
        const size_t end = log.find('\n', start);
        lines.push_back(log.substr(start, end - start));
        start = end == std::string::npos ? log.size() : end + 1;
    }
    ASSERT_EQ(lines.size(), 3u) << log;
    EXPECT_NE(lines[0].find("\"method\":\"POST\""), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("\"path\":\"/launchersubmit/eventInfoSubmit\""), std::string::npos);
    EXPECT_NE(lines[0].find("\"Host\":\"h\""), std::string::npos);
    EXPECT_NE(lines[0].find("\"code\":\"12040000\""), std::string::npos);
    EXPECT_NE(lines[0].find("\"info\":\"{\\\"Mac\\\":\\\"a b\\\"}\\n,\\\"x\\\"\""),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("\"path\":\"/api/survey/1001?token=abc\""), std::string::npos);
    EXPECT_NE(lines[2].find("\"path\":\"/other\""), std::string::npos);
}

} // namespace
