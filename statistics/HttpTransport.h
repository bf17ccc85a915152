#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// Shared pieces of the HTTP transport: libcurl's one-time initialisation, the
// write callback that collects a reply, and the synchronous form POST that
// the statistics reports go through.

// libcurl's global initialisation, done once per process by the first caller
// (later callers wait for it): the transport calls it before every transfer,
// so the sockets and TLS libraries are set up when the first report goes out,
// not when the program starts. True when libcurl is ready.
bool InitHttpTransport();

// The most a reply may hold. The replies the program asks for (the statistics
// server's verdict, the survey) are a few kilobytes; a server that sends more
// must not be able to fill the 32-bit address space.
constexpr size_t kMaxHttpReplyBytes = 64 * 1024;

// libcurl write callback: appends size * count bytes to the std::string that
// 'reply' points to and returns that byte count. Without a reply buffer it
// returns (size_t)-1, which makes libcurl abort the transfer. Bytes that would
// take the reply beyond kMaxHttpReplyBytes are not kept: the transfer ends
// with a write error and the reply holds what came before them.
size_t WriteToStringCallback(char* data, size_t size, size_t count, void* reply);

// How long a transfer may take to connect and in all, in milliseconds. Zero
// keeps libcurl's own limit: five minutes to connect, no limit in all.
struct HttpTimeouts {
    long connectMs = 0;
    long totalMs = 0;
};

// What every statistics report gives each server to connect and to finish.
constexpr HttpTimeouts kReportTimeouts = {3000, 3000};

// POSTs 'fields' (a NUL-terminated, already encoded form body) to url on the
// caller's thread and appends the response body to reply (not cleared). No
// header of its own, no user agent. The HTTP status is not looked at.
// Returns libcurl's result code (0 success, 7 refused, 28 timed out, 52 empty
// reply, ...). Re-entrant.
int HttpPostForm(const char* url, const char* fields, std::string& reply,
                 const HttpTimeouts& timeouts);
