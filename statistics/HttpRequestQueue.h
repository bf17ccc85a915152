#pragma once
#include <windows.h>

#include "statistics/HttpTransport.h"

#include <cstddef>
#include <list>
#include <mutex>
#include <string>
#include <vector>

// Result callback of the request queue: the reply (body, preceded by the
// response's header lines when asked for), the request's data and its tag,
// and the context pointer given with the request (the queue never touches
// what it points to). Runs on the queue's dispatcher thread with no lock held;
// it may queue new requests. An exception it throws is caught and dropped
// there. Every queued request gets exactly one call.
typedef void (*HttpResultCallback)(const char* reply, const char* data, const char* tag,
                                   void* context);

struct HttpRequest {
    std::string url;
    std::string data;   // query of a GET, body of a POST
    int retryCount = 0; // 1 after one failed attempt
    int callbackIndex = 0;
    int isPost = 0;
    int wantHeader = 0;
    std::string cookie; // POST only
    std::string tag;
    void* context = nullptr;
    HttpTimeouts timeouts;
};

struct HttpResult {
    std::string reply;
    std::string data;
    std::string tag;
    int callbackIndex = 0;
    void* context = nullptr;
};

// Process-wide asynchronous HTTP queue: a worker thread performs the requests
// one after another (a failed one is tried once more in the next cycle), a
// dispatcher thread hands each result to the callback chosen by its index.
// Created on first use and never destroyed: its threads run until the process
// ends.
class CHttpRequestQueue {
public:
    // The queue, created on the first call with that call's callback table
    // (null-terminated; may be null); later tables are ignored.
    static CHttpRequestQueue* GetInstance(const HttpResultCallback* callbacks);

    // Queues a request; does nothing for a null or empty url. Null data,
    // cookie or tag count as empty. A callback index outside the table drops
    // the result. isPost selects PerformPost. Returns 0.
    int AddRequest(const char* url, const char* data, int callbackIndex, const char* cookie,
                   int wantHeader, const char* tag, int isPost = 0, void* context = nullptr);
    // The same for a request the caller filled in, time-outs included; its
    // retry count starts again at 0.
    int AddRequest(HttpRequest request);

    // Form POST with the header "Content-Type:application/x-www-form-
    // urlencoded;charset=UTF-8". A non-empty cookie is sent as is; with an
    // empty one the per-user cookie file "<Cookies>\TovuClientCookie.txt" is
    // read and written back. The queue passes the request's time-outs.
    // Returns libcurl's result code.
    static int PerformPost(const char* url, const char* body, size_t bodyLength, std::string& reply,
                           int wantHeader, const char* cookie,
                           const HttpTimeouts& timeouts = HttpTimeouts());

    CHttpRequestQueue(const CHttpRequestQueue&) = delete;
    CHttpRequestQueue& operator=(const CHttpRequestQueue&) = delete;

private:
    explicit CHttpRequestQueue(const HttpResultCallback* callbacks);
    ~CHttpRequestQueue() = delete;

    static unsigned __stdcall WorkerThread(void* queue);
    static unsigned __stdcall DispatcherThread(void* queue);

    void RunWorkerCycle(std::list<HttpRequest>& work);
    void RunDispatcherCycle();
    static int PerformGet(const HttpRequest& request, std::string& reply);
    void Dispatch(const HttpResult& result) const;

    std::mutex requestLock;
    std::mutex resultLock;
    std::list<HttpRequest> pendingRequests;
    std::list<HttpResult> results;
    std::vector<HttpResultCallback> callbacks;
    HANDLE workerThread = nullptr;
    HANDLE dispatcherThread = nullptr;
};

// Queues a GET of url (followed by "?" and data when data is not empty,
// nothing encoded) whose reply goes to callbacks[callbackIndex] on the
// dispatcher thread. The table of the very first call is used for the whole
// process; the callback receives context. Null or empty url: nothing
// happens. Returns 0.
int EnqueueHttpRequest(const char* data, const char* url, const HttpResultCallback* callbacks,
                       int callbackIndex, const char* cookie, int wantHeader, const char* tag,
                       void* context = nullptr);

// Makes every folder of a file path (the last component is the file name and
// is not made). 1 when they all exist afterwards, 0 for a null path or when
// one cannot be made.
int CreateDirectoryPath(const char* path);
