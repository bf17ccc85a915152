#pragma once
// Internal to the HTTP transport: owners for libcurl handles.
#include <curl/curl.h>

#include <memory>

struct CurlEasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasyHandle = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlSlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHeaderList = std::unique_ptr<curl_slist, CurlSlistFree>;

// Applies the time-outs set by SetHttpTimeoutsForTesting, if any.
void ApplyTestTimeouts(CURL* handle);
