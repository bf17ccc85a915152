#include <winsock2.h>
#include <windows.h>

#include "statistics/HttpTransport.h"
#include "statistics/CurlHandles.h"

#include <algorithm>
#include <mutex>
#include <new>

bool InitHttpTransport() {
    static std::once_flag once;
    static CURLcode result = CURLE_FAILED_INIT;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_ALL); });
    return result == CURLE_OK;
}

void ApplyTimeouts(CURL* handle, const HttpTimeouts& timeouts) {
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, timeouts.totalMs);
}

size_t WriteToStringCallback(char* data, size_t size, size_t count, void* reply) {
    if (reply == nullptr) {
        return static_cast<size_t>(-1);
    }
    const size_t bytes = size * count;
    std::string& text = *static_cast<std::string*>(reply);
    if (bytes > kMaxHttpReplyBytes - std::min(text.size(), kMaxHttpReplyBytes)) {
        return 0;
    }
    try {
        text.append(data, bytes);
    } catch (const std::bad_alloc&) {
        // Never let an exception cross libcurl's C frames; abort the transfer.
        return 0;
    }
    return bytes;
}

CurlEasyHandle OpenCurlEasy() {
    // Every transfer starts here: the global set-up is done before the first.
    InitHttpTransport();
    CurlEasyHandle handle(curl_easy_init());
    if (handle) {
        curl_easy_setopt(handle.get(), CURLOPT_CAINFO, static_cast<const char*>(nullptr));
        curl_easy_setopt(handle.get(), CURLOPT_CAPATH, static_cast<const char*>(nullptr));
        curl_easy_setopt(handle.get(), CURLOPT_SSL_OPTIONS,
                         static_cast<long>(CURLSSLOPT_NATIVE_CA));
    }
    return handle;
}

int HttpPostForm(const char* url, const char* fields, std::string& reply,
                 const HttpTimeouts& timeouts) {
    const CurlEasyHandle handle(OpenCurlEasy());
    CURL* const curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_URL, url);
    // A null body would make libcurl read the request from stdin.
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, fields != nullptr ? fields : "");
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, static_cast<curl_read_callback>(nullptr));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteToStringCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    ApplyTimeouts(curl, timeouts);
    return static_cast<int>(curl_easy_perform(curl));
}
