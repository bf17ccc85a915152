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

// A new easy handle (null when libcurl has no memory) that checks HTTPS
// servers against the Windows certificate store: the CA file and folder that
// libcurl was built with name the build machine, which no player's PC has.
CurlEasyHandle OpenCurlEasy();

struct HttpTimeouts;

// The connect and total limits of the transfer that handle makes.
void ApplyTimeouts(CURL* handle, const HttpTimeouts& timeouts);
