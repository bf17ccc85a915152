#include <winsock2.h>
#include <windows.h>
#include <process.h>
#include <shlobj.h>

#include "statistics/HttpRequestQueue.h"
#include "statistics/CurlHandles.h"
#include "statistics/HttpTransport.h"

#include <exception>
#include <string>

namespace {

const DWORD kWorkerPollMs = 10;
const DWORD kDispatcherPollMs = 5;

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

// The per-user cookie file of the POST mode, made once it can be had.
std::string CookieFilePath() {
    struct CookieFile {
        std::mutex lock;
        std::string path;
    };
    // Never destroyed: the worker thread may still use it while static
    // destructors run at exit.
    static CookieFile* const cookieFile = new CookieFile;
    const std::lock_guard<std::mutex> guard(cookieFile->lock);
    if (cookieFile->path.empty()) {
        char folder[MAX_PATH] = {};
        if (::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COOKIES, FALSE)) {
            cookieFile->path = std::string(folder) + "\\TovuClientCookie.txt";
        }
    }
    return cookieFile->path;
}

bool FileExistsA(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ReportDroppedResult(const char* why) {
    ::OutputDebugStringA(why);
}

HANDLE StartThread(unsigned(__stdcall* entry)(void*), void* argument) {
    const uintptr_t handle = ::_beginthreadex(nullptr, 0, entry, argument, 0, nullptr);
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

CHttpRequestQueue::CHttpRequestQueue(const HttpResultCallback* table) {
    // The table is copied before the threads start, so the dispatcher never
    // sees it half-filled.
    for (const HttpResultCallback* entry = table; entry != nullptr && *entry != nullptr; ++entry) {
        callbacks.push_back(*entry);
    }
    workerThread = StartThread(&CHttpRequestQueue::WorkerThread, this);
    dispatcherThread = StartThread(&CHttpRequestQueue::DispatcherThread, this);
}

CHttpRequestQueue* CHttpRequestQueue::GetInstance(const HttpResultCallback* table) {
    // Deliberately never deleted: its threads use it until the process ends,
    // so no static destructor may take it away under them.
    static CHttpRequestQueue* const instance = new CHttpRequestQueue(table);
    return instance;
}

int CHttpRequestQueue::AddRequest(const char* url, const char* data, int callbackIndex,
                                  const char* cookie, int wantHeader, const char* tag, int isPost,
                                  void* context) {
    if (url == nullptr) {
        return 0;
    }
    HttpRequest request;
    request.url = url;
    request.data = OrEmpty(data);
    request.callbackIndex = callbackIndex;
    request.isPost = isPost;
    request.wantHeader = wantHeader;
    request.cookie = OrEmpty(cookie);
    request.tag = OrEmpty(tag);
    request.context = context;
    return AddRequest(std::move(request));
}

int CHttpRequestQueue::AddRequest(HttpRequest request) {
    if (request.url.empty()) {
        return 0;
    }
    request.retryCount = 0;
    const std::lock_guard<std::mutex> guard(requestLock);
    pendingRequests.push_back(std::move(request));
    return 0;
}

unsigned __stdcall CHttpRequestQueue::WorkerThread(void* queue) {
    CHttpRequestQueue* const self = static_cast<CHttpRequestQueue*>(queue);
    std::list<HttpRequest> work;
    for (;;) {
        try {
            self->RunWorkerCycle(work);
        } catch (...) {
            // Out of memory while moving texts: keep serving the queue.
        }
        ::Sleep(kWorkerPollMs);
    }
}

void CHttpRequestQueue::RunWorkerCycle(std::list<HttpRequest>& work) {
    {
        const std::lock_guard<std::mutex> guard(requestLock);
        work.splice(work.end(), pendingRequests);
    }
    for (auto it = work.begin(); it != work.end();) {
        std::string reply;
        const int code = it->isPost != 0
                             ? PerformPost(it->url.c_str(), it->data.c_str(), it->data.size(),
                                           reply, it->wantHeader, it->cookie.c_str(), it->timeouts)
                             : PerformGet(*it, reply);
        if (code != CURLE_OK && it->retryCount == 0) {
            // Tried again in the next cycle, ahead of the newer requests.
            it->retryCount = 1;
            ++it;
            continue;
        }
        HttpResult result;
        result.reply = std::move(reply);
        result.data = std::move(it->data);
        result.tag = std::move(it->tag);
        result.callbackIndex = it->callbackIndex;
        result.context = it->context;
        {
            const std::lock_guard<std::mutex> guard(resultLock);
            results.push_back(std::move(result));
        }
        it = work.erase(it);
    }
}

int CHttpRequestQueue::PerformGet(const HttpRequest& request, std::string& reply) {
    const std::string target =
        request.data.empty() ? request.url : request.url + "?" + request.data;
    const CurlEasyHandle handle(OpenCurlEasy());
    CURL* const curl = handle.get();
    if (curl == nullptr) {
        return CURLE_FAILED_INIT;
    }
    curl_easy_setopt(curl, CURLOPT_URL, target.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteToStringCallback);
    if (request.wantHeader != 0) {
        curl_easy_setopt(curl, CURLOPT_HEADER, 1L);
    }
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    ApplyTimeouts(curl, request.timeouts);
    return static_cast<int>(curl_easy_perform(curl));
}

int CHttpRequestQueue::PerformPost(const char* url, const char* body, size_t bodyLength,
                                   std::string& reply, int wantHeader, const char* cookie,
                                   const HttpTimeouts& timeouts) {
    const std::string cookieFile = CookieFilePath();
    const CurlHeaderList headers(
        curl_slist_append(nullptr, "Content-Type:application/x-www-form-urlencoded;charset=UTF-8"));
    const CurlEasyHandle handle(OpenCurlEasy());
    CURL* const curl = handle.get();
    if (curl == nullptr) {
        return CURLE_FAILED_INIT;
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, OrEmpty(body));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body ? bodyLength : 0));
    if (wantHeader != 0) {
        curl_easy_setopt(curl, CURLOPT_HEADER, 1L);
    }
    if (cookie != nullptr && cookie[0] != '\0') {
        curl_easy_setopt(curl, CURLOPT_COOKIE, cookie);
    } else if (!cookieFile.empty() &&
               (FileExistsA(cookieFile) || CreateDirectoryPath(cookieFile.c_str()) == 1)) {
        curl_easy_setopt(curl, CURLOPT_COOKIEJAR, cookieFile.c_str());
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, cookieFile.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, static_cast<curl_read_callback>(nullptr));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteToStringCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    ApplyTimeouts(curl, timeouts);
    return static_cast<int>(curl_easy_perform(curl));
}

unsigned __stdcall CHttpRequestQueue::DispatcherThread(void* queue) {
    CHttpRequestQueue* const self = static_cast<CHttpRequestQueue*>(queue);
    for (;;) {
        try {
            self->RunDispatcherCycle();
        } catch (...) {
            // Out of memory while moving results: keep dispatching.
        }
        ::Sleep(kDispatcherPollMs);
    }
}

void CHttpRequestQueue::RunDispatcherCycle() {
    std::list<HttpResult> ready;
    {
        const std::lock_guard<std::mutex> guard(resultLock);
        ready.splice(ready.end(), results);
    }
    for (const HttpResult& result : ready) {
        Dispatch(result);
    }
}

void CHttpRequestQueue::Dispatch(const HttpResult& result) const {
    if (result.callbackIndex < 0 || static_cast<size_t>(result.callbackIndex) >= callbacks.size()) {
        ReportDroppedResult("HTTP request queue: result without a callback dropped\n");
        return;
    }
    try {
        callbacks[static_cast<size_t>(result.callbackIndex)](
            result.reply.c_str(), result.data.c_str(), result.tag.c_str(), result.context);
    } catch (...) {
        // A faulty callback must not end the process or the dispatcher.
        ReportDroppedResult("HTTP request queue: callback threw an exception\n");
    }
}

int EnqueueHttpRequest(const char* data, const char* url, const HttpResultCallback* callbacks,
                       int callbackIndex, const char* cookie, int wantHeader, const char* tag,
                       void* context) {
    CHttpRequestQueue* const queue = CHttpRequestQueue::GetInstance(callbacks);
    return queue->AddRequest(url, data, callbackIndex, cookie, wantHeader, tag, 0, context);
}

int CreateDirectoryPath(const char* path) {
    if (path == nullptr) {
        return 0;
    }
    const std::string copy(path);
    for (size_t i = 0; i < copy.size(); ++i) {
        if (copy[i] != '\\' || i == 0) {
            continue;
        }
        const std::string prefix = copy.substr(0, i);
        // "C:" is a drive, not a folder to make.
        if (prefix.size() == 2 && prefix[1] == ':') {
            continue;
        }
        const DWORD attributes = ::GetFileAttributesA(prefix.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            // A file in the way is a folder that cannot be made.
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                return 0;
            }
            continue;
        }
        if (!::CreateDirectoryA(prefix.c_str(), nullptr)) {
            return 0;
        }
    }
    return 1;
}
