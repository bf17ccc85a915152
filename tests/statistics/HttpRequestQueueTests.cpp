#include <winsock2.h>
#include <windows.h>

#include "statistics/HttpRequestQueue.h"
#include "statistics/HttpTransport.h"
#include "tests/support/HttpTestUtil.h"
#include "tests/support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

using TestSupport::LoopbackHttpServer;
using TestSupport::RecordedRequest;
using TestSupport::ScriptedReply;

namespace {

const DWORD kWaitMs = 20000;

struct Delivery {
    int callback = 0;
    std::string reply;
    std::string data;
    std::string tag;
    DWORD threadId = 0;
};

// What the callbacks saw, in the order they were called.
class DeliveryLog {
public:
    void Add(int callback, const char* reply, const char* data, const char* tag) {
        {
            const std::lock_guard<std::mutex> guard(lock_);
            deliveries_.push_back({callback, reply, data, tag, ::GetCurrentThreadId()});
        }
        changed_.notify_all();
    }

    // Waits for a delivery with the tag; false after the time-out.
    bool WaitForTag(const std::string& tag, Delivery* found = nullptr) {
        std::unique_lock<std::mutex> guard(lock_);
        const bool ok = changed_.wait_for(guard, std::chrono::milliseconds(kWaitMs),
                                          [&] { return FindLocked(tag) != nullptr; });
        if (ok && found != nullptr) {
            *found = *FindLocked(tag);
        }
        return ok;
    }

    std::vector<Delivery> WithTag(const std::string& tag) const {
        const std::lock_guard<std::mutex> guard(lock_);
        std::vector<Delivery> matching;
        for (const Delivery& d : deliveries_) {
            if (d.tag == tag) {
                matching.push_back(d);
            }
        }
        return matching;
    }

    std::vector<Delivery> All() const {
        const std::lock_guard<std::mutex> guard(lock_);
        return deliveries_;
    }

private:
    const Delivery* FindLocked(const std::string& tag) const {
        for (const Delivery& d : deliveries_) {
            if (d.tag == tag) {
                return &d;
            }
        }
        return nullptr;
    }

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Delivery> deliveries_;
};

DeliveryLog g_log;
std::string g_chainUrl;

void RecordingCallback(const char* reply, const char* data, const char* tag, void*) {
    g_log.Add(0, reply, data, tag);
}

void ThrowingCallback(const char* reply, const char* data, const char* tag, void*) {
    g_log.Add(1, reply, data, tag);
    throw std::runtime_error("callback failure");
}

void ThrowingIntCallback(const char* reply, const char* data, const char* tag, void*) {
    g_log.Add(2, reply, data, tag);
    throw 42;
}

// Queues a follow-up request from inside the dispatcher.
void ChainingCallback(const char* reply, const char* data, const char* tag, void*) {
    g_log.Add(3, reply, data, tag);
    EnqueueHttpRequest("step=2", g_chainUrl.c_str(), nullptr, 0, "", 0,
                       (std::string(tag) + "-chained").c_str());
}

void SecondTableCallback(const char* reply, const char* data, const char* tag, void*) {
    g_log.Add(99, reply, data, tag);
}

const HttpResultCallback kTable[] = {&RecordingCallback, &ThrowingCallback, &ThrowingIntCallback,
                                     &ChainingCallback, nullptr};
const HttpResultCallback kSecondTable[] = {&SecondTableCallback, nullptr};

class HttpRequestQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitHttpTransport());
        // The first call of the process fixes the callback table; an empty url
        // only creates the queue.
        static const bool created = (EnqueueHttpRequest("", "", kTable, 0, "", 0, ""), true);
        (void)created;
        ASSERT_TRUE(server.Start());
    }

    void Enqueue(const std::string& data, const std::string& path, int index,
                 const std::string& tag, int wantHeader = 0) {
        EnqueueHttpRequest(data.c_str(), server.Url(path).c_str(), kTable, index, "", wantHeader,
                           tag.c_str());
    }

    LoopbackHttpServer server;
};

TEST_F(HttpRequestQueueTest, GetPutsTheDataAsItIsAfterAQuestionMark) {
    server.SetReplyForPath("/survey/1001", ScriptedReply::Ok("{\"active\":true}"));
    const std::pair<std::string, std::string> cases[] = {
        {"", "/survey/1001"},
        {"token=abc123", "/survey/1001?token=abc123"},
        {"a=1&b=%41&c=x,y", "/survey/1001?a=1&b=%41&c=x,y"},
        {"name=\xE4\xBD\xA0", "/survey/1001?name=\xE4\xBD\xA0"},
    };
    for (const auto& c : cases) {
        server.ClearRequests();
        Enqueue(c.first, "/survey/1001", 0, "get " + c.first);
        Delivery delivery;
        ASSERT_TRUE(g_log.WaitForTag("get " + c.first, &delivery));
        EXPECT_EQ(delivery.callback, 0);
        EXPECT_EQ(delivery.reply, "{\"active\":true}");
        EXPECT_EQ(delivery.data, c.first);
        ASSERT_EQ(server.RequestCount(), 1u);
        const RecordedRequest request = server.Requests()[0];
        EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(request.target, c.second);
        EXPECT_EQ(request.body, "");
    }
    // A table given after the first request is ignored.
    EnqueueHttpRequest("", server.Url("/second-table").c_str(), kSecondTable, 0, "", 0,
                       "second-table");
    Delivery delivery;
    ASSERT_TRUE(g_log.WaitForTag("second-table", &delivery));
    EXPECT_EQ(delivery.callback, 0);
}

// Nothing is encoded, so a space makes the url one that libcurl refuses:
// both attempts fail before connecting and the callback gets an empty reply.
TEST_F(HttpRequestQueueTest, DataWithASpaceIsNotEncodedAndFails) {
    Enqueue("q=x y", "/spaces", 0, "spaces");
    Enqueue("", "/spaces-marker", 0, "spaces-marker");
    Delivery delivery;
    ASSERT_TRUE(g_log.WaitForTag("spaces", &delivery));
    EXPECT_EQ(delivery.reply, "");
    EXPECT_EQ(delivery.data, "q=x y");
    ASSERT_TRUE(g_log.WaitForTag("spaces-marker"));
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].path, "/spaces-marker");
    EXPECT_EQ(g_log.WithTag("spaces").size(), 1u);
}

TEST_F(HttpRequestQueueTest, CallbacksRunOnOneDispatcherThreadNotTheCaller) {
    Enqueue("", "/t1", 0, "thread-1");
    Enqueue("", "/t2", 0, "thread-2");
    Delivery first;
    Delivery second;
    ASSERT_TRUE(g_log.WaitForTag("thread-1", &first));
    ASSERT_TRUE(g_log.WaitForTag("thread-2", &second));
    EXPECT_NE(first.threadId, ::GetCurrentThreadId());
    EXPECT_EQ(first.threadId, second.threadId);
}

TEST_F(HttpRequestQueueTest, ManyRequestsArePerformedAndDeliveredInOrder) {
    const int kCount = 40;
    for (int i = 0; i < kCount; ++i) {
        Enqueue("i=" + std::to_string(i), "/many", 0, "many-" + std::to_string(i));
    }
    ASSERT_TRUE(g_log.WaitForTag("many-" + std::to_string(kCount - 1)));
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(requests[i].query, "i=" + std::to_string(i));
    }
    std::vector<std::string> order;
    for (const Delivery& d : g_log.All()) {
        if (d.tag.rfind("many-", 0) == 0) {
            order.push_back(d.tag);
        }
    }
    ASSERT_EQ(order.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(order[i], "many-" + std::to_string(i));
    }
}

TEST_F(HttpRequestQueueTest, HeaderFlagPutsTheHeadersBeforeTheBody) {
    server.SetDefaultReply(ScriptedReply::Ok("{\"active\":false}"));
    Enqueue("", "/with-header", 0, "header", 1);
    Delivery delivery;
    ASSERT_TRUE(g_log.WaitForTag("header", &delivery));
    EXPECT_EQ(delivery.reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << delivery.reply;
    EXPECT_NE(delivery.reply.find("Content-Type: application/json\r\n"), std::string::npos);
    const std::string tail = "\r\n\r\n{\"active\":false}";
    ASSERT_GE(delivery.reply.size(), tail.size());
    EXPECT_EQ(delivery.reply.substr(delivery.reply.size() - tail.size()), tail);
}

TEST_F(HttpRequestQueueTest, ErrorStatusBodyReachesTheCallback) {
    server.SetDefaultReply(ScriptedReply::Status(500, "broken"));
    Enqueue("", "/status", 0, "status500");
    Delivery delivery;
    ASSERT_TRUE(g_log.WaitForTag("status500", &delivery));
    EXPECT_EQ(delivery.reply, "broken");
    EXPECT_EQ(server.RequestCount(), 1u); // not a failure, so not repeated
}

TEST_F(HttpRequestQueueTest, FirstFailureIsRetriedOnce) {
    server.PushReply(ScriptedReply::Close());
    server.SetDefaultReply(ScriptedReply::Ok("second time lucky"));
    Enqueue("k=v", "/retry", 0, "retry");
    Delivery delivery;
    ASSERT_TRUE(g_log.WaitForTag("retry", &delivery));
    EXPECT_EQ(delivery.reply, "second time lucky");
    EXPECT_EQ(delivery.data, "k=v");
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].target, "/retry?k=v");
    EXPECT_EQ(requests[1].target, "/retry?k=v");
    EXPECT_EQ(g_log.WithTag("retry").size(), 1u);
}

TEST_F(HttpRequestQueueTest, TwoFailuresStillCallBackOnceWithAnEmptyReply) {
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(HttpTestUtil::UnusedPort()) + "/survey";
    EnqueueHttpRequest("token=t", refused.c_str(), kTable, 0, "", 0, "refused");
    Enqueue("", "/marker", 0, "refused-marker");
    Delivery delivery;
    ASSERT_TRUE(g_log.WaitForTag("refused", &delivery));
    EXPECT_EQ(delivery.reply, "");
    EXPECT_EQ(delivery.data, "token=t");
    ASSERT_TRUE(g_log.WaitForTag("refused-marker"));
    EXPECT_EQ(g_log.WithTag("refused").size(), 1u);

    server.SetDefaultReply(ScriptedReply::Close());
    server.ClearRequests();
    Enqueue("", "/closed", 0, "closed");
    ASSERT_TRUE(g_log.WaitForTag("closed", &delivery));
    EXPECT_EQ(delivery.reply, "");
    EXPECT_EQ(server.RequestCount(), 2u);
}

TEST_F(HttpRequestQueueTest, RetryGoesAheadOfNewerRequests) {
    // The first attempt of A is held until after B has been queued, then fails.
    server.PushReplyForPath("/A", ScriptedReply::Stall(800));
    Enqueue("", "/A", 0, "order-A");
    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    Enqueue("", "/B", 0, "order-B");
    ASSERT_TRUE(g_log.WaitForTag("order-A"));
    ASSERT_TRUE(g_log.WaitForTag("order-B"));
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].path, "/A");
    EXPECT_EQ(requests[1].path, "/A");
    EXPECT_EQ(requests[2].path, "/B");
}

TEST_F(HttpRequestQueueTest, EmptyOrNullUrlQueuesNothing) {
    EnqueueHttpRequest("a=1", "", kTable, 0, "", 0, "no-url");
    EnqueueHttpRequest("a=1", nullptr, kTable, 0, "", 0, "no-url");
    Enqueue("", "/after-empty", 0, "no-url-marker");
    ASSERT_TRUE(g_log.WaitForTag("no-url-marker"));
    EXPECT_TRUE(g_log.WithTag("no-url").empty());
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(HttpRequestQueueTest, NullTextsCountAsEmpty) {
    server.SetDefaultReply(ScriptedReply::Ok("null-texts-reply"));
    EnqueueHttpRequest(nullptr, server.Url("/nulls").c_str(), kTable, 0, nullptr, 0, nullptr);
    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    EXPECT_EQ(server.Requests()[0].target, "/nulls");
    Enqueue("", "/nulls-marker", 0, "nulls-marker");
    ASSERT_TRUE(g_log.WaitForTag("nulls-marker"));
    bool found = false;
    for (const Delivery& d : g_log.WithTag("")) {
        if (d.reply == "null-texts-reply") {
            found = true;
            EXPECT_EQ(d.data, "");
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(HttpRequestQueueTest, OutOfRangeCallbackIndexIsDropped) {
    Enqueue("", "/index-7", 7, "index-7");
    Enqueue("", "/index-minus", -1, "index-minus");
    Enqueue("", "/index-table-end", 4, "index-table-end");
    Enqueue("", "/index-marker", 0, "index-marker");
    ASSERT_TRUE(g_log.WaitForTag("index-marker"));
    EXPECT_EQ(server.RequestCount(), 4u);
    EXPECT_TRUE(g_log.WithTag("index-7").empty());
    EXPECT_TRUE(g_log.WithTag("index-minus").empty());
    EXPECT_TRUE(g_log.WithTag("index-table-end").empty());
}

TEST_F(HttpRequestQueueTest, ThrowingCallbacksDoNotStopTheDispatcher) {
    Enqueue("", "/throw", 1, "throws-std");
    Enqueue("", "/throw", 2, "throws-int");
    Enqueue("", "/after-throw", 0, "after-throw");
    ASSERT_TRUE(g_log.WaitForTag("after-throw"));
    EXPECT_EQ(g_log.WithTag("throws-std").size(), 1u);
    EXPECT_EQ(g_log.WithTag("throws-int").size(), 1u);
}

TEST_F(HttpRequestQueueTest, CallbackMayQueueARequest) {
    g_chainUrl = server.Url("/chained");
    Enqueue("step=1", "/chain", 3, "chain");
    Delivery chained;
    ASSERT_TRUE(g_log.WaitForTag("chain-chained", &chained));
    EXPECT_EQ(chained.callback, 0);
    EXPECT_EQ(chained.data, "step=2");
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, "/chained?step=2");
}

TEST_F(HttpRequestQueueTest, PostModeSendsTheBodyWithItsCookie) {
    CHttpRequestQueue* const queue = CHttpRequestQueue::GetInstance(nullptr);
    queue->AddRequest(server.Url("/post").c_str(), "x=1&y=2", 0, "k=v", 0, "post", 1);
    Delivery delivery;
    ASSERT_TRUE(g_log.WaitForTag("post", &delivery));
    EXPECT_EQ(delivery.data, "x=1&y=2");
    ASSERT_EQ(server.RequestCount(), 1u);
    const RecordedRequest request = server.Requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/post");
    EXPECT_EQ(request.body, "x=1&y=2");
    EXPECT_EQ(request.Header("Cookie"), "k=v");
}

// A stalled server holds a request (and its retry) only for the request's own time-outs.
TEST_F(HttpRequestQueueTest, StalledRequestsEndWithTheirTimeOuts) {
    server.SetDefaultReply(ScriptedReply::Stall(20000));
    const struct {
        int isPost;
        const char* tag;
    } modes[] = {{0, "stalled-get"}, {1, "stalled-post"}};
    for (const auto& mode : modes) {
        const size_t before = server.RequestCount();
        HttpRequest request;
        request.url = server.Url("/stall");
        request.isPost = mode.isPost;
        request.cookie = "k=v";
        request.tag = mode.tag;
        request.timeouts = {1000, 300};
        const HttpTestUtil::Stopwatch watch;
        CHttpRequestQueue::GetInstance(nullptr)->AddRequest(request);
        Delivery delivery;
        ASSERT_TRUE(g_log.WaitForTag(mode.tag, &delivery));
        EXPECT_EQ(delivery.reply, "") << mode.tag;
        EXPECT_EQ(server.RequestCount(), before + 2) << mode.tag;
        EXPECT_LT(watch.ElapsedMs(), 5000) << mode.tag;
    }
}

} // namespace
