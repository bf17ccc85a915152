// Stand-in statistics and survey server for the demo, run under Wine:
//   loopback_server.exe [--port N] [--log FILE] [--survey-reply FILE]
//                       [--submit-reply FILE] [--port-file FILE] [--max-seconds N]
// POST /launchersubmit/...  -> 200 {"error":0} (or the --submit-reply file)
// GET (any path)            -> 200 with the --survey-reply file (404 without one)
// anything else             -> 404
// Each request is appended to the log as one JSON line.
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include "tests/support/LoopbackHttpServer.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

using TestSupport::HttpHeader;
using TestSupport::LoopbackHttpServer;
using TestSupport::RecordedRequest;
using TestSupport::ScriptedReply;

namespace {

struct Options {
    unsigned short port = 0;
    std::wstring logPath;
    std::wstring surveyReplyPath;
    std::wstring submitReplyPath;
    std::wstring portFilePath;
    DWORD maxSeconds = 0;
};

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes.clear();
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    ::CloseHandle(file);
    return true;
}

bool AppendToFile(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

// Length of the valid UTF-8 sequence at text[i], or 0.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    unsigned int minimum = 0;
    unsigned int value = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, minimum = 0x80, value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3, minimum = 0x800, value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, minimum = 0x10000, value = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// A JSON string of arbitrary bytes: valid UTF-8 stays, other bytes are
// written as the Latin-1 characters of the same value.
std::string JsonQuote(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char escape[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20) {
            std::snprintf(escape, sizeof(escape), "\\u%04x", c);
            out += escape;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const size_t length = Utf8SequenceLength(text, i)) {
            out.append(text, i, length);
            i += length - 1;
        } else {
            std::snprintf(escape, sizeof(escape), "\\u%04x", c);
            out += escape;
        }
    }
    return out + "\"";
}

std::string LogLine(const RecordedRequest& request) {
    std::string line = "{\"seq\":" + std::to_string(request.sequence) +
                       ",\"method\":" + JsonQuote(request.method) +
                       ",\"path\":" + JsonQuote(request.target) + ",\"headers\":{";
    for (size_t i = 0; i < request.headers.size(); ++i) {
        line += (i ? "," : "") + JsonQuote(request.headers[i].name) + ":" +
                JsonQuote(request.headers[i].value);
    }
    line += "},\"body\":" + JsonQuote(request.body);
    if (request.method == "POST") {
        line += ",\"code\":" + JsonQuote(TestSupport::FormField(request.body, "code"));
        line += ",\"info\":" + JsonQuote(TestSupport::FormField(request.body, "info"));
        line += ",\"data\":" + JsonQuote(TestSupport::FormField(request.body, "data"));
    }
    return line + "}\n";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

ScriptedReply Answer(const Options& options, const RecordedRequest& request) {
    if (request.method == "POST" && StartsWith(request.path, "/launchersubmit/")) {
        std::string body;
        if (!options.submitReplyPath.empty() && ReadWholeFile(options.submitReplyPath, body)) {
            return ScriptedReply::Ok(body);
        }
        return ScriptedReply::Success();
    }
    if (request.method == "GET") {
        std::string body;
        if (!options.surveyReplyPath.empty() && ReadWholeFile(options.surveyReplyPath, body)) {
            return ScriptedReply::Ok(body, "application/json; charset=utf-8");
        }
    }
    return ScriptedReply::Status(404, "{\"error\":404}");
}

bool ParseOptions(Options& options) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr) {
        return false;
    }
    bool ok = true;
    for (int i = 1; i < argc && ok; ++i) {
        const std::wstring flag = argv[i];
        if (i + 1 >= argc) {
            ok = false;
            break;
        }
        const std::wstring value = argv[++i];
        if (flag == L"--port") {
            options.port = static_cast<unsigned short>(std::wcstoul(value.c_str(), nullptr, 10));
        } else if (flag == L"--log") {
            options.logPath = value;
        } else if (flag == L"--survey-reply") {
            options.surveyReplyPath = value;
        } else if (flag == L"--submit-reply") {
            options.submitReplyPath = value;
        } else if (flag == L"--port-file") {
            options.portFilePath = value;
        } else if (flag == L"--max-seconds") {
            options.maxSeconds = std::wcstoul(value.c_str(), nullptr, 10);
        } else {
            ok = false;
        }
    }
    ::LocalFree(argv);
    return ok;
}

} // namespace

int main() {
    Options options;
    if (!ParseOptions(options)) {
        std::fprintf(stderr, "usage: loopback_server [--port N] [--log FILE] "
                             "[--survey-reply FILE] [--submit-reply FILE] "
                             "[--port-file FILE] [--max-seconds N]\n");
        return 2;
    }
    LoopbackHttpServer server;
    std::mutex logLock;
    server.SetObserver([&](const RecordedRequest& request) {
        if (options.logPath.empty()) {
            return;
        }
        const std::lock_guard<std::mutex> guard(logLock);
        AppendToFile(options.logPath, LogLine(request));
    });
    server.SetHandler([&](const RecordedRequest& request) { return Answer(options, request); });
    if (!server.Start(options.port)) {
        std::fprintf(stderr, "loopback_server: cannot listen on 127.0.0.1:%u\n",
                     static_cast<unsigned>(options.port));
        return 1;
    }
    if (!options.portFilePath.empty()) {
        const std::string text = std::to_string(server.Port()) + "\n";
        const HANDLE file = ::CreateFileW(options.portFilePath.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            ::CloseHandle(file);
        }
    }
    std::printf("listening on %s\n", server.BaseUrl().c_str());
    std::fflush(stdout);
    const DWORD wait = options.maxSeconds == 0 ? INFINITE : options.maxSeconds * 1000;
    ::Sleep(wait);
    server.Stop();
    return 0;
}
